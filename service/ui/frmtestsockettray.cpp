#include "service/ui/frmtestsockettray.h"

#include "app/ui/appcontext.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

namespace {
// Lines the list shows without scrolling: a whole status.
constexpr int ListLines = 20;
} // namespace

FrmTestSocketTray::FrmTestSocketTray(app::AppContext& ctx, QWidget* parent) : QWidget(parent), test_(ctx) {
    setObjectName(QStringLiteral("FrmTestSocketTray"));
    setWindowTitle(QStringLiteral("Brenstal - Test Socket Tray"));

    auto* menuBar = new QMenuBar(this);
    mnuExit = menuBar->addAction(QStringLiteral("&Exit"), this, &FrmTestSocketTray::mnuExit_Click);
    mnuExit->setObjectName(QStringLiteral("mnuExit"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumHeight(List1->fontMetrics().lineSpacing() * ListLines);
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
    List1->clear();
    List1->addItems(test_.List1());
}

void FrmTestSocketTray::showRunning(bool running) {
    mnuExit->setEnabled(!running);
    btnRunTest->setEnabled(!running);
    btnStopTest->setEnabled(running);
}

void FrmTestSocketTray::btnRunTest_Click() {
    auto running = runs_.handler();
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
    auto running = runs_.handler();
    if (test_.pass()) {
        Timer1.start();
        return;
    }
    showRunning(false);
    runs_.closeIfPending();
}

void FrmTestSocketTray::mnuExit_Click() {
    app::closeWindow(this);
}

void FrmTestSocketTray::closeEvent(QCloseEvent* event) {
    // Closing while the test runs stops it; the window closes after the stop.
    if (runs_.postponeClose(event, test_.active(), [this] { test_.btnStopTest_Click(); }))
        return;
    QWidget::closeEvent(event);
}

} // namespace service
