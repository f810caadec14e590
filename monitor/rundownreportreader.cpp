#include "monitor/rundownreportreader.h"

#include "app/reports/rundownreport.h"
#include "base/cp1252.h"
#include "base/numbertext.h"

#include <QRegularExpression>

#include <cmath>
#include <optional>

namespace monitor {

namespace {
const QString FileTypeLine = QStringLiteral("File Type : Controller Rundown");
const QString TargetLabel = QStringLiteral("Torque Target:");
const QString HiLabel = QStringLiteral("Torque Hi Limit:");
const QString LoLabel = QStringLiteral("Torque Lo Limit:");
const QString ColumnLine = QStringLiteral("TORQUE X");
const QString Dashes = QStringLiteral("---------------");

enum class State { Heading, Limits, Rule, Rundowns, Done };

std::optional<double> number(const QString& text) {
    if (!base::isNumberText(text))
        return std::nullopt;
    const double value = base::textValue(text);
    // A number beyond the range of a double reads as 0: a mantissa with a digit other than 0 then means
    // the value overflowed.
    static const QRegularExpression exponent(QStringLiteral("[eEdD]"));
    static const QRegularExpression nonZeroDigit(QStringLiteral("[1-9]"));
    if (!std::isfinite(value) || (value == 0 && text.section(exponent, 0, 0).contains(nonZeroDigit)))
        return std::nullopt;
    return value;
}

// A limit line's value: everything after the label.
QString valueAfter(const QString& line, const QString& label) {
    return line.mid(label.size()).trimmed();
}

bool limit(const QString& text, const QString& name, double& value, QString& error) {
    const auto v = number(text);
    if (!v) {
        error = name + QStringLiteral(" Is Missing Or Not A Number");
        return false;
    }
    value = *v;
    return true;
}
} // namespace

RundownReportRead readRundownReport(const base::TextLines& lines) {
    RundownReportRead result;
    RundownReportData& data = result.data;
    State state = State::Heading;
    // The first torque cell that is not a number, and its line.
    struct TorqueCell {
        QString text;
        qsizetype line;
    };
    std::optional<TorqueCell> badCell;
    qsizetype rundowns = 0;
    qsizetype i = -1;
    for (auto at = lines.begin(); at != lines.end() && state != State::Done; ++at) {
        ++i;
        const QString line = base::fromCp1252(*at);
        switch (state) {
        case State::Heading:
            if (line.startsWith(FileTypeLine))
                state = State::Limits;
            break;
        case State::Limits:
            if (line.startsWith(TargetLabel))
                data.targetText = valueAfter(line, TargetLabel);
            else if (line.startsWith(HiLabel))
                data.hiText = valueAfter(line, HiLabel);
            else if (line.startsWith(LoLabel))
                data.loText = valueAfter(line, LoLabel);
            else if (line.contains(ColumnLine))
                state = State::Rule;
            break;
        case State::Rule:
            if (line.startsWith(Dashes))
                state = State::Rundowns;
            break;
        case State::Rundowns:
            if (line.startsWith(Dashes)) {
                state = State::Done;
                break;
            }
            ++rundowns;
            if (badCell)
                break;
            if (const QString cell = line.mid(app::RundownTorqueColumn - 1, app::RundownCellWidth).trimmed();
                const auto torque = number(cell))
                data.torques.push_back(*torque);
            else
                badCell = TorqueCell{cell, i};
            break;
        case State::Done:
            break;
        }
    }
    if (rundowns == 0) {
        result.status = ReportStatus::NoData;
        result.error = NoRundownDataText;
        return result;
    }
    if (state != State::Done) {
        result.status = ReportStatus::Corrupt;
        result.error = CorruptReportText;
        return result;
    }
    result.status = ReportStatus::BadValue;
    if (badCell) {
        result.error = QStringLiteral("Torque Value Is Not A Number In Line %1: \"%2\"")
                           .arg(badCell->line + 1)
                           .arg(badCell->text);
        return result;
    }
    if (!limit(data.targetText, QStringLiteral("Torque Target"), data.target, result.error) ||
        !limit(data.hiText, QStringLiteral("Torque Hi Limit"), data.hi, result.error) ||
        !limit(data.loText, QStringLiteral("Torque Lo Limit"), data.lo, result.error))
        return result;
    result.status = ReportStatus::Read;
    return result;
}

} // namespace monitor
