#include "logicio/logicrung.h"

#include <QtGlobal>

namespace logicio {

namespace {

const QString InputHead = QStringLiteral("Input  -> ");
const QString OutputHead = QStringLiteral("Output -> ");
const QString EditSeparator = QStringLiteral("    ");
const QString RefreshSeparator = QStringLiteral("  ");
const QString AfterOperator = QStringLiteral("  ");

// Slot k (from 1) of a rung through its members in slot order.
template <typename Rung, typename T, size_t N>
auto& slot(Rung& rung, const std::array<T LogicRung::*, N>& members, int k) {
    Q_ASSERT(k >= 1 && k <= int(N));
    return rung.*members[size_t(qBound(1, k, int(N)) - 1)];
}

using Code = int32_t LogicRung::*;
using Text = QString LogicRung::*;
constexpr std::array<Code, ConditionSlots> InCodes = {&LogicRung::In1, &LogicRung::In2, &LogicRung::In3,
                                                      &LogicRung::In4};
constexpr std::array<Code, OperatorSlots> OpCodes = {&LogicRung::Op1, &LogicRung::Op2, &LogicRung::Op3};
constexpr std::array<Code, ActionSlots> OutCodes = {&LogicRung::Out1, &LogicRung::Out2, &LogicRung::Out3,
                                                    &LogicRung::Out4};
constexpr std::array<Text, ConditionSlots> InTexts = {&LogicRung::In1Text, &LogicRung::In2Text,
                                                      &LogicRung::In3Text, &LogicRung::In4Text};
constexpr std::array<Text, OperatorSlots> OpTexts = {&LogicRung::Op1Text, &LogicRung::Op2Text,
                                                     &LogicRung::Op3Text};
constexpr std::array<Text, ActionSlots> OutTexts = {&LogicRung::Out1Text, &LogicRung::Out2Text,
                                                    &LogicRung::Out3Text, &LogicRung::Out4Text};

} // namespace

std::optional<int> listPosition(int32_t code, int listSize) {
    const int position = codeIndex(code);
    if (code < 0 || position >= listSize)
        return std::nullopt;
    return position;
}

std::optional<int> operatorPosition(int32_t op) {
    if (op != 0 && op != 1)
        return std::nullopt;
    return int(op);
}

// clang-format off
int32_t& LogicRung::in(int k) { return slot(*this, InCodes, k); }
int32_t LogicRung::in(int k) const { return slot(*this, InCodes, k); }
QString& LogicRung::inText(int k) { return slot(*this, InTexts, k); }
const QString& LogicRung::inText(int k) const { return slot(*this, InTexts, k); }
int32_t& LogicRung::op(int k) { return slot(*this, OpCodes, k); }
int32_t LogicRung::op(int k) const { return slot(*this, OpCodes, k); }
QString& LogicRung::opText(int k) { return slot(*this, OpTexts, k); }
const QString& LogicRung::opText(int k) const { return slot(*this, OpTexts, k); }
int32_t& LogicRung::out(int k) { return slot(*this, OutCodes, k); }
int32_t LogicRung::out(int k) const { return slot(*this, OutCodes, k); }
QString& LogicRung::outText(int k) { return slot(*this, OutTexts, k); }
const QString& LogicRung::outText(int k) const { return slot(*this, OutTexts, k); }
// clang-format on

LogicRung& LogicRungs::operator[](int r) {
    Q_ASSERT(isRung(r));
    return rungs_[size_t(qBound(FirstRung, r, LastRung) - FirstRung)];
}

const LogicRung& LogicRungs::operator[](int r) const {
    Q_ASSERT(isRung(r));
    return rungs_[size_t(qBound(FirstRung, r, LastRung) - FirstRung)];
}

void LogicRungs::ClearRungs() {
    rungs_.fill(LogicRung());
}

QString counterText(const QString& entry, const QString& value) {
    return entry + QStringLiteral(" ") + value;
}

QString timerText(const QString& entry, const QString& seconds) {
    return entry + QStringLiteral("  (") + seconds + QStringLiteral(" Sec)");
}

QString joinConditions(const LogicRung& rung, const QString& head, const QString& beforeOperator) {
    QString text = head + rung.In1Text;
    for (int k = 2; k <= ConditionSlots; ++k)
        if (!rung.inText(k).isEmpty())
            text += beforeOperator + rung.opText(k - 1) + AfterOperator + rung.inText(k);
    return text;
}

QString joinActions(const LogicRung& rung, const QString& head, const QString& separator) {
    QString text = head + rung.Out1Text;
    for (int k = 2; k <= ActionSlots; ++k)
        if (!rung.outText(k).isEmpty())
            text += separator + rung.outText(k);
    return text;
}

QString inputSummary(const LogicRung& rung, SummaryForm form) {
    return joinConditions(rung, InputHead, form == SummaryForm::Edit ? EditSeparator : RefreshSeparator);
}

QString outputSummary(const LogicRung& rung) {
    return joinActions(rung, OutputHead, EditSeparator);
}

void rebuildSummaries(LogicRung& rung, SummaryForm form) {
    rung.InputSummary = inputSummary(rung, form);
    rung.OutputSummary = outputSummary(rung);
}

QString convertedInputSummary(const LogicRung& rung, int r) {
    return joinConditions(rung, QStringLiteral("Input %1  -> ").arg(r), EditSeparator);
}

QString convertedOutputSummary(const LogicRung& rung, int r) {
    return joinActions(rung, QStringLiteral("Output %1  -> ").arg(r), EditSeparator);
}

} // namespace logicio
