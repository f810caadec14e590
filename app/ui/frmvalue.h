#pragma once
// frmValue: the modal number-entry dialog with its three panels (value, logger, EEPROM). It shows a
// ValueEntryForm and hands the user's values back into it; the results are written by ValueEntry.

#include "app/valueentry.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace app {

class FrmValue : public QDialog {
    Q_OBJECT
public:
    explicit FrmValue(ValueEntryForm& form, QWidget* parent = nullptr);

    // The button that ended the dialog (Cancel until one was pressed; the close box and Esc are Cancel).
    ValueButton button() const { return button_; }

private:
    QWidget* buildValuePanel();
    QWidget* buildLoggerPanel();
    QWidget* buildEepromPanel();
    void enter();
    void takeFields();
    void done(int result) override;

    ValueEntryForm& form_;
    ValueButton button_ = ValueButton::Cancel;
    QStackedWidget* panels_ = nullptr;
    QDoubleSpinBox* CWNumEdit1 = nullptr;
    QDoubleSpinBox* CWNumEdit2 = nullptr;
    QDoubleSpinBox* CWNumEdit3 = nullptr;
    QDoubleSpinBox* CWEeAddress = nullptr;
    QDoubleSpinBox* CWEeData = nullptr;
    QButtonGroup* opt1 = nullptr;
    std::array<QPushButton*, 3> enterButtons_{};
};

// The real dialog behind ValueEntry.
class QtValueEntryPrompt : public ValueEntryPrompt {
public:
    ValueButton ask(ValueEntryForm& form) override;
};

} // namespace app
