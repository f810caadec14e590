// Code words, value texts and both summary forms; the editor core: the rung list, choosing entries with
// their value prompts (and Cancel), New, and rungs whose codes lie outside the lists.
#include "logicio/logiccatalogue.h"
#include "logicio/logiceditor.h"
#include "tests/logicio/logicfixture.h"

using namespace logicio;

TEST(LogicRung, CodeWordsSplitIntoPositionAndValue) {
    EXPECT_EQ(codeWord(33, 200), 8648);
    EXPECT_EQ(codeIndex(8648), 33);
    EXPECT_EQ(codeValue(8648), 200);
    EXPECT_EQ(codeWord(73, 240), 18928);
    EXPECT_EQ(listPosition(18928, 109), 73);
    EXPECT_EQ(listPosition(codeWord(109, 0), 109), std::nullopt);
    EXPECT_EQ(listPosition(-5, 89), std::nullopt);
    EXPECT_EQ(listPosition(codeWord(88, 7), 89), 88);
    EXPECT_EQ(operatorPosition(1), 1);
    EXPECT_EQ(operatorPosition(7), std::nullopt);
    EXPECT_EQ(counterText(QStringLiteral("Counter 1 = "), QStringLiteral("5")),
              QStringLiteral("Counter 1 =  5"));
    EXPECT_EQ(timerText(QStringLiteral("Timer 2 Start"), QStringLiteral("30")),
              QStringLiteral("Timer 2 Start  (30 Sec)"));
    EXPECT_EQ(timerText(QStringLiteral("Timer 2 Start"), QString()), QStringLiteral("Timer 2 Start  ( Sec)"));
}

TEST(LogicRung, SummariesInBothFormsSkipEmptySlots) {
    LogicRung rung;
    EXPECT_EQ(rung.InputSummary, QStringLiteral("Input ->"));
    EXPECT_EQ(rung.OutputSummary, QStringLiteral("Output ->"));
    EXPECT_EQ(rung.Op2Text, QStringLiteral("AND"));
    rebuildSummaries(rung, SummaryForm::Refresh);
    EXPECT_EQ(rung.InputSummary, QStringLiteral("Input  -> "));
    EXPECT_EQ(rung.OutputSummary, QStringLiteral("Output -> "));

    rung.In1Text = QStringLiteral("Input 1 On");
    rung.In3Text = QStringLiteral("Torque Hi");
    rung.Op1Text = QStringLiteral("OR"); // before the empty condition 2: dropped with it
    rung.Op2Text = QStringLiteral("OR");
    rung.Out3Text = QStringLiteral("Red Light On");
    EXPECT_EQ(inputSummary(rung, SummaryForm::Refresh),
              QStringLiteral("Input  -> Input 1 On  OR  Torque Hi"));
    EXPECT_EQ(inputSummary(rung, SummaryForm::Edit), QStringLiteral("Input  -> Input 1 On    OR  Torque Hi"));
    EXPECT_EQ(outputSummary(rung), QStringLiteral("Output ->     Red Light On"));
    rung.Out1Text = QStringLiteral("Green Light On");
    EXPECT_EQ(outputSummary(rung), QStringLiteral("Output -> Green Light On    Red Light On"));
    rung.In1Text.clear();
    EXPECT_EQ(inputSummary(rung, SummaryForm::Refresh), QStringLiteral("Input  ->   OR  Torque Hi"));
    EXPECT_EQ(convertedInputSummary(rung, 5), QStringLiteral("Input 5  ->     OR  Torque Hi"));
    EXPECT_EQ(convertedOutputSummary(LogicRung(), 5), QStringLiteral("Output 5  -> "));
}

class LogicEditorTest : public logictest::LogicFixture {
protected:
    LogicEditor v3{module, LogicVariant::Version3};
    LogicEditor v2{module, LogicVariant::Version2};
};

