// The editor's commands against the stand-in on each link: send, receive, reset, select and clear, the
// checks before anything is erased, and the reset offered after a status the program cannot take.
#include "base/numbertext.h"
#include "link/commandcodes.h"
#include "link/portio.h"
#include "pset/psetpackets.h"
#include "tests/pset/psetfixture.h"

#include <QSignalSpy>

using app::PsetField;
using base::MessageIcon;
using namespace psettest;
namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {

using Bytes = sim::ControllerModel::PsetBytes;

// The three Psets of the sent project as the stand-in must hold them (bytes 1..7 of the four packets).
// Pset 1: 12.5 goes as 125, 0. Pset 2: 300 as 184, 11. Pset 3: 25.57 (255.7) as 256: 0, 1, and the cycle
// complete 12.25 (122.5) as 122, halves to even.
const Bytes SentPset1{2, 125, 0, 130, 0,  120, 0, 0, 50, 0,  100, 0,  10, 0,
                      1, 0,   0, 16,  14, 0,   0, 1, 32, 78, 136, 19, 5,  1};
const Bytes SentPset2{1, 184, 11, 228, 12, 140, 10, 1, 220, 5, 208, 7, 232, 3,
                      1, 20,  0,  30,  0,  10,  0,  0, 82,  3, 138, 2, 5,   2};
const Bytes SentPset3{1, 0, 1, 4, 1, 250, 0, 0, 125, 0, 200, 0, 122, 0,
                      1, 0, 0, 0, 0, 0,   0, 0, 0,   0, 0,   0, 5,   3};

// The requests of a control command's timeline against a controller that answers once.
constexpr int OnceControlRequests = 2;

class PsetTransfer : public PsetOnEachLink {
protected:
    void threePsetProject() {
        session.mnuNewPset_Click();
        session.tmrNew_Timer();
        session.mnuAddPset_Click();
        session.mnuAddPset_Click();
        setTexts(1, {{PsetField::Strategy, "2"},
                     {PsetField::TqTarget, "12.5"},
                     {PsetField::TqHi, "13"},
                     {PsetField::TqLo, "12"},
                     {PsetField::TqDownshift, "10"},
                     {PsetField::TqThreshold, "5"},
                     {PsetField::CycleComplete, "1"},
                     {PsetField::AngleTarget, "0"},
                     {PsetField::AngleHi, "360"},
                     {PsetField::AngleLo, "0"},
                     {PsetField::RpmFreeSpeed, "2000"},
                     {PsetField::RpmDownshift, "500"},
                     {PsetField::SoftStart, "1"}});
        setTexts(2, {{PsetField::TqTarget, "300"},
                     {PsetField::TqHi, "330"},
                     {PsetField::TqLo, "270"},
                     {PsetField::TqDownshift, "200"},
                     {PsetField::TqThreshold, "150"},
                     {PsetField::CycleComplete, "100"},
                     {PsetField::AngleTarget, "2"},
                     {PsetField::AngleHi, "3"},
                     {PsetField::AngleLo, "1"},
                     {PsetField::Ergo, "1"}});
        setTexts(3, {{PsetField::TqTarget, "25.57"},
                     {PsetField::TqHi, "26"},
                     {PsetField::TqLo, "25"},
                     {PsetField::TqDownshift, "20"},
                     {PsetField::TqThreshold, "12.5"},
                     {PsetField::CycleComplete, "12.25"},
                     {PsetField::RpmDownshift, "0"},
                     {PsetField::RpmFreeSpeed, "0"}});
    }
    // The packets of the send, in order.
    std::vector<clink::CanMessage> sentPackets() const {
        std::vector<clink::CanMessage> sent;
        for (const clink::CanMessage& m : model.received)
            if (m.id == ids::CommandRequest && m.data[0] >= 0x71 && m.data[0] <= 0x74 &&
                (sent.empty() || !(sent.back() == m)))
                sent.push_back(m); // over Ethernet a packet goes again until its second acknowledgement
        return sent;
    }
};

INSTANTIATE_TEST_SUITE_P(Links, PsetTransfer,
                         ::testing::Values(Link::Ethernet, Link::Usb, Link::ParallelPort), linkName);

} // namespace

