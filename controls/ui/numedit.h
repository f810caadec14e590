#pragma once
// NumEdit: the numeric editor of the Pset editor, the curve window and the statistics window.
//
// A QDoubleSpinBox that tells the user's edits from the program's: valueChanged(double) comes with every
// real change of the value, userEdited(double) only when the user typed a value (committed with Enter or
// by leaving the field), stepped it with the arrows, the keys or the wheel. Changes made through this
// class's setValue, setMinimum, setMaximum, setRange and setDecimals (which may clamp or round the value)
// never emit userEdited; call them on the NumEdit, not through a QDoubleSpinBox pointer.
//
// Set the decimals before the value: the spin box rounds every value to its decimals (0 decimals for
// whole numbers). A suffix such as " Deg" is shown after the number and is not part of the value.
//
//   auto* angle = new controls::NumEdit(this);
//   angle->setDecimals(0);
//   angle->setRange(0, 9999);
//   angle->setSuffix(" Deg");
//   connect(angle, &controls::NumEdit::userEdited, this, [](double v) { ... });

#include <QDoubleSpinBox>

namespace controls {

class NumEdit : public QDoubleSpinBox {
    Q_OBJECT
public:
    // The range a new editor accepts until the window sets its own.
    static constexpr double DefaultLimit = 999999;

    explicit NumEdit(QWidget* parent = nullptr);

    void setMinimum(double minimum);
    void setMaximum(double maximum);
    void setRange(double minimum, double maximum);
    void setDecimals(int decimals);

public slots:
    void setValue(double value);

signals:
    // The user changed the value to value.
    void userEdited(double value);

private:
    // Runs a change made by the program, so that the value it may change is not taken for the user's.
    template <typename Change> void programmatic(Change change);

    bool programmatic_ = false;
};

} // namespace controls
