#pragma once
// The ladder transfers on each link against the stand-in playing a type-3 controller: the editor and the
// transfer over the link fixture's link and scripted dialogs, a program built as the user builds it, and
// what the stand-in received.

#include "ladder/laddereditor.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "tests/link/linkfixtures.h"
#include "tests/link/silentlinks.h"

#include <functional>
#include <vector>

namespace laddertest {

// Group buttons by their place: nine input groups, then eleven output groups.
constexpr int InputOnGroup = 0, InputOffGroup = 1, InputCounterGroup = 3, InputMultipleGroup = 8;
constexpr int OutputOnGroup = 10, SwitchPsetGroup = 12, OutputTimerGroup = 15, OutputMultipleGroup = 19;

// Dialogs whose yes/no questions first run a hook (a link that breaks while the user answers).
class HookedDialogs : public testsupport::ScriptedDialogs {
public:
    bool askYesNo(const QString& text, const QString& caption, base::MessageIcon icon) override {
        if (onQuestion)
            onQuestion();
        return ScriptedDialogs::askYesNo(text, caption, icon);
    }
    std::function<void()> onQuestion;
};

// The codes under each list node of rungs 1..RungCount: inputs, then outputs.
inline std::vector<std::vector<int>> listCodes(const ladder::LadderProgram& program) {
    std::vector<std::vector<int>> lists;
    for (int r = 1; r <= program.RungCount; ++r) {
        for (const int list : {program.inputsNode(r), program.outputsNode(r)}) {
            std::vector<int> codes;
            for (const int child : program.tree.children(list))
                codes.push_back(program.tree.node(child).image);
            lists.push_back(codes);
        }
    }
    return lists;
}

template <class LinkFixture> class LadderTransferOnEachLink : public linktest::OnEachLink<LinkFixture> {
protected:
    void SetUp() override {
        linktest::OnEachLink<LinkFixture>::SetUp();
        this->model.verMajor = sim::ControllerModel::LadderControllerType;
    }

    ladder::LadderTransfer transfer() { return {this->link, user, editor}; }
    void answer(bool yes) { user.yesNoAnswers.enqueue(yes); }

    // Places entry index of a group under a list node, as the user does.
    void place(int listNode, int group, int index) {
        editor.selectNode(listNode);
        editor.showGroup(group);
        ASSERT_TRUE(editor.placeElement(listNode, index));
    }
    // Three rungs with counter and timer conditions, a parameter-set switch (counter 5's preset rides with
    // it), a received-only multiple, and fractional timer seconds.
    void buildProgram() {
        editor.setCounterPreset(1, 12);
        editor.setCounterPreset(5, 200);
        editor.setTimerPreset(2, 20.4);
        for (int r = 0; r < 3; ++r)
            ASSERT_TRUE(editor.addRung());
        const ladder::LadderProgram& p = editor.program();
        place(p.inputsNode(1), InputOnGroup, 0);         // 1
        place(p.inputsNode(1), InputCounterGroup, 0);    // 48, counter 1
        place(p.outputsNode(1), OutputTimerGroup, 2);    // 98, timer 2 start
        place(p.outputsNode(1), OutputOnGroup, 0);       // 16
        place(p.inputsNode(2), InputOffGroup, 2);        // 18
        place(p.outputsNode(2), SwitchPsetGroup, 4);     // 52
        place(p.inputsNode(3), InputMultipleGroup, 10);  // 183
        place(p.outputsNode(3), OutputMultipleGroup, 5); // 198
    }

    // The frames with this code the stand-in received, in order, a repeat right after its first left out.
    std::vector<std::array<int, 8>> framesReceived(int code) const {
        std::vector<std::array<int, 8>> frames;
        for (const clink::CanMessage& m : this->model.received)
            if (m.id == clink::ids::CommandRequest && m.data[0] == code &&
                (frames.empty() || frames.back() != m.data))
                frames.push_back(m.data);
        return frames;
    }
    int requestsWithCode(int code) const {
        return this->model.countReceived(clink::ids::CommandRequest, code);
    }
    std::vector<testsupport::ScriptedDialogs::Message> messages() const { return user.messages; }

    // The boxes and questions of the editor and its transfers (the link's own go to the fixture's dialogs).
    HookedDialogs user;
    ladder::LadderEditor editor{user};
    linktest::RecordingProgress progress;
};

} // namespace laddertest
