#include "logicio/ladderconverter.h"

#include "app/appservices.h"
#include "app/settingsfiles.h"
#include "base/numbertext.h"
#include "ladder/ladderfiles.h"
#include "ladder/plcfile.h"
#include "logicio/logiccatalogue.h"
#include "logicio/logicfile.h"

#include <QRegularExpression>

#include <cmath>

namespace logicio {

namespace {

using Side = LadderElements::Side;

constexpr int CounterNameLength = 12; // "Counter 1 = "
constexpr int TimerNameLength = 13;   // "Timer 1 Start"

const QString CounterPrefix = QStringLiteral("Counter");
const QString LioFilter = QStringLiteral("Lio Files (*.Lio *.lio *.LIO);;All Files (*)");
const QString OpenTitle = QStringLiteral("Open Logic I/O File");
const QString SaveTitle = QStringLiteral("Save New Converted Logic I/O File");

struct CombinedInput {
    QString name;
    int first;
    int second;
};
const CombinedInput CombinedInputs[] = {
    {QStringLiteral("Torque Or Angle Lo"), TorqueLoCondition, AngleLoCondition},
    {QStringLiteral("Torque Or Angle Hi"), TorqueHiCondition, AngleHiCondition},
    {QStringLiteral("Tool Cw OR Center Enabled"), ToolCwCondition, ToolCenterCondition},
};

const CombinedInput* combinedInput(const QString& name) {
    for (const CombinedInput& combined : CombinedInputs)
        if (combined.name == name)
            return &combined;
    return nullptr;
}

bool isTimerStartName(const QString& name) {
    static const QRegularExpression pattern(QStringLiteral("^Timer .* Start"),
                                            QRegularExpression::DotMatchesEverythingOption);
    return pattern.match(name).hasMatch();
}

// The text a name is looked up by: a counter by its first 12 characters, a timer start by its first 13.
int conditionCode(const QString& name) {
    return InputName(name.startsWith(CounterPrefix) ? name.left(CounterNameLength) : name);
}
int actionCode(const QString& name) {
    return OutputName(isTimerStartName(name) ? name.left(TimerNameLength) : name);
}

bool knownName(Side side, const QString& name) {
    if (side == Side::Inputs)
        return combinedInput(name) || conditionCode(name) != 0;
    return actionCode(name) != 0;
}

// The element's name: its key, or its text when only the text is in the tables.
QString elementName(Side side, const ladder::PlcNodeRecord& node) {
    const QString key = base::Trim(node.Key);
    if (knownName(side, key))
        return key;
    const QString text = base::Trim(node.Text);
    return knownName(side, text) ? text : key;
}

// Where an element node belongs: to the inputs or outputs of rung r when its parent key, as stored (35
// characters, filled with blanks), begins "Inputs r " or "Outputs r ", r written without leading zeros.
struct Place {
    Side side;
    int rung;
};
std::optional<Place> placeOf(const ladder::PlcNodeRecord& node) {
    static const std::pair<QString, Side> lists[] = {{QStringLiteral("Inputs "), Side::Inputs},
                                                     {QStringLiteral("Outputs "), Side::Outputs}};
    // The key as the field holds it: a shorter one ends in blanks.
    const QStringView parent = QStringView(node.Relative).left(ladder::PlcNodeRecord::RelativeWidth);
    for (const auto& [prefix, side] : lists) {
        if (!parent.startsWith(prefix))
            continue;
        const QStringView rest = parent.sliced(prefix.size());
        qsizetype digits = 0;
        while (digits < rest.size() && rest[digits] >= u'0' && rest[digits] <= u'9')
            ++digits;
        const bool blankAfter = digits < rest.size() ? rest[digits] == u' '
                                                     : parent.size() < ladder::PlcNodeRecord::RelativeWidth;
        bool number = false;
        const int rung = rest.left(digits).toInt(&number);
        // The number as a rung writes it: no leading zero, within the rungs checked.
        if (!blankAfter || !number || rest[0] == u'0' || rung > LadderElements::CheckedRungs)
            return std::nullopt;
        return Place{side, rung};
    }
    return std::nullopt;
}

// The whole number of a value field, or nothing when it lies outside 0..maximum.
std::optional<int> elementValue(const ladder::PlcNodeRecord& node, int maximum) {
    const double value = std::floor(base::textValue(node.Value));
    if (!(value >= 0 && value <= maximum))
        return std::nullopt;
    return int(value);
}

QString moreThanFourText(int r, const QString& what) {
    return QStringLiteral("Unable To Convert File -> Rung %1 Has More Than 4 %2").arg(r).arg(what);
}

QString valueOutOfRangeText(int r) {
    return QStringLiteral("Unable To Convert File -> Rung %1 Has A Value Out Of Range").arg(r);
}

QString unknownElementText(int r, const QString& name) {
    return QStringLiteral("Rung %1 -> Unknown Element: %2").arg(r).arg(name);
}

class RungBuilder {
public:
    RungBuilder(LogicRung& rung, int r, QStringList& warnings) : rung_(rung), r_(r), warnings_(warnings) {}

