// The logic transfers of both rung-table editors on each link against the stand-in: the words and restart
// a send leaves in the controller, the rungs a receive rebuilds, the factory reset, the questions and boxes
// with their captions and icons, the controller types refused, and the progress.
#include "link/commandcodes.h"
#include "logicio/logicimage.h"
#include "tests/logicio/transferfixture.h"

using namespace logicio;
using app::TransferOutcome;
using base::MessageIcon;
namespace codes = clink::codes;

namespace {

template <class F> class LogicTransferTest : public logictest::TransferOnEachLink<F> {};
TYPED_TEST_SUITE(LogicTransferTest, linktest::LinkFixtures);

constexpr LogicVariant Variants[] = {LogicVariant::Version2, LogicVariant::Version3};

// The program of the example: rung 1 = "Input 1 On" OR "Input 2 Off" -> "Timer 2 Start" for 30 s.
void exampleProgram(LogicRungs& rungs) {
    rungs.ClearRungs();
    rungs[1].In1 = codeWord(1, 0);
    rungs[1].In2 = codeWord(14, 0);
    rungs[1].Op1 = OrOperator;
    rungs[1].Out1 = codeWord(72, 30);
}

} // namespace

TYPED_TEST(LogicTransferTest, Version3SendLeavesTheEncodedWordsAndOneRestart) {
    this->controllerFor(LogicVariant::Version3);
    exampleProgram(this->module.rungs());
    this->answer(true);
    const app::TransferResult result = this->transfer(LogicVariant::Version3).send(this->progress);
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    EXPECT_EQ(result.message, SentText);

    EXPECT_EQ(this->model.logicWords(117), logictest::imageWords(EncodeLogic(this->module.rungs()), 702));
    this->expectOneRestartRequest();
    // The example's frames on the wire: rung 1, its action, and timer 2's preset of 600 ticks.
    auto frameOf = [&](int block) {
        for (const clink::CanMessage& m : this->model.received)
            if (m.data[0] == codes::LogicBlock && m.data[1] == block)
                return m.data;
        return std::array<int, 8>{};
    };
    EXPECT_EQ(frameOf(1), (std::array<int, 8>{0x61, 1, 1, 0, 0x8E, 0, 0, 0}));
    EXPECT_EQ(frameOf(2), (std::array<int, 8>{0x61, 2, 0, 0, 0x48, 0, 0, 0}));
    EXPECT_EQ(frameOf(104), (std::array<int, 8>{0x61, 0x68, 2, 88, 0, 0, 0, 0}));
    EXPECT_EQ(frameOf(117), (std::array<int, 8>{0x61, 117, 0, 0, 0, 0, 0, 0}));
    // The restart follows the last block.
    EXPECT_EQ(this->blocksReceived(codes::LogicBlock).back(), 117);
    EXPECT_EQ(this->model.received.back().data[0], codes::RestartLogic);

    ASSERT_EQ(this->dialogs.asked.size(), 1u);
    EXPECT_EQ(this->dialogs.asked[0].text, SendQuestion);
    EXPECT_EQ(this->dialogs.asked[0].caption, SendCaption);
    EXPECT_EQ(this->dialogs.asked[0].icon, MessageIcon::None);
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].caption, TransferSuccessfulCaption);
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(this->progress.maximum, 117);
    EXPECT_EQ(this->progress.highest(), 117);
    EXPECT_EQ(this->progress.last(), 0);
    // The listing of the image sent is in the program's folder.
    EXPECT_TRUE(this->folder.read(QStringLiteral("NewLogic.txt")).startsWith("\"LogicIo[0] = 1\"\r\n"));
}

TYPED_TEST(LogicTransferTest, Version2SendStopsAtBlock105) {
    this->controllerFor(LogicVariant::Version2);
    this->module.rungs() = logictest::sampleProgram(LogicVariant::Version2);
    const sim::ControllerModel::Block untouched = this->model.logicBlocks[106];
    this->answer(true);
    EXPECT_EQ(this->transfer(LogicVariant::Version2).send(this->progress).outcome, TransferOutcome::Done);

    EXPECT_EQ(this->model.logicWords(105), logictest::imageWords(EncodeLogic(this->module.rungs()), 630));
    const std::vector<int> blocks = this->blocksReceived(codes::LogicBlock);
    EXPECT_EQ(*std::max_element(blocks.begin(), blocks.end()), 105);
    EXPECT_EQ(this->model.logicBlocks[106], untouched);
    this->expectOneRestartRequest();
    EXPECT_EQ(this->progress.maximum, 105);
    EXPECT_EQ(this->progress.highest(), 105);
}

