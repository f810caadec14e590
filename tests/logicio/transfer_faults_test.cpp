// The logic transfers against a controller that stays silent, on each link: a block not acknowledged, a
// block not answered, the restart and the reset not acknowledged, a type query not answered; and the link
// checks that fail, with each command's texts and whether it goes on.
#include "link/commandcodes.h"
#include "logicio/logicimage.h"
#include "tests/logicio/transferfixture.h"

using namespace logicio;
using app::TransferOutcome;
using base::MessageIcon;
namespace codes = clink::codes;

namespace {

template <class F> class LogicTransferFaults : public logictest::TransferOnEachLink<F> {};
TYPED_TEST_SUITE(LogicTransferFaults, logictest::SilentLinks);

} // namespace

TYPED_TEST(LogicTransferFaults, NoAcknowledgementAtBlock57EndsTheSendWithoutARestart) {
    this->controllerFor(LogicVariant::Version3);
    this->module.rungs() = logictest::sampleProgram(LogicVariant::Version3);
    this->model.unacknowledgedLogicBlocks = {57};
    this->answer(true);
    const app::TransferResult result = this->transfer(LogicVariant::Version3).send(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(result.message, NotSentText);
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].caption, TransmitErrorCaption);
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Critical);

    const std::vector<int> blocks = this->blocksReceived(codes::LogicBlock);
    EXPECT_EQ(*std::max_element(blocks.begin(), blocks.end()), 57);
    EXPECT_EQ(this->model.countReceived(clink::ids::CommandRequest, codes::RestartLogic), 0);
    EXPECT_EQ(this->model.logicRestarts, 0);
    // The controller holds the blocks before 57.
    EXPECT_EQ(this->model.logicWords(56), logictest::imageWords(EncodeLogic(this->module.rungs()), 56 * 6));
    EXPECT_EQ(this->progress.highest(), 56);
    EXPECT_EQ(this->progress.last(), 0);
}

TYPED_TEST(LogicTransferFaults, AMissingBlockAbortsTheReceiveAndLeavesTheRungsCleared) {
    this->controllerFor(LogicVariant::Version2);
    this->module.rungs() = logictest::sampleProgram(LogicVariant::Version2);
    this->model.unansweredLogicBlocks = {40};
    this->answer(true);
    const app::TransferResult result = this->transfer(LogicVariant::Version2).receive(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(result.message, NotReceivedText);
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].caption, ReceiveErrorCaption);
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Critical);
    // The user agreed to lose the rungs; nothing of the partial image is decoded into them.
    EXPECT_TRUE(this->module.rungs() == logictest::newProgram());
    const std::vector<int> asked = this->blocksReceived(codes::LogicBlockRequest);
    EXPECT_EQ(*std::max_element(asked.begin(), asked.end()), 40);
    EXPECT_EQ(this->progress.highest(), 40);
    EXPECT_EQ(this->progress.last(), 0);
}

TYPED_TEST(LogicTransferFaults, UnacknowledgedRestartAndResetAreReported) {
    this->controllerFor(LogicVariant::Version3);
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version3);
    this->module.rungs() = program;
    this->model.silentCommandCodes = {codes::RestartLogic, codes::ResetLogicDefaults};
    this->answer(true);
    const app::TransferResult sent = this->transfer(LogicVariant::Version3).send();
    EXPECT_EQ(sent.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(sent.message, RestartFailedText);
    EXPECT_EQ(this->blocksReceived(codes::LogicBlock).back(), 117) << "every block went out";

    const auto stored = this->model.logicBlocks;
    this->answer(true);
    const app::TransferResult reset = this->transfer(LogicVariant::Version3).resetToFactoryDefaults();
    EXPECT_EQ(reset.outcome, TransferOutcome::Aborted);
    EXPECT_EQ(reset.message, ResetFailedText);
    EXPECT_EQ(this->model.logicBlocks, stored);
    EXPECT_TRUE(this->module.rungs() == program) << "the editor is cleared only after an acknowledged reset";
    ASSERT_EQ(this->messages().size(), 2u);
    for (const auto& m : this->messages()) {
        EXPECT_EQ(m.caption, TransferErrorCaption);
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
}

TYPED_TEST(LogicTransferFaults, AControllerThatDoesNotTellItsTypeGetsNothing) {
    this->controllerFor(LogicVariant::Version3);
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version3);
    this->module.rungs() = program;
    this->model.silentCommandCodes = {codes::Version};
    EXPECT_EQ(this->transfer(LogicVariant::Version3).send().outcome, TransferOutcome::WrongControllerType);
    EXPECT_EQ(this->transfer(LogicVariant::Version3).receive().outcome, TransferOutcome::WrongControllerType);
    EXPECT_EQ(this->dialogs.messageTexts(), (QStringList{IncorrectVersionText, IncorrectVersionText}));
    EXPECT_TRUE(this->dialogs.asked.empty());
    EXPECT_TRUE(this->module.rungs() == program);
    EXPECT_TRUE(this->blocksReceived(codes::LogicBlock).empty());
    EXPECT_TRUE(this->blocksReceived(codes::LogicBlockRequest).empty());
}

