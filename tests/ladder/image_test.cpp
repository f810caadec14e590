// The controller image and its frames, and the rebuild of a program from a received image.
#include "ladder/laddereditor.h"
#include "ladder/ladderimage.h"
#include "ladder/ladderrebuild.h"
#include "ladder/plcfile.h"
#include "ladder/plcnoderecord.h"
#include "link/databuffer.h"
#include "tests/ladder/ladderprograms.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

using namespace ladder;
using laddertest::addRung;

namespace {

LadderFrame frame(int block, int quarter, std::array<int, 5> data) {
    return {0x61, block, quarter, data[0], data[1], data[2], data[3], data[4]};
}

// An image with rung lists filled from slot lists: {{inputs}, {outputs}} per rung.
LadderImage imageOf(std::vector<std::pair<std::vector<int>, std::vector<int>>> rungs) {
    LadderImage image{};
    image[0] = int(rungs.size());
    for (size_t r = 0; r < rungs.size(); ++r) {
        for (size_t i = 0; i < rungs[r].first.size(); ++i)
            image[size_t(inputSlot(int(r) + 1)) + i] = rungs[r].first[i];
        for (size_t i = 0; i < rungs[r].second.size(); ++i)
            image[size_t(outputSlot(int(r) + 1)) + i] = rungs[r].second[i];
    }
    return image;
}

std::vector<int> codesUnder(const LadderProgram& program, int listNode) {
    std::vector<int> codes;
    for (int child : program.tree.children(listNode))
        codes.push_back(program.tree.node(child).image);
    return codes;
}

} // namespace

TEST(LadderImage, ARungWithCounterAndTimerCodesGivesItsFramesByteForByte) {
    LadderProgram program = LadderProgram::empty();
    program.presets.setCounter(1, 5);
    program.presets.setTimer(2, 3);
    addRung(program, {1, 16, 48}, {64, 97});
    const LadderImageBuild build = buildLadderImage(program);
    ASSERT_TRUE(build.ok);
    EXPECT_EQ(build.rungCount, 1);
    EXPECT_TRUE(build.presetsUsed);
    EXPECT_EQ(build.image[601], 5);
    for (int slot = 617; slot <= 622; ++slot)
        EXPECT_EQ(build.image[size_t(slot)], 0) << slot; // code 97 clears a timer, it starts none
    const std::vector<LadderFrame> expected = {
        {0x61, 0, 0, 1, 0, 0, 0, 0},    frame(1, 1, {1, 16, 48, 0, 0}), frame(1, 2, {0, 0, 0, 0, 0}),
        frame(1, 3, {64, 97, 0, 0, 0}), frame(1, 4, {0, 0, 0, 0, 0}),   frame(31, 1, {5, 0, 0, 0, 0}),
        frame(31, 2, {0, 0, 0, 0, 0}),  frame(31, 3, {0, 0, 0, 0, 0}),  frame(31, 4, {0, 0, 0, 0, 0}),
        frame(32, 1, {0, 0, 0, 0, 0}),
    };
    EXPECT_EQ(build.frames(), expected);

    // The trace: node and rung counts, each list with its codes, then every slot 0..650, padded to 35.
    ASSERT_EQ(build.trace.size(), 2 + 1 + 3 + 1 + 2 + 651);
    EXPECT_EQ(build.trace[0], keyField(QStringLiteral("Number of Nodes = 9")));
    EXPECT_EQ(build.trace[1], keyField(QStringLiteral("Total I/O = 1")));
    EXPECT_EQ(build.trace.mid(2, 7), QStringList({keyField("Inputs 1"), "In = 1", "In = 16", "In = 48",
                                                  keyField("Outputs 1"), "Out = 64", "Out = 97"}));
    EXPECT_EQ(build.trace[9], keyField(QStringLiteral("Data 0: 1")));
    EXPECT_EQ(build.trace[10], keyField(QStringLiteral("Data 1: 1")));
    EXPECT_EQ(build.trace.last(), keyField(QStringLiteral("Data 650: 0")));

    // The image in the receive buffer and back.
    clink::DataBufferArray buffer;
    buffer.put(651, 7);
    buffer.putWords(0, sentSlots(build.image));
    EXPECT_EQ(buffer[601], 5);
    EXPECT_EQ(buffer[651], 7);
    EXPECT_EQ(ladderImageFrom(buffer)[3], 48);
}

