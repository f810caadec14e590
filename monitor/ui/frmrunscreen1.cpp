#include "monitor/ui/frmrunscreen1.h"

#include "app/ui/appcontext.h"
#include "app/ui/timerpause.h"
#include "monitor/ui/frmresults.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>

namespace monitor {

namespace {
const QString Caption = QStringLiteral("Lumenquest");
constexpr double DigitPoints = 72;
constexpr double UnitPoints = 32.25;
constexpr int PanelMinimumWidth = 420;

using L = RunScreenSession;

QFont largeFont(double points) {
    QFont font(QStringLiteral("Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setPointSizeF(points);
    return font;
}
void setTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour.isValid() ? colour : QColor(Qt::black));
    label->setPalette(palette);
}
} // namespace

frmRunScreen1::frmRunScreen1(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), session_(std::make_shared<RunScreenSession>(ctx.services)) {
    setObjectName(QStringLiteral("frmRunScreen1"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);

    auto* menuBar = new QMenuBar(this);
    QAction* close = menuBar->addAction(QStringLiteral("&Close"), this, &frmRunScreen1::mnuClose_Click);
    close->setObjectName(QStringLiteral("mnuClose"));
    QMenu* rundowns = menuBar->addMenu(QStringLiteral("&Rundowns"));
    rundowns->setObjectName(QStringLiteral("mnuRudnowns"));
    QAction* view =
        rundowns->addAction(QStringLiteral("View Rundowns"), this, &frmRunScreen1::mnuViewRundowns_Click);
    view->setObjectName(QStringLiteral("mnuViewRundowns"));
    QAction* clear =
        rundowns->addAction(QStringLiteral("Clear Rundowns"), this, &frmRunScreen1::mnuClearRundowns_Click);
    clear->setObjectName(QStringLiteral("mnuClearRundowns"));

    for (int i = 1; i < L::LabelCount; ++i) {
        lbl[size_t(i)] = new QLabel(this);
        lbl[size_t(i)]->setObjectName(QStringLiteral("lbl%1").arg(i));
    }
    Label2 = new QLabel(QStringLiteral("Deg"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    for (int i : {L::TorqueLabel, L::AngleLabel})
        lbl[size_t(i)]->setFont(largeFont(DigitPoints));
    lbl[L::UnitsLabel]->setFont(largeFont(UnitPoints));
    Label2->setFont(largeFont(UnitPoints));
    lbl[L::BarCodeLabel]->setFrameShape(QFrame::Box);

    auto* settings = new QGroupBox(QStringLiteral("Current Settings"), this);
    settings->setObjectName(QStringLiteral("FrameSettings"));
    auto* settingsColumn = new QVBoxLayout(settings);
    for (int i : {L::PsetLabel, L::PsetCountLabel, L::TargetLabel, L::HighLabel, L::LowLabel,
                  L::AngleHighLabel, L::AngleLowLabel})
        settingsColumn->addWidget(lbl[size_t(i)]);
    auto* left = new QVBoxLayout;
    left->addWidget(settings);
    left->addStretch();
    left->addWidget(lbl[L::BarCodeHeading]);
    left->addWidget(lbl[L::BarCodeLabel]);
    left->addWidget(lbl[L::StatusLabel]);

    auto* results = new QGroupBox(this);
    results->setObjectName(QStringLiteral("Frame2"));
    results->setMinimumWidth(PanelMinimumWidth);
    auto* digits = new QGridLayout(results);
    digits->addWidget(lbl[L::TorqueLabel], 0, 0, Qt::AlignRight);
    digits->addWidget(lbl[L::UnitsLabel], 1, 0, Qt::AlignRight);
    digits->addWidget(lbl[L::AngleLabel], 2, 0, Qt::AlignRight);
    digits->addWidget(Label2, 2, 1, Qt::AlignLeft | Qt::AlignBottom);

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(left);
    layout->addWidget(results, 1);

    EndTimer = new QTimer(this);
    EndTimer->setObjectName(QStringLiteral("EndTimer"));
    EndTimer->setInterval(L::RetryMs);
    connect(EndTimer, &QTimer::timeout, this, &frmRunScreen1::EndTimer_Timer);
    RundownTimer = new QTimer(this);
    RundownTimer->setObjectName(QStringLiteral("RundownTimer"));
    RundownTimer->setInterval(L::PollMs);
    connect(RundownTimer, &QTimer::timeout, this, &frmRunScreen1::RundownTimer_Timer);

    showLabels();
    Form_Load();
}

frmRunScreen1::~frmRunScreen1() {
    session_->close();
}

void frmRunScreen1::showLabels() {
    for (int i = 1; i < L::LabelCount; ++i)
        lbl[size_t(i)]->setText(session_->labels()[size_t(i)]);
    setTextColour(lbl[L::TorqueLabel], session_->torqueColour());
    setTextColour(lbl[L::AngleLabel], session_->angleColour());
}

void frmRunScreen1::started(RunScreenSession::Start start) {
    showLabels();
    switch (start) {
    case RunScreenSession::Start::Polling:
        RundownTimer->start();
        break;
    case RunScreenSession::Start::Retry:
        EndTimer->start();
        break;
    case RunScreenSession::Start::Idle:
        break;
    }
}

void frmRunScreen1::Form_Load() {
    auto start = RunScreenSession::Start::Idle;
    if (closer_.call([this, &start] { start = session_->startLink(); }))
        started(start);
}

void frmRunScreen1::EndTimer_Timer() {
    EndTimer->stop();
    auto start = RunScreenSession::Start::Idle;
    if (closer_.call([this, &start] { start = session_->retryLink(); }))
        started(start);
}

void frmRunScreen1::RundownTimer_Timer() {
    if (session_->stopped())
        return;
    app::TimerPause pause(*RundownTimer);
    if (!closer_.call([this] { session_->poll(); }))
        return;
    showLabels();
}

void frmRunScreen1::mnuClose_Click() {
    app::closeWindow(this);
}

void frmRunScreen1::mnuViewRundowns_Click() {
    std::optional<RundownLogRows> rows = session_->viewRundowns();
    if (!rows)
        return;
    QWidget* window = ctx_.windows.create(app::wnd::frmResults);
    if (auto* results = qobject_cast<frmResults*>(window))
        results->showRows(std::move(*rows));
    ctx_.windows.show(app::wnd::frmResults, window);
}

void frmRunScreen1::mnuClearRundowns_Click() {
    session_->clearRundowns();
    showLabels();
}

void frmRunScreen1::closeEvent(QCloseEvent* event) {
    RundownTimer->stop();
    EndTimer->stop();
    // A poll that waits ends without going on; the window closes once it has returned.
    session_->close();
    closer_.closeEvent(event);
    if (event->isAccepted())
        ctx_.pump.pause(RunScreenSession::CloseYields);
}

} // namespace monitor
