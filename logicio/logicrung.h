#pragma once
// One rung of the logic program and the program-wide table of 20 rungs that both rung-table editors, the
// image, the files, the report and the settings collection work on.
//
// A slot holds a code word: list position x 256 + value. The value (low eight bits) is a counter value for
// the counter conditions and timer seconds for the timer starts, else 0. Operators hold the operator list
// position itself: 0 AND, 1 OR.

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace logicio {

inline constexpr int ConditionSlots = 4;
inline constexpr int OperatorSlots = 3;
inline constexpr int ActionSlots = 4;

inline constexpr int CodeScale = 256;
inline constexpr int ValueMask = 0xFF;

constexpr int32_t codeWord(int position, int value) {
    return int32_t(position) * CodeScale + value;
}
// The list position of a code word: the whole quotient by 256 (toward zero, as stored files have it).
constexpr int codeIndex(int32_t code) {
    return int(code / CodeScale);
}
constexpr int codeValue(int32_t code) {
    return int(code & ValueMask);
}

// The position a list shows for a code word, or nothing when the position lies outside the list (a
// received image or a damaged file): the list then shows no entry and the slot keeps its code and text.
std::optional<int> listPosition(int32_t code, int listSize);
// The position the operator list shows: 0 or 1, else nothing (the stored value is kept, and the image
// carries it as OR since it is not 0).
std::optional<int> operatorPosition(int32_t op);

// The cleared forms of the summaries, shorter than the forms the summary rule builds.
inline const QString ClearedInputSummary = QStringLiteral("Input ->");
inline const QString ClearedOutputSummary = QStringLiteral("Output ->");

struct LogicRung {
    int32_t In1 = 0, In2 = 0, In3 = 0, In4 = 0;
    int32_t Op1 = 0, Op2 = 0, Op3 = 0;
    int32_t Out1 = 0, Out2 = 0, Out3 = 0, Out4 = 0;
    QString In1Text, In2Text, In3Text, In4Text;
    QString Op1Text = QStringLiteral("AND"), Op2Text = QStringLiteral("AND"), Op3Text = QStringLiteral("AND");
    QString Out1Text, Out2Text, Out3Text, Out4Text;
    QString InputSummary = ClearedInputSummary;
    QString OutputSummary = ClearedOutputSummary;

    // Slot k: conditions and actions 1..4, operators 1..3 (operator k stands before condition k + 1).
    int32_t& in(int k);
    int32_t in(int k) const;
    QString& inText(int k);
    const QString& inText(int k) const;
    int32_t& op(int k);
    int32_t op(int k) const;
    QString& opText(int k);
    const QString& opText(int k) const;
    int32_t& out(int k);
    int32_t out(int k) const;
    QString& outText(int k);
    const QString& outText(int k) const;

    bool operator==(const LogicRung&) const = default;
};

// The logic program: rungs 1 to 20.
class LogicRungs {
public:
    static constexpr int FirstRung = 1;
    static constexpr int LastRung = 20;
    static constexpr int Count = LastRung;

    static bool isRung(int r) { return r >= FirstRung && r <= LastRung; }

    // Rung r, 1..20.
    LogicRung& operator[](int r);
    const LogicRung& operator[](int r) const;

    // Every rung to the cleared state: codes 0, empty texts, "AND", the short summaries.
    void ClearRungs();

    bool operator==(const LogicRungs&) const = default;

private:
    std::array<LogicRung, Count> rungs_{};
};

// --- texts ---

// The text of a counter condition with its value: "Counter 1 = " and "5" give "Counter 1 =  5".
QString counterText(const QString& entry, const QString& value);
// The text of a timer entry with its seconds in the editor: "Timer 2 Start  (30 Sec)".
QString timerText(const QString& entry, const QString& seconds);

// The two summary forms: an edit in the lists puts four blanks before each operator, a refresh two.
enum class SummaryForm { Edit, Refresh };

// "Input  -> " and condition 1's text, then per further non-empty condition the separator, its operator
// text, two blanks and its text. An empty condition adds nothing, its operator included.
QString inputSummary(const LogicRung& rung, SummaryForm form);
// "Output -> " and action 1's text, then four blanks and each further non-empty action's text.
QString outputSummary(const LogicRung& rung);
// Both summaries of the rung rebuilt in that form.
void rebuildSummaries(LogicRung& rung, SummaryForm form);

// The building blocks of the summaries and the report lines: head, condition 1's text, then per further
// non-empty condition beforeOperator, its operator text, two blanks and its text; head, action 1's text,
// then per further non-empty action the separator and its text.
QString joinConditions(const LogicRung& rung, const QString& head, const QString& beforeOperator);
QString joinActions(const LogicRung& rung, const QString& head, const QString& separator);

// The summaries the ladder converter writes: "Input 5  -> " and "Output 5  -> " with the rung's number,
// conditions joined in the edit form.
QString convertedInputSummary(const LogicRung& rung, int r);
QString convertedOutputSummary(const LogicRung& rung, int r);

} // namespace logicio
