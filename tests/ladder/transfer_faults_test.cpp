// The ladder transfers against a controller that stays silent or answers what the editor cannot take, on
// each link: a frame not acknowledged, the restart and the reset not acknowledged, a block not answered,
// a controller of another type or none, a program the controller image cannot hold; and what opening the
// editor does on the link.
#include "ladder/ladderimage.h"
#include "tests/ladder/ladderprograms.h"
#include "tests/ladder/transferfixture.h"

using namespace ladder;
using app::TransferOutcome;
using base::MessageIcon;
namespace codes = clink::codes;

namespace {

template <class F> class LadderTransferFaults : public laddertest::LadderTransferOnEachLink<F> {};
TYPED_TEST_SUITE(LadderTransferFaults, linktest::SilentLinks);

// Four rungs of three inputs and two outputs each, no presets.
void fourRungs(LadderEditor& editor) {
    LadderProgram program = LadderProgram::empty();
    for (int r = 1; r <= 4; ++r)
        laddertest::addRung(program, {r, r + 16, 32 + r}, {r, 16 + r});
    editor.adoptOpenedProject(std::move(program), QStringLiteral("four.Plc"));
}

// The bar of a transfer whose window closes as the bar reaches a value: between two frames or blocks.
class EndingProgress : public linktest::RecordingProgress {
public:
    EndingProgress(LadderTransfer& transfer, int endsAt) : transfer_(transfer), endsAt_(endsAt) {}
    void setValue(int value) override {
        RecordingProgress::setValue(value);
        if (value == endsAt_)
            transfer_.cancel();
    }

private:
    LadderTransfer& transfer_;
    int endsAt_;
};

} // namespace

TYPED_TEST(LadderTransferFaults, ATransferEndedBetweenTwoFramesOrBlocksStopsThere) {
    fourRungs(this->editor);
    const LadderImageBuild build = this->editor.buildSendImage();
    this->answer(true);
    LadderTransfer sending = this->transfer();
    EndingProgress sendBar(sending, 5);
    EXPECT_EQ(sending.send(sendBar).outcome, TransferOutcome::Aborted);
    EXPECT_EQ(this->framesReceived(codes::LogicBlock).back(), build.frames()[4]) << "nothing after frame 5";
    EXPECT_EQ(this->requestsWithCode(codes::RestartLogic), 0);

    this->model.ladderSlots[0] = 2;
    this->answer(true);
    LadderTransfer receiving = this->transfer();
    EndingProgress receiveBar(receiving, 40);
    EXPECT_EQ(receiving.receive(receiveBar).outcome, TransferOutcome::Aborted);
    EXPECT_EQ(this->framesReceived(codes::LogicBlockRequest).back()[1], 39) << "block 40 never asked for";
    EXPECT_EQ(this->editor.tree().count(), 1);
}

TYPED_TEST(LadderTransferFaults, NoAcknowledgementAtFrame3Quarter2EndsTheSendWithoutARestart) {
    fourRungs(this->editor);
    this->user.messages.clear();
    const LadderImageBuild build = this->editor.buildSendImage();
    this->model.ladderSlots.fill(0x55);
    this->model.unacknowledgedLadderFrames = {{3, 2}};
    this->answer(true);
    const app::TransferResult result = this->transfer().send(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(result.message, QStringLiteral("Logic I/O Not Sent"));
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].caption, QStringLiteral("Receive Error"));
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Critical);

    EXPECT_EQ(this->requestsWithCode(codes::RestartLogic), 0);
    EXPECT_EQ(this->model.logicRestarts, 0);
    EXPECT_EQ(this->framesReceived(codes::LogicBlock).back(), build.frames()[1 + 4 * 2 + 1])
        << "nothing after frame (3, 2) went out";
    // The controller holds the header (which cleared the rest), rungs 1 and 2 and frame (3, 1).
    LadderImage held{};
    for (int slot = 0; slot <= inputSlot(3) + 4; ++slot)
        held[size_t(slot)] = build.image[size_t(slot)];
    EXPECT_EQ(this->model.ladderSlots, held);
    // The bar stays at the frames acknowledged; the trace stays for the technician.
    EXPECT_EQ(this->progress.maximum, 17);
    EXPECT_EQ(this->progress.last(), 1 + 4 * 2 + 1);
    EXPECT_EQ(this->editor.transferTrace(), build.trace);
    EXPECT_TRUE(this->editor.transferTrace().front().startsWith(QStringLiteral("Number of Nodes = 33")));
}

