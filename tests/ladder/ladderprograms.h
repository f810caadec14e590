#pragma once
// Ladder programs for the tests, built straight on the model: rungs with element codes, their texts the
// decoded texts.

#include "ladder/elementcatalogue.h"
#include "ladder/ladderprogram.h"

#include <initializer_list>

namespace laddertest {

// Appends elements under a list node, the text of each the decoded text, the key made unique.
inline void addElements(ladder::LadderProgram& program, int listNode, ladder::ElementSide side,
                        std::initializer_list<int> codes) {
    int counter = 0;
    for (int code : codes) {
        const QString text = side == ladder::ElementSide::Inputs ? ladder::GetInputText(code, program.presets)
                                                                 : ladder::GetOutputText(code);
        program.tree.addCounted(listNode, text, text, int16_t(code), counter);
    }
}

// Appends rung RungCount + 1 with these input and output codes.
inline void addRung(ladder::LadderProgram& program, std::initializer_list<int> inputs,
                    std::initializer_list<int> outputs) {
    const int n = ++program.RungCount;
    program.appendRung(n);
    addElements(program, program.inputsNode(n), ladder::ElementSide::Inputs, inputs);
    addElements(program, program.outputsNode(n), ladder::ElementSide::Outputs, outputs);
}

} // namespace laddertest
