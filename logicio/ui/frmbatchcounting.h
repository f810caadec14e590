#pragma once
// frmBatchCounting: the batch counting window of the version 3 logic editor, modal. The batch list, Enable,
// the six batch options, the four main editors (Pset, output for the batch, output for each fastener, the
// batch size) and the two inputs (reset/previous, next), a flashing note and Return. A view over
// logicio::BatchCountingEditor on the program-wide batch table: every change the user makes is stored at
// once, and closing the window keeps them.

#include "logicio/batchcounting.h"

#include <QDialog>
#include <QTimer>

#include <array>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace logicio {

class LimitNumEdit;

class frmBatchCounting : public QDialog {
    Q_OBJECT
public:
    explicit frmBatchCounting(BatchTable& table, QWidget* parent = nullptr);

    void cboBatch_Click(int index);
    void chkEnable_Click(bool checked);
    void chkOption_Click(int index, bool checked);
    // An editor's value changed by the user: edit 0..3 CWNumEdit1, 4 CWNumEdit2, 5 CWNumEdit3.
    void valueChanged(int edit, double value);
    void btnReturn_Click();
    void Timer1_Timer();

    const BatchCountingEditor& editor() const { return editor_; }

private:
    QWidget* buildTitle();
    QWidget* buildEditors();
    // Shows what the editor holds, without running the change handlers.
    void showBatch();
    void showTitleColor();
    LimitNumEdit* edit(int i) const { return edits_[size_t(i)]; }

    BatchCountingEditor editor_;
    BatchTitleFlash flash_;
    QTimer Timer1;

    QFrame* frameTitle = nullptr;
    QComboBox* cboBatch = nullptr;
    QCheckBox* chkEnable = nullptr;
    QGroupBox* frameOptions = nullptr;
    std::array<QCheckBox*, BatchOptionCount> chkOption{};
    // CWNumEdit1(0..3), CWNumEdit2, CWNumEdit3.
    std::array<LimitNumEdit*, BatchEditCount> edits_{};
    QLabel* lblRstPrev = nullptr;
    QLabel* lblNextSet = nullptr;
    QLabel* lblSetReset = nullptr;
    QPushButton* btnReturn = nullptr;
};

} // namespace logicio
