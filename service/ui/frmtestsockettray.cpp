#include "service/ui/frmtestsockettray.h"

#include "app/ui/appcontext.h"
#include "service/ui/lineslist.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
// The list shows a whole status without scrolling.
constexpr int ListColumns = 24;
constexpr int ListLines = 20;
} // namespace

FrmTestSocketTray::FrmTestSocketTray(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), test_(ctx.services) {
    setObjectName(QStringLiteral("FrmTestSocketTray"));
    setWindowTitle(QStringLiteral("Brenstal - Test Socket Tray"));

    auto* menuBar = new QMenuBar(this);
    mnuExit = menuBar->addAction(QStringLiteral("&Exit"), this, &FrmTestSocketTray::mnuExit_Click);
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    List1 = makeLinesList(this, ListColumns, ListLines);
    btnRunTest = new QPushButton(QStringLiteral("Run Test"), this);
    btnRunTest->setObjectName(QStringLiteral("btnRunTest"));
    connect(btnRunTest, &QPushButton::clicked, this, &FrmTestSocketTray::btnRunTest_Click);
    btnStopTest = new QPushButton(QStringLiteral("Stop Test"), this);
    btnStopTest->setObjectName(QStringLiteral("btnStopTest"));
    connect(btnStopTest, &QPushButton::clicked, this, &FrmTestSocketTray::btnStopTest_Click);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnRunTest);
    buttons->addWidget(btnStopTest);
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(List1);
    layout->addLayout(buttons);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(0);
    connect(&Timer1, &QTimer::timeout, this, &FrmTestSocketTray::Timer1_Timer);
    connect(&test_, &SocketTrayTest::listChanged, this, &FrmTestSocketTray::showList);

    showRunning(false);
    test_.Form_Load();
}

void FrmTestSocketTray::showList() {
    showLines(*List1, test_.List1());
}

void FrmTestSocketTray::showRunning(bool running) {
    mnuExit->setEnabled(!running);
    btnRunTest->setEnabled(!running);
    btnStopTest->setEnabled(running);
}

void FrmTestSocketTray::btnRunTest_Click() {
    auto handler = closer_.handler();
    // The program stays busy while the test runs; this window alone stays usable, to stop it.
    if (!test_.btnRunTest_Click(this))
        return;
    showRunning(true);
    Timer1.start();
}

void FrmTestSocketTray::btnStopTest_Click() {
    test_.btnStopTest_Click();
}

void FrmTestSocketTray::Timer1_Timer() {
    // The timer is single-shot: it is off while the pass waits, and started again for the next one.
    auto handler = closer_.handler();
    if (test_.pass()) {
        Timer1.start();
        return;
    }
    showRunning(false);
    closer_.sessionEnded();
}

void FrmTestSocketTray::mnuExit_Click() {
    app::closeWindow(this);
}

void FrmTestSocketTray::closeEvent(QCloseEvent* event) {
    // Closing while the test runs stops it; the window closes after the stop.
    closer_.closeEvent(event, test_.active(), [this] { test_.btnStopTest_Click(); });
}

} // namespace service