TYPED_TEST(LogicTransferTest, ReceiveFromAPreloadedControllerRestoresIdenticalRungs) {
    for (const LogicVariant variant : Variants) {
        this->controllerFor(variant);
        const LogicRungs program = logictest::sampleProgram(variant);
        this->model.storeLogicWords(logictest::imageWords(EncodeLogic(program), 702));
        // What the editor held, and a stale image in the buffer, are replaced.
        exampleProgram(this->module.rungs());
        for (int i = 0; i < 720; ++i)
            this->s.DataBuffer.put(i, 0x55);
        this->s.DataCount = 99;

        this->answer(true);
        const app::TransferResult result = this->transfer(variant).receive(this->progress);
        EXPECT_EQ(result.outcome, TransferOutcome::Done);
        EXPECT_TRUE(result.message.isEmpty());
        EXPECT_TRUE(this->module.rungs() == program) << "variant " << int(variant);
        EXPECT_TRUE(this->messages().empty()) << "a successful receive shows no box";
        ASSERT_EQ(this->dialogs.asked.size(), 1u);
        EXPECT_EQ(this->dialogs.asked[0].text, ReceiveQuestion);
        EXPECT_EQ(this->dialogs.asked[0].caption, ReceiveCaption);
        EXPECT_EQ(this->dialogs.asked[0].icon, MessageIcon::None);
        const int blocks = logicVersion(variant).blocks;
        EXPECT_EQ(this->progress.maximum, blocks);
        EXPECT_EQ(this->progress.highest(), blocks);
        EXPECT_EQ(this->progress.last(), 0);
        const std::vector<int> asked = this->blocksReceived(codes::LogicBlockRequest);
        EXPECT_EQ(*std::max_element(asked.begin(), asked.end()), blocks);
        this->model.received.clear();
        this->dialogs.asked.clear();
        this->progress.values.clear();
    }
}

TYPED_TEST(LogicTransferTest, AnAnswerWithAnotherBlockNumberIsNotTaken) {
    this->controllerFor(LogicVariant::Version3);
    this->module.rungs() = logictest::sampleProgram(LogicVariant::Version3);
    this->model.wrongLogicBlockEcho = true; // the acknowledgement of block 1 names block 2
    this->answer(true);
    ASSERT_EQ(this->transfer(LogicVariant::Version3).send().outcome, TransferOutcome::Done);
    EXPECT_GE(this->requestsFor(codes::LogicBlock, 1), 2) << "block 1 is sent again";
    const LogicRungs sent = this->module.rungs();

    this->module.rungs().ClearRungs();
    this->model.received.clear();
    this->model.wrongLogicBlockEcho = true; // the answer to the request for block 1 carries block 2
    this->answer(true);
    ASSERT_EQ(this->transfer(LogicVariant::Version3).receive().outcome, TransferOutcome::Done);
    EXPECT_GE(this->requestsFor(codes::LogicBlockRequest, 1), 2) << "block 1 is asked for again";
    EXPECT_TRUE(this->module.rungs() == sent);
}

TYPED_TEST(LogicTransferTest, NoChangesNothingAndSendsNothingAfterItsQuestion) {
    this->controllerFor(LogicVariant::Version3);
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version3);
    this->module.rungs() = program;
    const auto stored = this->model.logicBlocks;
    for (int i = 0; i < 3; ++i)
        this->answer(false);
    EXPECT_EQ(this->transfer(LogicVariant::Version3).send().outcome, TransferOutcome::Declined);
    EXPECT_EQ(this->transfer(LogicVariant::Version3).receive().outcome, TransferOutcome::Declined);
    EXPECT_EQ(this->transfer(LogicVariant::Version3).resetToFactoryDefaults().outcome,
              TransferOutcome::Declined);

    EXPECT_TRUE(this->blocksReceived(codes::LogicBlock).empty());
    EXPECT_TRUE(this->blocksReceived(codes::LogicBlockRequest).empty());
    EXPECT_EQ(this->model.countReceived(clink::ids::CommandRequest, codes::RestartLogic), 0);
    EXPECT_EQ(this->model.countReceived(clink::ids::CommandRequest, codes::ResetLogicDefaults), 0);
    EXPECT_EQ(this->model.logicBlocks, stored);
    EXPECT_TRUE(this->module.rungs() == program);
    EXPECT_TRUE(this->messages().empty());
    EXPECT_EQ(this->dialogs.questions, (QStringList{SendQuestion, ReceiveQuestion, DefaultsQuestion}));
    EXPECT_EQ(this->dialogs.asked[2].caption, DefaultsCaption);
    // The send encoded the image (and wrote its listing) before it asked.
    EXPECT_FALSE(this->folder.read(QStringLiteral("NewLogic.txt")).isEmpty());
}

