#pragma once
// The vocabulary of a rung: the condition table (codes 0..88, the same for both editors), the action
// table (codes 0..104, and 105..108 for the batch editor) and the operators. A code is the entry's
// position in its editor list; code 0 is the empty entry (no condition, no action).
//
// The action table exists in several text sets that differ in two rows, and each keeps its own texts,
// because files, received images and converted ladders carry them:
//   the version 3 lists show code 78 as "Display Rotary ..." and 108 as "Prev/Reset Batch";
//   the version 3 decoder gives 78 "Display Roatry ..." and 108 "Reset/Prev Batch";
//   the version 2 lists, its decoder and the ladder converter give 78 "Display Roatry ..." and stop at 104.

#include "logicio/logicversion.h"

#include <QString>
#include <QStringList>

namespace logicio {

inline constexpr int ConditionCount = 89; // codes 0..88
inline constexpr int OperatorCount = 2;   // 0 AND, 1 OR
inline constexpr int AndOperator = 0;
inline constexpr int OrOperator = 1;

// Conditions that carry a counter value 0..255 and actions that carry timer seconds 0..240.
inline constexpr int FirstCounterCondition = 33; // "Counter 1 = "
inline constexpr int LastCounterCondition = 56;  // "Counter 8 < "
inline constexpr int FirstTimerStart = 71;       // "Timer 1 Start"
inline constexpr int LastTimerStart = 73;        // "Timer 3 Start"
inline constexpr int MaxCounterValue = 255;
inline constexpr int MaxTimerSeconds = 240;

// The converter's combined ladder inputs: each becomes two conditions joined by OR.
inline constexpr int TorqueLoCondition = 30;
inline constexpr int AngleLoCondition = 32;
inline constexpr int TorqueHiCondition = 29;
inline constexpr int AngleHiCondition = 31;
inline constexpr int ToolCwCondition = 57;
inline constexpr int ToolCenterCondition = 58;

inline bool isCounterCondition(int code) {
    return code >= FirstCounterCondition && code <= LastCounterCondition;
}
inline bool isTimerStart(int code) {
    return code >= FirstTimerStart && code <= LastTimerStart;
}

// The entries of the editor lists in code order, the empty text first.
const QStringList& conditionTexts();
const QStringList& operatorTexts();
const QStringList& actionListTexts(LogicVariant variant);
// The action texts the image decoder gives.
const QStringList& actionDecodeTexts(LogicVariant variant);

// Code to text: the entry of that code, the empty text for a code outside the table.
QString ConditionText(int code);
QString ActionText(LogicVariant variant, int code);
QString OperatorText(int op);

// The converter's name lookups: the code of a name written exactly as the table has it (case and blanks
// count), 0 for a name it does not accept. Conditions 1..40 and 57..87 are accepted; actions 1..82 and
// 88..104, code 78 only as "Display Roatry Torque On 2nd Display".
int InputName(const QString& name);
int OutputName(const QString& name);

} // namespace logicio
