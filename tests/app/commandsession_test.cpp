// The link pre-checks every command session runs before its first frame, on each link: what each sends, the
// failure box with the text of the link, and no check without a link.
#include "tests/app/commandfixture.h"

using namespace clink;

namespace {

class CommandSessionChecks : public commandtest::CommandFixture {
protected:
    app::CommandSession session{ctx, progress};
};

TEST_F(CommandSessionChecks, EthernetPreCheckSendsTheFilterFrame) {
    connectEthernet();
    EXPECT_TRUE(session.linkPreCheck(ids::CommandReply));
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::CommandReply) == 1; }));
    EXPECT_TRUE(dialogs->messages.empty());
    // The connected-only variant sends nothing.
    EXPECT_TRUE(session.linkPreCheck(ids::ButtonReply, {.ethernet = clink::EthernetCheck::ConnectedOnly}));
    waitFor([] { return false; }, 50);
    EXPECT_EQ(filterFramesReceived(ids::ButtonReply), 0);
}

TEST_F(CommandSessionChecks, FailuresShowTheTextOfTheLink) {
    s.ConnectionType = TcpIp; // socket never connected
    EXPECT_FALSE(session.linkPreCheck(ids::CommandReply));
    s.ConnectionType = ParallelPort;
    clink::PreCheck custom;
    custom.texts.parallel = QStringLiteral("Unable To Configure None");
    EXPECT_FALSE(session.linkPreCheck(ids::CommandReply, custom));
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"Unable to connect using ethernet", "Unable To Configure None"}));
    for (const auto& m : dialogs->messages) {
        EXPECT_EQ(m.caption, "Palverin2006");
        EXPECT_EQ(m.icon, base::MessageIcon::Critical);
    }
}

TEST_F(CommandSessionChecks, NoLinkMeansNoCheck) {
    s.ConnectionType = NoConnection;
    EXPECT_TRUE(session.linkPreCheck(ids::CommandReply));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(CommandSessionChecks, DongleOnlyPreCheckOnEthernetTestsTheSocket) {
    s.ConnectionType = TcpIp;
    EXPECT_FALSE(
        session.dongleOnlyPreCheck(ids::ToolEepromReply, QStringLiteral("Unable To Configure CanDongle")));
    connectEthernet();
    EXPECT_TRUE(
        session.dongleOnlyPreCheck(ids::ToolEepromReply, QStringLiteral("Unable To Configure CanDongle")));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
}

TEST_F(CommandSessionChecks, UsbPlainFailsAndReopenGoesOnWithoutResending) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    EXPECT_TRUE(session.linkPreCheck(ids::CommandReply));
    ASSERT_EQ(ftdi.frames.size(), 1u);
    EXPECT_EQ(ftdi.frames[0].accept, ids::CommandReply);
    EXPECT_EQ(ftdi.frames[0].message, (CanMessage{ids::CommandReply, {}}));

    ftdi.writeFails = 1;
    EXPECT_FALSE(session.linkPreCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable to connect using USB"});

    ftdi.writeFails = 1;
    const int opens = ftdi.opens;
    const size_t frames = ftdi.frames.size();
    EXPECT_TRUE(session.linkPreCheck(ids::CommandReply, {.usb = clink::UsbCheck::Reopen}));
    EXPECT_GT(ftdi.opens, opens);
    EXPECT_EQ(ftdi.frames.size(), frames); // the filter frame is not sent again
    EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(CommandSessionChecks, ParallelPortPreCheckConfiguresTheDongle) {
    useParallelPort();
    ASSERT_TRUE(chip.open());
    s.TransferDelay = 1;
    ctx.link.spi.InitializePort();
    EXPECT_TRUE(session.linkPreCheck(ids::CommandReply));
    EXPECT_TRUE(dialogs->messages.empty());
    chip.dongleAbsent = true;
    EXPECT_FALSE(session.linkPreCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
}

} // namespace
