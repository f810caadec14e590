// The ladder transfers on each link against the stand-in playing a type-3 controller: a send leaves its
// image in the controller frame by frame and restarts the logic, a receive rebuilds the same codes and
// presets, factory defaults clear the project only once acknowledged, the link checks fail with each
// command's texts, and acknowledgements or answers that echo another frame are not taken.
#include "ladder/ladderimage.h"
#include "tests/ladder/transferfixture.h"

using namespace ladder;
using app::TransferOutcome;
using base::MessageIcon;
namespace codes = clink::codes;

namespace {

template <class F> class LadderTransferTest : public laddertest::LadderTransferOnEachLink<F> {};
TYPED_TEST_SUITE(LadderTransferTest, linktest::LinkFixtures);

} // namespace

TYPED_TEST(LadderTransferTest, SendThenReceiveReproducesTheTreeCodesAndPresets) {
    this->buildProgram();
    const LadderImageBuild build = this->editor.buildSendImage();
    ASSERT_TRUE(build.ok);
    const LadderProgram sent = this->editor.program();

    this->answer(true);
    const app::TransferResult result = this->transfer().send(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    EXPECT_EQ(result.message, SentText);
    // The controller holds the image, received frame by frame in order, then one restart.
    EXPECT_EQ(this->model.ladderSlots, build.image);
    EXPECT_EQ(this->framesReceived(codes::LogicBlock), build.frames());
    EXPECT_EQ(build.frames().size(), 1u + 3 * 4 + 5) << "presets are used: four quarters and the tail";
    EXPECT_EQ(build.frames()[1], (LadderFrame{0x61, 1, 1, 1, 48, 0, 0, 0}));
    this->expectOneRestartRequest();
    EXPECT_EQ(this->model.received.back().data[0], codes::RestartLogic);
    ASSERT_EQ(this->user.asked.size(), 1u);
    EXPECT_EQ(this->user.asked[0].text, QStringLiteral("ALL CURRENT LOGIC I/O WILL BE ERASED!! CONTINUE?"));
    EXPECT_EQ(this->user.asked[0].caption, QStringLiteral("SEND NEW LOGIC I/O TO CONTROLLER"));
    EXPECT_EQ(this->user.asked[0].icon, MessageIcon::None);
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].text, QStringLiteral("Parameter Sent and Restarted Successfully"));
    EXPECT_EQ(this->messages()[0].caption, QStringLiteral("Transfer Successful"));
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Information);
    // The bar ran over the header and the rung frames, then went back to 0; the trace is cleared.
    EXPECT_EQ(this->progress.minimum, 0);
    EXPECT_EQ(this->progress.maximum, 13);
    EXPECT_EQ(this->progress.highest(), 13);
    EXPECT_EQ(this->progress.last(), 0);
    EXPECT_TRUE(this->editor.transferTrace().isEmpty());
    EXPECT_EQ(this->editor.program(), sent) << "the send leaves the project as it was";

    // A project with something in it is replaced, after the question; a stale buffer changes nothing.
    this->editor.reset();
    ASSERT_TRUE(this->editor.addRung());
    for (int i = 0; i < 700; ++i)
        this->s.DataBuffer.put(i, 0x55);
    this->s.DataCount = 99;
    this->user.asked.clear();
    this->user.messages.clear();
    this->progress.values.clear();
    this->answer(true);
    const app::TransferResult received = this->transfer().receive(this->progress);
    EXPECT_EQ(received.outcome, TransferOutcome::Done);
    EXPECT_TRUE(received.message.isEmpty());
    EXPECT_EQ(laddertest::listCodes(this->editor.program()), laddertest::listCodes(sent));
    EXPECT_EQ(this->editor.presets(), sent.presets);
    EXPECT_EQ(this->editor.presets().cwTimer(2), 20.4);
    EXPECT_EQ(this->editor.RungCount(), 3);
    EXPECT_EQ(this->editor.saveMenus(), (SaveMenus{true, true}));
    EXPECT_EQ(this->editor.statusText(), QStringLiteral("New Project Started"));
    ASSERT_EQ(this->user.asked.size(), 1u);
    EXPECT_EQ(
        this->user.asked[0].text,
        QStringLiteral("A NEW PROJECT WILL BE CREATED AND THE CURRENT PROJECT WILL BE ERASED! CONTINUE?"));
    EXPECT_EQ(this->user.asked[0].caption, QStringLiteral("RECEIVE LOGIC I/O FROM CONTROLLER"));
    ASSERT_EQ(this->user.messageTexts(), QStringList{QStringLiteral("Logic I/O Transfer Completed")});
    EXPECT_EQ(this->progress.maximum, 109);
    EXPECT_EQ(this->progress.highest(), 109);
    EXPECT_EQ(this->progress.last(), 0);
    // Every block was asked for, from 0, and the received image sends the same frames again.
    EXPECT_EQ(this->framesReceived(codes::LogicBlockRequest).front()[1], 0);
    EXPECT_EQ(this->framesReceived(codes::LogicBlockRequest).back()[1], 109);
    EXPECT_EQ(this->editor.buildSendImage().frames(), build.frames());
    EXPECT_TRUE(this->dialogs.messages.empty()) << "the link showed nothing";
}