TEST(LadderImage, TimerTicksPresetsOfSwitchesSplitListsAndRungNumbering) {
    LadderProgram program = LadderProgram::empty();
    program.presets.setTimer(1, 1);
    program.presets.setTimer(2, 20.4);
    program.presets.setTimer(3, 240);
    program.presets.setCounter(2, 12.5);
    addRung(program, {1, 2, 3, 4, 5, 6, 7}, {96, 98, 100, 49});
    LadderImageBuild build = buildLadderImage(program);
    ASSERT_TRUE(build.ok);
    EXPECT_EQ(build.image[603], 12); // a parameter-set switch places counter 2's preset, half to even
    const std::vector<LadderFrame> frames = build.frames();
    ASSERT_EQ(frames.size(), 1u + 4 + 5);
    EXPECT_EQ(frames[1], frame(1, 1, {1, 2, 3, 4, 5}));
    EXPECT_EQ(frames[2], frame(1, 2, {6, 7, 0, 0, 0}));
    EXPECT_EQ(frames[3], frame(1, 3, {96, 98, 100, 49, 0}));
    EXPECT_EQ(frames[5], frame(31, 1, {0, 0, 12, 0, 0}));
    EXPECT_EQ(frames[8], frame(31, 4, {0, 0, 25, 1, 254})); // 1 s = 25 ticks; 20.4 s = 510 ticks
    EXPECT_EQ(frames[9], frame(32, 1, {23, 112, 0, 0, 0})); // 240 s = 6000 ticks

    // A preset half a tick between two counts goes to the even one: 1.30 s is 32.5 ticks and gives 32.
    LadderProgram half = LadderProgram::empty();
    half.presets.setTimer(1, 1.30);
    addRung(half, {1}, {96});
    const LadderImageBuild halfBuild = buildLadderImage(half);
    ASSERT_TRUE(halfBuild.ok);
    EXPECT_EQ(halfBuild.image[size_t(timerHighSlot(1))], 0);
    EXPECT_EQ(halfBuild.image[size_t(timerLowSlot(1))], 32);

    // No rung: the header alone.
    EXPECT_EQ(buildLadderImage(LadderProgram::empty()).frames(),
              std::vector<LadderFrame>({{0x61, 0, 0, 0, 0, 0, 0, 0}}));

    // Inputs nodes for rungs 1, 2 and 4 only: three rungs are sent, the third with empty lists.
    LadderProgram gap = LadderProgram::empty();
    addRung(gap, {1}, {});
    addRung(gap, {2}, {});
    gap.RungCount = 3;
    addRung(gap, {4}, {});
    build = buildLadderImage(gap);
    EXPECT_EQ(build.image[0], 3);
    EXPECT_EQ(build.image[size_t(inputSlot(3))], 0);
    EXPECT_EQ(build.image[size_t(inputSlot(4))], 0);
    EXPECT_EQ(build.frames().size(), 1u + 3 * 4);
    EXPECT_FALSE(build.presetsUsed);
}

