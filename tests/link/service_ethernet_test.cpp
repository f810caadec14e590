// Transducer and DSP EEPROM, calibration, NSM and tool-data transactions over real loopback TCP against
// the stand-in's Ethernet dongle.
#include "base/numbertext.h"
#include "tests/link/service_support.h"
#include "tests/support/ethernetfixture.h"

using namespace clink;
using namespace servicetest;
using base::fixed40;

namespace {

// A controller that answers once per request: the counts below are the requests such a controller needs.
class ServiceEthernet : public testsupport::EthernetFixture {
protected:
    void SetUp() override {
        EthernetFixture::SetUp();
        ASSERT_FALSE(dongle.ackThenReply) << "the stand-in answers once per request";
    }
    // The controller reports a rundown right after the dongle has been told to pass 10EF1102.
    void armRundown(const sim::ControllerModel::RundownRecord& record) {
        dongle.armOnAccept(ids::RunData, [this, record] {
            for (const CanMessage& f : model.rundownEvent(record))
                dongle.emitSpontaneous(f);
        });
    }
};

} // namespace

TEST_F(ServiceEthernet, DspWriteThenReadBack) {
    s.DataCount = 0;
    ASSERT_TRUE(link.dataTx.WriteDspEeprom(300, 0x1234));
    EXPECT_EQ(model.dspBytes[300], 0x34);
    EXPECT_EQ(model.dspBytes[301], 0x12);
    EXPECT_EQ(s.RequestData[4], 0);
    EXPECT_EQ(s.RequestData[5], 0);
    // Filter frame, then the request low byte first.
    ASSERT_GE(dongle.frames.size(), 2u);
    EXPECT_EQ(dongle.frames[0].message, (CanMessage{ids::DspReply, {}}));
    EXPECT_EQ(dongle.frames[1].accept, ids::DspReply);
    EXPECT_EQ(dongle.frames[1].message,
              (CanMessage{ids::DspWriteRequest, {0x60, 0, 44, 1, 0x34, 0x12, 0, 0}}));

    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadDspEeprom(300));
    EXPECT_EQ(s.DataCount, 2);
    EXPECT_EQ(s.DataBuffer[0], 0x34);
    EXPECT_EQ(s.DataBuffer[1], 0x12);
    EXPECT_EQ(s.DataBuffer[2], 0);
    EXPECT_EQ(withId(dongle.frames, ids::DspReadRequest).back().message,
              (CanMessage{ids::DspReadRequest, {0x90, 0, 44, 1, 0, 0, 0, 0}}));
    // The DSP reply is taken on the first matching frame: one request.
    EXPECT_EQ(model.countReceived(ids::DspReadRequest), 1);
}

TEST_F(ServiceEthernet, DspReadWithoutAReplyAddsNothing) {
    model.noReply.insert(ids::DspReadRequest);
    link.dataTx.ClearReceiveBuffer();
    EXPECT_FALSE(link.dataTx.ReadDspEeprom(10));
    EXPECT_EQ(s.DataCount, 0);
    // No more than its sends; no request goes out while the last one's answer could still come, so the
    // silence cap ends it first.
    EXPECT_LE(model.countReceived(ids::DspReadRequest), 101);
    EXPECT_GE(model.countReceived(ids::DspReadRequest), 2);
}

TEST_F(ServiceEthernet, TransducerWriteAndReadUseTheirOwnLayouts) {
    ASSERT_TRUE(link.dataTx.WriteTransducerEeprom(300, 0x5A));
    EXPECT_EQ(model.transducerEeprom[300], 0x5A);
    EXPECT_EQ(withId(dongle.frames, ids::TransducerRequest).front().message,
              (CanMessage{ids::TransducerRequest, {0x60, 1, 44, 0x5A, 0, 0, 0, 0}}));

    link.dataTx.ClearReceiveBuffer();
    ASSERT_TRUE(link.dataTx.ReadTransducerEeprom(300));
    EXPECT_EQ(s.DataCount, 1);
    EXPECT_EQ(s.DataBuffer[0], 0x5A);
    EXPECT_EQ(withId(dongle.frames, ids::TransducerRequest).back().message,
              (CanMessage{ids::TransducerRequest, {0x90, 0, 1, 44, 0, 0, 0, 0}}));
    EXPECT_EQ(model.countReceived(ids::TransducerRequest, 0x90), 2);
    const int writes = model.countReceived(ids::TransducerRequest, 0x60);
    EXPECT_FALSE(link.dataTx.WriteTransducerEeprom(300, 256)); // not a byte: nothing sent
    EXPECT_EQ(model.countReceived(ids::TransducerRequest, 0x60), writes);
}

