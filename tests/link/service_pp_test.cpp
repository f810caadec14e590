// Transducer and DSP EEPROM, calibration, NSM, data-logger and tool-data transactions on the parallel
// port, through the bit-banged SPI bus to the stand-in's simulated CAN controller.
#include "base/numbertext.h"
#include "tests/link/service_support.h"
#include "tests/support/ppfixture.h"

using namespace clink;
using namespace servicetest;
using base::fixed40;

namespace {
class ServicePp : public testsupport::PpFixture {};
} // namespace

TEST_F(ServicePp, DspWriteThenReadBack) {
    configure(ids::DspReply);
    ASSERT_TRUE(link.dataTx.WriteDspEeprom(300, 0x1234));
    EXPECT_EQ(model.dspBytes[300], 0x34);
    EXPECT_EQ(model.dspBytes[301], 0x12);
    EXPECT_EQ(withId(chip.transmitted, ids::DspWriteRequest).back(),
              (CanMessage{ids::DspWriteRequest, {0x60, 0, 44, 1, 0x34, 0x12, 0, 0}}));
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadDspEeprom(300));
    EXPECT_EQ(s.DataCount, 2);
    EXPECT_EQ(s.DataBuffer[0], 0x34);
    EXPECT_EQ(s.DataBuffer[1], 0x12);
    EXPECT_EQ(withId(chip.transmitted, ids::DspReadRequest).back(),
              (CanMessage{ids::DspReadRequest, {0x90, 0, 44, 1, 0, 0, 0, 0}}));
}

TEST_F(ServicePp, AReplyForAnotherAddressIsDiscardedAndTheReadGoesOn) {
    configure(ids::DspReply);
    model.wrongEcho = true; // the first reply names another address
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadDspEeprom(40));
    EXPECT_EQ(s.DataCount, 2);
    EXPECT_EQ(s.DataBuffer[0], model.dspBytes[40]);
    EXPECT_EQ(model.countReceived(ids::DspReadRequest), 2);
}

TEST_F(ServicePp, TransducerWriteAndReadWithTheAddressRightAfterTheCode) {
    configure(ids::TransducerReply);
    ASSERT_TRUE(link.dataTx.WriteTransducerEeprom(300, 0x5A));
    EXPECT_EQ(model.transducerEeprom[300], 0x5A);
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadTransducerEeprom(300));
    EXPECT_EQ(s.DataCount, 1);
    EXPECT_EQ(s.DataBuffer[0], 0x5A);
    EXPECT_EQ(withId(chip.transmitted, ids::TransducerRequest).back(),
              (CanMessage{ids::TransducerRequest, {0x90, 1, 44, 0, 0, 0, 0, 0}}));
}

TEST_F(ServicePp, UnansweredWritesKeepTheirPassAndPollCounts) {
    s.TransferDelay = 8;
    configure(ids::TransducerReply);
    model.noReply.insert(ids::TransducerRequest);
    chip.clearCounters();
    EXPECT_FALSE(link.dataTx.WriteTransducerEeprom(5, 1));
    EXPECT_EQ(chip.framesTransmitted, 40);
    EXPECT_EQ(chip.intfReads, 40 * 600);

    configure(ids::DspReply);
    model.noReply.insert(ids::DspWriteRequest);
    chip.clearCounters();
    EXPECT_FALSE(link.dataTx.WriteDspEeprom(5, 1));
    EXPECT_EQ(chip.framesTransmitted, 30);
    EXPECT_EQ(chip.intfReads, 30 * 120);
}

TEST_F(ServicePp, ReportedRundownStartsTheCalibrationAndItsResultReadsExactly) {
    for (const CanMessage& f : model.rundownEvent(CalibrationRundown))
        chip.armEvent(f);
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationFinalTorque);
    EXPECT_TRUE(chip.transmitted.empty()); // the parallel port only listens

    ASSERT_TRUE(link.dataTx.ReadRundownResult());
    EXPECT_EQ(s.DataCount, 18);
    const RundownResultRecord& r = s.RundownResult;
    EXPECT_EQ(r.texts[0], fixed40(QStringLiteral("Tq Final: 125.4")));
    EXPECT_EQ(r.texts[4], fixed40(QStringLiteral("Angle Final: 1254")));
    EXPECT_EQ(r.texts[7], fixed40(QStringLiteral("Result: Tq Hi / Angle Hi")));
    EXPECT_EQ(r.texts[10], fixed40(QStringLiteral("Total Psets: 8")));
    EXPECT_EQ(withId(chip.transmitted, ids::CommandRequest).size(), 3u);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServicePp, CalibrationWithoutARundownOrWithoutTheDongle) {
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationPending);
    EXPECT_TRUE(dialogs.messages.empty());
    chip.dongleAbsent = true;
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationLinkFailed);
    EXPECT_FALSE(link.dataTx.ReadRundownResult());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable To Configure Can Dongle"));
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Unable To Configure Can Dongle - Transfer Aborted"));
    EXPECT_EQ(dialogs.messages[1].icon, base::MessageIcon::Critical);
}