TEST_F(LogicEditorTest, TheRungListHasThreeItemsPerRung) {
    v3.load();
    EXPECT_EQ(v3.CurrentRung(), 0);
    EXPECT_EQ(v3.inputsCaption(), QStringLiteral("Rung 0 Inputs"));
    EXPECT_EQ(v3.itemCaption(1), QStringLiteral("Rung 1"));
    EXPECT_EQ(v3.itemCaption(59), QStringLiteral("Input ->"));
    EXPECT_EQ(v3.itemCaption(60), QStringLiteral("Output ->"));
    EXPECT_EQ(v3.itemCaption(61), QString());
    EXPECT_EQ(LogicEditor::itemKey(58), QString());
    EXPECT_EQ(LogicEditor::itemKey(59), QStringLiteral("20IN"));
    EXPECT_EQ(LogicEditor::itemKey(60), QStringLiteral("20OUT"));
    EXPECT_EQ(v3.listPosition(0), std::nullopt);
    EXPECT_FALSE(v3.choose(0, 1)) << "no rung is current yet";

    EXPECT_FALSE(v3.clickItem(20, v3.itemCaption(20)));
    EXPECT_FALSE(v3.clickItem(19, QStringLiteral("rung 7")));
    EXPECT_EQ(v3.CurrentRung(), 0);
    EXPECT_TRUE(v3.clickItem(19, QStringLiteral("Rung 7")));
    EXPECT_EQ(v3.CurrentRung(), 7);
    EXPECT_EQ(v3.outputsCaption(), QStringLiteral("Rung 7 Outputs"));

    v3.newProgram();
    EXPECT_EQ(v3.CurrentRung(), 20);
    for (int r = 1; r <= 20; ++r) {
        EXPECT_EQ(v3.itemCaption(3 * r - 1), QStringLiteral("Input  -> "));
        EXPECT_EQ(v3.itemCaption(3 * r), QStringLiteral("Output -> "));
    }
}

TEST_F(LogicEditorTest, ChoicesAskTheirValuesAndRebuildTheSummaries) {
    v3.load();
    v3.clickItem(19, QStringLiteral("Rung 7"));
    values->answers = {200, 240, std::nullopt, std::nullopt};
    ASSERT_TRUE(v3.choose(0, 33));
    ASSERT_TRUE(v3.choose(10, 73));
    ASSERT_TRUE(v3.choose(3, 1));
    ASSERT_TRUE(v3.choose(4, 49)); // Cancel: value 0 and an empty value text
    ASSERT_TRUE(v3.choose(7, 72)); // Cancel
    ASSERT_EQ(values->asked.size(), 4u);
    EXPECT_EQ(values->asked[0].prompt, QStringLiteral("Counter 1 = "));
    EXPECT_EQ(values->asked[0].maximum, 255);
    EXPECT_EQ(values->asked[1].prompt, QStringLiteral("Timer 3 Start"));
    EXPECT_EQ(values->asked[1].maximum, 240);

    const LogicRung& rung = module.rungs()[7];
    EXPECT_EQ(rung.In1, 8648);
    EXPECT_EQ(rung.In1Text, QStringLiteral("Counter 1 =  200"));
    EXPECT_EQ(rung.Out4, 18928);
    EXPECT_EQ(rung.Out4Text, QStringLiteral("Timer 3 Start  (240 Sec)"));
    EXPECT_EQ(rung.Op2, 1);
    EXPECT_EQ(rung.Op2Text, QStringLiteral("OR"));
    EXPECT_EQ(rung.In3, codeWord(49, 0));
    EXPECT_EQ(rung.In3Text, QStringLiteral("Counter 1 <  "));
    EXPECT_EQ(rung.Out1Text, QStringLiteral("Timer 2 Start  ( Sec)"));
    EXPECT_EQ(rung.InputSummary, QStringLiteral("Input  -> Counter 1 =  200    OR  Counter 1 <  "));
    EXPECT_EQ(rung.OutputSummary,
              QStringLiteral("Output -> Timer 2 Start  ( Sec)    Timer 3 Start  (240 Sec)"));
    EXPECT_EQ(v3.itemCaption(20), rung.InputSummary);
    EXPECT_EQ(v3.listPosition(0), 33);
    EXPECT_EQ(v3.listPosition(10), 73);
    EXPECT_EQ(v3.listPosition(3), 1);

    // Refreshed, the separator before each operator is two blanks; the empty entry empties a slot.
    v3.RefreshRung(7);
    EXPECT_EQ(rung.InputSummary, QStringLiteral("Input  -> Counter 1 =  200  OR  Counter 1 <  "));
    ASSERT_TRUE(v3.choose(4, 0));
    EXPECT_EQ(rung.In3, 0);
    EXPECT_EQ(rung.InputSummary, QStringLiteral("Input  -> Counter 1 =  200"));
    EXPECT_FALSE(v3.choose(7, 109));
    EXPECT_FALSE(v3.choose(11, 0));
}

