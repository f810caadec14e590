// The rung tree editor: rungs and their limit, placing elements (unique keys, the limit of 8, the right
// side only), deleting, renaming, where-used, presets that rename the nodes showing them, the Save menus.
#include "ladder/laddereditor.h"
#include "ladder/plcnoderecord.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

using namespace ladder;

namespace {

constexpr int InputOnGroup = 0, InputCounterGroup = 3, InputPsetGroup = 5, InputTimerGroup = 6;
constexpr int SwitchPsetGroup = 12, OutputTimerGroup = 15;

class LadderEditorTest : public ::testing::Test {
protected:
    // Selects a list node, presses a group button and places entry index.
    bool place(int listNode, int group, int index) {
        editor.selectNode(listNode);
        editor.showGroup(group);
        return editor.placeElement(listNode, index);
    }
    int inputs(int n) const { return editor.program().inputsNode(n); }
    int outputs(int n) const { return editor.program().outputsNode(n); }
    const LadderNode& node(int index) const { return editor.tree().node(index); }
    int last() const { return editor.tree().count() - 1; }

    testsupport::ScriptedDialogs dialogs;
    LadderEditor editor{dialogs};
};

} // namespace

TEST_F(LadderEditorTest, ThirtyRungsThenTheWarning) {
    EXPECT_EQ(editor.tree().count(), 1);
    EXPECT_EQ(node(0).key, keyField(QStringLiteral("Start")));
    EXPECT_EQ(node(0).text, textField(QStringLiteral("Brenstal - Logic I/O")));
    for (int n = 1; n <= 30; ++n)
        ASSERT_TRUE(editor.addRung());
    EXPECT_EQ(editor.RungCount(), 30);
    EXPECT_EQ(editor.tree().count(), 91);
    const int rung30 = editor.tree().find(keyField(QStringLiteral("Rung 30")));
    ASSERT_GT(rung30, 0);
    EXPECT_EQ(node(rung30).text, textField(QStringLiteral("Rung 30")));
    EXPECT_EQ(node(rung30).image, 8);
    EXPECT_EQ(node(inputs(30)).text, textField(QStringLiteral("Inputs")));
    EXPECT_EQ(node(inputs(30)).image, 2);
    EXPECT_EQ(node(outputs(30)).text, textField(QStringLiteral("Outputs")));
    EXPECT_EQ(node(outputs(30)).image, 17);
    EXPECT_TRUE(dialogs.messages.empty());

    EXPECT_FALSE(editor.addRung());
    EXPECT_FALSE(editor.addRung());
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, QStringLiteral("Maximum Number Of Rungs = 30"));
    EXPECT_EQ(dialogs.messages[1].caption, QStringLiteral("Plc - Warning"));
    EXPECT_EQ(dialogs.messages[1].icon, base::MessageIcon::Critical);
    EXPECT_EQ(editor.tree().count(), 91);
    EXPECT_EQ(editor.RungCount(), 30);
}