TEST_P(PsetTransfer, AThreePsetProjectIsSentAndReceivedBack) {
    threePsetProject();
    session.mnuSendData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << messages().join(" | ").toStdString();
    EXPECT_GE(received(codes::ErasePsets), 1); // over Ethernet until its second acknowledgement
    EXPECT_EQ(model.psets[1], SentPset1);
    EXPECT_EQ(model.psets[2], SentPset2);
    EXPECT_EQ(model.psets[3], SentPset3);
    EXPECT_EQ(model.psetCount, 3);
    EXPECT_EQ(sentPackets().size(), 12u);
    EXPECT_EQ(session.PsetTable2()[3].text(PsetField::TqTarget), "255.7     ");
    EXPECT_EQ(session.PsetTable2()[1].text(PsetField::AngleHi), "3600      ");
    // The report of the transfer; the panel is hidden again and the controller's list refreshed.
    const QStringList& list = session.List1();
    ASSERT_GE(list.size(), 2);
    EXPECT_EQ(list.first(), "Parameter Reset Successfully");
    EXPECT_EQ(list[1], "Starting Parameter Set Transfer");
    EXPECT_EQ(list.mid(2, 6),
              (QStringList{"Converting Parameter Set 1 Values", "Sending Parameter Set 1", "Packet 1 Sent",
                           "Packet 2 Sent", "Packet 3 Sent", "Packet 4 Sent"}));
    EXPECT_EQ(list.last(), "Parameter Set Transfer Completed !");
    EXPECT_EQ(list.size(), 2 + 3 * 6 + 1);
    EXPECT_FALSE(session.controls().transferPanel);
    EXPECT_EQ(session.controllerPsets(), (QStringList{"1", "2", "3"}));
    EXPECT_TRUE(session.statusReadPending());

    // Received back into a fresh project: the values as the controller holds them.
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    receive();
    ASSERT_TRUE(dialogs->messages.empty()) << messages().join(" | ").toStdString();
    EXPECT_EQ(table.count(), 3);
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 3, 1}));
    EXPECT_TRUE(session.controls().mnuSendData);
    const char* const pset1[] = {"3", "5",   "2", "12.5", "13",  "12",   "",  "10", "5",
                                 "0", "360", "0", "1",    "500", "2000", "1", "0"};
    for (int f = 0; f < 17; ++f) {
        if (f != int(PsetField::TqPercent)) {
            EXPECT_EQ(text(1, PsetField(f)), pset1[f]) << f;
        }
    }
    EXPECT_EQ(text(2, PsetField::TqTarget), "300");
    EXPECT_EQ(text(2, PsetField::Ergo), "1");
    EXPECT_EQ(text(2, PsetField::AngleLo), "1");
    EXPECT_EQ(text(3, PsetField::TqTarget), "25.6");
    EXPECT_EQ(text(3, PsetField::CycleComplete), "12.2");
    EXPECT_EQ(session.List1()[1], "----- PARAMETER SET 3 -----");
}

TEST_P(PsetTransfer, APsetBreakingARuleOrOutOfRangeIsRefusedBeforeAnythingIsErased) {
    threePsetProject();
    setTexts(2, {{PsetField::TqThreshold, "200"}});
    QSignalSpy flushed(&session, &pset::PsetEditorSession::storeEditorsRequested);
    session.mnuSendData_Click();
    EXPECT_EQ(flushed.size(), 1);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Parameter Set 2:  Threshold = DownShift  ");
    EXPECT_EQ(dialogs->messages[0].caption, "Data Entry Error");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);

    setTexts(2, {{PsetField::TqThreshold, "150"}});
    setTexts(3, {{PsetField::TqTarget, "7000"}, {PsetField::TqHi, "7000"}});
    session.mnuSendData_Click();
    EXPECT_EQ(messages().last(), "Parameter Set 3:  Tq Target Out Of Range (0 To 6553.5)  ");
    // Just beyond the top (65535.5 rounds to 65536), a negative angle, a negative flag.
    setTexts(3, {{PsetField::TqTarget, "25"}, {PsetField::TqHi, "6553.55"}});
    session.mnuSendData_Click();
    EXPECT_EQ(messages().last(), "Parameter Set 3:  Tq Hi Limit Out Of Range (0 To 6553.5)  ");
    setTexts(3, {{PsetField::TqHi, "26"}, {PsetField::AngleLo, "-5"}});
    session.mnuSendData_Click();
    EXPECT_EQ(messages().last(), "Parameter Set 3:  Angle Lo Limit Out Of Range (0 To 6553.5)  ");
    setTexts(3, {{PsetField::AngleLo, "1"}, {PsetField::SoftStart, "-1"}});
    session.mnuSendData_Click();
    EXPECT_EQ(messages().last(), "Parameter Set 3:  Soft Start Out Of Range (0 To 255)  ");
    setTexts(3, {{PsetField::SoftStart, "1"}, {PsetField::Strategy, "256"}});
    session.mnuSendData_Click();
    EXPECT_EQ(messages().last(), "Parameter Set 3:  Strategy Out Of Range (0 To 255)  ");
    table.setCount(0);
    session.mnuSendData_Click();
    EXPECT_EQ(messages().last(), "No Parameter Sets To Send");

    EXPECT_EQ(received(codes::ErasePsets), 0);
    EXPECT_TRUE(sentPackets().empty());
    EXPECT_EQ(model.psetCount, 8);
    EXPECT_FALSE(session.controls().transferPanel);
    EXPECT_EQ(session.List1().last(), "Checking Data For Errors .....");
}

