// The Nsm menu's session against the stand-in on each link: the clock and version boxes, the settings
// report and the rundown clear, and the link steps that fail them.
#include "app/sessions/nsmcommandsession.h"
#include "base/numbertext.h"
#include "link/commandcodes.h"
#include "link/nsmexchange.h"
#include "tests/app/commandfixture.h"
#include "tests/support/countingeventpump.h"

#include <QCoreApplication>

using namespace clink;
using base::MessageIcon;

namespace {

class NsmSessions : public commandtest::CommandFixture {
protected:
    void usePp() {
        useParallelPort();
        ASSERT_TRUE(chip.open());
        s.TransferDelay = 1;
        ctx.link.spi.InitializePort(); // the controller is held in reset
    }
    void openUsb() {
        useUsb();
        ASSERT_TRUE(ctx.link.usb.OpenDevice());
        ASSERT_TRUE(ctx.link.usb.ConfigureDevice());
    }
    const testsupport::ScriptedDialogs::Message& lastMessage() const { return dialogs->messages.back(); }

    app::NsmCommandSession nsm{ctx, progress};
};

TEST_F(NsmSessions, TimeDateAndVersionOnEachLink) {
    model.nsmUnit.major = 2;
    model.nsmUnit.minor = 5;
    usePp();
    EXPECT_TRUE(nsm.mnuNsmViewTimeDate());
    nsm.MnuNsmViewVersion();
    openUsb();
    EXPECT_TRUE(nsm.mnuNsmViewTimeDate());
    nsm.MnuNsmViewVersion();
    connectEthernet();
    EXPECT_TRUE(nsm.mnuNsmViewTimeDate());
    nsm.MnuNsmViewVersion();
    const QString time = QStringLiteral("Time: 15:07 PM  Date: 6/14/09");
    const std::vector<std::tuple<QString, QString, MessageIcon>> expected{
        {time, "Transfer Successful", MessageIcon::Information},
        {"Nsm Version 2.5", "NSM View Version", MessageIcon::Information},
        {time, "Transfer Successful", MessageIcon::Information},
        {"Nsm Version 2.5", "Palverin2006", MessageIcon::Information},
        {time, "Transfer Successful", MessageIcon::Information},
        {"Nsm Version : 2.5", "Palverin2006", MessageIcon::Information}};
    ASSERT_EQ(dialogs->messages.size(), expected.size()) << dialogs->messageTexts().join(u'|').toStdString();
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(dialogs->messages[i].text, std::get<0>(expected[i])) << i;
        EXPECT_EQ(dialogs->messages[i].caption, std::get<1>(expected[i])) << i;
        EXPECT_EQ(dialogs->messages[i].icon, std::get<2>(expected[i])) << i;
    }
}

TEST_F(NsmSessions, TheClockAndTheClearReachTheUnitFromStartUpsIdlePort) {
    // Start-up's idle port holds the controller in reset: each command lets it go before it asks.
    usePp();
    EXPECT_TRUE(nsm.mnuNsmViewTimeDate());
    EXPECT_EQ(model.countReceived(ids::NsmRequest, codes::NsmClock), 1);
    ctx.link.spi.InitializePort();
    EXPECT_TRUE(nsm.mnuNsmClearRundown());
    EXPECT_EQ(model.nsmUnit.rundownClears, 1);
    EXPECT_EQ(s.DataCount, 0);
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"Time: 15:07 PM  Date: 6/14/09", "Rundown Cleared Successfully"}));
    EXPECT_EQ(lastMessage().caption, "Transfer Successful");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Information);
    // A unit that stays silent: the clear fails in its own box.
    model.noReply.insert(ids::NsmRequest);
    EXPECT_FALSE(nsm.mnuNsmClearRundown());
    EXPECT_EQ(lastMessage().text, "Nsm Clear Rundown Data Failed");
    EXPECT_EQ(lastMessage().caption, "Receive Error");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Critical);
}