TEST_F(LogicEditorTest, OnlyVersion2AsksSecondsForTimer1Complete) {
    v3.load();
    v3.clickItem(1, QStringLiteral("Rung 1"));
    ASSERT_TRUE(v3.choose(0, 73));
    EXPECT_TRUE(values->asked.empty());
    EXPECT_EQ(module.rungs()[1].In1Text, QStringLiteral("Timer 1 Complete"));
    EXPECT_EQ(v3.listEntries(7).size(), 109);
    EXPECT_EQ(v3.listEntries(7)[78], QStringLiteral("Display Rotary Torque On 2nd Display"));

    v2.load();
    v2.clickItem(1, QStringLiteral("Rung 1"));
    values->answers = {5};
    ASSERT_TRUE(v2.choose(0, 73));
    EXPECT_EQ(module.rungs()[1].In1, codeWord(73, 5));
    EXPECT_EQ(module.rungs()[1].In1Text, QStringLiteral("Timer 1 Complete  (5 Sec)"));
    EXPECT_EQ(v2.listEntries(8).size(), 105);
    EXPECT_EQ(v2.listEntries(8)[78], QStringLiteral("Display Roatry Torque On 2nd Display"));
    EXPECT_FALSE(v2.choose(8, 105));
}

TEST_F(LogicEditorTest, CodesOutsideTheListsShowNoEntryAndStayEditable) {
    v3.load();
    LogicRung& rung = module.rungs()[4];
    rung.In1 = codeWord(127, 9);
    rung.In1Text = QStringLiteral("kept");
    rung.Op1 = 5;
    rung.Out1 = -300;
    rung.Out2 = codeWord(200, 0);
    v3.RefreshRung(4);
    EXPECT_EQ(v3.listPosition(0), std::nullopt);
    EXPECT_EQ(v3.listPosition(1), std::nullopt);
    EXPECT_EQ(v3.listPosition(7), std::nullopt);
    EXPECT_EQ(v3.listPosition(8), std::nullopt);
    EXPECT_EQ(v3.listPosition(2), 0);
    EXPECT_EQ(rung.In1, codeWord(127, 9));
    EXPECT_EQ(rung.Op1, 5);
    EXPECT_EQ(rung.InputSummary, QStringLiteral("Input  -> kept"));
    ASSERT_TRUE(v3.choose(0, 2));
    EXPECT_EQ(rung.In1, codeWord(2, 0));
    EXPECT_EQ(v3.listPosition(0), 2);
}

TEST_F(LogicEditorTest, EveryChangeToTheSharedRungsIsReported) {
    int reports = 0;
    QObject::connect(&module, &LogicModule::rungsChanged, [&] { ++reports; });
    v3.load();
    EXPECT_EQ(reports, 1);
    v3.clickItem(1, QStringLiteral("Rung 1"));
    EXPECT_EQ(reports, 1) << "choosing a rung changes no rung";
    ASSERT_TRUE(v3.choose(1, 1));
    EXPECT_EQ(reports, 2);
    EXPECT_FALSE(v3.choose(1, 2));
    EXPECT_EQ(reports, 2);
    // Opening the other editor clears the rungs this one shows.
    v2.load();
    EXPECT_EQ(reports, 3);
    EXPECT_EQ(module.rungs()[1].Op1, 0);
    v2.newProgram();
    EXPECT_EQ(reports, 3 + 20);
}