TEST_P(PsetTransfer, ReceivedPsetsAreConvertedIntoTheDefaultUnitsAndReportedAsSent) {
    setDefaultUnits(5);
    model.psetCount = 2;
    model.psets[1][26] = 1;
    model.psets[2] = {28, 0xE8, 0x03, 0x4C, 0x04, 0x84, 0x03, 1, 0x7D, 0x00, 0xF4, 0x01, 0x32, 0x00,
                      1,  0x2C, 0x01, 0x58, 0x02, 0x64, 0x00, 2, 0x98, 0x3A, 0xB8, 0x0B, 1,    2};
    table[1].setText(PsetField::CurveFile, QStringLiteral("None"));
    receive();
    ASSERT_TRUE(dialogs->messages.empty()) << messages().join(" | ").toStdString();
    EXPECT_EQ(dialogs->asked[0].text, "CURRENT PROJECT WILL BE ERASED!! CONTINUE?");
    EXPECT_EQ(dialogs->asked[0].caption, "RECEIVE CONTROLLER PARAMETER SET(S)");
    // Only the last Pset's report remains, in the controller's units.
    EXPECT_EQ(
        session.List1(),
        (QStringList{"   ", "----- PARAMETER SET 2 -----", "Parameter Set #: 2", "Units: lb-in",
                     "Startegy: Rev. Tq Control / Angle Control", "Target: 100", "Target Hi: 110",
                     "Target Lo: 90", "Tq Threshold: 12.5", "Tq Downshift: 50", "Tq Cycle Complete: 5",
                     "Angle Target: 30", "Angle Hi: 60", "Angle Lo: 10", "Rpm_Freespeed: 1500",
                     "Rpm_Downshift: 300", "Soft Start: No", "Ergo: Yes", "Master Transducer: External"}));
    // The record holds Nm.
    EXPECT_EQ(text(2, PsetField::Units), "5");
    EXPECT_EQ(text(2, PsetField::TqTarget), "11.3");
    EXPECT_EQ(text(2, PsetField::TqHi), "12.43");
    EXPECT_EQ(text(2, PsetField::TqLo), "10.17");
    EXPECT_EQ(text(2, PsetField::TqThreshold), "1.4125");
    EXPECT_EQ(text(2, PsetField::TqDownshift), "5.65");
    EXPECT_EQ(text(2, PsetField::CycleComplete), "0.565");
    EXPECT_EQ(text(2, PsetField::AngleTarget), "30");
    EXPECT_EQ(text(2, PsetField::RpmFreeSpeed), "1500");
    EXPECT_EQ(text(2, PsetField::SoftStart), "0");
    EXPECT_EQ(text(2, PsetField::Ergo), "1");
    EXPECT_EQ(text(2, PsetField::Strategy), "28");
    EXPECT_EQ(text(1, PsetField::TqTarget), "14.125"); // 125.0 lb-in
    EXPECT_EQ(text(1, PsetField::CurveFile), "None");
    EXPECT_EQ(table.count(), 2);
    EXPECT_GE(received(codes::PsetRead), 8);
}

