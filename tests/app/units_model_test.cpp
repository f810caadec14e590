// The stand-in's rundown logs, NSM unit and presence probes, answered once per request.
#include "sim/controllermodel.h"

#include <gtest/gtest.h>

using namespace sim;
namespace ids = clink::ids;

TEST(UnitsModel, RundownLogBlocks) {
    ControllerModel m;
    ControllerModel::RundownLog log{};
    for (size_t i = 0; i < log.size(); ++i)
        log[i] = uint8_t(i % 251);
    m.rundownLogs[3] = log;
    auto r = m.respond({ids::CommandRequest, {0x80, 3, 139, 0, 0, 0, 0, 0}}, Transport::ParallelPort);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::CommandReply,
                                {0xEA, 3, 139, 695 % 251, 696 % 251, 697 % 251, 698 % 251, 699 % 251}}));
    r = m.respond({ids::CommandRequest, {0x80, 9, 0, 0, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0], (CanMessage{ids::CommandReply, {0xEA, 9, 0, 0, 0, 0, 0, 0}})); // a Pset without a log
    // Pset 1's default log starts with an accepted rundown at 99.4 % of the target, angle 41.
    r = m.respond({ids::CommandRequest, {0x80, 1, 0, 0, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0], (CanMessage{ids::CommandReply, {0xEA, 1, 0, 1, 0x03, 0xE2, 0, 41}}));
    EXPECT_TRUE(m.respond({ids::CommandRequest, {0x80, 3, 140, 0, 0, 0, 0, 0}}, Transport::Usb).empty());

    m.silentRundownBlocks.insert(7);
    EXPECT_TRUE(m.respond({ids::CommandRequest, {0x80, 3, 7, 0, 0, 0, 0, 0}}, Transport::Usb).empty());
    m.wrongRundownEcho = true;
    EXPECT_EQ(m.respond({ids::CommandRequest, {0x80, 3, 8, 0, 0, 0, 0, 0}}, Transport::Usb)[0].data[2], 9);
    EXPECT_EQ(m.respond({ids::CommandRequest, {0x80, 3, 8, 0, 0, 0, 0, 0}}, Transport::Usb)[0].data[2], 8);
}

TEST(UnitsModel, NsmVersionClockClearAndProbes) {
    ControllerModel m;
    m.nsmUnit.major = 2;
    m.nsmUnit.minor = 5;
    auto r = m.respond({ids::NsmRequest, {0xAA, 0, 0, 0, 0, 0, 0, 0}}, Transport::ParallelPort);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::NsmReply, {0xAA, 2, 5, 0, 0, 0, 0, 0}}));
    r = m.respond({ids::NsmRequest, {0xDD, 0, 0, 0, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0], (CanMessage{ids::NsmReply, {0xDD, 0x8F, 7, 6, 14, 9, 0, 0}}));
    r = m.respond({ids::NsmRequest, {0xBB, 0, 0, 0, 0, 0, 0, 0}}, Transport::ParallelPort);
    EXPECT_EQ(r[0], (CanMessage{ids::NsmReply2, {0xBB, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(m.nsmUnit.rundownClears, 1);

    // Presence probes: a frame on the unit's own reply identifier.
    r = m.respond({ids::NsmReply, {}}, Transport::Ethernet);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].id, ids::NsmReply);
    EXPECT_EQ(r[0].data[0], 0xDD);
    r = m.respond({ids::TransducerReply2, {}}, Transport::Ethernet);
    EXPECT_EQ(r, (std::vector<CanMessage>{{ids::TransducerReply2, {0x01, 0, 0, 0, 0, 0, 0, 0}}}));
    m.noReply.insert(ids::TransducerReply2);
    EXPECT_TRUE(m.respond({ids::TransducerReply2, {}}, Transport::Ethernet).empty());
}
