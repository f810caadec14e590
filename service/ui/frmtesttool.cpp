#include "service/ui/frmtesttool.h"

#include "app/ui/appcontext.h"
#include "service/ui/lineslist.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
// The list shows the power-cycle prompt whole, and a cycle's lines without scrolling.
constexpr int ListColumns = 64;
constexpr int ListLines = 8;
} // namespace

FrmTestTool::FrmTestTool(app::AppContext& ctx, QWidget* parent) : QDialog(parent), test_(ctx.services) {
    setObjectName(QStringLiteral("frmTestTool"));
    setWindowTitle(QStringLiteral("Test Tool Cycle Counter"));

    Command2 = new QPushButton(QStringLiteral("Start Test"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    connect(Command2, &QPushButton::clicked, this, &FrmTestTool::Command2_Click);
    Command1 = new QPushButton(QStringLiteral("Continue "), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    Command1->setEnabled(false);
    connect(Command1, &QPushButton::clicked, this, &FrmTestTool::Command1_Click);
    List1 = makeLinesList(this, ListColumns, ListLines);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(List1);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(CycleIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &FrmTestTool::Timer1_Timer);
    connect(&test_, &ToolCycleTest::listChanged, this, &FrmTestTool::showList);
}

void FrmTestTool::showList() {
    showLines(*List1, test_.List1());
}

void FrmTestTool::Command2_Click() {
    // A new test needs a new opening of the window.
    Command2->setEnabled(false);
    auto handler = closer_.handler();
    switch (test_.Command2_Click(this)) {
    case ToolCycleTest::Prepared::AwaitContinue:
        Command1->setEnabled(!closer_.closePending());
        break;
    case ToolCycleTest::Prepared::CloseWindow:
        app::closeWindow(this);
        break;
    case ToolCycleTest::Prepared::Stopped:
        break;
    }
}

void FrmTestTool::Command1_Click() {
    Command1->setEnabled(false);
    if (test_.Command1_Click())
        Timer1.start();
}

void FrmTestTool::Timer1_Timer() {
    // The timer is single-shot: cycles never overlap, and the next starts 500 ms after this one ended.
    auto handler = closer_.handler();
    if (test_.Timer1_Timer() && !closer_.closePending())
        Timer1.start();
}

void FrmTestTool::stopTest(QCloseEvent* event) {
    // The test stops with the window; while a handler runs the close waits for it.
    Timer1.stop();
    test_.cancel();
    closer_.closeEvent(event, false, {});
}

void FrmTestTool::closeEvent(QCloseEvent* event) {
    stopTest(event);
    if (event->isAccepted())
        QDialog::closeEvent(event);
}

void FrmTestTool::reject() {
    // Escape closes the dialog as its close box does.
    QCloseEvent event;
    stopTest(&event);
    if (event.isAccepted())
        QDialog::reject();
}

} // namespace service