TEST_F(ServiceEthernet, TransducerWriteConfirmationMustEchoTheValueEvenZero) {
    // A read's reply for the same location carries another value: it does not confirm a write of 0.
    model.wrongEcho = true;
    ASSERT_TRUE(link.dataTx.WriteTransducerEeprom(7, 0));
    EXPECT_EQ(model.countReceived(ids::TransducerRequest, 0x60), 3); // the wrong echo was not taken
    model.wrongEcho = true;
    ASSERT_TRUE(link.dataTx.WriteTransducerEeprom(7, 9));
    EXPECT_EQ(model.countReceived(ids::TransducerRequest, 0x60), 6);
}

TEST_F(ServiceEthernet, ArmedRundownStartsTheCalibrationAndItsResultReadsExactly) {
    armRundown(CalibrationRundown);
    s.ReplyReady = false; // as the calibration window does before each call
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationFinalTorque);
    const auto start = withId(dongle.frames, ids::StatusRequest);
    ASSERT_EQ(start.size(), 1u); // one frame, never sent again
    EXPECT_EQ(start[0].accept, ids::RunData);
    EXPECT_EQ(start[0].message, (CanMessage{ids::StatusRequest, {}}));

    s.DataCount = 40;
    ASSERT_TRUE(link.dataTx.ReadRundownResult());
    EXPECT_EQ(s.DataCount, 18);
    for (size_t i = 0; i < CalibrationRundown.size(); ++i)
        EXPECT_EQ(s.DataBuffer[int(i)], CalibrationRundown[i]) << i;
    const RundownResultRecord& r = s.RundownResult;
    EXPECT_DOUBLE_EQ(r.values[0], 125.4);
    EXPECT_EQ(r.texts[0], fixed40(QStringLiteral("Tq Final: 125.4")));
    EXPECT_EQ(r.texts[4], fixed40(QStringLiteral("Angle Final: 1254")));
    EXPECT_DOUBLE_EQ(r.values[7], 10);
    EXPECT_EQ(r.texts[7], fixed40(QStringLiteral("Result: Tq Hi / Angle Hi")));
    EXPECT_EQ(r.texts[8], fixed40(QStringLiteral("Current Pset: 3")));
    EXPECT_EQ(r.texts[9], fixed40(QStringLiteral("Units: Nm")));
    // Three filter frames, then two requests per block (the first reply acknowledges).
    EXPECT_EQ(withId(dongle.frames, ids::CommandReply).size(), 3u);
    EXPECT_EQ(model.countReceived(ids::CommandRequest, 0x10), 6);
    EXPECT_EQ(withId(dongle.frames, ids::CommandRequest)[4].message,
              (CanMessage{ids::CommandRequest, {0x10, 3, 0, 0, 0, 0, 0, 0}}));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServiceEthernet, RundownWithoutItsOpeningFrameStillStartsTheCalibration) {
    model.rundownStartFrame = false;
    armRundown(CalibrationRundown);
    s.ReplyReady = false;
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationFinalTorque);
    // The first result frame was taken as the acknowledgement, the second as the report.
    EXPECT_EQ(s.RunDataWords[1], 0);
    EXPECT_EQ(s.RunDataWords[7], CalibrationRundown[6]);
}

TEST_F(ServiceEthernet, CalibrationCommandReachesTheControllerAndFailsWithTheSocketDown) {
    ASSERT_TRUE(link.dataTx.SendCalibrationCommand(1234));
    ASSERT_TRUE(waitFor([&] { return !model.calibrationValues.empty(); }));
    const auto sent = withId(dongle.frames, ids::CalibrationRequest);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].accept, 0u);
    EXPECT_EQ(sent[0].message, (CanMessage{ids::CalibrationRequest, {0x20, 0x01, 0xD2, 0x04, 0, 0, 0, 0}}));
    EXPECT_EQ(model.toolEeprom[45], 0xD2);
    EXPECT_EQ(model.toolEeprom[46], 0x04);
    EXPECT_FALSE(link.dataTx.SendCalibrationCommand(70000)); // does not fit two bytes

    link.socket.close();
    EXPECT_FALSE(link.dataTx.SendCalibrationCommand(1234));
    s.ConnectionType = NoConnection;
    EXPECT_FALSE(link.dataTx.SendCalibrationCommand(1234));
    EXPECT_EQ(model.calibrationValues.size(), 1u);
}