TYPED_TEST(LogicTransferTest, ControllersOfAnotherTypeAreRefusedBeforeAnyQuestion) {
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version2);
    this->module.rungs() = program;
    // Type 4 for the version 3 editor, type 3 (ladder) for both.
    const std::pair<int, LogicVariant> refused[] = {
        {4, LogicVariant::Version3}, {3, LogicVariant::Version3}, {3, LogicVariant::Version2}};
    for (const auto& [type, variant] : refused) {
        this->model.verMajor = type;
        const app::TransferResult sent = this->transfer(variant).send();
        EXPECT_EQ(sent.outcome, TransferOutcome::WrongControllerType);
        EXPECT_EQ(sent.message, IncorrectVersionText);
        EXPECT_EQ(this->transfer(variant).receive().outcome, TransferOutcome::WrongControllerType);
    }
    EXPECT_TRUE(this->dialogs.asked.empty());
    ASSERT_EQ(this->messages().size(), 6u);
    for (const auto& m : this->messages()) {
        EXPECT_EQ(m.text, IncorrectVersionText);
        EXPECT_EQ(m.caption, TransferErrorCaption);
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
    EXPECT_TRUE(this->blocksReceived(codes::LogicBlock).empty());
    EXPECT_TRUE(this->blocksReceived(codes::LogicBlockRequest).empty());
    EXPECT_TRUE(this->module.rungs() == program);

    // The version 2 editor takes a type 5 controller, and decodes with its texts.
    this->model.verMajor = 5;
    this->answer(true);
    EXPECT_EQ(this->transfer(LogicVariant::Version2).send().outcome, TransferOutcome::Done);
}

TYPED_TEST(LogicTransferTest, AControllerAboveType5IsReadWithTheBatchActionTexts) {
    // Rung 1 runs to the threshold, to final, to the next and back to the previous batch.
    LogicRungs program;
    program.ClearRungs();
    program[1].In1 = codeWord(1, 0);
    program[1].Out1 = codeWord(105, 0);
    program[1].Out2 = codeWord(106, 0);
    program[1].Out3 = codeWord(107, 0);
    program[1].Out4 = codeWord(108, 0);
    this->model.storeLogicWords(logictest::imageWords(EncodeLogic(program), 702));
    this->model.verMajor = 6;
    for (const LogicVariant variant : Variants) {
        this->module.rungs().ClearRungs();
        this->answer(true);
        ASSERT_EQ(this->transfer(variant).receive().outcome, TransferOutcome::Done) << int(variant);
        const LogicRung& rung = this->module.rungs()[1];
        EXPECT_EQ(rung.Out1Text, "Run To Threshold") << int(variant);
        EXPECT_EQ(rung.Out2Text, "Run To Final") << int(variant);
        EXPECT_EQ(rung.Out3Text, "Next Batch") << int(variant);
        EXPECT_EQ(rung.Out4Text, "Reset/Prev Batch") << int(variant);
        EXPECT_EQ(rung.Out4, codeWord(108, 0));
    }
    EXPECT_TRUE(this->messages().empty());
}

TYPED_TEST(LogicTransferTest, FactoryDefaultsRestoreTheControllersLogicAndClearTheEditor) {
    this->model.verMajor = 3; // no type check: any controller is reset
    this->model.logicBlocks[5] = {9, 9, 9, 9, 9, 9};
    this->module.rungs() = logictest::sampleProgram(LogicVariant::Version3);
    this->answer(true);
    const app::TransferResult result = this->transfer(LogicVariant::Version3).resetToFactoryDefaults();
    EXPECT_EQ(result.outcome, TransferOutcome::Done);
    EXPECT_EQ(result.message, ResetDoneText);
    EXPECT_EQ(this->model.logicBlocks, this->model.logicDefaults);
    EXPECT_TRUE(this->module.rungs() == logictest::newProgram());
    ASSERT_EQ(this->messages().size(), 1u);
    EXPECT_EQ(this->messages()[0].caption, TransferSuccessfulCaption);
    EXPECT_EQ(this->messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(this->dialogs.asked[0].icon, MessageIcon::None);
    EXPECT_EQ(this->model.countReceived(clink::ids::CommandRequest, codes::Version), 0);
}
