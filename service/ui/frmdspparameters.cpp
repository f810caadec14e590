#include "service/ui/frmdspparameters.h"

#include "app/ui/appcontext.h"
#include "app/ui/tabrows.h"
#include "controls/ui/numedit.h"
#include "service/ui/controlnames.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral("  Brenstal - Dsp Parameters");
const QString WriteCaption = QStringLiteral("Write ");
// The write bar runs over the request and its answer.
constexpr int WriteBarSteps = 2;
enum Column { LabelColumn, FieldColumn, ButtonColumn };
constexpr int TabsPerRow = 6;
} // namespace

FrmDspParameters::FrmDspParameters(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), editor_(ctx.services, ctx.palverin.access.AccessLevel) {
    setObjectName(QStringLiteral("FrmDspParameters"));
    setWindowTitle(Caption);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(QStringLiteral("Exit"), this, &FrmDspParameters::mnuExit_Click)
        ->setObjectName(QStringLiteral("mnuExit"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    for (int tab = 0; tab < int(dspTabs().size()); ++tab)
        SSTab1->addTab(buildTab(tab), dspTabs()[size_t(tab)].caption);

    Bar1 = new QProgressBar(this);
    Bar1->setObjectName(QStringLiteral("Bar1"));
    Bar1->setTextVisible(false);
    Bar1->setRange(0, WriteBarSteps);
    Bar1->setValue(0);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    // Twelve captions are wider than the work area in one row: they show in two.
    layout->addWidget(new app::TabRows(*SSTab1, TabsPerRow, this));
    layout->addWidget(SSTab1, 1);
    layout->addWidget(Bar1);

    connect(&editor_, &DspParameterEditor::writingChanged, this, &FrmDspParameters::writingChanged);
    Form_Load();
}

FrmDspParameters::~FrmDspParameters() = default;

QWidget* FrmDspParameters::buildTab(int tab) {
    if (tab == dspParameter(DspParameterEditor::ButtonPositionsAddress)->tab)
        return buildButtonPositions();
    auto* page = new QWidget(SSTab1);
    auto* pageLayout = new QVBoxLayout(page);
    const DspTab& t = dspTabs()[size_t(tab)];
    QWidget* frame = page;
    if (t.frameIndex >= 0) {
        auto* box = new QGroupBox(t.frame, page);
        box->setObjectName(controlName("FrameDspSelections", t.frameIndex));
        pageLayout->addWidget(box);
        frame = box;
    }
    auto* grid = new QGridLayout;
    int row = 0;
    for (const DspParameter& p : dspParameters()) {
        if (p.tab != tab)
            continue;
        auto* label = new QLabel(p.label, frame);
        label->setObjectName(controlName("Label1", p.address));
        grid->addWidget(label, row, LabelColumn);
        if (p.group.isEmpty()) {
            auto* field = new controls::NumEdit(frame);
            field->setObjectName(controlName("CwDspParameters", p.address));
            field->setDecimals(0);
            field->setRange(0, DspParameterEditor::LargestValue);
            connect(field, &controls::NumEdit::valueChanged, this,
                    [this, address = p.address](double v) { editor_.setNumber(address, int(v)); });
            CwDspParameters[p.address] = field;
            grid->addWidget(field, row, FieldColumn);
        } else {
            auto* column = new QVBoxLayout;
            buildOptions(dspOptionGroup(p.group), frame, column);
            grid->addLayout(column, row, FieldColumn);
        }
        grid->addWidget(writeButton(p.address, frame), row, ButtonColumn);
        ++row;
    }
    grid->setColumnStretch(FieldColumn, 1);
    if (frame == page) {
        pageLayout->addLayout(grid);
    } else {
        frame->setLayout(grid);
    }
    pageLayout->addStretch(1);
    return page;
}

QWidget* FrmDspParameters::buildButtonPositions() {
    auto* page = new QWidget(SSTab1);
    auto* pageLayout = new QVBoxLayout(page);
    auto* frame = new QGroupBox(dspTabs().front().frame, page);
    frame->setObjectName(controlName("FrameDspSelections", 0));
    auto* row = new QHBoxLayout(frame);
    for (const QString& name : DspParameterEditor::ButtonPositionGroups) {
        const DspOptionGroup& group = dspOptionGroup(name);
        auto* box = new QGroupBox(group.frame, frame);
        auto* column = new QVBoxLayout(box);
        buildOptions(group, box, column);
        row->addWidget(box);
    }
    row->addWidget(writeButton(DspParameterEditor::ButtonPositionsIndex, frame), 0, Qt::AlignBottom);
    pageLayout->addWidget(frame);
    pageLayout->addStretch(1);
    return page;
}

QButtonGroup* FrmDspParameters::buildOptions(const DspOptionGroup& group, QWidget* parent, QBoxLayout* into) {
    auto* buttons = new QButtonGroup(this);
    buttons->setObjectName(group.name);
    for (int i = 0; i < int(group.options.size()); ++i) {
        auto* option = new QRadioButton(group.options[i], parent);
        option->setObjectName(controlName(group.name, i));
        buttons->addButton(option, i);
        into->addWidget(option);
    }
    connect(buttons, &QButtonGroup::idToggled, this, [this, name = group.name](int id, bool checked) {
        if (checked)
            editor_.setOption(name, id);
    });
    options_[group.name] = buttons;
    return buttons;
}

QPushButton* FrmDspParameters::writeButton(int index, QWidget* parent) {
    auto* button = new QPushButton(WriteCaption, parent);
    button->setObjectName(controlName("BtnWriteParameter", index));
    connect(button, &QPushButton::clicked, this, [this, index] { BtnWriteParameter_Click(index); });
    BtnWriteParameter[index] = button;
    return button;
}

void FrmDspParameters::Form_Load() {
    editor_.Display_DspParms();
    for (auto it = CwDspParameters.begin(); it != CwDspParameters.end(); ++it)
        it.value()->setValue(editor_.number(it.key()));
    for (auto it = options_.begin(); it != options_.end(); ++it)
        showOption(it.key());
    for (const DspParameter& p : dspParameters()) {
        if (editor_.editable(p.address))
            continue;
        // Locked rows are numeric rows with their own write buttons.
        CwDspParameters[p.address]->setEnabled(false);
        BtnWriteParameter[p.address]->setEnabled(false);
    }
}

void FrmDspParameters::showOption(const QString& group) {
    QButtonGroup* buttons = options_.value(group);
    const std::optional<int> shown = editor_.option(group);
    if (shown) {
        buttons->button(*shown)->setChecked(true);
        return;
    }
    // A value without an option shows none of them.
    buttons->setExclusive(false);
    for (QAbstractButton* b : buttons->buttons())
        b->setChecked(false);
    buttons->setExclusive(true);
}

void FrmDspParameters::BtnWriteParameter_Click(int index) {
    editor_.BtnWriteParameter_Click(index);
}

void FrmDspParameters::mnuExit_Click() {
    app::closeWindow(this);
}

void FrmDspParameters::writingChanged(bool writing) {
    SSTab1->setEnabled(!writing);
    Bar1->setValue(0);
    if (writing)
        waitCursor_.emplace();
    else
        waitCursor_.reset();
}

} // namespace service
