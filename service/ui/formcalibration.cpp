#include "service/ui/formcalibration.h"

#include "app/ui/appcontext.h"
#include "controls/ui/numedit.h"
#include "service/ui/lineslist.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral(" Brenstal - Calibration");
// The list shows the steps' lines in full.
constexpr int ListColumns = 50;
constexpr int ListRows = 12;
} // namespace

FormCalibration::FormCalibration(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), calibration_(ctx.services) {
    setObjectName(QStringLiteral("FormCalibration"));
    setWindowTitle(Caption);
    calibration_.setWindow(this);

    auto* menuBar = new QMenuBar(this);
    mnuManualCalibration =
        menuBar->addAction(QStringLiteral("&Manual Cal"), this, &FormCalibration::mnuManualCalibration_Click);
    mnuManualCalibration->setObjectName(QStringLiteral("mnuManualCalibration"));
    menuBar->addAction(QStringLiteral("&Exit"), this, &FormCalibration::mnuExit_Click)
        ->setObjectName(QStringLiteral("mnuExit"));

    frameManualCal = new QGroupBox(this);
    frameManualCal->setObjectName(QStringLiteral("frameManualCal"));
    CWCalValue = new controls::NumEdit(frameManualCal);
    CWCalValue->setObjectName(QStringLiteral("CWCalValue"));
    CWCalValue->setDecimals(EntryDecimals);
    CWCalValue->setRange(0, ManualCalibration::LargestEntry);
    btnManualCal = new QPushButton(QStringLiteral("Enter"), frameManualCal);
    btnManualCal->setObjectName(QStringLiteral("btnManualCal"));
    connect(btnManualCal, &QPushButton::clicked, this, &FormCalibration::btnManualCal_Click);
    auto* entry = new QHBoxLayout(frameManualCal);
    entry->addWidget(CWCalValue, 1);
    entry->addWidget(btnManualCal);

    List1 = makeLinesList(this, ListColumns, ListRows);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(frameManualCal);
    layout->addWidget(List1, 1);

    connect(&calibration_, &ManualCalibration::linesChanged, this,
            [this] { showLines(*List1, calibration_.lines()); });
    connect(&calibration_, &ManualCalibration::stateChanged, this, &FormCalibration::showState);
    connect(&calibration_, &ManualCalibration::finished, this, [this] { closer_.sessionEnded(); });
    showState();
}

void FormCalibration::showState() {
    mnuManualCalibration->setEnabled(calibration_.menuEnabled());
    frameManualCal->setEnabled(calibration_.frameEnabled());
    frameManualCal->setTitle(calibration_.frameCaption());
}

void FormCalibration::btnManualCal_Click() {
    CWCalValue->interpretText();
    calibration_.btnManualCal_Click(CWCalValue->value());
}

void FormCalibration::mnuExit_Click() {
    if (calibration_.mnuExit_Click())
        app::closeWindow(this);
}

void FormCalibration::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, calibration_.running(), [this] { calibration_.cancel(); });
}

} // namespace service