TEST_F(NsmSessions, SettingsReportAndFailures) {
    usePp();
    const app::ReportLines report = nsm.mnuNsmViewSettings();
    ASSERT_TRUE(dialogs->messages.empty()) << lastMessage().text.toStdString();
    // The stand-in's unit: reverse check on, 3 retries, reverse timer 2, one spindle, latch timer 5,
    // deadman, collect data, MID buttons.
    QStringList expected;
    for (const char* t : {"Number Of Spindles: 1", "System Type: Deadman", "Run Rev Tq Check: On",
                          "Button Latch Timer: 5", "Reverse Timer: 2", "Collect Data: Yes", "Buttons: MID"})
        expected << base::fixed40(QString::fromLatin1(t));
    EXPECT_EQ(report, expected);
    EXPECT_EQ(s.NsmSettings.items[1].text, base::fixed40(QStringLiteral("Number Of Retries: 3")));
    EXPECT_EQ(s.NsmSettings.items[3].text, base::fixed40({}));

    // The clear listens on its own identifier; the other links have no answer to read.
    EXPECT_TRUE(nsm.mnuNsmClearRundown());
    EXPECT_EQ(lastMessage().text, "Rundown Cleared Successfully");
    EXPECT_EQ(model.nsmUnit.rundownClears, 1);
    openUsb();
    EXPECT_FALSE(nsm.mnuNsmClearRundown());
    EXPECT_EQ(lastMessage().text, "Unable To Configure None");
    EXPECT_EQ(lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(model.nsmUnit.rundownClears, 1);
    // The USB dongle does not take the filter frame: the write and then the command open the device again.
    const int opens = ftdi.opens;
    ftdi.writeFails = 1;
    EXPECT_FALSE(nsm.mnuNsmViewSettings());
    EXPECT_EQ(ftdi.opens, opens + 2);
    EXPECT_EQ(lastMessage().text, "NSM Not Communicating");
    ftdi.writeFails = 1;
    EXPECT_FALSE(nsm.mnuNsmWriteSettings());
    EXPECT_EQ(lastMessage().text, "Unable to connect using USB");
}

TEST_F(NsmSessions, TheSettingsReadForTheWindowFillsTheBufferOrFailsInItsBox) {
    usePp();
    EXPECT_TRUE(nsm.mnuNsmWriteSettings());
    EXPECT_EQ(s.DataCount, 9);
    EXPECT_TRUE(dialogs->messages.empty());
    model.noReply.insert(ids::NsmRequest);
    EXPECT_FALSE(nsm.mnuNsmWriteSettings());
    EXPECT_EQ(lastMessage().text, "NSM Settings Not Received");
}

TEST(NsmSilent, EthernetPresenceCheckEndsWithinTheWaitCap) {
    // A pump that never waits: the budget a wait would have spent is counted instead.
    auto pump = std::make_unique<testsupport::CountingEventPump>();
    testsupport::CountingEventPump& counting = *pump;
    counting.betweenPolls = [] { QCoreApplication::processEvents(); };
    auto dialogs = std::make_unique<testsupport::ScriptedDialogs>();
    testsupport::ScriptedDialogs& shown = *dialogs;
    app::AppSeams seams;
    seams.dialogs = std::move(dialogs);
    seams.pump = std::move(pump);
    seams.clock = std::make_unique<ManualLinkClock>();
    seams.valuePrompt = std::make_unique<testsupport::ScriptedValueEntry>();
    seams.textViewer = std::make_unique<testsupport::ScriptedTextViewer>();
    app::AppServices ctx(std::move(seams));

    sim::ControllerModel model;
    model.noReply.insert(ids::NsmReply);
    sim::TcpDongle dongle(model);
    ASSERT_TRUE(dongle.listen(0));
    ctx.state.ConnectionType = TcpIp;
    ctx.link.socket.connectTo(QStringLiteral("127.0.0.1"), dongle.port());
    ASSERT_TRUE(testsupport::waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));

    commandtest::RecordedProgress progress;
    EXPECT_FALSE(app::NsmCommandSession(ctx, progress).mnuNsmViewTimeDate());
    ASSERT_EQ(shown.messageTexts(), QStringList{"NSM Not Communicating"});
    EXPECT_EQ(shown.messages[0].icon, MessageIcon::Critical);
    // One wait drew the whole budget: the wait cap, not 10001 x 10001 DoEvents.
    EXPECT_EQ(counting.budgetSpent, clink::NsmExchange::PresenceBudget);
    EXPECT_EQ(clink::NsmExchange::PresenceBudget, 1000000L); // 10 s of 10 us DoEvents
    // The filter frame and eleven probes.
    EXPECT_TRUE(testsupport::waitFor([&] { return model.countReceived(ids::NsmReply) == 12; }));
}

} // namespace