TEST_F(LadderEditorTest, PlacingGivesUniqueKeysAndKeepsItsLimits) {
    editor.addRung();
    editor.addRung();
    EXPECT_EQ(editor.saveMenus(), SaveMenus());
    ASSERT_TRUE(place(inputs(1), InputOnGroup, 0));
    EXPECT_EQ(editor.saveMenus(), (SaveMenus{true, true}));
    ASSERT_TRUE(place(inputs(2), InputOnGroup, 0));
    ASSERT_TRUE(place(inputs(2), InputOnGroup, 0));
    EXPECT_EQ(node(last() - 2).key, QStringLiteral("Input 1 On"));
    EXPECT_EQ(node(last() - 1).key, QStringLiteral("Input 1 On1"));
    EXPECT_EQ(node(last()).key, QStringLiteral("Input 1 On12"));
    EXPECT_EQ(node(last()).text, QStringLiteral("Input 1 On"));
    EXPECT_EQ(node(last()).image, 1);
    EXPECT_EQ(node(last()).parent, inputs(2));

    // Eight under one list node; the ninth is ignored without a message.
    for (int i = 1; i < 8; ++i)
        ASSERT_TRUE(place(inputs(1), InputOnGroup, i));
    EXPECT_EQ(node(last()).image, 8);
    EXPECT_FALSE(place(inputs(1), InputOnGroup, 8));
    EXPECT_EQ(editor.tree().childCount(inputs(1)), 8);

    // Only onto a list node of the group's side: an input group never lands under outputs, nor on a rung,
    // the root or an element.
    const int count = editor.tree().count();
    editor.showGroup(InputOnGroup);
    EXPECT_FALSE(editor.canPlace(outputs(1)));
    EXPECT_FALSE(editor.placeElement(outputs(1), 0));
    EXPECT_FALSE(editor.placeElement(0, 0));
    EXPECT_FALSE(editor.placeElement(node(inputs(1)).parent, 0));
    EXPECT_FALSE(editor.placeElement(last(), 0));
    EXPECT_FALSE(editor.placeElement(inputs(2), 99));
    EXPECT_EQ(editor.tree().count(), count);
    ASSERT_TRUE(place(outputs(1), SwitchPsetGroup, 2));
    EXPECT_EQ(node(last()).image, 50);
    EXPECT_EQ(node(last()).text, QStringLiteral("Switch To Parameter Set 3"));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LadderEditorTest, SelectDeleteRenameAndNewProject) {
    editor.addRung();
    place(inputs(1), InputOnGroup, 3);
    const int element = last();
    const int rung = node(inputs(1)).parent;

    NodeSelection selection = editor.selectNode(inputs(1));
    EXPECT_TRUE(selection.inputsEnabled);
    EXPECT_FALSE(selection.outputsEnabled);
    EXPECT_EQ(selection.availableLabel, QStringLiteral("Logic Inputs Available"));
    EXPECT_EQ(selection.usedLabel, QStringLiteral("Logic Inputs Used"));
    editor.showGroup(InputOnGroup);
    EXPECT_EQ(editor.elementList().size(), 12);
    selection = editor.selectNode(element);
    EXPECT_FALSE(selection.inputsEnabled || selection.outputsEnabled);
    EXPECT_TRUE(selection.availableLabel.isEmpty());
    EXPECT_EQ(selection.caption, QStringLiteral("Input 4 On"));
    EXPECT_TRUE(editor.elementList().isEmpty());
    EXPECT_EQ(editor.selectNode(outputs(1)).usedLabel, QStringLiteral("Logic Outputs Used"));

    // Root, rung and list nodes are never deleted; an element is.
    for (int kept : {0, rung, inputs(1), outputs(1), -1, 99})
        EXPECT_FALSE(editor.deleteEntry(kept));
    EXPECT_EQ(editor.tree().count(), 5);
    EXPECT_TRUE(editor.deleteEntry(element));
    EXPECT_EQ(editor.tree().count(), 4);
    EXPECT_FALSE(editor.tree().contains(QStringLiteral("Input 4 On")));

    // Rename: cancelled or empty keeps the text; the key never changes; other nodes are not asked about.
    dialogs.textAnswers.append({QString(), QStringLiteral(""), QStringLiteral("Station A")});
    EXPECT_FALSE(editor.renameRung(rung));
    EXPECT_FALSE(editor.renameRung(rung));
    EXPECT_EQ(node(rung).text, textField(QStringLiteral("Rung 1")));
    EXPECT_TRUE(editor.renameRung(rung));
    EXPECT_EQ(node(rung).text, QStringLiteral("Station A"));
    EXPECT_EQ(node(rung).key, keyField(QStringLiteral("Rung 1")));
    EXPECT_FALSE(editor.renameRung(inputs(1)));
    EXPECT_TRUE(dialogs.textAnswers.isEmpty());
    EXPECT_TRUE(editor.addRung());
    EXPECT_TRUE(editor.tree().contains(keyField(QStringLiteral("Rung 2"))));

    editor.setCounterPreset(4, 9);
    editor.setTimerPreset(1, 3);
    editor.newProject();
    EXPECT_EQ(editor.tree().count(), 1);
    EXPECT_EQ(editor.RungCount(), 0);
    EXPECT_EQ(editor.presets(), LadderPresets());
    EXPECT_EQ(editor.saveMenus(), SaveMenus());
    EXPECT_EQ(editor.statusText(), QStringLiteral("New Project Started"));
}

