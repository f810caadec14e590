#pragma once
// The general number-entry dialog (frmValue) as its callers see it: a form with three panels (a single
// value, a data-logger file with a record count and a torque unit, an EEPROM address with a data byte), the
// twenty operations that prepare it, and the three shared results it leaves behind.
//
// Calling order, as every caller keeps it:
//   ValueEntryForm& v = ctx.values.frmValue();        // a fresh form in its load state
//   v.SetFrameEeprom(true);                            // choose the panel
//   v.SetLblEeprom("Enter Address And Data");          // prompt
//   v.CwEeAddMax(1023); v.CwEeAddMin(0); v.CwEeAddValue(0);   // maximum and minimum before the value
//   ctx.values.show();                                 // modal; true when Enter was pressed
//   ... ctx.values.results.ValueEntryResult ...
//
// The close box and Esc act as the Cancel button of the panel shown, so a caller never reads a result the
// user did not enter.

#include <QString>

namespace app {

// A spin-box number field: the value always lies within the range.
struct NumberField {
    double minimum = 0;
    double maximum = 0;
    double value = 0;

    void setMaximum(double m);
    void setMinimum(double m);
    void setValue(double v);
    // The field's value as the dialog returns it ("12", "1023", "65535").
    QString text() const;
};

enum class ValuePanel { Value, Logger, Eeprom };

// Torque unit options of the logger panel (the units codes 1 lb-in .. 5 Nm).
inline constexpr int FirstUnitOption = 1;
inline constexpr int LastUnitOption = 5;
// The prompt's design text: this many letters X until a caller sets it.
inline constexpr int PromptDesignLength = 32;

class ValueEntryForm {
public:
    // --- the dialog's operations, in the order of its interface ---
    void LblCaption(const QString& text) { prompt = text; }
    void CwVal(long v) { value.setValue(double(v)); }
    void CwMaxVal(long v) { value.setMaximum(double(v)); }
    void CwMinVal(long v) { value.setMinimum(double(v)); }
    void CwVal2(long v) { loggerFile.setValue(double(v)); }
    void CwMaxVal2(long v) { loggerFile.setMaximum(double(v)); }
    void CwMinVal2(long v) { loggerFile.setMinimum(double(v)); }
    void CwVal3(long v) { loggerRecords.setValue(double(v)); }
    void CwMaxVal3(long v) { loggerRecords.setMaximum(double(v)); }
    void CwMinVal3(long v) { loggerRecords.setMinimum(double(v)); }
    void CwEeDataValue(long v) { eeData.setValue(double(v)); }
    void CwEeDataMax(long v) { eeData.setMaximum(double(v)); }
    void CwEeDataMin(long v) { eeData.setMinimum(double(v)); }
    void CwEeAddValue(long v) { eeAddress.setValue(double(v)); }
    void CwEeAddMax(long v) { eeAddress.setMaximum(double(v)); }
    void CwEeAddMin(long v) { eeAddress.setMinimum(double(v)); }
    void SetLblEeprom(const QString& text) { eepromTitle = text; }
    // With false these do nothing.
    void SetframeLogger(bool show);
    void SetFrameValue(bool show);
    void SetFrameEeprom(bool show);

    // --- the set-ups the commands share, in the calling order above ---
    // The value panel: its prompt, and the value from minimum to maximum starting at value.
    void prepareValue(const QString& caption, long minimum, long maximum, long value);
    // The EEPROM panel: its title, addresses 0..lastAddress and data 0..largestData, both starting at 0.
    void prepareEeprom(const QString& title, long lastAddress, long largestData);

    // --- state: the controls of the three panels ---
    ValuePanel panel = ValuePanel::Value;
    QString prompt = QString(PromptDesignLength, u'X'); // Label1
    QString eepromTitle = QStringLiteral("Data");       // lblEeprom
    NumberField value{0, 255, 1};                       // CWNumEdit1
    NumberField loggerFile{1, 20, 1};                   // CWNumEdit2
    NumberField loggerRecords{1, 100, 1};               // CWNumEdit3
    NumberField eeAddress{0, 1023, 0};                  // CWEeAddress
    NumberField eeData{0, 255, 0};                      // CWEeData
    int option = LastUnitOption;                        // the selected unit option (opt1 index)
    bool optionClicked = false;                         // an option was clicked while the dialog was shown
};

// How the user left the dialog. The close box and Esc count as Cancel.
enum class ValueButton { Enter, Cancel };

// The program-wide results of the dialog; nothing clears them between uses.
struct ValueEntryResults {
    QString ValueEntryResult;
    QString ValueEntryData;
    QString ValueEntryOption;
};

// The number in a result text converted to the nearest 16-bit integer, as the callers convert it (0 when
// there is none or it does not fit).
int valueEntryNumber(const QString& result);

// Writes what a button of the shown panel leaves in the results. An option click sets the option result at
// once, whatever button follows.
void applyValueEntryButton(const ValueEntryForm& form, ValueButton button, ValueEntryResults& results);

// Shows the dialog modally for a form; the user's field values and option come back in the form.
class ValueEntryPrompt {
public:
    virtual ~ValueEntryPrompt() = default;
    virtual ValueButton ask(ValueEntryForm& form) = 0;
};

// The shared results and the form the next showing will use.
class ValueEntry {
public:
    explicit ValueEntry(ValueEntryPrompt& prompt) : prompt_(&prompt) {}

    // The form of the next showing; it starts from the load state after every showing.
    ValueEntryForm& frmValue() { return form_; }
    // Shows the dialog, writes the results of the button pressed and resets the form. True for Enter.
    bool show();

    ValueEntryResults results;

private:
    ValueEntryPrompt* prompt_;
    ValueEntryForm form_;
};

} // namespace app
