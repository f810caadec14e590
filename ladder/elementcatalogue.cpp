#include "ladder/elementcatalogue.h"

#include "base/numbertext.h"

#include <array>

namespace ladder {

namespace {

enum class TextForm { List, Decoded };

const std::array<const char*, 10> CycleTexts = {
    "Cycle Complete", "InCycle",  "Cycle Accept", "Cycle Reject",       "Torque Hi",
    "Torque Lo",      "Angle Hi", "Angle Lo",     "Torque Or Angle Lo", "Torque Or Angle Hi"};
const std::array<const char*, 5> ToolConditionTexts = {"Tool Cw Enabled", "Tool Center Enabled",
                                                       "Tool Trigger Enabled", "Tool Ccw Enabled",
                                                       "Tool Cw OR Center Enabled"};
const std::array<const char*, 4> StrategyTexts = {
    "Current Strategy = Torque Control", "Current Strategy = Torque Control / Angle Monitor",
    "Current Strategy = Torque Control / Angle Control", "Current Strategy = Torque Monitor / Angle Control"};
const std::array<const char*, 6> TimerConditionTexts = {"Timer 1 Complete", "Timer 1 On AND Not Complete",
                                                        "Timer 2 Complete", "Timer 2 On AND Not Complete",
                                                        "Timer 3 Complete", "Timer 3 On AND Not Complete"};
const std::array<const char*, 3> MultipleConditionTexts = {"CMD1 OR CMD2 RX", "THRESHOLD REACHED",
                                                           "FINAL REACHED"};
const std::array<const char*, 15> LedTexts = {
    "Yellow Light On",  "Yellow Light Off", "Yellow Light Flash", "Blue Light On",     "Blue Light Off",
    "Blue Light Flash", "Green Light On",   "Green Light Off",    "Green Light Flash", "Red Light On",
    "Red Light Off",    "Red Light Flash",  "All Lights On",      "All Lights Off",    "All Lights Flash"};
const std::array<const char*, 7> ToolActionTexts = {
    "Send Cw Command",   "Send Center Command", "Send Trigger Command", "Send Ccw Command",
    "Buttons From Tool", "Buttons From Logic",  "Buttons From NSM"};
const std::array<const char*, 7> DisplayTexts = {"Display Angle On 2nd Display",
                                                 "Display Roatry Torque On 2nd Display",
                                                 "-",
                                                 "Clear 2nd Display",
                                                 "Display Counter 1 Count",
                                                 "Display Counter 2 Count",
                                                 "Display Counter 3 Count"};
const std::array<const char*, 6> MultipleActionTexts = {"SND RUN TO THRESHOLD", "SND RUN TO FINAL",
                                                        "REV_TQ_CHECK",         "NO_RUN_MULTIPLE",
                                                        "REVERSE_MULTIPLE",     "FORWARD_MULTIPLE"};

// Codes whose list text and decoded text differ in spelling, and the decoded-only input code.
constexpr int ToolTriggerCode = 66;
constexpr int AngleMonitorStrategyCode = 81;
constexpr int SystemFaultCode = 112;
// Single entries and the paired runs of the output side (reset/increase, start/clear, on/flash).
constexpr int NoSocketCode = 128;
constexpr int FirstCounterActionCode = 64, LastCounterActionCode = 79;
constexpr int FirstTimerActionCode = 96, LastTimerActionCode = 101;
constexpr int EnablePfcsCode = 144;
constexpr int FirstTrayLedCode = 160, LastTrayLedCode = 175, TrayLedsOffCode = 176;

// The text at code - first of a table when first <= code < first + table size.
template <size_t N>
bool fromTable(const std::array<const char*, N>& table, int first, int code, QString& text) {
    if (code < first || code >= first + int(N))
        return false;
    text = QString::fromLatin1(table[size_t(code - first)]);
    return true;
}

// "prefix n suffix" for code = offset + n, n in 1..count.
bool numbered(int code, int offset, int count, const char* prefix, const char* suffix, QString& text) {
    const int n = code - offset;
    if (n < 1 || n > count)
        return false;
    text = QString::fromLatin1(prefix) + QString::number(n) + QString::fromLatin1(suffix);
    return true;
}

QString inputText(int code, const LadderPresets& presets, TextForm form) {
    QString text;
    if (numbered(code, 0, 12, "Input ", " On", text) || numbered(code, 15, 12, "Input ", " Off", text) ||
        fromTable(CycleTexts, 32, code, text) || fromTable(TimerConditionTexts, 96, code, text) ||
        numbered(code, 83, 8, "Current Parameter Set = ", "", text) ||
        numbered(code, 128, 8, "Socket ", " Selected", text) ||
        numbered(code, 172, 8, "MASTER CMD", " RX", text) ||
        fromTable(MultipleConditionTexts, 181, code, text))
        return text;
    if (fromTable(ToolConditionTexts, 64, code, text))
        return code == ToolTriggerCode && form == TextForm::List ? text + u' ' : text;
    if (fromTable(StrategyTexts, 80, code, text)) {
        if (code == AngleMonitorStrategyCode && form == TextForm::Decoded)
            return QStringLiteral("Current Strategy= Torque Control / Angle Monitor");
        return text;
    }
    if (const int n = counterOfCode(code)) {
        const double preset = presets.cwCounter(n);
        if (form == TextForm::List)
            return counterText(n, preset);
        return counterPrefix(n) + u' ' + QString::number(base::roundHalfEven(preset));
    }
    if (code == NoSocketCode)
        return QStringLiteral("No Socket Or Multiple Sockets Selected");
    if (code == SystemFaultCode && form == TextForm::Decoded)
        return QStringLiteral("System Fault");
    return {};
}

QString outputText(int code, const LadderPresets& presets, TextForm form) {
    QString text;
    if (fromTable(LedTexts, 1, code, text) || numbered(code, 15, 12, "Output ", " On", text) ||
        numbered(code, 31, 12, "Output ", " Off", text) ||
        numbered(code, 47, 8, "Switch To Parameter Set ", "", text) ||
        fromTable(ToolActionTexts, 80, code, text) || fromTable(DisplayTexts, 112, code, text) ||
        fromTable(MultipleActionTexts, 193, code, text))
        return text;
    if (code >= FirstCounterActionCode && code <= LastCounterActionCode) {
        const int n = (code - 62) / 2;
        return (code % 2 == 0 ? QStringLiteral("Reset Counter ") : QStringLiteral("Increase Counter ")) +
               QString::number(n);
    }
    if (code >= FirstTimerActionCode && code <= LastTimerActionCode) {
        if (const int n = timerOfStartCode(code))
            return form == TextForm::List ? timerStartText(n, presets.cwTimer(n)) : timerStartPrefix(n);
        return QStringLiteral("Timer ") + QString::number((code - 95) / 2) + QStringLiteral(" Clear");
    }
    if (code == EnablePfcsCode)
        return QStringLiteral("Enable PFCS");
    if (code >= FirstTrayLedCode && code <= LastTrayLedCode) {
        const int n = (code - 158) / 2;
        return QStringLiteral("Socket Tray Led ") + QString::number(n) +
               (code % 2 == 0 ? QStringLiteral(" On") : QStringLiteral(" Flash"));
    }
    if (code == TrayLedsOffCode)
        return QStringLiteral("Socket Tray Leds Off");
    return {};
}

} // namespace

const std::vector<ElementGroup>& elementGroups() {
    static const std::vector<ElementGroup> groups = {
        {QStringLiteral("btn_In_InOn"), QStringLiteral("Input On"), ElementSide::Inputs, 1, 12},
        {QStringLiteral("btn_In_InOff"), QStringLiteral("Input Off"), ElementSide::Inputs, 16, 12},
        {QStringLiteral("btn_In_Cycle"), QStringLiteral("Cycle"), ElementSide::Inputs, 32, 10},
        {QStringLiteral("btn_In_Counter"), QStringLiteral("Counter"), ElementSide::Inputs, 48, 8},
        {QStringLiteral("btn_In_Tool"), QStringLiteral("Tool Commands"), ElementSide::Inputs, 64, 5},
        {QStringLiteral("btn_In_Pset"), QStringLiteral("Pset"), ElementSide::Inputs, 80, 12},
        {QStringLiteral("btn_In_Timer"), QStringLiteral("Timer"), ElementSide::Inputs, 96, 6},
        {QStringLiteral("btn_In_Skt"), QStringLiteral("Socket Tray"), ElementSide::Inputs, 128, 9},
        {QStringLiteral("btn_InMultiple"), QStringLiteral("Multiples"), ElementSide::Inputs, 173, 11},
        {QStringLiteral("btn_Out_Leds"), QStringLiteral("Led's"), ElementSide::Outputs, 1, 15},
        {QStringLiteral("btn_Out_OutOn"), QStringLiteral("Output On"), ElementSide::Outputs, 16, 12},
        {QStringLiteral("btn_Out_OutOff"), QStringLiteral("Output Off"), ElementSide::Outputs, 32, 12},
        {QStringLiteral("btn_Out_SwPset"), QStringLiteral("Switch Pset"), ElementSide::Outputs, 48, 8},
        {QStringLiteral("btn_Out_Counter"), QStringLiteral("Counter"), ElementSide::Outputs, 64, 16},
        {QStringLiteral("btn_Out_Tool"), QStringLiteral("Tool Commands"), ElementSide::Outputs, 80, 7},
        {QStringLiteral("btn_Out_Timer"), QStringLiteral("Timer"), ElementSide::Outputs, 96, 6},
        {QStringLiteral("btn_Out_Dsply"), QStringLiteral("Display"), ElementSide::Outputs, 112, 7},
        {QStringLiteral("btn_Out_System"), QStringLiteral("System"), ElementSide::Outputs, 144, 1},
        {QStringLiteral("btn_Out_SktTray"), QStringLiteral("Socket Tray"), ElementSide::Outputs, 160, 17},
        {QStringLiteral("Btn_OutMultiple"), QStringLiteral("Multiple"), ElementSide::Outputs, 193, 6},
    };
    return groups;
}

QStringList groupListTexts(const ElementGroup& group, const LadderPresets& presets) {
    QStringList texts;
    for (int code = group.baseCode; code < group.baseCode + group.count; ++code)
        texts.append(group.side == ElementSide::Inputs ? inputText(code, presets, TextForm::List)
                                                       : outputText(code, presets, TextForm::List));
    return texts;
}

QString GetInputText(int code, const LadderPresets& presets) {
    return inputText(code, presets, TextForm::Decoded);
}

QString GetOutputText(int code) {
    return outputText(code, LadderPresets(), TextForm::Decoded);
}

int counterOfCode(int code) {
    const int n = code - CounterCodeOffset;
    return n >= 1 && n <= LadderPresets::Counters ? n : 0;
}

int timerOfStartCode(int code) {
    const int twice = code - TimerStartCodeOffset;
    return twice % 2 == 0 && twice / 2 >= 1 && twice / 2 <= LadderPresets::Timers ? twice / 2 : 0;
}

QString counterPrefix(int n) {
    return QStringLiteral("Counter ") + QString::number(n) + QStringLiteral(" =");
}

QString timerStartPrefix(int n) {
    return QStringLiteral("Timer ") + QString::number(n) + QStringLiteral(" Start");
}

QString counterText(int n, double preset) {
    return counterPrefix(n) + u' ' + presetText(preset);
}

QString timerStartText(int n, double preset) {
    return timerStartPrefix(n) + QStringLiteral(" (") + presetText(preset) + u')';
}

} // namespace ladder
