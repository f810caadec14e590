// The link checks every command runs before its first frame (app::LinkGate), on each link: what each sends,
// the failure box with the text and caption of the link, and no check without a link.
#include "tests/app/commandfixture.h"

using namespace clink;

namespace {

class CommandSessionChecks : public commandtest::CommandFixture {
protected:
    app::LinkGate gate{ctx.link};
};

TEST_F(CommandSessionChecks, EthernetPreCheckSendsTheFilterFrame) {
    connectEthernet();
    EXPECT_TRUE(gate.preCheck(ids::CommandReply));
    ASSERT_TRUE(waitFor([&] { return filterFramesReceived(ids::CommandReply) == 1; }));
    EXPECT_TRUE(dialogs->messages.empty());
    // The connected-only variant sends nothing.
    EXPECT_TRUE(gate.preCheck(ids::ButtonReply, {.ethernet = clink::EthernetCheck::ConnectedOnly}));
    waitFor([] { return false; }, 50);
    EXPECT_EQ(filterFramesReceived(ids::ButtonReply), 0);
}

TEST_F(CommandSessionChecks, FailuresShowTheTextAndCaptionOfTheLink) {
    s.ConnectionType = TcpIp; // socket never connected
    EXPECT_FALSE(gate.preCheck(ids::CommandReply));
    s.ConnectionType = ParallelPort;
    clink::PreCheck custom;
    custom.texts.parallel = QStringLiteral("Unable To Configure None");
    EXPECT_FALSE(gate.preCheck(ids::CommandReply, custom));
    // A command's own captions; a failed Ethernet check that lets the command go on is shown all the same.
    app::LinkGate own(ctx.link, {.parallel = "Configuration Error", .ethernet = "Transfer Error"});
    EXPECT_FALSE(own.preCheck(ids::CommandReply));
    s.ConnectionType = TcpIp;
    EXPECT_TRUE(own.preCheck(ids::CommandReply, {.ethernetGoesOnAfterFailure = true}));
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"Unable to connect using ethernet", "Unable To Configure None",
                           "Unable To Configure CanDongle", "Unable to connect using ethernet"}));
    const QStringList captions{"Palverin2006", "Palverin2006", "Configuration Error", "Transfer Error"};
    for (size_t i = 0; i < dialogs->messages.size(); ++i) {
        EXPECT_EQ(dialogs->messages[i].caption, captions.value(qsizetype(i)));
        EXPECT_EQ(dialogs->messages[i].icon, base::MessageIcon::Critical);
    }
    // While the program closes a check fails without a box.
    ctx.pump.stop();
    EXPECT_FALSE(own.preCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messages.size(), 4u);
}

TEST_F(CommandSessionChecks, NoLinkMeansNoCheck) {
    s.ConnectionType = NoConnection;
    EXPECT_TRUE(gate.preCheck(ids::CommandReply));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(CommandSessionChecks, DongleOnlyPreCheckOnEthernetTestsTheSocket) {
    s.ConnectionType = TcpIp;
    EXPECT_FALSE(gate.dongleOnly(ids::ToolEepromReply, QStringLiteral("Unable To Configure CanDongle")));
    connectEthernet();
    EXPECT_TRUE(gate.dongleOnly(ids::ToolEepromReply, QStringLiteral("Unable To Configure CanDongle")));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
}

TEST_F(CommandSessionChecks, UsbPlainFailsAndReopenGoesOnWithoutResending) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    EXPECT_TRUE(gate.preCheck(ids::CommandReply));
    ASSERT_EQ(ftdi.frames.size(), 1u);
    EXPECT_EQ(ftdi.frames[0].accept, ids::CommandReply);
    EXPECT_EQ(ftdi.frames[0].message, (CanMessage{ids::CommandReply, {}}));

    ftdi.writeFails = 1;
    EXPECT_FALSE(gate.preCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable to connect using USB"});

    ftdi.writeFails = 1;
    const int opens = ftdi.opens;
    const size_t frames = ftdi.frames.size();
    EXPECT_TRUE(gate.preCheck(ids::CommandReply, {.usb = clink::UsbCheck::Reopen}));
    EXPECT_GT(ftdi.opens, opens);
    EXPECT_EQ(ftdi.frames.size(), frames); // the filter frame is not sent again
    EXPECT_EQ(dialogs->messages.size(), 1u);
}

TEST_F(CommandSessionChecks, ParallelPortPreCheckConfiguresTheDongle) {
    useParallelPort();
    ASSERT_TRUE(chip.open());
    s.TransferDelay = 1;
    ctx.link.spi.InitializePort();
    EXPECT_TRUE(gate.preCheck(ids::CommandReply));
    EXPECT_TRUE(dialogs->messages.empty());
    chip.dongleAbsent = true;
    EXPECT_FALSE(gate.preCheck(ids::CommandReply));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Unable To Configure CanDongle"});
}

} // namespace