TEST_P(PsetTransfer, AControllerWithoutPsetsGivesOneNewPset) {
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    session.mnuAddPset_Click();
    model.psetCount = 0;
    receive();
    ASSERT_TRUE(dialogs->messages.empty()) << messages().join(" | ").toStdString();
    EXPECT_EQ(received(codes::PsetRead), 0);
    EXPECT_EQ(table.count(), 1);
    EXPECT_EQ(text(1, PsetField::TqPercent), "10");
    EXPECT_EQ(session.selector(), (pset::PsetSelector{1, 1, 1}));
    EXPECT_TRUE(session.controls().framepset);
    EXPECT_TRUE(session.List1().contains("Status Received"));
    EXPECT_TRUE(session.List1().contains(base::fixed40("Number Of Parameter Sets: 0")));
    EXPECT_TRUE(session.controllerPsets().isEmpty());

    // Answering No changes nothing.
    dialogs->yesNoAnswers.enqueue(false);
    table[1].setText(PsetField::TqTarget, QStringLiteral("7"));
    session.mnuReceiveData_Click();
    EXPECT_EQ(text(1, PsetField::TqTarget), "7");
}

TEST_P(PsetTransfer, SelectingAPsetMakesItTheControllersCurrentPset) {
    model.currentPset = 1;
    // The editor is open: the controller's list was read (the dongle is set up no further).
    session.Form_Load();
    session.Timer1_Timer();
    EXPECT_EQ(session.currentPsetText(), "1");
    QSignalSpy shown(&session, &pset::PsetEditorSession::currentPsetChanged);
    // A Pset, one with blanks around, the top of the table.
    for (const auto& [text, n] : {std::pair{"3", 3}, {" 5 ", 5}, {"8", 8}}) {
        session.cboList2_Click(QString::fromLatin1(text));
        ASSERT_FALSE(model.received.empty());
        EXPECT_EQ(model.received.back(),
                  (clink::CanMessage{ids::CommandRequest, {0x20 + n, 0, 0, 0, 0, 0, 0, 0}}));
        EXPECT_EQ(model.currentPset, n);
        EXPECT_TRUE(session.statusReadPending());
        session.Timer1_Timer();
        EXPECT_FALSE(session.statusReadPending());
        EXPECT_EQ(session.currentPsetText(), QString::number(n));
    }
    EXPECT_EQ(shown.size(), 3);

    const size_t before = model.received.size();
    for (const char* text : {"9", "", "0", "3x", "+4"})
        session.cboList2_Click(QString::fromLatin1(text));
    EXPECT_EQ(model.received.size(), before);
    EXPECT_TRUE(session.statusReadPending()); // the status is read all the same
    EXPECT_TRUE(dialogs->messages.empty());
}

// The link goes down once the controller's Psets are erased: the check before the packets ends the send with
// its box and no packet goes out; a dongle that cannot be set up hides the report.
TEST_P(PsetTransfer, ALinkLostAfterTheEraseEndsTheSendBeforeAnyPacket) {
    threePsetProject();
    const Link link = GetParam();
    bool lost = false;
    QObject armed;
    QObject::connect(&session, &pset::PsetEditorSession::List1Changed, &armed, [&] {
        if (lost || session.List1().isEmpty() || session.List1().last() != "Parameter Reset Successfully")
            return;
        lost = true;
        if (link == Link::Ethernet)
            ctx.link.socket.close();
        else if (link == Link::Usb)
            ftdi.writeFails = 1;
        else
            chip.stuckConfigMode = true;
    });
    session.mnuSendData_Click();
    ASSERT_TRUE(lost);
    EXPECT_GE(received(codes::ErasePsets), 1);
    EXPECT_TRUE(sentPackets().empty());
    ASSERT_EQ(messages(),
              QStringList{link == Link::Ethernet ? "Unable to Connect through Ethernet"
                          : link == Link::Usb    ? "Unable to connect using USB"
                                                 : "Unable To Configure CanDongle - Transfer Failed"});
    EXPECT_EQ(dialogs->messages[0].caption, link == Link::Usb ? base::ProgramTitle : "Configuration Error");
    EXPECT_EQ(session.List1().last(), "Parameter Reset Successfully");
    EXPECT_EQ(session.controls().transferPanel, link != Link::ParallelPort);
}

TEST_P(PsetTransfer, ClearingRundownsEmptiesTheControllersRundownLogs) {
    ASSERT_FALSE(model.rundownLogs.empty());
    dialogs->yesNoAnswers.enqueue(false);
    session.mnuClrRun_Click();
    EXPECT_EQ(received(codes::ClearRundowns), 0);
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuClrRun_Click();
    // Over Ethernet the stand-in answers once: the command and the one request that draws the reply a
    // controller that acknowledges would send, and no more.
    EXPECT_EQ(received(codes::ClearRundowns), GetParam() == Link::Ethernet ? OnceControlRequests : 1);
    EXPECT_TRUE(model.rundownLogs.empty());
    EXPECT_EQ(dialogs->asked.back().text, "ALL CURRENT RUNDOWN INFORMATION WILL BE ERASED!! CONTINUE?");
    EXPECT_EQ(dialogs->asked.back().caption, "CLEAR RUNDOWN DATA IN CONTROLLER");
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Rundown Cleared Successfully");
    EXPECT_EQ(dialogs->messages[0].caption, "Transfer Successful");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Information);
}

