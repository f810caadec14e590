// The stand-in's button-sensor stream: what starts it, what its frames carry, its bound, and how the
// Ethernet dongle sends it on its own while the PC listens for it.
#include "link/buttonsensors.h"
#include "sim/controllermodel.h"
#include "tests/support/ethernetfixture.h"

#include <gtest/gtest.h>

namespace {

using clink::CanMessage;
using sim::ControllerModel;
using sim::Transport;
namespace ids = clink::ids;

const CanMessage TestRequest{ids::ToolEepromRequest, {0x40, 0, 0, 0, 0, 0, 0, 0}};

TEST(ButtonSensorStream, StartsOnTheTestRequestCarriesTheWordsAndEnds) {
    ControllerModel model;
    std::chrono::milliseconds now{0};
    model.clock = [&now] { return now; };
    // The PC's own zero-data frames on the sensor identifier and other tool requests start nothing.
    EXPECT_TRUE(model.respond({ids::BlockReply, {}}, Transport::Usb).empty());
    model.respond({ids::ToolEepromRequest, {0x90, 0, 7, 0, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_FALSE(model.buttonStreamRunning());
    EXPECT_FALSE(model.nextButtonSensorFrame());

    EXPECT_TRUE(model.respond(TestRequest, Transport::Usb).empty()); // the stream is the answer
    EXPECT_TRUE(model.buttonStreamRunning());
    model.buttonSensors = {0x1234, 0x0102, 0xFFFE, 0x00FF};
    const auto frame = model.nextButtonSensorFrame();
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, (CanMessage{ids::BlockReply, {0x12, 0x34, 0x01, 0x02, 0xFF, 0xFE, 0x00, 0xFF}}));

    // It ends after its time.
    now += ControllerModel::ButtonStreamTime;
    EXPECT_FALSE(model.nextButtonSensorFrame());
    EXPECT_EQ(model.buttonFramesSent, 1);
    // A new request starts it afresh.
    model.respond(TestRequest, Transport::ParallelPort);
    EXPECT_TRUE(model.nextButtonSensorFrame());
}

class ButtonStreamEthernet : public testsupport::EthernetFixture {};

TEST_F(ButtonStreamEthernet, FramesComeOnTheirOwnWhileTheDonglePassesThem) {
    model.buttonSensors = {500, 600, 700, 800};
    s.DataCount = 0;
    // The sensor read listens on the stream's identifier, as its session does.
    s.AwaitedId = clink::ButtonSensors::SensorFrames;
    ASSERT_TRUE(link.ethernet.SendCanFrame(clink::ButtonSensors::SensorFrames, ids::ToolEepromRequest,
                                           TestRequest.data));
    // Nothing more is sent: the handler appends each frame that comes.
    const size_t sent = dongle.frames.size();
    ASSERT_TRUE(waitFor([&] { return s.DataCount >= 8 * 20; }));
    EXPECT_EQ(dongle.frames.size(), sent);
    EXPECT_EQ(s.DataBuffer[0] * 256 + s.DataBuffer[1], 500);
    EXPECT_EQ(s.DataBuffer[6] * 256 + s.DataBuffer[7], 800);

    // Told to pass another identifier, the dongle keeps the stream from the PC.
    link.ethernet.SendFilterFrame(ids::ToolEepromReply);
    ASSERT_TRUE(waitFor([&] { return dongle.frames.size() == sent + 1; }));
    const int passed = dongle.repliesSent();
    const int generated = model.buttonFramesSent;
    ASSERT_TRUE(waitFor([&] { return model.buttonFramesSent >= generated + 10; }));
    EXPECT_EQ(dongle.repliesSent(), passed);
}

} // namespace
