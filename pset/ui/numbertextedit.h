#pragma once
// A numeric editor that shows its value in the program's number text (12.5, 80, 0.333), the way Pset
// records and settings hold it, whatever the desktop's locale: a point as decimal separator, no digit
// grouping, no trailing zeros.
//
// It tells two kinds of value apart. A value the program sets (setValue: what a record or a settings file
// holds) is kept and shown as it is, whatever its size, sign or decimals: the editor neither clamps nor
// rounds it, so that showing a value never changes it. A value the user enters (typed or stepped with the
// arrows, the keys or the wheel) keeps to the entry range and the entry decimals, so that it fits the
// 10-character text of a record; a typed value outside them is not taken, a stepped one stops at them.
//
//   auto* target = new pset::NumberTextEdit(6553.5, this);   // the user enters 0..6553.5, 3 decimals
//   target->setValue(6638.25);                           // shows "6638.25", value() 6638.25

#include "controls/ui/numedit.h"

namespace pset {

class NumberTextEdit : public controls::NumEdit {
    Q_OBJECT
public:
    // What the user enters keeps this many decimals.
    static constexpr int Decimals = 3;

    // An editor the user enters 0..maximum into.
    explicit NumberTextEdit(double maximum, QWidget* parent = nullptr);

    // What the user may enter; values the program sets are not held to it.
    void setEntryRange(double minimum, double maximum);
    void setEntryDecimals(int decimals);
    double entryMinimum() const { return entryMinimum_; }
    double entryMaximum() const { return entryMaximum_; }
    // value as the user could enter it: rounded to the entry decimals and held to the entry range.
    double entryValue(double value) const;

    // The spin box's own range and decimals would clamp and round what the program shows: the entry
    // range and decimals take their place.
    void setMinimum(double) = delete;
    void setMaximum(double) = delete;
    void setRange(double, double) = delete;
    void setDecimals(int) = delete;

    void stepBy(int steps) override;

protected:
    QString textFromValue(double value) const override;
    QValidator::State validate(QString& text, int& pos) const override;
    StepEnabled stepEnabled() const override;

private:
    // The number in a typed text, without the suffix.
    QString numberText(const QString& text) const;

    double entryMinimum_ = 0;
    double entryMaximum_ = 0;
    int entryDecimals_ = Decimals;
};

} // namespace pset
