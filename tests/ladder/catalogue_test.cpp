// The element catalogue: the groups, the decoders, where the list text and the decoded text differ, and
// the preset ranges.
#include "ladder/elementcatalogue.h"

#include <gtest/gtest.h>

using namespace ladder;

TEST(ElementCatalogue, DecodersGiveTheCatalogueTextsAndNothingOutsideIt) {
    const LadderPresets presets;
    EXPECT_EQ(GetInputText(1, presets), QStringLiteral("Input 1 On"));
    EXPECT_EQ(GetInputText(27, presets), QStringLiteral("Input 12 Off"));
    EXPECT_EQ(GetInputText(41, presets), QStringLiteral("Torque Or Angle Hi"));
    EXPECT_EQ(GetInputText(66, presets), QStringLiteral("Tool Trigger Enabled"));
    EXPECT_EQ(GetInputText(81, presets), QStringLiteral("Current Strategy= Torque Control / Angle Monitor"));
    EXPECT_EQ(GetInputText(91, presets), QStringLiteral("Current Parameter Set = 8"));
    EXPECT_EQ(GetInputText(101, presets), QStringLiteral("Timer 3 On AND Not Complete"));
    EXPECT_EQ(GetInputText(112, presets), QStringLiteral("System Fault"));
    EXPECT_EQ(GetInputText(128, presets), QStringLiteral("No Socket Or Multiple Sockets Selected"));
    EXPECT_EQ(GetInputText(136, presets), QStringLiteral("Socket 8 Selected"));
    EXPECT_EQ(GetInputText(180, presets), QStringLiteral("MASTER CMD8 RX"));
    EXPECT_EQ(GetInputText(181, presets), QStringLiteral("CMD1 OR CMD2 RX"));
    EXPECT_EQ(GetInputText(183, presets), QStringLiteral("FINAL REACHED"));

    EXPECT_EQ(GetOutputText(15), QStringLiteral("All Lights Flash"));
    EXPECT_EQ(GetOutputText(43), QStringLiteral("Output 12 Off"));
    EXPECT_EQ(GetOutputText(48), QStringLiteral("Switch To Parameter Set 1"));
    EXPECT_EQ(GetOutputText(64), QStringLiteral("Reset Counter 1"));
    EXPECT_EQ(GetOutputText(79), QStringLiteral("Increase Counter 8"));
    EXPECT_EQ(GetOutputText(86), QStringLiteral("Buttons From NSM"));
    EXPECT_EQ(GetOutputText(96), QStringLiteral("Timer 1 Start"));
    EXPECT_EQ(GetOutputText(101), QStringLiteral("Timer 3 Clear"));
    EXPECT_EQ(GetOutputText(113), QStringLiteral("Display Roatry Torque On 2nd Display"));
    EXPECT_EQ(GetOutputText(114), QStringLiteral("-"));
    EXPECT_EQ(GetOutputText(144), QStringLiteral("Enable PFCS"));
    EXPECT_EQ(GetOutputText(160), QStringLiteral("Socket Tray Led 1 On"));
    EXPECT_EQ(GetOutputText(175), QStringLiteral("Socket Tray Led 8 Flash"));
    EXPECT_EQ(GetOutputText(176), QStringLiteral("Socket Tray Leds Off"));
    EXPECT_EQ(GetOutputText(198), QStringLiteral("FORWARD_MULTIPLE"));

    // Every code a group lists decodes to a text, and every other code (System Fault aside) to nothing.
    std::vector<bool> listed[2] = {std::vector<bool>(256), std::vector<bool>(256)};
    for (const ElementGroup& group : elementGroups()) {
        const QStringList texts = groupListTexts(group, presets);
        ASSERT_EQ(texts.size(), group.count) << group.button.toStdString();
        for (int i = 0; i < group.count; ++i) {
            EXPECT_FALSE(texts[i].isEmpty()) << group.button.toStdString() << " " << i;
            listed[group.side == ElementSide::Outputs][size_t(group.baseCode + i)] = true;
        }
    }
    for (int code = -300; code < 1000; ++code) {
        const bool inTable = code >= 0 && code < 256;
        EXPECT_EQ(!GetInputText(code, presets).isEmpty(), (inTable && listed[0][size_t(code)]) || code == 112)
            << code;
        EXPECT_EQ(!GetOutputText(code).isEmpty(), inTable && listed[1][size_t(code)]) << code;
    }
}

TEST(ElementCatalogue, GroupsAndTheirListTexts) {
    const std::vector<ElementGroup>& groups = elementGroups();
    ASSERT_EQ(groups.size(), 20u);
    EXPECT_EQ(std::count_if(groups.begin(), groups.end(),
                            [](const ElementGroup& g) { return g.side == ElementSide::Inputs; }),
              9);
    EXPECT_EQ(groups[8].button, QStringLiteral("btn_InMultiple"));
    EXPECT_EQ(groups[8].baseCode, 173);
    EXPECT_EQ(groups[16].caption, QStringLiteral("Display"));

    LadderPresets presets;
    presets.setCounter(1, 12);
    presets.setCounter(2, 12.5);
    presets.setCounter(3, 13.5);
    presets.setTimer(1, 5);
    presets.setTimer(2, 20.4);
    const QStringList counters = groupListTexts(groups[3], presets);
    EXPECT_EQ(counters[0], QStringLiteral("Counter 1 = 12"));
    EXPECT_EQ(counters[7], QStringLiteral("Counter 8 = 1"));
    // The list shows the preset as it is; the decoder rounds it half to even.
    EXPECT_EQ(counters[1], QStringLiteral("Counter 2 = 12.5"));
    EXPECT_EQ(GetInputText(48, presets), QStringLiteral("Counter 1 = 12"));
    EXPECT_EQ(GetInputText(49, presets), QStringLiteral("Counter 2 = 12"));
    EXPECT_EQ(GetInputText(50, presets), QStringLiteral("Counter 3 = 14"));

    const QStringList timers = groupListTexts(groups[15], presets);
    EXPECT_EQ(timers, QStringList({"Timer 1 Start (5)", "Timer 1 Clear", "Timer 2 Start (20.4)",
                                   "Timer 2 Clear", "Timer 3 Start (1)", "Timer 3 Clear"}));
    EXPECT_EQ(groupListTexts(groups[4], presets)[2], QStringLiteral("Tool Trigger Enabled "));
    EXPECT_EQ(groupListTexts(groups[5], presets)[1],
              QStringLiteral("Current Strategy = Torque Control / Angle Monitor"));
}

TEST(LadderPresets, StayInsideTheControlRanges) {
    LadderPresets presets;
    presets.setCounter(1, 120);
    presets.setCounter(3, 0);
    presets.setCounter(4, 300);
    presets.setTimer(1, 0);
    presets.setTimer(2, 20.4);
    presets.setTimer(3, 999);
    presets.setCounter(9, 5); // no such counter
    EXPECT_EQ(presets.cwCounter(1), 99);
    EXPECT_EQ(presets.cwCounter(3), 1);
    EXPECT_EQ(presets.cwCounter(4), 255);
    EXPECT_EQ(presets.cwTimer(1), 1);
    EXPECT_EQ(presets.cwTimer(2), 20.4);
    EXPECT_EQ(presets.cwTimer(3), 240);
    EXPECT_EQ(presets.cwCounter(9), 0);
    presets.reset();
    EXPECT_EQ(presets, LadderPresets());
    EXPECT_EQ(presets.cwCounter(8), 1);
}