TEST_F(ServiceEthernet, CalibrationWithTheSocketDownShowsItsBoxes) {
    link.socket.close();
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationLinkFailed);
    EXPECT_FALSE(link.dataTx.ReadRundownResult());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable To connect using ethernet"));
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Unable to connect using ethernet"));
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.caption, base::ProgramTitle);
        EXPECT_EQ(m.icon, base::MessageIcon::Critical);
    }
}

TEST_F(ServiceEthernet, RundownResultEndsWhenTheConnectionDropsMidway) {
    dongle.closeAfterReplies = 3; // block 1 (two replies) and the acknowledgement of block 2
    const RundownResultRecord before = s.RundownResult;
    EXPECT_FALSE(link.dataTx.ReadRundownResult());
    EXPECT_EQ(s.DataCount, 6);
    EXPECT_EQ(s.RundownResult.texts, before.texts);
}

TEST_F(ServiceEthernet, NsmReadFillsTheSettings) {
    model.nsm = {4, 5, 3, 2, 1, 0, 1, 1, 0};
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(s.DataCount, 9);
    const std::array<int, 9> expected = {4, 1, 3, 2, 1, 0, 1, 1, 0};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(s.DataBuffer[i], expected[size_t(i)]) << i;
    EXPECT_EQ(s.NsmSettings.items[0].value, 1);
    EXPECT_EQ(s.NsmSettings.items[0].text, fixed40(QStringLiteral("Run Rev Tq Check: On")));
    EXPECT_EQ(s.NsmSettings.items[6].text, fixed40(QStringLiteral("Buttons: MID")));
    EXPECT_EQ(s.NsmSettings.items[7].text, fixed40(QStringLiteral("Collect Data: Yes")));
    EXPECT_EQ(withId(dongle.frames, ids::NsmRequest)[2].message,
              (CanMessage{ids::NsmRequest, {0x90, 0, 1, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(model.countReceived(ids::NsmRequest, 0x90), 18);
}

TEST_F(ServiceEthernet, NsmWriteThenReadBack) {
    ASSERT_TRUE(link.dataTx.WriteNsmSettings(3, 7));
    EXPECT_EQ(model.nsm[3], 7);
    EXPECT_FALSE(s.AckReceived);
    EXPECT_EQ(withId(dongle.frames, ids::NsmRequest).front().message, (CanMessage{ids::NsmRequest, {}}));
    ASSERT_TRUE(link.dataTx.ReadNsmSettings());
    EXPECT_EQ(s.NsmSettings.items[2].text, fixed40(QStringLiteral("Reverse Timer: 7")));
    // After a read too, the write starts clean: its first confirmation only acknowledges.
    const int before = model.countReceived(ids::NsmRequest, 0x60);
    ASSERT_TRUE(link.dataTx.WriteNsmSettings(2, 4));
    EXPECT_EQ(model.countReceived(ids::NsmRequest, 0x60), before + 2);
    EXPECT_EQ(model.nsm[2], 4);
}

TEST_F(ServiceEthernet, NsmWithoutRepliesStopsAfter51SendsAndKeepsTheSettings) {
    model.noReply.insert(ids::NsmRequest);
    EXPECT_FALSE(link.dataTx.WriteNsmSettings(3, 7));
    EXPECT_LE(model.countReceived(ids::NsmRequest, 0x60), 51);
    EXPECT_GE(model.countReceived(ids::NsmRequest, 0x60), 2);
    const NsmSettingsRecord before = s.NsmSettings;
    EXPECT_FALSE(link.dataTx.ReadNsmSettings());
    EXPECT_LE(model.countReceived(ids::NsmRequest, 0x90), 51);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Error Collecting Data"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Getting NSM Settings"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_EQ(s.NsmSettings.items[0].text, before.items[0].text);
}

TEST_F(ServiceEthernet, ToolRpmAndDiagnosticsShowTheirBoxes) {
    ASSERT_TRUE(link.dataTx.ReadToolRpm());
    ASSERT_TRUE(link.dataTx.RunToolDiagnostics());
    ASSERT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(dialogs.messageTexts(), ToolDataBoxes);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.caption, base::ProgramTitle);
        EXPECT_EQ(m.icon, base::MessageIcon::None);
    }
    EXPECT_EQ(s.DataBuffer[4], 0xC4);
    EXPECT_EQ(s.DataBuffer[5], 0x09);
    // Every request is followed by the connection filter frame.
    for (size_t i = 0; i + 1 < dongle.frames.size(); ++i) {
        if (dongle.frames[i].message.id == ids::ToolRequest) {
            EXPECT_EQ(dongle.frames[i].accept, ids::ToolReply);
            EXPECT_EQ(dongle.frames[i + 1].message, (CanMessage{ids::ConnectFilter, {}}));
        }
    }
}

TEST_F(ServiceEthernet, AToolReportDuringTheToolDataReadIsNotTakenForTheToolData) {
    // Right after the first request the tool reports a fault and a cycle on the same identifier: neither
    // is the tool data, which the next answer brings.
    dongle.armOnAccept(ids::ToolReply, [this] {
        dongle.emitSpontaneous(sim::ControllerModel::faultMessage(0x10, 0x21, 0x10));
        dongle.emitSpontaneous(sim::ControllerModel::rundownMessage(1, 500, 90, 0));
    });
    ASSERT_TRUE(link.dataTx.ReadToolRpm());
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{ToolDataBoxes[0], ToolDataBoxes[1]}));
    EXPECT_EQ(s.DataBuffer[4], 0xC4);
    EXPECT_EQ(s.DataBuffer[5], 0x09);
    EXPECT_EQ(model.countReceived(ids::ToolRequest), 2);
}