TYPED_TEST(LadderTransferFaults, UnacknowledgedRestartAndResetAreReported) {
    fourRungs(this->editor);
    this->user.messages.clear();
    const LadderProgram program = this->editor.program();
    this->model.silentCommandCodes = {codes::RestartLogic, codes::ResetLogicDefaults};
    this->answer(true);
    const app::TransferResult sent = this->transfer().send();
    EXPECT_EQ(sent.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(sent.message, QStringLiteral("Restart Not Received - Reset Aborted"));
    EXPECT_EQ(this->framesReceived(codes::LogicBlock).size(), 1u + 4 * 4) << "every frame went out";

    const auto stored = this->model.ladderSlots;
    this->answer(true);
    const app::TransferResult reset = this->transfer().resetToFactoryDefaults();
    EXPECT_EQ(reset.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(reset.message, QStringLiteral("Reset Not Received - Reset Aborted"));
    EXPECT_EQ(this->model.ladderSlots, stored);
    EXPECT_EQ(this->editor.program(), program) << "the project is cleared only after an acknowledged reset";
    ASSERT_EQ(this->messages().size(), 2u);
    for (const auto& m : this->messages()) {
        EXPECT_EQ(m.caption, QStringLiteral("Transfer Error"));
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
}

TYPED_TEST(LadderTransferFaults, AMissingBlockAbortsTheReceiveAndLeavesTheEmptyProject) {
    fourRungs(this->editor);
    this->user.messages.clear();
    this->model.ladderSlots[0] = 2;
    this->model.unansweredLogicBlocks = {57};
    this->answer(true);
    const app::TransferResult result = this->transfer().receive(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(result.message, QStringLiteral("Logic I/O Not Received - Transfer Aborted"));
    ASSERT_EQ(this->messages().size(), 1u) << "not \"Completed\"";
    EXPECT_EQ(this->messages()[0].caption, QStringLiteral("Receive Error"));
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Critical);
    EXPECT_EQ(this->editor.tree().count(), 1);
    EXPECT_EQ(this->editor.RungCount(), 0);
    EXPECT_EQ(this->editor.statusText(), QStringLiteral("New Project Started"));
    EXPECT_EQ(this->editor.saveMenus(), SaveMenus());
    EXPECT_EQ(this->framesReceived(codes::LogicBlockRequest).back()[1], 57);
    EXPECT_EQ(this->progress.last(), 57) << "the bar stays at the block that did not come";
}

TYPED_TEST(LadderTransferFaults, AReceivedProgramOfMoreThan30RungsIsRefused) {
    this->model.ladderSlots[0] = 31;
    const app::TransferResult result = this->transfer().receive();
    EXPECT_EQ(result.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(result.message, QStringLiteral("Maximum Number Of Rungs = 30"));
    EXPECT_EQ(this->user.messageTexts(), QStringList{QStringLiteral("Maximum Number Of Rungs = 30")});
    EXPECT_TRUE(this->user.asked.empty()) << "the root alone is replaced without a question";
    EXPECT_EQ(this->editor.tree().count(), 1);
}

TYPED_TEST(LadderTransferFaults, NoAnswerToTheQuestionOrAnotherControllerTypeSendsNothing) {
    fourRungs(this->editor);
    this->user.messages.clear();
    const LadderProgram program = this->editor.program();
    const QString incorrect = QStringLiteral("Unable To Send Data To Controller -> Incorrect Version");

    this->answer(false);
    EXPECT_EQ(this->transfer().send().outcome, TransferOutcome::Declined);
    this->answer(false);
    EXPECT_EQ(this->transfer().receive().outcome, TransferOutcome::Declined);
    EXPECT_TRUE(this->messages().empty());
    EXPECT_EQ(this->user.asked.size(), 2u);

    this->user.asked.clear();
    for (const int type : {4, 0}) {
        this->model.verMajor = type;
        this->model.silentCommandCodes.clear();
        if (type == 0)
            this->model.silentCommandCodes = {codes::Version};
        const app::TransferResult sent = this->transfer().send();
        EXPECT_EQ(sent.outcome, TransferOutcome::WrongControllerType) << type;
        EXPECT_EQ(sent.message, incorrect);
        EXPECT_EQ(this->transfer().receive().outcome, TransferOutcome::WrongControllerType) << type;
    }
    // No link chosen: no controller tells its type, and the reset cannot be acknowledged.
    this->s.ConnectionType = clink::NoConnection;
    EXPECT_EQ(this->transfer().send().outcome, TransferOutcome::WrongControllerType);
    this->answer(true);
    EXPECT_EQ(this->transfer().resetToFactoryDefaults().message,
              QStringLiteral("Reset Not Received - Reset Aborted"));

    EXPECT_EQ(this->user.messageTexts(), (QStringList{incorrect, incorrect, incorrect, incorrect, incorrect,
                                                      QStringLiteral("Reset Not Received - Reset Aborted")}));
    EXPECT_EQ(this->messages()[0].caption, QStringLiteral("Transfer Error"));
    EXPECT_EQ(this->user.asked.size(), 1u) << "only the reset asks; the type is checked before the question";
    EXPECT_EQ(this->requestsWithCode(codes::LogicBlock), 0);
    EXPECT_EQ(this->requestsWithCode(codes::LogicBlockRequest), 0);
    EXPECT_EQ(this->editor.program(), program);
}

TYPED_TEST(LadderTransferFaults, AProgramTheImageCannotHoldIsRefusedBeforeAnyFrame) {
    LadderProgram program = LadderProgram::empty();
    laddertest::addRung(program, {1}, {1});
    laddertest::addRung(program, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, {});
    this->editor.adoptOpenedProject(std::move(program), QStringLiteral("eleven.Plc"));
    this->user.messages.clear();
    this->answer(true);
    const app::TransferResult result = this->transfer().send(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Aborted);
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].text, result.message);
    EXPECT_TRUE(result.message.contains(QStringLiteral("Rung 2")));
    EXPECT_EQ(this->messages()[0].caption, QStringLiteral("Transfer Error"));
    EXPECT_EQ(this->requestsWithCode(codes::LogicBlock), 0);
    EXPECT_EQ(this->progress.maximum, -1) << "the bar was never set up";
}

TYPED_TEST(LadderTransferFaults, OpeningTheEditorPutsThePortAtRestAndReportsADownSocket) {
    this->s.PortShadow = 0x0F;
    prepareLinkForEditor(this->link, this->user);
    EXPECT_EQ(this->s.PortShadow, 0);
    EXPECT_TRUE(this->messages().empty());

    this->breakLink();
    this->s.PortShadow = 0x0F;
    prepareLinkForEditor(this->link, this->user);
    EXPECT_EQ(this->s.PortShadow, 0);
    if (this->s.ConnectionType == clink::TcpIp) {
        ASSERT_EQ(this->messages().size(), 1u);
        EXPECT_EQ(this->messages()[0].text, QStringLiteral("Cannot connect using ethernet"));
        EXPECT_EQ(this->messages()[0].caption, base::ProgramTitle);
        EXPECT_EQ(this->messages()[0].icon, MessageIcon::Critical);
    } else {
        EXPECT_TRUE(this->messages().empty());
    }
    EXPECT_EQ(this->model.countReceived(clink::ids::CommandRequest), 0);
}
