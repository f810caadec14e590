#include "monitor/ui/frmmonitor.h"

#include "app/ui/appcontext.h"
#include "app/ui/timerpause.h"
#include "monitor/monitorsession.h"
#include "monitor/transmittest.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace monitor {

namespace {
const QString Caption = QStringLiteral("Brenstal - Monitor");
const QString FaultsCaption = QStringLiteral("Brenstal - Monitor Faults");
const QString RundownsCaption = QStringLiteral("Brenstal - Monitor Rundowns");
// Both ticks come 10 ms after the window is switched on; a fault tick then waits its link's pause.
constexpr int TickMs = 10;
constexpr int ListWidth = 420;
constexpr int ListHeight = 300;
} // namespace

FrmMonitor::FrmMonitor(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), session_(std::make_shared<MonitorSession>(ctx.services)) {
    setObjectName(QStringLiteral("FrmMonitor"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QAction* exit = menuBar->addAction(QStringLiteral("Exit"), this, &FrmMonitor::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumSize(ListWidth, ListHeight);
    Command1 = new QPushButton(QStringLiteral("Command1"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &FrmMonitor::Command1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(List1, 1);
    layout->addWidget(Command1, 0, Qt::AlignLeft);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(TickMs);
    connect(Timer1, &QTimer::timeout, this, &FrmMonitor::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(TickMs);
    connect(Timer2, &QTimer::timeout, this, &FrmMonitor::Timer2_Timer);
    testSlices_ = new QTimer(this);
    testSlices_->setInterval(0);
    connect(testSlices_, &QTimer::timeout, this, &FrmMonitor::sendTestSlice);

    Form_Load();
}

FrmMonitor::~FrmMonitor() {
    session_->close();
}

void FrmMonitor::Form_Load() {
    session_->load();
}

void FrmMonitor::SetFaults(bool on) {
    if (!on)
        return;
    setWindowTitle(FaultsCaption);
    Timer1->start();
}

void FrmMonitor::SetRundown(bool on) {
    if (!on)
        return;
    setWindowTitle(RundownsCaption);
    Timer2->start();
}

void FrmMonitor::showList() {
    List1->clear();
    List1->addItems(session_->lines());
}

void FrmMonitor::Timer1_Timer() {
    if (session_->closed())
        return;
    app::TimerPause pause(*Timer1);
    if (!closer_.call([this] { session_->faultTick(); }))
        return;
    Timer1->setInterval(session_->faultIntervalMs());
    showList();
}

void FrmMonitor::Timer2_Timer() {
    if (session_->closed())
        return;
    app::TimerPause pause(*Timer2);
    MonitorSession::RundownTick tick = MonitorSession::RundownTick::Continue;
    if (!closer_.call([this, &tick] { tick = session_->rundownTick(); }))
        return;
    showList();
    if (tick == MonitorSession::RundownTick::CloseWindow) {
        Timer2->stop();
        app::closeWindow(this);
    }
}

void FrmMonitor::Command1_Click() {
    if (test_ && test_->running())
        return;
    auto test = std::make_shared<TransmitTest>(ctx_.services);
    bool begun = false;
    if (!closer_.call([&test, &begun] { begun = test->begin(); }) || !begun)
        return;
    test_ = std::move(test);
    Command1->setEnabled(false);
    testSlices_->start();
}

void FrmMonitor::sendTestSlice() {
    bool more = false;
    if (!closer_.call([this, &more] { more = test_->sendSlice(); }))
        return;
    if (more)
        return;
    testSlices_->stop();
    Command1->setEnabled(true);
}

void FrmMonitor::stopTimers() {
    Timer1->stop();
    Timer2->stop();
    testSlices_->stop();
}

void FrmMonitor::mnuExit_Click() {
    stopTimers();
    if (!closer_.call([this] { session_->sendClosingFrame(); }))
        return;
    app::closeWindow(this);
}

void FrmMonitor::closeEvent(QCloseEvent* event) {
    stopTimers();
    // A tick that waits ends without going on; the window closes once it has returned, sending the closing
    // frame once more.
    session_->close();
    closer_.closeEvent(event);
    if (event->isAccepted())
        session_->sendClosingFrame();
}

} // namespace monitor