    bool addInput(const ladder::PlcNodeRecord& node) {
        const QString name = elementName(Side::Inputs, node);
        ++k_;
        if (const CombinedInput* combined = combinedInput(name)) {
            setCondition(k_, ConditionText(combined->first), codeWord(combined->first, 0));
            rung_.op(k_) = OrOperator;
            rung_.opText(k_) = OperatorText(OrOperator);
            ++k_;
            setCondition(k_, ConditionText(combined->second), codeWord(combined->second, 0));
            return true;
        }
        const int code = conditionCode(name);
        int value = 0;
        if (name.startsWith(CounterPrefix)) {
            const std::optional<int> count = elementValue(node, MaxCounterValue);
            if (!count)
                return false;
            value = *count;
        }
        warnUnknown(code, name);
        setCondition(k_, name, code != 0 ? codeWord(code, value) : 0);
        return true;
    }

    bool addOutput(const ladder::PlcNodeRecord& node) {
        const QString name = elementName(Side::Outputs, node);
        ++m_;
        const int code = actionCode(name);
        warnUnknown(code, name);
        if (!isTimerStartName(name)) {
            setAction(m_, name, codeWord(code, 0));
            return true;
        }
        // A timer start shows its seconds: "Timer 2 Start (5 Sec)".
        const std::optional<int> seconds = elementValue(node, MaxTimerSeconds);
        if (!seconds)
            return false;
        setAction(m_, name.left(TimerNameLength) + QStringLiteral(" (%1 Sec)").arg(*seconds),
                  code != 0 ? codeWord(code, *seconds) : 0);
        return true;
    }

private:
    void setCondition(int k, const QString& text, int32_t code) {
        rung_.inText(k) = text;
        rung_.in(k) = code;
    }
    void setAction(int m, const QString& text, int32_t code) {
        rung_.outText(m) = text;
        rung_.out(m) = code;
    }
    void warnUnknown(int code, const QString& name) {
        if (code == 0)
            warnings_.append(unknownElementText(r_, name));
    }

    LogicRung& rung_;
    int r_;
    QStringList& warnings_;
    int k_ = 0;
    int m_ = 0;
};

} // namespace

void LadderElements::add(const ladder::PlcNodeRecord& node) {
    const std::optional<Place> place = placeOf(node);
    if (!place)
        return;
    Count& count = counts_[std::size_t(place->rung)];
    if (place->side == Side::Inputs)
        count.inputs += combinedInput(elementName(Side::Inputs, node)) ? 2 : 1;
    else
        ++count.outputs;
    if (LogicRungs::isRung(place->rung) && count.inputs <= ConditionSlots && count.outputs <= ActionSlots)
        kept_[std::size_t(place->rung)].push_back({place->side, node});
}

QString LadderElements::failure() const {
    int lastRung = 0;
    for (int r = 1; r <= CheckedRungs; ++r) {
        const Count& count = counts_[std::size_t(r)];
        if (count.inputs > 0 || count.outputs > 0)
            lastRung = r;
        if (count.inputs > ConditionSlots)
            return moreThanFourText(r, QStringLiteral("Inputs"));
        if (count.outputs > ActionSlots)
            return moreThanFourText(r, QStringLiteral("Outputs"));
        if (lastRung > LogicRungs::LastRung)
            return QStringLiteral("Unable To Convert File -> More Than 20 Rungs");
    }
    return {};
}

LadderConversion convertElements(const LadderElements& elements) {
    LadderConversion result;
    result.failure = elements.failure();
    if (!result.failure.isEmpty())
        return result;
    for (int r = LogicRungs::FirstRung; r <= LogicRungs::LastRung; ++r) {
        LogicRung& rung = result.rungs[r];
        QStringList warnings;
        RungBuilder builder(rung, r, warnings);
        for (const LadderElements::Element& element : elements.rung(r)) {
            const bool fits = element.side == Side::Inputs ? builder.addInput(element.node)
                                                           : builder.addOutput(element.node);
            if (!fits) {
                result.failure = valueOutOfRangeText(r);
                result.lines.clear();
                return result;
            }
        }
        rung.InputSummary = convertedInputSummary(rung, r);
        rung.OutputSummary = convertedOutputSummary(rung, r);
        result.lines << QStringLiteral(" ") << rung.InputSummary << rung.OutputSummary << warnings;
    }
    result.ok = true;
    return result;
}

LadderConversion convertLadder(const std::vector<ladder::PlcNodeRecord>& nodes) {
    LadderElements elements;
    for (const ladder::PlcNodeRecord& node : nodes)
        elements.add(node);
    return convertElements(elements);
}

void LadderConverter::convertFile(const std::function<void()>& listed) {
    base::Dialogs& dialogs = services_.dialogs;
    lines_.clear();
    const QString name = dialogs.openFileName(OpenTitle, ladder::PlcFileFilter);
    if (name.isEmpty())
        return;
    LadderElements elements;
    if (!ladder::loadPlcFile(name, dialogs,
                             [&elements](const ladder::PlcNodeRecord& node) { elements.add(node); }))
        return;
    const LadderConversion conversion = convertElements(elements);
    if (!conversion.ok) {
        dialogs.message(conversion.failure, ConvertCaption, base::MessageIcon::Critical);
        return;
    }
    lines_ = conversion.lines;
    if (listed)
        listed();
    saveLioFile(conversion.rungs);
}

void LadderConverter::saveLioFile(const LogicRungs& rungs) {
    base::Dialogs& dialogs = services_.dialogs;
    const QString name = dialogs.saveFileName(SaveTitle, LioFilter);
    if (name.isEmpty())
        return;
    if (app::ProgramCore::FileExists(name) && !dialogs.askOkCancel(OverwriteText, OverwriteCaption))
        return;
    QString error;
    if (!writeLogicFile(name, rungs, &error))
        dialogs.message(error, app::NotStoredCaption, base::MessageIcon::Critical);
}

} // namespace logicio