TEST_F(ServicePp, CalibrationCommandReachesTheController) {
    configure(ids::CommandReply); // as the rundown result read before it leaves the dongle
    chip.clearCounters();
    ASSERT_TRUE(link.dataTx.SendCalibrationCommand(1234));
    EXPECT_EQ(withId(chip.transmitted, ids::CalibrationRequest),
              std::vector<CanMessage>({{ids::CalibrationRequest, {0x20, 0x01, 0xD2, 0x04, 0, 0, 0, 0}}}));
    EXPECT_EQ(model.calibrationValues, std::vector<int>{1234});
    EXPECT_EQ(model.toolEeprom[45], 0xD2);
    EXPECT_EQ(model.toolEeprom[46], 0x04);
}

TEST_F(ServicePp, NsmReadWriteAndReadBack) {
    model.nsm = {0, 5, 3, 2, 1, 0, 1, 1, 0};
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(s.DataCount, 9);
    EXPECT_EQ(s.DataBuffer[1], 1);
    EXPECT_EQ(s.NsmSettings.items[0].text, fixed40(QStringLiteral("Run Rev Tq Check: On")));
    ASSERT_TRUE(link.dataTx.WriteNsmSettings(4, 3));
    EXPECT_EQ(model.nsm[4], 3);
    EXPECT_EQ(withId(chip.transmitted, ids::NsmRequest).back(),
              (CanMessage{ids::NsmRequest, {0x60, 0, 4, 3, 0, 0, 0, 0}}));
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(s.NsmSettings.items[3].text, fixed40(QStringLiteral("Number Of Spindles: 3")));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServicePp, NsmFailuresShowTheirBoxes) {
    model.noReply.insert(ids::NsmRequest);
    EXPECT_FALSE(link.dataTx.ReadNsmSettings());
    EXPECT_FALSE(link.dataTx.WriteNsmSettings(4, 3));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("NSM Settings Not Received"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Receive Error"));
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Unable To Transfer Data - Transfer Failed"));
    EXPECT_EQ(dialogs.messages[1].caption, QStringLiteral("Transfer Data"));
    EXPECT_EQ(dialogs.messages[1].icon, base::MessageIcon::Critical);
}

TEST_F(ServicePp, DataLoggerReadsOneAndFiveEntries) {
    for (int i = 0; i < 5; ++i)
        model.loggerMem[size_t(14700 + i)] = uint8_t(0xC0 + i);
    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadDataLogger(14700));
    EXPECT_EQ(s.DataCount, 1);
    EXPECT_EQ(s.DataBuffer[0], 0xC0);
    EXPECT_EQ(withId(chip.transmitted, ids::LoggerRequest).back(),
              (CanMessage{ids::LoggerRequest, {0xAA, 0x6C, 0x39, 0, 0, 0, 0, 0}}));

    // The route read leaves the set-up to its caller.
    configure(ids::CurveRequest2);
    ASSERT_TRUE(link.dataTx.ReadDataLoggerRoute(14700));
    EXPECT_EQ(s.DataCount, 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(s.DataBuffer[1 + i], 0xC0 + i);
    const size_t before = chip.transmitted.size();
    EXPECT_FALSE(link.dataTx.ReadDataLoggerRoute(65536));
    EXPECT_EQ(chip.transmitted.size(), before);
    EXPECT_EQ(s.DataCount, 6);
}

TEST_F(ServicePp, ToolRpmAndDiagnosticsIgnoreAReplyWithANonZeroSecondByte) {
    clock.stepPerReading = 1000;
    configure(ids::ToolReply);
    chip.emitSpontaneous({ids::ToolReply, {0xD1, 1, 9, 9, 9, 9, 9, 9}});
    ASSERT_TRUE(link.dataTx.ReadToolRpm());
    configure(ids::ToolReply);
    ASSERT_TRUE(link.dataTx.RunToolDiagnostics());
    EXPECT_EQ(dialogs.messageTexts(), ToolDataBoxes);
    EXPECT_EQ(s.DataCount, 6);
}

TEST_F(ServicePp, ToolDataWithoutAReplyPromptsOnceAndEndsWithTheClock) {
    clock.stepPerReading = 1000;
    configure(ids::ToolReply);
    model.noReply.insert(ids::ToolRequest);
    const int64_t start = clock.nowMs();
    EXPECT_FALSE(link.dataTx.ReadToolRpm());
    // The silence cap ends the wait, not the thousandth of a day (within a few readings of the clock).
    EXPECT_LT(clock.nowMs() - start, SilenceCapMs + 10 * clock.stepPerReading);
    EXPECT_EQ(dialogs.messageTexts(), QStringList({"Hold Down Tool Trigger and hit OK While Running"}));
    EXPECT_EQ(withId(chip.transmitted, ids::ToolRequest).size(), 1u);
}
