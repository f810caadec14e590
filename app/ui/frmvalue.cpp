#include "app/ui/frmvalue.h"

#include "app/ui/captionfit.h"
#include "app/ui/cursors.h"

#include <QButtonGroup>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace app {

namespace {
const QString Caption = QStringLiteral(" Brenstal");
const std::array<const char*, 5> UnitOptions = {"in-lb", "ft-lb", "kg-cm", "kg-m", "Nm"};

QDoubleSpinBox* numberField(const char* name, const NumberField& field, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setDecimals(0);
    // Range first, then the value, so the value is not clipped by the previous range.
    box->setRange(field.minimum, field.maximum);
    box->setValue(field.value);
    return box;
}

QPushButton* pushButton(const char* name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLabel* label(const char* name, const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QHBoxLayout* buttonRow(QPushButton* enter, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(enter);
    row->addWidget(cancel);
    return row;
}
} // namespace

FrmValue::FrmValue(ValueEntryForm& form, QWidget* parent) : QDialog(parent), form_(form) {
    setObjectName(QStringLiteral("frmValue"));
    setWindowTitle(Caption);
    setModal(true);
    panels_ = new QStackedWidget(this);
    panels_->addWidget(buildValuePanel());
    panels_->addWidget(buildLoggerPanel());
    panels_->addWidget(buildEepromPanel());
    panels_->setCurrentIndex(int(form_.panel));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panels_);
    // The shown panel's Enter button answers the Enter key.
    enterButtons_[size_t(form_.panel)]->setDefault(true);
}

QWidget* FrmValue::buildValuePanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("FrameValue"));
    CWNumEdit1 = numberField("CWNumEdit1", form_.value, panel);
    auto* enterButton = pushButton("btnEnter", QStringLiteral("Enter"), panel);
    enterButtons_[size_t(ValuePanel::Value)] = enterButton;
    auto* cancelButton = pushButton("btnCancel", QStringLiteral("Cancel"), panel);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label("Label1", form_.prompt, panel));
    layout->addWidget(CWNumEdit1);
    layout->addLayout(buttonRow(enterButton, cancelButton));
    connect(enterButton, &QPushButton::clicked, this, &FrmValue::enter);
    connect(cancelButton, &QPushButton::clicked, this, &FrmValue::reject);
    return panel;
}

QWidget* FrmValue::buildLoggerPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("frameLogger"));
    CWNumEdit2 = numberField("CWNumEdit2", form_.loggerFile, panel);
    CWNumEdit3 = numberField("CWNumEdit3", form_.loggerRecords, panel);
    auto* fields = new QGridLayout;
    fields->addWidget(label("Label5", QStringLiteral("File"), panel), 0, 0);
    fields->addWidget(CWNumEdit2, 0, 1);
    fields->addWidget(label("Label3", QStringLiteral("# of Records"), panel), 1, 0);
    fields->addWidget(CWNumEdit3, 1, 1);

    opt1 = new QButtonGroup(panel);
    auto* options = new QHBoxLayout;
    for (int i = FirstUnitOption; i <= LastUnitOption; ++i) {
        auto* option = new QRadioButton(QString::fromLatin1(UnitOptions[size_t(i - FirstUnitOption)]), panel);
        option->setObjectName(QStringLiteral("opt1_%1").arg(i));
        option->setChecked(i == form_.option);
        opt1->addButton(option, i);
        options->addWidget(option);
    }
    connect(opt1, &QButtonGroup::idClicked, this, [this](int index) {
        form_.option = index;
        form_.optionClicked = true;
    });

    auto* enterButton = pushButton("btnRead2", QStringLiteral("Enter"), panel);
    enterButtons_[size_t(ValuePanel::Logger)] = enterButton;
    auto* cancelButton = pushButton("Command2", QStringLiteral("Cancel"), panel);
    auto* layout = new QVBoxLayout(panel);
    layout->addLayout(fields);
    layout->addLayout(options);
    layout->addLayout(buttonRow(enterButton, cancelButton));
    connect(enterButton, &QPushButton::clicked, this, &FrmValue::enter);
    connect(cancelButton, &QPushButton::clicked, this, &FrmValue::reject);
    return panel;
}

QWidget* FrmValue::buildEepromPanel() {
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("FrameEeprom"));
    CWEeAddress = numberField("CWEeAddress", form_.eeAddress, panel);
    CWEeData = numberField("CWEeData", form_.eeData, panel);
    auto* fields = new QGridLayout;
    fields->addWidget(label("lblDspWr1", QStringLiteral("Address"), panel), 0, 0);
    fields->addWidget(label("lblDspWr2", QStringLiteral("Data"), panel), 0, 1);
    fields->addWidget(CWEeAddress, 1, 0);
    fields->addWidget(CWEeData, 1, 1);
    auto* enterButton = pushButton("btnEnterEeprom", QStringLiteral("Enter"), panel);
    enterButtons_[size_t(ValuePanel::Eeprom)] = enterButton;
    auto* cancelButton = pushButton("btnCancelEeprom", QStringLiteral("Cancel"), panel);
    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(label("lblEeprom", form_.eepromTitle, panel));
    layout->addLayout(fields);
    layout->addLayout(buttonRow(enterButton, cancelButton));
    connect(enterButton, &QPushButton::clicked, this, &FrmValue::enter);
    connect(cancelButton, &QPushButton::clicked, this, &FrmValue::reject);
    return panel;
}

void FrmValue::enter() {
    button_ = ValueButton::Enter;
    accept();
}

void FrmValue::takeFields() {
    // A value typed but not yet committed by the spin box counts as entered.
    for (QDoubleSpinBox* box : {CWNumEdit1, CWNumEdit2, CWNumEdit3, CWEeAddress, CWEeData})
        box->interpretText();
    form_.value.setValue(CWNumEdit1->value());
    form_.loggerFile.setValue(CWNumEdit2->value());
    form_.loggerRecords.setValue(CWNumEdit3->value());
    form_.eeAddress.setValue(CWEeAddress->value());
    form_.eeData.setValue(CWEeData->value());
}

void FrmValue::done(int result) {
    takeFields();
    if (result != QDialog::Accepted)
        button_ = ValueButton::Cancel;
    QDialog::done(result);
}

ValueButton QtValueEntryPrompt::ask(ValueEntryForm& form) {
    // The user types here, whatever command waits behind: the ordinary pointer, the busy one back after.
    const ArrowCursor arrow;
    FrmValue dialog(form);
    fitCaption(dialog);
    dialog.exec();
    return dialog.button();
}

} // namespace app
