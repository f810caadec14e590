// The command frame: link pre-checks per link, report windows that are shown or deleted, the failure box.
#include "app/ui/frmmain.h"
#include "tests/support/ui/appfixture.h"

#include <QMdiArea>
#include <QMdiSubWindow>

using namespace clink;

namespace {

class CommandFrameTest : public apptest::AppFixture {
protected:
    app::FrmMain main{ctx};
    app::CommandFrame& frame = main.frame();
};

TEST_F(CommandFrameTest, EthernetPreCheckSendsTheFilterFrame) {
    connectEthernet();
    EXPECT_TRUE(frame.linkPreCheck(ids::CommandReply));
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::CommandReply) == 1; }));
    EXPECT_TRUE(dialogs->messages.empty());
    // The connected-only variant sends nothing.
    EXPECT_TRUE(frame.linkPreCheck(ids::ButtonReply, {.ethernet = clink::EthernetCheck::ConnectedOnly}));
    waitFor([] { return false; }, 50);
    EXPECT_EQ(filterFramesReceived(ids::ButtonReply), 0);
}

TEST_F(CommandFrameTest, FailuresShowTheTextOfTheLink) {
    s.ConnectionType = TcpIp; // socket never connected
    EXPECT_FALSE(frame.linkPreCheck(ids::CommandReply));
    s.ConnectionType = ParallelPort;
    clink::PreCheck custom;
    custom.texts.parallel = QStringLiteral("Unable To Configure None");
    EXPECT_FALSE(frame.linkPreCheck(ids::CommandReply, custom));
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"Unable to connect using ethernet", "Unable To Configure None"}));
    for (const auto& m : dialogs->messages) {
        EXPECT_EQ(m.caption, "Palverin2006");
        EXPECT_EQ(m.icon, base::MessageIcon::Critical);
    }
}

TEST_F(CommandFrameTest, NoLinkMeansNoCheck) {
    s.ConnectionType = NoConnection;
    EXPECT_TRUE(frame.linkPreCheck(ids::CommandReply));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(CommandFrameTest, DongleOnlyPreCheckOnEthernetTestsTheSocket) {
    s.ConnectionType = TcpIp;
    EXPECT_FALSE(
        frame.dongleOnlyPreCheck(ids::ToolEepromReply, QStringLiteral("Unable To Configure CanDongle")));
    connectEthernet();
    EXPECT_TRUE(
        frame.dongleOnlyPreCheck(ids::ToolEepromReply, QStringLiteral("Unable To Configure CanDongle")));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
}

TEST_F(CommandFrameTest, UsbPlainFailsAndReopenGoesOnWithoutResending) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    EXPECT_TRUE(frame.linkPreCheck(ids::CommandReply));
    ASSERT_EQ(ftdi.frames.size(), 1u);
    EXPECT_EQ(ftdi.frames[0].accept, ids::CommandReply);
    EXPECT_EQ(ftdi.frames[0].message, (CanMessage{ids::CommandReply, {}}));

    ftdi.writeFails = 1;
    EXPECT_FALSE(frame.linkPreCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable to connect using USB"});

    ftdi.writeFails = 1;
    const int opens = ftdi.opens;
    const size_t frames = ftdi.frames.size();
    EXPECT_TRUE(frame.linkPreCheck(ids::CommandReply, {.usb = clink::UsbCheck::Reopen}));
    EXPECT_GT(ftdi.opens, opens);
    EXPECT_EQ(ftdi.frames.size(), frames); // the filter frame is not sent again
    EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(CommandFrameTest, ParallelPortPreCheckConfiguresTheDongle) {
    useParallelPort();
    ASSERT_TRUE(chip.open());
    s.TransferDelay = 1;
    ctx.link.spi.InitializePort();
    EXPECT_TRUE(frame.linkPreCheck(ids::CommandReply));
    EXPECT_TRUE(dialogs->messages.empty());
    chip.dongleAbsent = true;
    EXPECT_FALSE(frame.linkPreCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
}

TEST_F(CommandFrameTest, AReportNeverShownIsDeleted) {
    QPointer<app::FrmOutput> window;
    {
        app::Report report = frame.newReport();
        window = report.window();
        report.add(QStringLiteral("line"));
        EXPECT_EQ(frame.OutputWindow(), window.data());
    }
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(main.mdiArea()->subWindowList().isEmpty());
}

TEST_F(CommandFrameTest, ShownReportsStayOpenAndTheLatestIsTheOutputWindow) {
    QPointer<app::FrmOutput> first;
    {
        app::Report report = frame.newReport();
        report.add(QStringLiteral("one"));
        report.show();
        first = report.window();
    }
    {
        app::Report report = frame.newReport();
        report.add(QStringLiteral("two"));
        report.show();
    }
    ASSERT_FALSE(first.isNull());
    ASSERT_EQ(main.mdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(first->lines(), QStringList{"one"});
    EXPECT_EQ(frame.OutputWindow()->lines(), QStringList{"two"});
    EXPECT_EQ(main.mdiArea()->subWindowList().first()->pos(), QPoint(0, 0));
}

} // namespace
