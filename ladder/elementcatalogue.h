#pragma once
// The ladder element catalogue. Every input condition and output action of a rung is one element,
// identified by its code (1..255); inputs and outputs are separate code spaces (48 is counter 1 as an
// input, "Switch To Parameter Set 1" as an output). The user places elements from groups, each a run of
// codes from a base code; a received program is turned back into texts by the decoders. The two text
// forms differ for a few codes (the list text of counter 1 shows its preset as the control holds it, the
// decoded text rounds it; timer starts show their preset only in the list text).

#include "ladder/presets.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace ladder {

enum class ElementSide { Inputs, Outputs };

struct ElementGroup {
    QString button;  // the group button's name
    QString caption; // the button's caption
    ElementSide side;
    int baseCode; // the code of the group's first entry
    int count;    // entries, codes baseCode .. baseCode + count - 1
};

// The nine input groups, then the eleven output groups, in the order of their buttons.
const std::vector<ElementGroup>& elementGroups();

// The list texts of a group in code order, with the presets as they are now.
QStringList groupListTexts(const ElementGroup& group, const LadderPresets& presets);

// The decoded text of an input or output code; "" for a code no group holds (negative codes included).
QString GetInputText(int code, const LadderPresets& presets);
QString GetOutputText(int code);

// Counter conditions: input code 47 + n is counter n (1..8), its text "Counter n = " and the preset.
inline constexpr int CounterCodeOffset = 47;
// Timer starts: output code 94 + 2n starts timer n (1..3), its list text "Timer n Start (preset)".
inline constexpr int TimerStartCodeOffset = 94;

// The counter (1..8) a code 48..55 stands for, else 0. Output codes 48..55 (parameter-set switches) give
// a number as well: the controller image places that counter's preset for them too.
int counterOfCode(int code);
// The timer (1..3) a code 96, 98 or 100 stands for, else 0.
int timerOfStartCode(int code);

// "Counter n =" and "Timer n Start": the beginnings by which preset-carrying nodes are recognised.
QString counterPrefix(int n);
QString timerStartPrefix(int n);
// "Counter n = 12", "Timer n Start (5)": a preset-carrying element's text for a preset.
QString counterText(int n, double preset);
QString timerStartText(int n, double preset);

} // namespace ladder
