#include "service/ui/frmtubenut.h"

#include "app/ui/appcontext.h"
#include "controls/ui/numedit.h"
#include "service/ui/controlnames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral("Brenstal - Tube Nut Parameters");
const QString WriteCaption = QStringLiteral("Write ");
enum Column { LabelColumn, FieldColumn, ButtonColumn };
} // namespace

frmTubeNut::frmTubeNut(app::AppContext& ctx, QWidget* parent) : QWidget(parent), settings_(ctx.services) {
    setObjectName(QStringLiteral("frmTubeNut"));
    setWindowTitle(Caption);

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(QStringLiteral("&Exit"), this, &frmTubeNut::mnuExit_Click)
        ->setObjectName(QStringLiteral("mnuExit"));

    auto* Frame5 = new QGroupBox(this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    auto* grid = new QGridLayout(Frame5);
    for (size_t i = 0; i < TubeNutSettings::Locations.size(); ++i) {
        const int location = TubeNutSettings::Locations[i];
        const int row = int(i);
        auto* label = new QLabel(QString::fromLatin1(TubeNutSettings::Labels[i]), Frame5);
        label->setObjectName(controlName("Label1", location));
        auto* field = new controls::NumEdit(Frame5);
        field->setObjectName(controlName("CwDspParameters", location));
        field->setDecimals(0);
        field->setRange(0, TubeNutSettings::LargestValue);
        watchEntry(location, field);
        auto* write = new QPushButton(WriteCaption, Frame5);
        write->setObjectName(controlName("BtnWriteParameter", location));
        connect(write, &QPushButton::clicked, this, [this, location] { BtnWriteParameter_Click(location); });
        grid->addWidget(label, row, LabelColumn);
        grid->addWidget(field, row, FieldColumn);
        grid->addWidget(write, row, ButtonColumn);
        CwDspParameters[location] = field;
        BtnWriteParameter[location] = write;
    }

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Frame5);
    layout->addStretch(1);

    connect(&settings_, &TubeNutSettings::valuesChanged, this, &frmTubeNut::showValues);
    connect(&settings_, &TubeNutSettings::writingChanged, this, &frmTubeNut::writingChanged);
    showValues();
    settings_.Form_Load();
}

void frmTubeNut::watchEntry(int location, controls::NumEdit* field) {
    // Only what the user enters becomes the location's value: a value stepped with the arrows, or typed
    // text once it is committed (typing the number an empty field holds inside changes no value, yet it
    // is a value entered). Leaving a field that holds no value without typing keeps it empty.
    connect(field, &controls::NumEdit::userEdited, this,
            [this, location](double v) { settings_.setValue(location, int(v)); });
    auto* text = field->findChild<QLineEdit*>();
    if (text)
        connect(text, &QLineEdit::textEdited, this, [this, location] { typed_.insert(location); });
    connect(field, &QAbstractSpinBox::editingFinished, this, [this, location, field] {
        if (typed_.remove(location) && !field->cleanText().isEmpty())
            settings_.setValue(location, int(field->value()));
        showValue(location);
    });
}

void frmTubeNut::showValue(int location) {
    controls::NumEdit* field = CwDspParameters.value(location);
    const std::optional<int> value = settings_.value(location);
    if (!field)
        return;
    if (value)
        field->setValue(*value);
    else
        field->clear(); // not read nor entered: the field stays empty
}

void frmTubeNut::showValues() {
    for (int location : TubeNutSettings::Locations)
        showValue(location);
}

void frmTubeNut::writingChanged(bool writing) {
    for (QPushButton* b : BtnWriteParameter)
        b->setEnabled(!writing);
    if (writing)
        waitCursor_.emplace();
    else
        waitCursor_.reset();
}

void frmTubeNut::mnuExit_Click() {
    app::closeWindow(this);
}

} // namespace service
