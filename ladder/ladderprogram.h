#pragma once
// A ladder program: the rung tree, the counter and timer presets, and the rung count. Root, rung, inputs
// and outputs nodes are made through the record fields, so their keys carry blanks up to 35 characters and
// their texts up to 30; elements placed by the editor carry no blanks.
//
//   node          key (padded)   text (padded)                     image
//   root          "Start"        "Brenstal - Logic I/O"            8 (0 before the first New Project)
//   rung n        "Rung n"       "Rung n" (the user may rename it)  8
//   inputs n      "Inputs n"     "Inputs" ("Inputs n" when received) 2
//   outputs n     "Outputs n"    "Outputs" ("Outputs n" when received) 17
//   element       its text, made unique  its text                  the element code

#include "ladder/laddertree.h"
#include "ladder/presets.h"

#include <QString>

namespace ladder {

inline constexpr int MaximumRungs = 30;
// The most elements the editor places under one inputs or outputs node.
inline constexpr int MaximumPlacedElements = 8;

inline constexpr int16_t RootImage = 8;
inline constexpr int16_t RootImageAtStart = 0;
inline constexpr int16_t RungImage = 8;
inline constexpr int16_t InputsImage = 2;
inline constexpr int16_t OutputsImage = 17;

inline const QString RootKey = QStringLiteral("Start");
inline const QString RootText = QStringLiteral("Brenstal - Logic I/O");

// Node keys of rung n, padded to the key field.
QString rungKey(int n);
QString inputsKey(int n);
QString outputsKey(int n);

// Node kinds by their key's beginning (case-sensitive; keys carry trailing blanks).
bool isRootKey(const QString& key);
bool isRungKey(const QString& key);
bool isInputsKey(const QString& key);
bool isOutputsKey(const QString& key);

struct LadderProgram {
    LadderTree tree;
    LadderPresets presets;
    int RungCount = 0;

    // A program of the root alone, every preset at 1.
    static LadderProgram empty(int16_t rootImage = RootImage);
    // Appends rung node n under the root, then its inputs and outputs nodes, as the editor adds a rung.
    // Returns the rung node's index, or nothing (and adds nothing) when one of the keys is taken.
    std::optional<int> appendRung(int n);
    // The index of a list node whose children are elements of this rung's side, or -1.
    int inputsNode(int n) const { return tree.find(inputsKey(n)); }
    int outputsNode(int n) const { return tree.find(outputsKey(n)); }
    // True for a node placed under an inputs or outputs node (an element).
    bool isElement(int index) const;

    bool operator==(const LadderProgram&) const = default;
};

} // namespace ladder