TEST_F(ServiceEthernet, NoConnectionTypeSendsNothingAndShowsNothing) {
    s.ConnectionType = NoConnection;
    EXPECT_FALSE(link.dataTx.WriteTransducerEeprom(1, 1));
    EXPECT_FALSE(link.dataTx.ReadTransducerEeprom(1));
    EXPECT_FALSE(link.dataTx.WriteDspEeprom(1, 1));
    EXPECT_FALSE(link.dataTx.ReadDspEeprom(1));
    EXPECT_EQ(link.dataTx.StartCalibration(), CalibrationPending);
    EXPECT_FALSE(link.dataTx.ReadRundownResult());
    EXPECT_FALSE(link.dataTx.ReadNsmSettings());
    EXPECT_FALSE(link.dataTx.WriteNsmSettings(1, 1));
    EXPECT_FALSE(link.dataTx.ReadDataLogger(1));
    EXPECT_FALSE(link.dataTx.ReadDataLoggerRoute(1));
    EXPECT_FALSE(link.dataTx.ReadToolRpm());
    EXPECT_FALSE(link.dataTx.RunToolDiagnostics());
    waitFor([] { return false; }, 50);
    EXPECT_TRUE(dongle.frames.empty());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ServiceEthernet, DataLoggerIsNotReadButThePendingSocketTextIsKept) {
    s.EthernetRxText = "%CAN,144,";
    EXPECT_FALSE(link.dataTx.ReadDataLogger(14700));
    EXPECT_FALSE(link.dataTx.ReadDataLoggerRoute(14700));
    ASSERT_TRUE(waitFor([&] { return dongle.otherFrames.size() == 60; }));
    EXPECT_EQ(dongle.otherFrames[0], QByteArray("%CAN0,13EF0305,3,1,8,170,108,57,0,0,0,0,0NAC%"));
    EXPECT_EQ(s.EthernetRxText, QByteArray("%CAN,144,"));
    EXPECT_FALSE(link.dataTx.ReadDataLoggerRoute(65536));
    EXPECT_TRUE(dialogs.messages.empty());
    waitFor([] { return false; }, 50);
    EXPECT_EQ(dongle.otherFrames.size(), 60u);
}

TEST_F(ServiceEthernet, DataLoggerWithTheSocketDownShowsEachBoxOnce) {
    link.socket.close();
    EXPECT_FALSE(link.dataTx.ReadDataLogger(14700));
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList({"Unable To Configure Ethernet", "Ethernet not connected"}));
}
