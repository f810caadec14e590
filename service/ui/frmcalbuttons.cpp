#include "service/ui/frmcalbuttons.h"

#include "app/ui/appcontext.h"
#include "service/ui/controlnames.h"
#include "service/ui/lineslist.h"

#include <QGridLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
const QString Caption = QStringLiteral("Brenstal - Calibrate Tool Buttons");
// The list shows a step's prompt and results in full.
constexpr int ListColumns = 60;
constexpr int ListRows = 16;
} // namespace

frmCalButtons::frmCalButtons(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), calibration_(ctx.services) {
    calibration_.setWindow(this);
    setObjectName(QStringLiteral("frmCalButtons"));
    setWindowTitle(Caption);

    auto* menuBar = new QMenuBar(this);
    menuBar->addAction(QStringLiteral("&Exit"), this, &frmCalButtons::mnuExit_Click)
        ->setObjectName(QStringLiteral("mnuExit"));

    List1 = makeLinesList(this, ListColumns, ListRows);

    auto* buttons = new QVBoxLayout;
    const auto addButton = [&](int index, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(controlName("BtnCal", index));
        connect(b, &QPushButton::clicked, this, [this, index] { BtnCal_Click(index); });
        BtnCal[index] = b;
        buttons->addWidget(b);
    };
    addButton(ButtonCalibration::TriggerButton, QStringLiteral("Cal Trigger"));
    addButton(ButtonCalibration::CwButton, QStringLiteral("Cal Cw"));
    addButton(ButtonCalibration::CenterButton, QStringLiteral("Cal Center"));
    addButton(ButtonCalibration::CcwButton, QStringLiteral("Cal Ccw"));
    buttons->addStretch(1);
    addButton(ButtonCalibration::RunTestButton, QStringLiteral("Run Test"));

    Bar1 = new QProgressBar(this);
    Bar1->setObjectName(QStringLiteral("Bar1"));
    Bar1->setTextVisible(false);
    progress_ = std::make_unique<app::BarProgress>(*Bar1);
    calibration_.setProgress(*progress_);

    auto* grid = new QGridLayout(this);
    grid->setMenuBar(menuBar);
    grid->addWidget(List1, 0, 0);
    grid->addLayout(buttons, 0, 1);
    grid->addWidget(Bar1, 1, 0, 1, 2);

    connect(&calibration_, &ButtonCalibration::linesChanged, this,
            [this] { showLines(*List1, calibration_.lines()); });
    connect(&calibration_, &ButtonCalibration::buttonsChanged, this, &frmCalButtons::showButtons);
    connect(&calibration_, &ButtonCalibration::finished, this, [this] { closer_.sessionEnded(); });
    showButtons();
}

void frmCalButtons::showButtons() {
    for (int i = ButtonCalibration::FirstButton; i <= ButtonCalibration::LastButton; ++i)
        BtnCal[i]->setEnabled(calibration_.calibrateEnabled());
    BtnCal[ButtonCalibration::RunTestButton]->setEnabled(calibration_.runTestEnabled());
}

void frmCalButtons::mnuExit_Click() {
    app::closeWindow(this);
}

void frmCalButtons::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, calibration_.running(), [this] { calibration_.cancel(); });
}

} // namespace service
