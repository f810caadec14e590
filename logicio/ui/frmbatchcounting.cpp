#include "logicio/ui/frmbatchcounting.h"

#include "app/ui/windowregistry.h"
#include "logicio/ui/limitnumedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace logicio {

namespace {

// The labels of the editors, in editor order.
const std::array<const char*, BatchEditCount> EditLabelNames = {
    "lblPset", "lblOutputFinal", "lblOutputEach", "lblNoFasteners", "lblRstPrev", "lblNextSet"};
const std::array<const char*, 4> NoteLabelNames = {"lblNote", "Label1", "Label2", "Label3"};
constexpr int OptionColumns = 2;
constexpr int ResetPrevEdit = 4;
constexpr int NextEdit = 5;

QString editName(int edit) {
    if (edit < BatchMainEdits)
        return QStringLiteral("CWNumEdit1_%1").arg(edit);
    return edit == ResetPrevEdit ? QStringLiteral("CWNumEdit2") : QStringLiteral("CWNumEdit3");
}

} // namespace

frmBatchCounting::frmBatchCounting(BatchTable& table, QWidget* parent) : QDialog(parent), editor_(table) {
    setObjectName(app::wnd::frmBatchCounting);
    setWindowTitle(BatchCountingCaption);
    setAttribute(Qt::WA_DeleteOnClose);

    cboBatch = new QComboBox(this);
    cboBatch->setObjectName(QStringLiteral("cboBatch"));
    cboBatch->addItems(batchNames());
    cboBatch->setCurrentIndex(-1);
    connect(cboBatch, &QComboBox::activated, this, &frmBatchCounting::cboBatch_Click);
    chkEnable = new QCheckBox(BatchEnableCaption, this);
    chkEnable->setObjectName(QStringLiteral("chkEnable"));
    connect(chkEnable, &QCheckBox::clicked, this, &frmBatchCounting::chkEnable_Click);
    auto* choice = new QHBoxLayout;
    choice->addWidget(cboBatch);
    choice->addWidget(chkEnable);
    choice->addStretch(1);

    frameOptions = new QGroupBox(BatchOptionsCaption, this);
    frameOptions->setObjectName(QStringLiteral("frameOptions"));
    auto* options = new QGridLayout(frameOptions);
    for (int i = 0; i < BatchOptionCount; ++i) {
        const BatchOptionText& text = batchOptionTexts()[size_t(i)];
        auto* box = new QCheckBox(text.caption, frameOptions);
        box->setObjectName(QStringLiteral("chkOption_%1").arg(i));
        box->setToolTip(text.toolTip);
        connect(box, &QCheckBox::clicked, this, [this, i](bool checked) { chkOption_Click(i, checked); });
        options->addWidget(box, i / OptionColumns, i % OptionColumns);
        chkOption[size_t(i)] = box;
    }

    btnReturn = new QPushButton(BatchReturnCaption, this);
    btnReturn->setObjectName(QStringLiteral("btnReturn"));
    connect(btnReturn, &QPushButton::clicked, this, &frmBatchCounting::btnReturn_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildTitle());
    layout->addLayout(choice);
    layout->addWidget(frameOptions);
    layout->addWidget(buildEditors());
    layout->addStretch(1);
    layout->addWidget(btnReturn, 0, Qt::AlignHCenter);

    Timer1.setInterval(BatchTitleFlash::IntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &frmBatchCounting::Timer1_Timer);
    Timer1.start();
    showBatch();
}

QWidget* frmBatchCounting::buildTitle() {
    frameTitle = new QFrame(this);
    frameTitle->setObjectName(QStringLiteral("frameTitle"));
    frameTitle->setFrameShape(QFrame::Box);
    frameTitle->setAutoFillBackground(true);
    auto* note = new QVBoxLayout(frameTitle);
    for (size_t i = 0; i < NoteLabelNames.size(); ++i) {
        auto* line = new QLabel(BatchNoteLines[qsizetype(i)], frameTitle);
        line->setObjectName(QString::fromLatin1(NoteLabelNames[i]));
        line->setAlignment(Qt::AlignHCenter);
        note->addWidget(line);
    }
    showTitleColor();
    return frameTitle;
}

QWidget* frmBatchCounting::buildEditors() {
    auto* panel = new QWidget(this);
    auto* form = new QFormLayout(panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    for (int i = 0; i < BatchEditCount; ++i) {
        const BatchTable::Limits limits = BatchCountingEditor::editLimits(i);
        auto* number = new LimitNumEdit(limits.minimum, limits.maximum, panel);
        number->setObjectName(editName(i));
        connect(number, &controls::NumEdit::userEdited, this, [this, i](double v) { valueChanged(i, v); });
        edits_[size_t(i)] = number;
        auto* label = new QLabel(batchEditLabels()[size_t(i)], panel);
        label->setObjectName(QString::fromLatin1(EditLabelNames[size_t(i)]));
        label->setBuddy(number);
        if (i == ResetPrevEdit) {
            lblSetReset = new QLabel(BatchInputsHeading, panel);
            lblSetReset->setObjectName(QStringLiteral("lblSetReset"));
            form->addRow(lblSetReset);
        }
        form->addRow(label, number);
    }
    // All editors as wide as the widest.
    int width = 0;
    for (const LimitNumEdit* number : edits_)
        width = std::max(width, number->sizeHint().width());
    for (LimitNumEdit* number : edits_)
        number->setMinimumWidth(width);
    lblRstPrev = panel->findChild<QLabel*>(QStringLiteral("lblRstPrev"));
    lblNextSet = panel->findChild<QLabel*>(QStringLiteral("lblNextSet"));
    return panel;
}

// ---------------------------------------------------------------------------------------------------------

void frmBatchCounting::showBatch() {
    const BatchCountingView& view = editor_.view();
    {
        const QSignalBlocker blocker(cboBatch);
        cboBatch->setCurrentIndex(view.batch - 1);
    }
    chkEnable->setVisible(view.enableShown);
    chkEnable->setChecked(view.enabled);
    // The options and the two inputs are shown for an enabled batch only; the heading over the inputs
    // stays.
    for (QWidget* detail : std::initializer_list<QWidget*>{frameOptions, lblRstPrev, lblNextSet,
                                                           edit(ResetPrevEdit), edit(NextEdit)})
        detail->setVisible(view.detailsShown);
    for (int i = 0; i < BatchOptionCount; ++i)
        chkOption[size_t(i)]->setChecked(view.options[size_t(i)]);
    for (int i = 0; i < BatchEditCount; ++i) {
        edit(i)->setValue(view.values[size_t(i)]);
        edit(i)->setEnabled(view.editsUsable);
    }
}

void frmBatchCounting::showTitleColor() {
    QPalette palette = frameTitle->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(flash_.color()));
    frameTitle->setPalette(palette);
}

void frmBatchCounting::cboBatch_Click(int index) {
    editor_.cboBatch_Click(index);
    showBatch();
}

void frmBatchCounting::chkEnable_Click(bool checked) {
    editor_.chkEnable_Click(checked);
    showBatch();
}

void frmBatchCounting::chkOption_Click(int index, bool checked) {
    editor_.chkOption_Click(index, checked);
    showBatch();
}

void frmBatchCounting::valueChanged(int edit, double value) {
    editor_.valueChanged(edit, int(value));
    showBatch();
}

void frmBatchCounting::btnReturn_Click() {
    close();
}

void frmBatchCounting::Timer1_Timer() {
    flash_.Timer1_Timer();
    showTitleColor();
    if (flash_.done())
        Timer1.stop();
}

} // namespace logicio
