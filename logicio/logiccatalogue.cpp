#include "logicio/logiccatalogue.h"

namespace logicio {

namespace {

constexpr int RotaryDisplayAction = 78;
constexpr int BatchResetAction = 108;
constexpr int LastVersion2Action = 104;
const QString RotaryListText = QStringLiteral("Display Rotary Torque On 2nd Display");
const QString RotaryStoredText = QStringLiteral("Display Roatry Torque On 2nd Display");
const QString BatchResetDecodeText = QStringLiteral("Reset/Prev Batch");

// Conditions the converter accepts by name: inputs, cycle, limits and the "equal" counters; then tools,
// strategies, Psets, timers and sockets. The other counters and "System Error" are not ladder inputs.
constexpr int LastNamedCounter = 40;
constexpr int FirstNamedTool = 57;
constexpr int LastNamedCondition = 87;
// Actions the converter accepts by name: all but the counter displays 4..8 and the batch actions.
constexpr int LastNamedDisplay = 82;
constexpr int FirstNamedSocketLed = 88;

const QStringList Conditions = {
    QString(),
    QStringLiteral("Input 1 On"),
    QStringLiteral("Input 2 On"),
    QStringLiteral("Input 3 On"),
    QStringLiteral("Input 4 On"),
    QStringLiteral("Input 5 On"),
    QStringLiteral("Input 6 On"),
    QStringLiteral("Input 7 On"),
    QStringLiteral("Input 8 On"),
    QStringLiteral("Input 9 On"),
    QStringLiteral("Input 10 On"),
    QStringLiteral("Input 11 On"),
    QStringLiteral("Input 12 On"),
    QStringLiteral("Input 1 Off"),
    QStringLiteral("Input 2 Off"),
    QStringLiteral("Input 3 Off"),
    QStringLiteral("Input 4 Off"),
    QStringLiteral("Input 5 Off"),
    QStringLiteral("Input 6 Off"),
    QStringLiteral("Input 7 Off"),
    QStringLiteral("Input 8 Off"),
    QStringLiteral("Input 9 Off"),
    QStringLiteral("Input 10 Off"),
    QStringLiteral("Input 11 Off"),
    QStringLiteral("Input 12 Off"),
    QStringLiteral("Cycle Complete"),
    QStringLiteral("InCycle"),
    QStringLiteral("Cycle Accept"),
    QStringLiteral("Cycle Reject"),
    QStringLiteral("Torque Hi"),
    QStringLiteral("Torque Lo"),
    QStringLiteral("Angle Hi"),
    QStringLiteral("Angle Lo"),
    QStringLiteral("Counter 1 = "),
    QStringLiteral("Counter 2 = "),
    QStringLiteral("Counter 3 = "),
    QStringLiteral("Counter 4 = "),
    QStringLiteral("Counter 5 = "),
    QStringLiteral("Counter 6 = "),
    QStringLiteral("Counter 7 = "),
    QStringLiteral("Counter 8 = "),
    QStringLiteral("Counter 1 > "),
    QStringLiteral("Counter 2 > "),
    QStringLiteral("Counter 3 > "),
    QStringLiteral("Counter 4 > "),
    QStringLiteral("Counter 5 > "),
    QStringLiteral("Counter 6 > "),
    QStringLiteral("Counter 7 > "),
    QStringLiteral("Counter 8 > "),
    QStringLiteral("Counter 1 < "),
    QStringLiteral("Counter 2 < "),
    QStringLiteral("Counter 3 < "),
    QStringLiteral("Counter 4 < "),
    QStringLiteral("Counter 5 < "),
    QStringLiteral("Counter 6 < "),
    QStringLiteral("Counter 7 < "),
    QStringLiteral("Counter 8 < "),
    QStringLiteral("Tool Cw Enabled"),
    QStringLiteral("Tool Center Enabled"),
    QStringLiteral("Tool Trigger Enabled"),
    QStringLiteral("Tool Ccw Enabled"),
    QStringLiteral("Current Strategy = Torque Control"),
    QStringLiteral("Current Strategy= Torque Control / Angle Monitor"),
    QStringLiteral("Current Strategy = Torque Control / Angle Control"),
    QStringLiteral("Current Strategy = Torque Monitor / Angle Control"),
    QStringLiteral("Current Parameter Set = 1"),
    QStringLiteral("Current Parameter Set = 2"),
    QStringLiteral("Current Parameter Set = 3"),
    QStringLiteral("Current Parameter Set = 4"),
    QStringLiteral("Current Parameter Set = 5"),
    QStringLiteral("Current Parameter Set = 6"),
    QStringLiteral("Current Parameter Set = 7"),
    QStringLiteral("Current Parameter Set = 8"),
    QStringLiteral("Timer 1 Complete"),
    QStringLiteral("Timer 1 On AND Not Complete"),
    QStringLiteral("Timer 2 Complete"),
    QStringLiteral("Timer 2 On AND Not Complete"),
    QStringLiteral("Timer 3 Complete"),
    QStringLiteral("Timer 3 On AND Not Complete"),
    QStringLiteral("No Socket Or Multiple Sockets Selected"),
    QStringLiteral("Socket 1 Selected"),
    QStringLiteral("Socket 2 Selected"),
    QStringLiteral("Socket 3 Selected"),
    QStringLiteral("Socket 4 Selected"),
    QStringLiteral("Socket 5 Selected"),
    QStringLiteral("Socket 6 Selected"),
    QStringLiteral("Socket 7 Selected"),
    QStringLiteral("Socket 8 Selected"),
    QStringLiteral("System Error"),
};

// The version 3 editor lists (the full table).
const QStringList Actions = {
    QString(),
    QStringLiteral("Yellow Light On"),
    QStringLiteral("Yellow Light Off"),
    QStringLiteral("Yellow Light Flash"),
    QStringLiteral("Blue Light On"),
    QStringLiteral("Blue Light Off"),
    QStringLiteral("Blue Light Flash"),
    QStringLiteral("Green Light On"),
    QStringLiteral("Green Light Off"),
    QStringLiteral("Green Light Flash"),
    QStringLiteral("Red Light On"),
    QStringLiteral("Red Light Off"),
    QStringLiteral("Red Light Flash"),
    QStringLiteral("All Lights On"),
    QStringLiteral("All Lights Off"),
    QStringLiteral("All Lights Flash"),
    QStringLiteral("Output 1 On"),
    QStringLiteral("Output 2 On"),
    QStringLiteral("Output 3 On"),
    QStringLiteral("Output 4 On"),
    QStringLiteral("Output 5 On"),
    QStringLiteral("Output 6 On"),
    QStringLiteral("Output 7 On"),
    QStringLiteral("Output 8 On"),
    QStringLiteral("Output 9 On"),
    QStringLiteral("Output 10 On"),
    QStringLiteral("Output 11 On"),
    QStringLiteral("Output 12 On"),
    QStringLiteral("Output 1 Off"),
    QStringLiteral("Output 2 Off"),
    QStringLiteral("Output 3 Off"),
    QStringLiteral("Output 4 Off"),
    QStringLiteral("Output 5 Off"),
    QStringLiteral("Output 6 Off"),
    QStringLiteral("Output 7 Off"),
    QStringLiteral("Output 8 Off"),
    QStringLiteral("Output 9 Off"),
    QStringLiteral("Output 10 Off"),
    QStringLiteral("Output 11 Off"),
    QStringLiteral("Output 12 Off"),
    QStringLiteral("Switch To Parameter Set 1"),
    QStringLiteral("Switch To Parameter Set 2"),
    QStringLiteral("Switch To Parameter Set 3"),
    QStringLiteral("Switch To Parameter Set 4"),
    QStringLiteral("Switch To Parameter Set 5"),
    QStringLiteral("Switch To Parameter Set 6"),
    QStringLiteral("Switch To Parameter Set 7"),
    QStringLiteral("Switch To Parameter Set 8"),
    QStringLiteral("Reset Counter 1"),
    QStringLiteral("Increase Counter 1"),
    QStringLiteral("Reset Counter 2"),
    QStringLiteral("Increase Counter 2"),
    QStringLiteral("Reset Counter 3"),
    QStringLiteral("Increase Counter 3"),
    QStringLiteral("Reset Counter 4"),
    QStringLiteral("Increase Counter 4"),
    QStringLiteral("Reset Counter 5"),
    QStringLiteral("Increase Counter 5"),
    QStringLiteral("Reset Counter 6"),
    QStringLiteral("Increase Counter 6"),
    QStringLiteral("Reset Counter 7"),
    QStringLiteral("Increase Counter 7"),
    QStringLiteral("Reset Counter 8"),
    QStringLiteral("Increase Counter 8"),
    QStringLiteral("Send Cw Command"),
    QStringLiteral("Send Center Command"),
    QStringLiteral("Send Trigger Command"),
    QStringLiteral("Send Ccw Command"),
    QStringLiteral("Buttons From Tool"),
    QStringLiteral("Buttons From Logic"),
    QStringLiteral("Buttons From NSM"),
    QStringLiteral("Timer 1 Start"),
    QStringLiteral("Timer 2 Start"),
    QStringLiteral("Timer 3 Start"),
    QStringLiteral("Timer 1 Clear"),
    QStringLiteral("Timer 2 Clear"),
    QStringLiteral("Timer 3 Clear"),
    QStringLiteral("Display Angle On 2nd Display"),
    RotaryListText,
    QStringLiteral("Clear 2nd Display"),
    QStringLiteral("Display Counter 1 Count"),
    QStringLiteral("Display Counter 2 Count"),
    QStringLiteral("Display Counter 3 Count"),
    QStringLiteral("Display Counter 4 Count"),
    QStringLiteral("Display Counter 5 Count"),
    QStringLiteral("Display Counter 6 Count"),
    QStringLiteral("Display Counter 7 Count"),
    QStringLiteral("Display Counter 8 Count"),
    QStringLiteral("Socket Tray Led 1 On"),
    QStringLiteral("Socket Tray Led 1 Flash"),
    QStringLiteral("Socket Tray Led 2 On"),
    QStringLiteral("Socket Tray Led 2 Flash"),
    QStringLiteral("Socket Tray Led 3 On"),
    QStringLiteral("Socket Tray Led 3 Flash"),
    QStringLiteral("Socket Tray Led 4 On"),
    QStringLiteral("Socket Tray Led 4 Flash"),
    QStringLiteral("Socket Tray Led 5 On"),
    QStringLiteral("Socket Tray Led 5 Flash"),
    QStringLiteral("Socket Tray Led 6 On"),
    QStringLiteral("Socket Tray Led 6 Flash"),
    QStringLiteral("Socket Tray Led 7 On"),
    QStringLiteral("Socket Tray Led 7 Flash"),
    QStringLiteral("Socket Tray Led 8 On"),
    QStringLiteral("Socket Tray Led 8 Flash"),
    QStringLiteral("Socket Tray Leds Off"),
    QStringLiteral("Run To Threshold"),
    QStringLiteral("Run To Final"),
    QStringLiteral("Next Batch"),
    QStringLiteral("Prev/Reset Batch"),
};

// The version 2 set: the table up to 104 with the stored spelling of 78.
QStringList version2Actions() {
    QStringList texts = Actions.mid(0, LastVersion2Action + 1);
    texts[RotaryDisplayAction] = RotaryStoredText;
    return texts;
}

QStringList version3DecodeActions() {
    QStringList texts = Actions;
    texts[RotaryDisplayAction] = RotaryStoredText;
    texts[BatchResetAction] = BatchResetDecodeText;
    return texts;
}

QString entry(const QStringList& texts, int code) {
    return code >= 0 && code < texts.size() ? texts[code] : QString();
}

bool namedCondition(int code) {
    return (code >= 1 && code <= LastNamedCounter) || (code >= FirstNamedTool && code <= LastNamedCondition);
}

bool namedAction(int code) {
    return (code >= 1 && code <= LastNamedDisplay) ||
           (code >= FirstNamedSocketLed && code <= LastVersion2Action);
}

} // namespace

const QStringList& conditionTexts() {
    return Conditions;
}

const QStringList& operatorTexts() {
    static const QStringList texts = {QStringLiteral("AND"), QStringLiteral("OR")};
    return texts;
}

const QStringList& actionListTexts(LogicVariant variant) {
    static const QStringList version2 = version2Actions();
    return variant == LogicVariant::Version3 ? Actions : version2;
}

const QStringList& actionDecodeTexts(LogicVariant variant) {
    static const QStringList version3 = version3DecodeActions();
    return variant == LogicVariant::Version3 ? version3 : actionListTexts(LogicVariant::Version2);
}

QString ConditionText(int code) {
    return entry(Conditions, code);
}

QString ActionText(LogicVariant variant, int code) {
    return entry(actionDecodeTexts(variant), code);
}

QString OperatorText(int op) {
    return entry(operatorTexts(), op);
}

int InputName(const QString& name) {
    const qsizetype code = Conditions.indexOf(name, 1);
    return code > 0 && namedCondition(int(code)) ? int(code) : 0;
}

int OutputName(const QString& name) {
    const qsizetype code = actionListTexts(LogicVariant::Version2).indexOf(name, 1);
    return code > 0 && namedAction(int(code)) ? int(code) : 0;
}

} // namespace logicio
