#include "service/ui/frmtubenut.h"

#include "app/ui/appcontext.h"
#include "controls/ui/numedit.h"
#include "service/ui/controlnames.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral("Brenstal - Tube Nut Parameters");
const QString WriteCaption = QStringLiteral("Write ");
const std::array<const char*, TubeNutSettings::Locations.size()> Labels = {"Home (inlb)", "Open Loop (inlb)",
                                                                           "Safety Torque (inlb)"};
enum Column { LabelColumn, FieldColumn, ButtonColumn };
} // namespace

frmTubeNut::frmTubeNut(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), settings_(ctx.link, ctx.busy) {
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
        auto* label = new QLabel(QString::fromLatin1(Labels[i]), Frame5);
        label->setObjectName(controlName("Label1", location));
        auto* field = new controls::NumEdit(Frame5);
        field->setObjectName(controlName("CwDspParameters", location));
        field->setDecimals(0);
        field->setRange(0, TubeNutSettings::LargestValue);
        connect(field, &controls::NumEdit::valueChanged, this,
                [this, location](double v) { settings_.setValue(location, int(v)); });
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

void frmTubeNut::showValues() {
    for (auto it = CwDspParameters.begin(); it != CwDspParameters.end(); ++it) {
        const std::optional<int> value = settings_.value(it.key());
        if (value)
            it.value()->setValue(*value);
        else
            it.value()->clear(); // not read: the field stays empty
    }
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
