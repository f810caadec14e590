// The checks commands make before they talk to the controller, on each link against the stand-in: what a
// passed check sends, the failure text of each link, and the Ethernet variants.
#include "link/linkcheck.h"
#include "tests/link/linkfixtures.h"

using namespace clink;

namespace {

template <class F> class LinkChecks : public linktest::OnEachLink<F> {
protected:
    LinkCheck check() { return LinkCheck(this->link); }
};
TYPED_TEST_SUITE(LinkChecks, linktest::LinkFixtures);

const LinkFailTexts Texts{QStringLiteral("parallel failed"), QStringLiteral("ethernet failed"),
                          QStringLiteral("usb failed")};

QString textOf(int16_t link) {
    return link == ParallelPort ? Texts.parallel : link == TcpIp ? Texts.ethernet : Texts.usb;
}

TYPED_TEST(LinkChecks, APassedCheckGoesOnAndAFailedOneGivesTheTextOfItsLink) {
    EXPECT_TRUE(this->check().linkChosen());
    const LinkCheckResult passed = this->check().preCheck(ids::CommandReply, {.texts = Texts});
    EXPECT_TRUE(passed.ok);
    EXPECT_TRUE(passed.failText.isEmpty());

    this->breakLink();
    const LinkCheckResult failed = this->check().preCheck(ids::CommandReply, {.texts = Texts});
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.failText, textOf(this->s.ConnectionType));
    // The check shows nothing itself: the caller shows the text with its own caption.
    EXPECT_TRUE(this->dialogs.messages.empty());
}

TYPED_TEST(LinkChecks, WithNoLinkChosenThereIsNothingToCheck) {
    this->s.ConnectionType = NoConnection;
    EXPECT_FALSE(this->check().linkChosen());
    EXPECT_TRUE(this->check().preCheck(ids::CommandReply).ok);
    EXPECT_TRUE(this->check().toolDataCheck(0).ok);
    EXPECT_TRUE(this->check().transducerCheck().ok);
    const LinkCheckResult dongle = this->check().dongleOnly(ids::CommandReply, QStringLiteral("no dongle"));
    EXPECT_FALSE(dongle);
    EXPECT_EQ(dongle.failText, "no dongle");
}

class LinkChecksEthernet : public testsupport::EthernetFixture {
protected:
    LinkCheck check() { return LinkCheck(link); }
    std::vector<CanId> framesSent() const {
        std::vector<CanId> ids;
        for (const auto& f : dongle.frames)
            ids.push_back(f.message.id);
        return ids;
    }
};

TEST_F(LinkChecksEthernet, TheFilterFrameThenTheConnectFilterWhenAsked) {
    ASSERT_TRUE(check().preCheck(ids::CommandReply, {.ethernetConnectFilter = true}).ok);
    ASSERT_TRUE(waitFor([&] { return dongle.frames.size() == 2; }));
    EXPECT_EQ(framesSent(), (std::vector<CanId>{ids::CommandReply, ids::ConnectFilter}));
    // Only the connection is tested: nothing goes out.
    ASSERT_TRUE(check().preCheck(ids::ButtonReply, {.ethernet = EthernetCheck::ConnectedOnly}).ok);
    waitFor([] { return false; }, 50);
    EXPECT_EQ(dongle.frames.size(), 2u);
}

TEST_F(LinkChecksEthernet, AFailureCanBeReportedWhileTheCommandGoesOn) {
    link.socket.close();
    const LinkCheckResult reported = check().preCheck(ids::ToolReply, {.ethernetGoesOnAfterFailure = true});
    EXPECT_TRUE(reported.ok);
    EXPECT_EQ(reported.failText, "Unable to connect using ethernet");
    // No connect filter after a failed check.
    EXPECT_FALSE(check().preCheck(ids::ToolReply, {.ethernetConnectFilter = true}).ok);
    EXPECT_TRUE(dongle.frames.empty());
}

TEST_F(LinkChecksEthernet, TheTransducerMustAnswerItsPresenceProbe) {
    EXPECT_TRUE(check().transducerCheck().ok);
    model.noReply.insert(ids::TransducerReply2);
    const LinkCheckResult silent = check().transducerCheck();
    EXPECT_FALSE(silent);
    EXPECT_EQ(silent.failText, "External Transducer Not Communicating");
    link.socket.close();
    EXPECT_EQ(check().transducerCheck().failText, "Unable to connect using ethernet");
}

} // namespace