TEST(LadderImage, ProgramsThatDoNotFitAreRefusedNamingTheRung) {
    testsupport::ScriptedDialogs dialogs;
    LadderProgram program = LadderProgram::empty();
    addRung(program, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}); // ten fit
    EXPECT_TRUE(buildLadderImage(program).ok);
    addRung(program, {}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    LadderImageBuild build = buildLadderImage(program);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.errorText, QStringLiteral("Rung 2 has too many outputs"));

    for (int bad : {0, 256, -3}) {
        LadderProgram invalid = LadderProgram::empty();
        addRung(invalid, {1}, {});
        int counter = 0;
        invalid.tree.addCounted(invalid.inputsNode(1), QStringLiteral("odd"), QStringLiteral("odd"),
                                int16_t(bad), counter);
        EXPECT_EQ(buildLadderImage(invalid).errorText, QStringLiteral("Rung 1 has an invalid element code"))
            << bad;
    }

    LadderEditor editor(dialogs);
    for (int i = 0; i < 2; ++i)
        editor.addRung();
    editor.selectNode(editor.program().inputsNode(2));
    editor.showGroup(0);
    for (int i = 0; i < 9; ++i)
        editor.placeElement(editor.program().inputsNode(2), i);
    EXPECT_TRUE(editor.buildSendImage().ok); // the editor places 8 at most
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST(LadderRebuild, CraftedImagesGiveTheirTreesAndPresets) {
    LadderImage image = imageOf({{{48, 48, 13, 0, 5}, {96, 114}}, {{}, {144}}});
    image[601] = 12;
    image[603] = 120; // above counter 2's range
    image[617] = 1;
    image[618] = 244; // 500 ticks: 20 s
    const std::optional<LadderProgram> rebuilt = rebuildLadderProgram(image);
    ASSERT_TRUE(rebuilt);
    const LadderTree& tree = rebuilt->tree;
    EXPECT_EQ(rebuilt->RungCount, 2);
    EXPECT_EQ(rebuilt->presets.cwCounter(1), 12);
    EXPECT_EQ(rebuilt->presets.cwCounter(2), 99);
    EXPECT_EQ(rebuilt->presets.cwTimer(1), 20);
    EXPECT_EQ(rebuilt->presets.cwTimer(2), 1); // 0 ticks

    // Rung, inputs with its elements, outputs with its elements, in that order.
    ASSERT_EQ(tree.count(), 1 + 3 + 3 + 2 + 3 + 1);
    EXPECT_EQ(tree.node(1).key, keyField(QStringLiteral("Rung 1")));
    EXPECT_EQ(tree.node(2).key, keyField(QStringLiteral("Inputs 1")));
    EXPECT_EQ(tree.node(2).text, textField(QStringLiteral("Inputs 1")));
    EXPECT_EQ(tree.node(3).text, textField(QStringLiteral("Counter 1 = 12")));
    EXPECT_EQ(tree.node(3).key, keyField(QStringLiteral("Counter 1 = 12")));
    EXPECT_EQ(tree.node(4).key, QStringLiteral("Counter 1 = 121"));
    EXPECT_EQ(tree.node(5).key, keyField(QString())); // an unknown code: a blank key
    EXPECT_EQ(tree.node(5).image, 13);
    EXPECT_EQ(tree.node(6).text, textField(QStringLiteral("Outputs 1")));
    EXPECT_EQ(tree.node(7).text, textField(QStringLiteral("Timer 1 Start")));
    EXPECT_EQ(tree.node(8).text, textField(QStringLiteral("-")));
    EXPECT_EQ(tree.childCount(tree.find(keyField(QStringLiteral("Inputs 2")))), 0);
    EXPECT_EQ(tree.node(tree.count() - 1).text, textField(QStringLiteral("Enable PFCS")));

    // A list of ten codes stops at its tenth slot; the outputs start at their own slot.
    const std::optional<LadderProgram> full =
        rebuildLadderProgram(imageOf({{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {7}}}));
    ASSERT_TRUE(full);
    EXPECT_EQ(codesUnder(*full, full->inputsNode(1)), std::vector<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(codesUnder(*full, full->outputsNode(1)), std::vector<int>({7}));

    // A repeated text that fills the key field: the count follows the whole key and the file cuts it away,
    // so the saved ladder stores the one key three times, and opens and saves as it is.
    const std::optional<LadderProgram> sockets = rebuildLadderProgram(imageOf({{{128, 128, 128}, {}}}));
    ASSERT_TRUE(sockets);
    const QString socket = keyField(QStringLiteral("No Socket Or Multiple Sockets Selected"));
    const QByteArray saved = plcFileBytes(*sockets);
    for (int element = 2; element <= 4; ++element)
        EXPECT_EQ(PlcNodeRecord::decode(saved.mid(element * PlcNodeRecord::Size, PlcNodeRecord::Size)).Key,
                  socket);
    EXPECT_EQ(plcFileBytes(readPlcProgram(saved).program.value()), saved);

    // More than 30 rungs is refused.
    LadderImage tooMany{};
    tooMany[0] = 31;
    EXPECT_FALSE(rebuildLadderProgram(tooMany));
}

TEST(LadderRebuild, TheEditorTakesAReceivedProgramOrStaysANewProject) {
    testsupport::ScriptedDialogs dialogs;
    LadderEditor editor(dialogs);
    editor.addRung();

    LadderImage thirty{};
    thirty[0] = 30;
    thirty[size_t(outputSlot(2))] = 98;
    ASSERT_TRUE(editor.BuildRungTree(thirty));
    EXPECT_EQ(editor.RungCount(), 30);
    EXPECT_EQ(editor.tree().count(), 1 + 30 * 3 + 1);
    EXPECT_EQ(editor.saveMenus(), (SaveMenus{true, true}));
    EXPECT_EQ(editor.statusText(), QStringLiteral("New Project Started"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Logic I/O Transfer Completed"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("File Transfer Successful"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Information);
    EXPECT_FALSE(editor.addRung());
    // A received timer start shows its preset once the preset changes.
    editor.setTimerPreset(2, 7);
    EXPECT_TRUE(editor.tree().contains(QStringLiteral("Timer 2 Start (7)")));

    dialogs.messages.clear();
    LadderImage tooMany{};
    tooMany[0] = 31;
    EXPECT_FALSE(editor.BuildRungTree(tooMany));
    ASSERT_EQ(dialogs.messageTexts(), QStringList({QStringLiteral("Maximum Number Of Rungs = 30")}));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Plc - Warning"));
    EXPECT_EQ(editor.tree().count(), 1);
    EXPECT_EQ(editor.RungCount(), 0);
    EXPECT_EQ(editor.saveMenus(), SaveMenus());
    ASSERT_TRUE(editor.addRung());
    EXPECT_TRUE(editor.tree().contains(keyField(QStringLiteral("Rung 1"))));
}

TEST(LadderRebuild, SendThenReceiveGivesTheSameCodesAndPresets) {
    LadderProgram program = LadderProgram::empty();
    program.presets.setCounter(5, 200);
    program.presets.setTimer(3, 20.4);
    addRung(program, {52, 1, 1}, {100, 114});
    addRung(program, {183}, {198, 52});
    const LadderImageBuild build = buildLadderImage(program);
    ASSERT_TRUE(build.ok);
    const std::optional<LadderProgram> back = rebuildLadderProgram(build.image);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->presets, program.presets);
    for (int r = 1; r <= 2; ++r) {
        EXPECT_EQ(codesUnder(*back, back->inputsNode(r)), codesUnder(program, program.inputsNode(r)));
        EXPECT_EQ(codesUnder(*back, back->outputsNode(r)), codesUnder(program, program.outputsNode(r)));
    }
    EXPECT_EQ(buildLadderImage(*back).image, build.image);
}