TYPED_TEST(LadderTransferTest, FactoryDefaultsClearTheProjectOnlyOnceAcknowledged) {
    this->buildProgram();
    const LadderProgram before = this->editor.program();
    this->model.ladderDefaults[0] = 1;
    this->model.ladderDefaults[1] = 7;
    this->editor.setTransferTrace({QStringLiteral("Data 1: 3")});

    // No: nothing is sent, the project stays, the trace view is cleared all the same.
    this->answer(false);
    EXPECT_EQ(this->transfer().resetToFactoryDefaults().outcome, TransferOutcome::Declined);
    EXPECT_EQ(this->requestsWithCode(codes::ResetLogicDefaults), 0);
    EXPECT_EQ(this->editor.program(), before);
    EXPECT_TRUE(this->editor.transferTrace().isEmpty());
    EXPECT_TRUE(this->messages().empty());

    this->answer(true);
    const app::TransferResult result = this->transfer().resetToFactoryDefaults();
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    EXPECT_EQ(this->model.ladderSlots, this->model.ladderDefaults);
    EXPECT_EQ(this->editor.tree().count(), 1);
    EXPECT_EQ(this->editor.RungCount(), 0);
    EXPECT_EQ(this->editor.presets(), LadderPresets());
    EXPECT_EQ(this->editor.statusText(), QStringLiteral("New Project Started"));
    ASSERT_EQ(this->user.asked.size(), 2u);
    EXPECT_EQ(this->user.asked[1].text, QStringLiteral("ALL CURRENT LOGIC I/O WILL BE ERASED!! CONTINUE?"));
    EXPECT_EQ(this->user.asked[1].caption, QStringLiteral("SET LOGIC I/O TO FACTORY DEFAULTS"));
    EXPECT_EQ(this->user.asked[1].icon, MessageIcon::None);
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].text, QStringLiteral("Logic Reset Successfully"));
    EXPECT_EQ(this->messages()[0].caption, QStringLiteral("Transfer Successful"));
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Information);
}