TEST_P(PsetTransfer, ResetErasesTheControllersPsetsOnlyAfterYes) {
    session.ShowTransferPanel();
    session.HideTransferPanel();
    dialogs->yesNoAnswers.enqueue(false);
    session.mnuResetPsets_Click();
    EXPECT_EQ(received(codes::ErasePsets), 0);
    EXPECT_EQ(model.psetCount, 8);
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuResetPsets_Click();
    EXPECT_EQ(received(codes::ErasePsets), GetParam() == Link::Ethernet ? OnceControlRequests : 1);
    EXPECT_EQ(model.psetCount, 0);
    EXPECT_EQ(model.psets[1], Bytes{});
    EXPECT_EQ(dialogs->asked.back().caption, "SEND NEW PARAMETER SET(S) TO CONTROLLER");
    ASSERT_EQ(messages(), QStringList{"Parameter Sets Reset Successfully"});
    EXPECT_EQ(dialogs->messages[0].caption, "Transfer Successful");
}

// ---------------------------------------------------------------------------------------------------------
// One link

class PsetTransferUsb : public PsetFixture {
protected:
    void SetUp() override { connect(Link::Usb); }
};

TEST_F(PsetTransferUsb, AFailedReceiveKeepsTheProjectAndMoreThanEightPsetsAreCut) {
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    table[1].setText(PsetField::TqTarget, QStringLiteral("44"));
    const app::PsetTable before = table;
    const pset::PsetControls controls = session.controls();
    model.noReply.insert(ids::CommandRequest);
    receive();
    ASSERT_EQ(messages(), QStringList{"Parameter Set Not Received - Transfer Aborted"});
    EXPECT_EQ(dialogs->messages[0].caption, "Receive Error");
    EXPECT_EQ(table, before);
    EXPECT_EQ(session.controls(), controls);
    EXPECT_EQ(session.controllerPsets().size(), 8); // the list is refreshed all the same

    model.noReply.clear();
    model.psetCount = 10;
    model.psets[3][26] = 9; // units codes the program does not know
    model.psets[8][26] = 0;
    const int readsBefore = received(codes::PsetRead);
    receive();
    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(table.count(), 8);
    // The warnings outlast the report of each Pset, which replaces the one before.
    EXPECT_EQ(session.List1().mid(session.List1().size() - 3),
              (QStringList{"Parameter Set 3: Units Code 9 Unknown - Torque Values Not Converted",
                           "Parameter Set 8: Units Code 0 Unknown - Torque Values Not Converted",
                           "Controller Holds 10 Parameter Sets - First 8 Received"}));
    EXPECT_EQ(session.List1()[1], "----- PARAMETER SET 8 -----");
    EXPECT_EQ(table[8].text(PsetField::TqTarget), "125       ");
    EXPECT_EQ(table[8].text(PsetField::Units), "5         ");
    EXPECT_EQ(received(codes::PsetRead) - readsBefore, 8 * 4);
}

TEST_F(PsetTransferUsb, AFailedReceiveShowsOneBoxWhenTheListRefreshFailsToo) {
    const QStringList controllerPsets = session.controllerPsets();
    // The Pset is not answered, and the controller falls silent with the failure's box.
    model.noReply.insert(ids::CommandRequest);
    dialogs->onMessage = [this](const testsupport::ScriptedDialogs::Message&) {
        model.noReply.insert(ids::StatusRequest);
    };
    const int statusReads = model.countReceived(ids::StatusRequest);
    receive();
    EXPECT_EQ(messages(), QStringList{"Parameter Set Not Received - Transfer Aborted"});
    EXPECT_EQ(dialogs->messages[0].caption, "Receive Error");
    // The refresh was tried (one read for the receive, one for the list) and kept the list.
    EXPECT_GE(model.countReceived(ids::StatusRequest), statusReads + 2);
    EXPECT_EQ(session.controllerPsets(), controllerPsets);

    // No status at all: the receive's own box only.
    dialogs->onMessage = nullptr;
    dialogs->messages.clear();
    receive();
    EXPECT_EQ(messages(), QStringList{"System Status Not Received - Transfer Aborted"});
}

