// Transducer and DSP EEPROM, calibration, NSM, data-logger and tool-data transactions on the USB link,
// against the stand-in's simulated serial converter.
#include "base/numbertext.h"
#include "tests/link/service_support.h"
#include "tests/support/usbfixture.h"

using namespace clink;
using namespace servicetest;
using base::fixed40;

namespace {
class ServiceUsb : public testsupport::UsbFixture {};
} // namespace

TEST_F(ServiceUsb, TransducerIsNotReachedAndNothingIsSent) {
    EXPECT_FALSE(link.dataTx.WriteTransducerEeprom(300, 1));
    EXPECT_FALSE(link.dataTx.ReadTransducerEeprom(300));
    EXPECT_FALSE(link.dataTx.ReadDataLogger(14700));
    EXPECT_FALSE(link.dataTx.ReadDataLoggerRoute(14700));
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(ServiceUsb, DspWriteThenReadBack) {
    s.RequestData[4] = 9;
    ASSERT_TRUE(link.dataTx.WriteDspEeprom(300, 0x1234));
    EXPECT_EQ(model.dspBytes[300], 0x34);
    EXPECT_EQ(model.dspBytes[301], 0x12);
    EXPECT_EQ(s.RequestData[4], 0);
    const auto w = withId(device.frames, ids::DspWriteRequest);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].accept, ids::DspReply);
    EXPECT_EQ(w[0].expected, (std::array<int, 2>{0x30, 0}));
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadDspEeprom(300));
    EXPECT_EQ(s.DataCount, 2);
    EXPECT_EQ(s.DataBuffer[0], 0x34);
    EXPECT_EQ(s.DataBuffer[1], 0x12);
    model.noReply.insert(ids::DspReadRequest);
    EXPECT_FALSE(link.dataTx.ReadDspEeprom(300));
    EXPECT_EQ(s.DataCount, 2);
    EXPECT_EQ(withId(device.frames, ids::DspReadRequest).size(), 1u + 11u);
}

TEST_F(ServiceUsb, ArmedRundownStartsTheCalibrationAndItsResultReadsExactly) {
    model.rundown = CalibrationRundown;
    model.armRundown(2); // while the dongle waits after its opening frame
    s.ReplyReady = false;
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationFinalTorque);
    const auto start = withId(device.frames, ids::StatusRequest);
    ASSERT_EQ(start.size(), 2u);
    EXPECT_EQ(start[1].accept, ids::RunData);
    EXPECT_EQ(start[1].expected, (std::array<int, 2>{0x10, 0x01}));

    ASSERT_TRUE(link.dataTx.ReadRundownResult());
    EXPECT_EQ(s.DataCount, 18);
    EXPECT_EQ(s.RundownResult.texts[0], fixed40(QStringLiteral("Tq Final: 125.4")));
    EXPECT_EQ(s.RundownResult.texts[7], fixed40(QStringLiteral("Result: Tq Hi / Angle Hi")));
    EXPECT_EQ(s.RundownResult.texts[9], fixed40(QStringLiteral("Units: Nm")));
    EXPECT_EQ(withId(device.frames, ids::CommandReply).size(), 1u); // the filter frame
    EXPECT_EQ(withId(device.frames, ids::CommandRequest).size(), 3u);
}

TEST_F(ServiceUsb, CalibrationStartWithoutARundownOrWithAFailingDevice) {
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationPending);
    EXPECT_EQ(withId(device.frames, ids::StatusRequest).size(), 1u + 16u);
    EXPECT_TRUE(dialogs.messages.empty());
    device.writeFails = 1;
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationLinkFailed);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable to connect using USB"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
}

TEST_F(ServiceUsb, CalibrationCommandReachesTheControllerAndAFailedWriteIsNoSuccess) {
    ASSERT_TRUE(link.dataTx.SendCalibrationCommand(1234));
    const auto c = withId(device.frames, ids::CalibrationRequest);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0].accept, ids::CalibrationRequest);
    EXPECT_EQ(c[0].expected, (std::array<int, 2>{0, 0}));
    EXPECT_EQ(c[0].message.data, (std::array<int, 8>{0x20, 0x01, 0xD2, 0x04, 0, 0, 0, 0}));
    EXPECT_EQ(model.calibrationValues, std::vector<int>{1234});
    device.writeFails = 1;
    EXPECT_FALSE(link.dataTx.SendCalibrationCommand(1234));
}

TEST_F(ServiceUsb, NsmReadSendsOneFramePerLocation) {
    model.nsm = {0, 5, 3, 2, 1, 0, 1, 1, 0};
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(withId(device.frames, ids::NsmRequest).size(), 9u);
    EXPECT_EQ(s.DataCount, 9);
    EXPECT_EQ(s.DataBuffer[1], 1);
    EXPECT_EQ(s.NsmSettings.items[0].value, 1);
    EXPECT_EQ(s.NsmSettings.items[0].text, fixed40(QStringLiteral("Run Rev Tq Check: On")));

    ASSERT_TRUE(link.dataTx.WriteNsmSettings(1, 0));
    EXPECT_EQ(model.nsm[1], 0);
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(s.NsmSettings.items[0].text, fixed40(QStringLiteral("Run Rev Tq Check: Off")));

    model.noReply.insert(ids::NsmRequest);
    const size_t before = withId(device.frames, ids::NsmRequest).size();
    EXPECT_FALSE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(withId(device.frames, ids::NsmRequest).size(), before + 1);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("NSM Settings Not Received"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Receive Error"));
}

TEST_F(ServiceUsb, ToolRpmAndDiagnosticsShowTheirBoxes) {
    ASSERT_TRUE(link.dataTx.ReadToolRpm());
    ASSERT_TRUE(link.dataTx.RunToolDiagnostics());
    EXPECT_EQ(dialogs.messageTexts(), ToolDataBoxes);
    const auto r = withId(device.frames, ids::ToolRequest);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].accept, ids::ToolReply);
    EXPECT_EQ(r[0].expected, (std::array<int, 2>{0xD1, 0}));
    model.noReply.insert(ids::ToolRequest);
    EXPECT_FALSE(link.dataTx.ReadToolRpm());
    EXPECT_EQ(withId(device.frames, ids::ToolRequest).size(), 2u + 11u);
    EXPECT_EQ(dialogs.messages.size(), 5u); // the prompt, no result box
}
