#include "pset/editcycle.h"

namespace pset {

PsetEditCycle::PsetEditCycle(QObject* parent) : QObject(parent) {
    tmrUpdate_.setSingleShot(true);
    tmrUpdate_.setInterval(UpdateDelayMs);
    connect(&tmrUpdate_, &QTimer::timeout, this, &PsetEditCycle::tmrUpdate_Timer);
}

void PsetEditCycle::userEdited(ValueEditor editor) {
    editInProgress_ = true;
    edited_.set(std::size_t(editor));
    if (editor == ValueEditor::neTqTarget)
        targetEdited_ = true;
    tmrUpdate_.start();
}

void PsetEditCycle::valueChanged(ValueEditor editor) {
    if (editInProgress_)
        return;
    if (editor == ValueEditor::neTqTarget)
        targetEdited_ = true;
    tmrUpdate_.start();
}

void PsetEditCycle::percentEdited() {
    percentEdited_ = true;
    tmrUpdate_.start();
}

void PsetEditCycle::selectorChanged() {
    percentEdited_ = false;
}

void PsetEditCycle::dragged(ValueEditor editor) {
    edited_.set(std::size_t(editor));
    tmrUpdate_.start();
}

void PsetEditCycle::finished() {
    editInProgress_ = false;
    percentEdited_ = false;
    edited_.reset();
}

bool PsetEditCycle::takePending() {
    const bool wasPending = tmrUpdate_.isActive();
    tmrUpdate_.stop();
    return wasPending;
}

} // namespace pset