TEST_F(PsetTransferUsb, ASendWhoseEraseIsNotAcknowledgedStopsThere) {
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    table[1].setText(PsetField::TqTarget, QStringLiteral("10"));
    table[1].setText(PsetField::TqHi, QStringLiteral("10"));
    table[1].setText(PsetField::TqDownshift, QStringLiteral("8"));
    table[1].setText(PsetField::TqThreshold, QStringLiteral("4"));
    model.noReply.insert(ids::CommandRequest);
    session.mnuSendData_Click();
    ASSERT_EQ(messages(), QStringList{"Parameter Sets Not Reset"});
    EXPECT_EQ(dialogs->messages[0].caption, "Receive Error");
    EXPECT_EQ(model.countReceived(ids::CommandRequest, codes::PsetPacket1), 0);
    EXPECT_TRUE(session.controls().transferPanel);

    // Clearing that is not acknowledged says so.
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuClrRun_Click();
    EXPECT_EQ(messages().last(), "Rundown Data Not Cleared");
    EXPECT_EQ(dialogs->messages.back().caption, "Receive Error");
}

TEST_F(PsetTransferUsb, APacketNotAcknowledgedEndsTheSendWithoutCompletion) {
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    session.mnuAddPset_Click();
    for (int n = 1; n <= 2; ++n)
        setTexts(n, {{PsetField::TqTarget, "10"},
                     {PsetField::TqHi, "10"},
                     {PsetField::TqDownshift, "8"},
                     {PsetField::TqThreshold, "4"}});
    const QStringList controllerPsets = session.controllerPsets();
    model.silentCommandCodes.insert(codes::PsetPacket1 + 2);
    session.mnuSendData_Click();
    ASSERT_EQ(messages(), QStringList{"Packet 3 Not Sent"});
    EXPECT_EQ(dialogs->messages[0].caption, "Receive Error");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Critical);
    // The controller's Psets were erased and Pset 1 never completed: it holds none.
    EXPECT_EQ(received(codes::ErasePsets), 1);
    EXPECT_EQ(model.countReceived(ids::CommandRequest, codes::PsetPacket1 + 3), 0);
    EXPECT_EQ(model.psetCount, 0);
    const QStringList& list = session.List1();
    EXPECT_EQ(list.mid(list.size() - 4),
              (QStringList{"Converting Parameter Set 1 Values", "Sending Parameter Set 1", "Packet 1 Sent",
                           "Packet 2 Sent"}));
    EXPECT_FALSE(list.contains("Parameter Set Transfer Completed !"));
    EXPECT_FALSE(session.controls().transferPanel);
    EXPECT_EQ(session.controllerPsets(), controllerPsets);
}

TEST_F(PsetTransferUsb, OpeningReadsTheControllersPsetsThenItsCurrentPset) {
    model.psetCount = 4;
    model.currentPset = 2;
    table[1].setText(PsetField::CurveFile, QStringLiteral("C:\\old.dat"));
    session.EnableEditing();
    session.Form_Load();
    EXPECT_EQ(session.selector(), pset::PsetSelector{});
    EXPECT_EQ(session.controls(), pset::PsetControls{});
    EXPECT_EQ(table[1].text(PsetField::CurveFile).trimmed(), "None");
    EXPECT_EQ(session.controllerPsets(), (QStringList{"1", "2", "3", "4"}));
    ASSERT_TRUE(session.statusReadPending());

    // The timer reads only once no other command talks to the controller.
    {
        base::BusyGuard other(ctx.busy);
        session.Timer1_Timer();
        EXPECT_TRUE(session.statusReadPending());
        EXPECT_TRUE(session.currentPsetText().isEmpty());
    }
    session.Timer1_Timer();
    EXPECT_EQ(session.currentPsetText(), "2");

    // A controller that does not answer.
    model.noReply.insert(ids::StatusRequest);
    session.updatePsetList();
    ASSERT_EQ(messages(), QStringList{"System Status Not Received"});
    EXPECT_EQ(dialogs->messages[0].caption, "Receive Error");
    EXPECT_EQ(session.controllerPsets().size(), 4);
}

// ---------------------------------------------------------------------------------------------------------
// A link that is down