TEST_F(LadderEditorTest, WhereUsedListsElementsWithTheirRungEvenUnderARenamedRung) {
    editor.addRung();
    editor.addRung();
    editor.setCounterPreset(1, 5);
    place(inputs(1), InputCounterGroup, 0);
    place(inputs(1), InputPsetGroup, 0); // "Current Strategy = Torque Control"
    place(inputs(2), InputPsetGroup, 2); // "Current Strategy = Torque Control / Angle Control"
    const int rung1 = node(inputs(1)).parent;
    // A rung whose new text begins like an element is no use of that element.
    dialogs.textAnswers.enqueue(QStringLiteral("Counter 1 = 5 station"));
    ASSERT_TRUE(editor.renameRung(rung1));

    EXPECT_EQ(editor.ShowElementUse(QStringLiteral("Counter 1 = 5")),
              QStringList({QStringLiteral("Counter 1 = 5 - Counter 1 = 5 station")}));
    // The pattern is a beginning: the longer strategy text answers it too.
    EXPECT_EQ(editor.ShowElementUse(QStringLiteral(" Current Strategy = Torque Control ")),
              QStringList({QStringLiteral(" Current Strategy = Torque Control  - Counter 1 = 5 station"),
                           QStringLiteral(" Current Strategy = Torque Control  - ") +
                               textField(QStringLiteral("Rung 2"))}));
    EXPECT_TRUE(editor.ShowElementUse(QString()).isEmpty());
    // A group button lists the uses entry by entry.
    editor.selectNode(inputs(1));
    const QStringList used = editor.showGroup(InputPsetGroup);
    ASSERT_EQ(used.size(), 3);
    EXPECT_EQ(used[2], QStringLiteral("Current Strategy = Torque Control / Angle Control - ") +
                           textField(QStringLiteral("Rung 2")));
    EXPECT_TRUE(editor.showGroup(InputTimerGroup).isEmpty());
}

TEST_F(LadderEditorTest, PresetChangesRenameOnlyTheNodesShowingThem) {
    editor.addRung();
    editor.addRung();
    editor.setCounterPreset(1, 5);
    place(inputs(1), InputCounterGroup, 0);
    place(inputs(2), InputCounterGroup, 0);
    place(outputs(1), SwitchPsetGroup, 0); // output code 48: not a counter
    place(outputs(1), OutputTimerGroup, 2);
    place(outputs(1), OutputTimerGroup, 3);
    place(inputs(1), InputTimerGroup, 2);
    const int first = editor.tree().find(QStringLiteral("Counter 1 = 5"));
    ASSERT_EQ(node(first).parent, inputs(1));
    EXPECT_TRUE(editor.tree().contains(QStringLiteral("Counter 1 = 51")));

    editor.setCounterPreset(1, 6);
    const int second = editor.tree().find(QStringLiteral("Counter 1 = 6 1"));
    ASSERT_GT(second, first);
    EXPECT_EQ(node(first).key, QStringLiteral("Counter 1 = 6"));
    EXPECT_EQ(node(first).text, QStringLiteral("Counter 1 = 6"));
    EXPECT_EQ(node(second).text, QStringLiteral("Counter 1 = 6"));
    EXPECT_EQ(node(second).parent, inputs(2));
    EXPECT_TRUE(editor.tree().contains(QStringLiteral("Switch To Parameter Set 1")));
    editor.setCounterPreset(2, 7); // no counter 2 in the tree: nothing changes
    EXPECT_EQ(editor.presets().cwCounter(2), 7);

    editor.setTimerPreset(2, 7);
    EXPECT_TRUE(editor.tree().contains(QStringLiteral("Timer 2 Start (7)")));
    EXPECT_TRUE(editor.tree().contains(QStringLiteral("Timer 2 Clear")));
    EXPECT_TRUE(editor.tree().contains(QStringLiteral("Timer 2 Complete")));
    editor.setCounterPreset(1, 120); // kept inside the range
    EXPECT_EQ(node(first).text, QStringLiteral("Counter 1 = 99"));
    EXPECT_TRUE(dialogs.messages.empty());

    // A file may show a counter on any number of nodes: past a length a key stops carrying the refusals
    // before it, so no key grows with the tree.
    LadderProgram many = LadderProgram::empty();
    many.appendRung(1);
    for (int i = 0; i < 3000; ++i)
        many.tree.addRepeated(many.inputsNode(1), keyField(QStringLiteral("Counter 1 = 1")), {}, 48);
    editor.adoptOpenedProject(std::move(many), {});
    editor.setCounterPreset(1, 2);
    qsizetype longest = 0;
    for (int i = 0; i <= last(); ++i)
        longest = std::max(longest, node(i).key.size());
    EXPECT_LT(longest, 4200);
    EXPECT_EQ(node(last()).key, QStringLiteral("Counter 1 = 2 2999"));
}
