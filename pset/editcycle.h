#pragma once
// The Pset editor's update cycle. Every edit reaches the record after a short timer, tmrUpdate (50 ms,
// one shot): its timeout tells the window to store the editors into the shown Pset and show it again.
// Showing changes editor values, which only re-arm the timer, so the cycle ends as soon as what is stored
// and what is shown agree. Only the editors the user changed (typed, stepped, a dragged cursor) are
// stored: a value the program put into an editor stays in the record as the record holds it. Three flags
// steer it:
//   EditInProgress  a user's edit is being processed: value changes do not re-arm the timer;
//   TargetEdited    the target was edited or changed: each update reads the project's curve again in
//                   the shown Pset's units (kept for the life of the window);
//   PercentEdited   the user drives the limits through the percent: showing does not derive the percent.
//
//   cycle.userEdited(pset::ValueEditor::neTqTarget);      // the user typed a target
//   connect(&cycle, &pset::PsetEditCycle::tmrUpdate_Timer, window, &frmPset::tmrUpdate_Timer);

#include "pset/psetview.h"

#include <QObject>
#include <QTimer>

#include <bitset>

namespace pset {

class PsetEditCycle : public QObject {
    Q_OBJECT
public:
    static constexpr int UpdateDelayMs = 50;

    explicit PsetEditCycle(QObject* parent = nullptr);

    // The user edited a value editor: EditInProgress set, the timer armed.
    void userEdited(ValueEditor editor);
    // A value editor's value changed: the timer armed unless a user's edit is being processed.
    void valueChanged(ValueEditor editor);
    // The user changed the percent: PercentEdited set, the timer armed.
    void percentEdited();
    // The selector shows another Pset: the percent is derived again.
    void selectorChanged();
    // A dragged cursor set an editor: the timer armed, the editor to be stored.
    void dragged(ValueEditor editor);
    // The update ran: EditInProgress and PercentEdited cleared, nothing left to store.
    void finished();
    // Stops a pending update; true when one was pending (the window then runs it at once).
    bool takePending();

    bool pending() const { return tmrUpdate_.isActive(); }
    bool EditInProgress() const { return editInProgress_; }
    bool TargetEdited() const { return targetEdited_; }
    bool PercentEdited() const { return percentEdited_; }
    // The editors the user changed since the last update.
    bool edited(ValueEditor editor) const { return edited_.test(std::size_t(editor)); }

signals:
    // Store the editors into the shown Pset and show it again.
    void tmrUpdate_Timer();

private:
    QTimer tmrUpdate_;
    bool editInProgress_ = false;
    bool targetEdited_ = false;
    bool percentEdited_ = false;
    std::bitset<ValueEditorCount> edited_;
};

} // namespace pset