class PsetOnALinkDown : public PsetFixture {
protected:
    void validProject() {
        session.mnuNewPset_Click();
        session.tmrNew_Timer();
        setTexts(1, {{PsetField::TqTarget, "10"},
                     {PsetField::TqHi, "10"},
                     {PsetField::TqDownshift, "8"},
                     {PsetField::TqThreshold, "4"}});
    }
};

TEST_F(PsetOnALinkDown, OverEthernetSendReceiveAndClearStopAtTheirBoxWhileTheResetGoesOn) {
    connect(Link::Ethernet);
    validProject();
    const app::PsetTable before = table;
    ctx.link.socket.close();
    session.mnuSendData_Click();
    // The receive keeps the project and its panel, with the line that says which connection is missing.
    receive();
    EXPECT_EQ(table, before);
    EXPECT_TRUE(session.controls().transferPanel);
    EXPECT_EQ(session.List1().last(), "No Ethernet Connection");
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuClrRun_Click();
    EXPECT_EQ(session.List1().last(), "No Ethernet Connection");
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuResetPsets_Click();

    EXPECT_EQ(messages(),
              (QStringList{"Unable to Connect through Ethernet", "Unable to connect -- Transfer Aborted",
                           "Unable to connect using ethernet - Reset Aborted",
                           "Unable to connect using ethernet", "Parameter Sets Not Reset"}));
    const QStringList captions{"Configuration Error", "Configuration Error", "Configuration Error",
                               base::ProgramTitle, "Receive Error"};
    for (size_t i = 0; i < dialogs->messages.size(); ++i) {
        EXPECT_EQ(dialogs->messages[i].caption, captions[qsizetype(i)]) << i;
        EXPECT_EQ(dialogs->messages[i].icon, MessageIcon::Critical) << i;
    }
    // The send was stopped before the erase: its panel stays up with the passed check.
    EXPECT_TRUE(session.controls().transferPanel);
    EXPECT_EQ(model.psetCount, 8);
    EXPECT_EQ(received(codes::ErasePsets), 0);
    EXPECT_EQ(received(codes::ClearRundowns), 0);
}

TEST_F(PsetOnALinkDown, OverUsbAFailedFilterFrameEndsEachCommandAndTheClearSetsTheDeviceUpAgain) {
    connect(Link::Usb);
    validProject();
    ftdi.writeFails = 1;
    int opens = ftdi.opens;
    session.mnuSendData_Click();
    const int opensBySend = ftdi.opens - opens;
    ftdi.writeFails = 1;
    opens = ftdi.opens;
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuClrRun_Click();
    EXPECT_EQ(ftdi.opens - opens, opensBySend + 1) << "the clear sets the device up again before its box";
    EXPECT_EQ(session.List1().last(), "NO USB Connection");
    ftdi.writeFails = 1;
    opens = ftdi.opens;
    dialogs->yesNoAnswers.enqueue(true);
    session.mnuResetPsets_Click();
    EXPECT_EQ(ftdi.opens - opens, opensBySend) << "the reset does not";

    EXPECT_EQ(messages(), (QStringList{"Unable to connect using USB", "Unable to connect using USB",
                                       "Unable to connect using USB"}));
    for (const auto& m : dialogs->messages)
        EXPECT_EQ(m.caption, base::ProgramTitle);
    EXPECT_EQ(received(codes::ErasePsets), 0);
    EXPECT_EQ(received(codes::ClearRundowns), 0);
    EXPECT_EQ(model.psetCount, 8);
}

// ---------------------------------------------------------------------------------------------------------
// The parallel port at rest

class PsetOnParallelPort : public PsetFixture {
protected:
    void SetUp() override { connect(Link::ParallelPort); }
    using PortOp = sim::SpiChip::PortOp;
    // Data 0, then chip select high with the reset line held: the port at rest.
    const std::vector<PortOp> atRest{{true, clink::PortIo::DataPort, 0x00},
                                     {true, clink::PortIo::DataPort, 0x04}};
};