TYPED_TEST(LadderTransferTest, FailedLinkChecksEndEachCommandWithItsOwnTexts) {
    this->buildProgram();
    const LadderProgram before = this->editor.program();
    const auto link = this->s.ConnectionType;
    const QString title = base::ProgramTitle;
    struct Expected {
        QString text;
        QString caption;
    };
    auto expectBox = [&](const app::TransferResult& result, const Expected& e) {
        EXPECT_EQ(result.outcome, TransferOutcome::LinkFailed);
        EXPECT_EQ(result.message, e.text);
        ASSERT_EQ(this->messages().size(), 1u);
        EXPECT_EQ(this->messages()[0].text, e.text);
        EXPECT_EQ(this->messages()[0].caption, e.caption);
        EXPECT_EQ(this->messages()[0].icon, MessageIcon::Critical);
        this->user.messages.clear();
    };
    auto pick = [&](Expected pp, Expected ethernet, Expected usb) {
        return link == clink::ParallelPort ? pp : link == clink::TcpIp ? ethernet : usb;
    };
    const Expected usbDown{QStringLiteral("Unable to connect using USB"), title};
    const Expected ethernetDown{QStringLiteral("Unable to connect using ethernet"), title};

    // The second check of the send, after the question: the link goes while the user answers.
    this->user.onQuestion = [&] { this->breakLink(); };
    this->answer(true);
    expectBox(this->transfer().send(this->progress),
              pick({QStringLiteral("Unable To Configure None - Transfer Failed"),
                    QStringLiteral("Configuration Error")},
                   ethernetDown, usbDown));
    EXPECT_EQ(this->requestsWithCode(codes::LogicBlock), 0);
    EXPECT_EQ(this->progress.maximum, 13) << "the bar was set up before the check";
    EXPECT_FALSE(this->editor.transferTrace().isEmpty()) << "the trace stays after a failure";
    this->user.onQuestion = nullptr;

    const int opensBefore = [&] {
        if constexpr (requires { this->device.opens; })
            return this->device.opens;
        return 0;
    }();
    this->breakLink();
    expectBox(this->transfer().send(this->progress),
              pick({QStringLiteral("Unable To Configure CanDongle - Transfer Failed"),
                    QStringLiteral("Configuration Error")},
                   {QStringLiteral("Unable to connect using ethernet - Transfer Failed"), title}, usbDown));
    if constexpr (requires { this->device.opens; }) {
        EXPECT_GT(this->device.opens, opensBefore) << "a failed USB check sets the device up again";
    }
    this->breakLink();
    expectBox(this->transfer().receive(this->progress),
              pick({QStringLiteral("Unable To Configure None"), title}, ethernetDown, usbDown));
    this->breakLink();
    this->answer(true);
    expectBox(this->transfer().resetToFactoryDefaults(),
              pick({QStringLiteral("Unable To Configure None - Reset Aborted"),
                    QStringLiteral("Configuration Error")},
                   ethernetDown, usbDown));
    EXPECT_EQ(this->requestsWithCode(codes::LogicBlockRequest), 0);
    EXPECT_EQ(this->requestsWithCode(codes::ResetLogicDefaults), 0);
    EXPECT_EQ(this->requestsWithCode(codes::RestartLogic), 0);
    EXPECT_EQ(this->editor.program(), before);
}

TYPED_TEST(LadderTransferTest, AcknowledgementsAndAnswersOfAnotherFrameAreNotTaken) {
    this->buildProgram();
    const LadderImageBuild build = this->editor.buildSendImage();
    const LadderProgram sent = this->editor.program();
    // The header's acknowledgement comes back as frame 1's: the header is sent again and stored right.
    this->model.wrongLogicBlockEcho = true;
    this->answer(true);
    EXPECT_EQ(this->transfer().send().outcome, TransferOutcome::Done);
    EXPECT_EQ(this->model.ladderSlots, build.image);
    std::vector<int> headers;
    for (const clink::CanMessage& m : this->model.received)
        if (m.data[0] == codes::LogicBlock && m.data[1] == 0)
            headers.push_back(m.data[3]);
    // Over Ethernet any first acknowledgement only arms the wait; the echoing one completes it.
    if (this->s.ConnectionType != clink::TcpIp) {
        EXPECT_GE(headers.size(), 2u);
    }

    // Block 0's answer comes back numbered 1: it is not taken for block 0.
    this->model.wrongLogicBlockEcho = true;
    this->editor.reset();
    EXPECT_EQ(this->transfer().receive().outcome, TransferOutcome::Done);
    EXPECT_EQ(this->editor.buildSendImage().image, build.image);
    EXPECT_EQ(laddertest::listCodes(this->editor.program()), laddertest::listCodes(sent));
    EXPECT_TRUE(this->user.asked.size() == 1u) << "a tree of the root alone is received without a question";
}