// --- link checks that fail ---

class ParallelPortPrologue : public logictest::TransferOnEachLink<testsupport::PpFixture> {};

TEST_F(ParallelPortPrologue, AnUnconfigurableDongleEndsEveryCommandWithItsOwnText) {
    controllerFor(LogicVariant::Version3);
    chip.stuckConfigMode = true;
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version3);
    module.rungs() = program;
    EXPECT_EQ(transfer(LogicVariant::Version3).send().outcome, TransferOutcome::LinkFailed);
    EXPECT_EQ(transfer(LogicVariant::Version3).receive().outcome, TransferOutcome::LinkFailed);
    answer(true);
    const app::TransferResult reset = transfer(LogicVariant::Version3).resetToFactoryDefaults();
    EXPECT_EQ(reset.outcome, TransferOutcome::LinkFailed);
    EXPECT_EQ(reset.message, DefaultsLinkTexts.parallel);

    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Unable To Configure CanDongle"),
                           QStringLiteral("Unable To Configure Candongle"),
                           QStringLiteral("Unable To Configure Can Dongle - Reset Aborted")}));
    EXPECT_EQ(dialogs.messages[0].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.messages[1].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.messages[2].caption, ConfigurationErrorCaption);
    EXPECT_EQ(dialogs.messages[2].icon, MessageIcon::Critical);
    EXPECT_EQ(model.countReceived(clink::ids::CommandRequest), 0) << "nothing reaches the controller";
    EXPECT_TRUE(module.rungs() == program);
}

class EthernetPrologue : public logictest::TransferOnEachLink<logictest::CountingEthernetFixture> {};

TEST_F(EthernetPrologue, ASocketThatIsDownIsReportedAndTheCommandsGoOnToTheirNextStep) {
    controllerFor(LogicVariant::Version3);
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version3);
    module.rungs() = program;
    link.socket.close();
    EXPECT_EQ(transfer(LogicVariant::Version3).receive().outcome, TransferOutcome::WrongControllerType);
    EXPECT_EQ(transfer(LogicVariant::Version3).send().outcome, TransferOutcome::WrongControllerType);
    answer(true);
    EXPECT_EQ(transfer(LogicVariant::Version3).resetToFactoryDefaults().outcome, TransferOutcome::Aborted);

    EXPECT_EQ(dialogs.messageTexts(),
              (QStringList{QStringLiteral("Unable to connect through ethernet"), IncorrectVersionText,
                           QStringLiteral("Unable to connect using ethernet"), IncorrectVersionText,
                           QStringLiteral("Unable to connect using ethernet"), ResetFailedText}));
    EXPECT_EQ(dialogs.messages[0].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dialogs.questions, QStringList{DefaultsQuestion}) << "send and receive never asked";
    EXPECT_TRUE(module.rungs() == program);
}

class UsbPrologue : public logictest::TransferOnEachLink<testsupport::UsbFixture> {};

TEST_F(UsbPrologue, AFailedFilterFrameEndsTheSendAndTheResetButNotTheReceive) {
    controllerFor(LogicVariant::Version3);
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version3);
    module.rungs() = program;

    device.writeFails = 1; // the filter frame
    int opens = device.opens;
    EXPECT_EQ(transfer(LogicVariant::Version3).send().outcome, TransferOutcome::LinkFailed);
    const int opensBySend = device.opens - opens;
    EXPECT_EQ(model.countReceived(clink::ids::CommandRequest, codes::Version), 0);

    device.writeFails = 1;
    opens = device.opens;
    answer(true);
    EXPECT_EQ(transfer(LogicVariant::Version3).resetToFactoryDefaults().outcome, TransferOutcome::LinkFailed);
    EXPECT_EQ(device.opens - opens, opensBySend + 1) << "the reset sets the device up again before its box";
    EXPECT_EQ(model.countReceived(clink::ids::CommandRequest, codes::ResetLogicDefaults), 0);

    // The receive reports the failure and goes on: the type query and the question follow.
    device.writeFails = 1;
    answer(false);
    EXPECT_EQ(transfer(LogicVariant::Version3).receive().outcome, TransferOutcome::Declined);
    EXPECT_EQ(model.countReceived(clink::ids::CommandRequest, codes::Version), 1);

    EXPECT_EQ(dialogs.messageTexts(), (QStringList{QStringLiteral("Unable to connect using USB"),
                                                   QStringLiteral("Unable to connect using USB"),
                                                   QStringLiteral("Unable to connect through USB")}));
    EXPECT_EQ(dialogs.questions, (QStringList{DefaultsQuestion, ReceiveQuestion}));
    EXPECT_TRUE(module.rungs() == program);
}