TEST_F(PsetOnParallelPort, OpeningAndReceivingPutThePortAtRestBeforeAnythingElse) {
    model.psetCount = 2;
    // A status read leaves the lines as the last exchange set them.
    ASSERT_TRUE(ctx.link.dataTx.ReadSystemStatus());
    ASSERT_NE(s.PortShadow, 0);
    chip.recordTrace = true;
    session.Form_Load();
    ASSERT_GT(chip.trace.size(), 2u);
    EXPECT_EQ(std::vector<PortOp>(chip.trace.begin(), chip.trace.begin() + 2), atRest);
    EXPECT_EQ(session.controllerPsets(), (QStringList{"1", "2"}));

    // The receive puts the port at rest before its question: No leaves it there and sends nothing.
    ASSERT_TRUE(ctx.link.dataTx.ReadSystemStatus());
    chip.trace.clear();
    dialogs->yesNoAnswers.enqueue(false);
    session.mnuReceiveData_Click();
    EXPECT_EQ(chip.trace, atRest);
    EXPECT_EQ(s.PortShadow, 0);
    EXPECT_EQ(dialogs->questions, QStringList{"CURRENT PROJECT WILL BE ERASED!! CONTINUE?"});

    // Yes with a dongle that cannot be set up: its box (the list's refresh then has its own), and the
    // transfer panel goes with the receive.
    chip.dongleAbsent = true;
    receive();
    ASSERT_EQ(messages().value(0), "Unable To Configure CanDongle - Transfer Aborted");
    EXPECT_EQ(dialogs->messages[0].caption, "Configuration Error");
    EXPECT_FALSE(session.controls().transferPanel);
}

// ---------------------------------------------------------------------------------------------------------
// The reset offered after a status the program cannot take

class PsetResetOffer : public PsetFixture {
protected:
    void SetUp() override { connect(Link::Ethernet); }
};

// A status frame with a field above a byte never reaches the status read over Ethernet (the parser drops
// it whole), so the link's offer is made here through its hook, as the status read makes it.
TEST_F(PsetResetOffer, YesErasesTheControllersPsetsInsideTheCommandThatReadTheStatus) {
    dialogs->yesNoAnswers.enqueue(true);
    {
        // The main window's status command holds the busy state; the reset runs inside it.
        base::BusyGuard statusCommand(ctx.busy);
        ctx.link.offerPsetReset();
    }
    EXPECT_EQ(dialogs->questions, QStringList{"ALL CURRENT PARAMETER SETS WILL BE ERASED!! CONTINUE?"});
    EXPECT_GE(received(codes::ErasePsets), 1);
    EXPECT_EQ(model.psetCount, 0);
    EXPECT_EQ(model.psets[2], Bytes{});
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Parameter Sets Reset Successfully");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Information);
}

TEST_F(PsetResetOffer, NoSendsNothingAndAnOfferDuringTheResetIsIgnored) {
    const int psets = model.psetCount;
    // The reset empties the editor's list; an offer made again while the reset runs is not taken.
    int offers = 0;
    QObject::connect(&session, &pset::PsetEditorSession::List1Changed, [&] {
        if (offers++ == 0)
            ctx.link.offerPsetReset();
    });
    dialogs->yesNoAnswers.enqueue(false);
    ctx.link.offerPsetReset();
    EXPECT_GE(offers, 1);
    EXPECT_EQ(dialogs->questions.size(), 1);
    EXPECT_EQ(received(codes::ErasePsets), 0);
    EXPECT_EQ(model.psetCount, psets);
    EXPECT_TRUE(messages().isEmpty());
}

// A controller that answers late: the send's last status read drew more answers than it took, and they come
// while the user picks the next Pset. The status read after the select shows the Pset selected.
class PsetOnASlowController : public PsetFixture {
protected:
    static constexpr int HeldMs = 400;
    void SetUp() override {
        connect(Link::Ethernet);
        dongle.replyDelay = HeldMs;
    }
};

TEST_F(PsetOnASlowController, ASelectRightAfterASendShowsThePsetSelected) {
    session.mnuNewPset_Click();
    session.tmrNew_Timer();
    setTexts(1, {{PsetField::TqTarget, "12.5"},
                 {PsetField::TqHi, "13"},
                 {PsetField::TqLo, "12"},
                 {PsetField::TqDownshift, "10"},
                 {PsetField::TqThreshold, "5"},
                 {PsetField::CycleComplete, "1"}});
    session.mnuSendData_Click();
    ASSERT_TRUE(dialogs->messages.empty()) << messages().join(" | ").toStdString();
    ASSERT_EQ(model.currentPset, 1);
    session.cboList2_Click(QStringLiteral("3"));
    session.Timer1_Timer();
    EXPECT_EQ(model.currentPset, 3);
    EXPECT_EQ(session.currentPsetText(), "3");
}
