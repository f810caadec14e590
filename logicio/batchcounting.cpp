#include "logicio/batchcounting.h"

#include <algorithm>

namespace logicio {

namespace {

BatchTable::Flag optionFlag(int index) {
    return BatchTable::Flag(1 << (index + 1));
}

bool isOption(int index) {
    return index >= 0 && index < BatchOptionCount;
}

bool isEdit(int edit) {
    return edit >= 0 && edit < BatchEditCount;
}

} // namespace

const std::array<BatchOptionText, BatchOptionCount>& batchOptionTexts() {
    static const QString latchTip = QStringLiteral(
        "When checked, Output Latches.  Otherwise it will turn off after a couple of seconds.");
    static const std::array<BatchOptionText, BatchOptionCount> texts = {{
        {QStringLiteral("Count Accepts"), QStringLiteral("Count increases when an accept occurs")},
        {QStringLiteral("Count Rejects"), QStringLiteral("Count increases when a reject occurs")},
        {QStringLiteral("Display Count"),
         QStringLiteral("If unchecked, 2nd display will be controlled by normal logic i/o")},
        {QStringLiteral("Advance Pset"),
         QStringLiteral("When batch is complete, controller will advance to next enabled batch")},
        {QStringLiteral("Latch Output - ALL"), latchTip},
        {QStringLiteral("Latch Output - Each"), latchTip},
    }};
    return texts;
}

const std::array<QString, BatchEditCount>& batchEditLabels() {
    static const std::array<QString, BatchEditCount> labels = {
        QStringLiteral("Run Parameter"),  QStringLiteral("Output -- ALL"),
        QStringLiteral("Output -- Each"), QStringLiteral("Number of Fasteners"),
        QStringLiteral("Reset/Prev."),    QStringLiteral("Next Set"),
    };
    return labels;
}

QStringList batchNames() {
    QStringList names;
    for (int k = 1; k <= BatchTable::Batches; ++k)
        names << QStringLiteral("Batch %1").arg(k);
    return names;
}

void BatchCountingEditor::cboBatch_Click(int index) {
    if (index < 0 || index >= BatchTable::Batches)
        return;
    view_.batch = index + 1;
    view_.enableShown = true;
    view_.editsUsable = true;
    view_.enabled = table_.flag(view_.batch, BatchTable::Enable);
    showBatch();
}

void BatchCountingEditor::chkEnable_Click(bool checked) {
    if (view_.batch == 0)
        return;
    table_.setFlag(view_.batch, BatchTable::Enable, checked);
    view_.enabled = checked;
    showBatch();
}

void BatchCountingEditor::chkOption_Click(int index, bool checked) {
    if (view_.batch == 0 || !isOption(index))
        return;
    table_.setFlag(view_.batch, optionFlag(index), checked);
    view_.options[size_t(index)] = checked;
}

std::optional<int> BatchCountingEditor::valueChanged(int edit, int value) {
    if (view_.batch == 0 || !isEdit(edit))
        return std::nullopt;
    const int stored = table_.setValue(view_.batch, editField(edit), value);
    view_.values[size_t(edit)] = stored;
    return stored;
}

void BatchCountingEditor::showBatch() {
    const int k = view_.batch;
    view_.detailsShown = view_.enabled;
    for (int i = 0; i < BatchOptionCount; ++i)
        view_.options[size_t(i)] = table_.flag(k, optionFlag(i));
    for (int edit = 0; edit < BatchEditCount; ++edit) {
        const int word = table_.value(k, editField(edit));
        // An enabled batch keeps what its editors show; a disabled one only shows it.
        view_.values[size_t(edit)] =
            view_.enabled ? int(table_.setValue(k, editField(edit), word))
                          : std::clamp(word, editLimits(edit).minimum, editLimits(edit).maximum);
    }
}

void BatchTitleFlash::Timer1_Timer() {
    if (done())
        return;
    red_ = !red_;
    ++ticks_;
}

} // namespace logicio
