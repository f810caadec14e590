#include "monitor/ui/frmmonitorbuttons.h"

#include "app/ui/appcontext.h"
#include "app/ui/timerpause.h"
#include "monitor/toolmonitors.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>

namespace monitor {

namespace {
const QString Caption = QStringLiteral("Brenstal - Monitor Buttons");
constexpr int LabelWidth = 140;
constexpr int Columns = 2;
} // namespace

FrmMonitorButtons::FrmMonitorButtons(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), session_(std::make_shared<ButtonMonitor>(ctx.services)) {
    setObjectName(QStringLiteral("FrmMonitorButtons"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QAction* exit = menuBar->addAction(QStringLiteral("Exit"), this, &FrmMonitorButtons::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));

    auto* layout = new QGridLayout(this);
    layout->setMenuBar(menuBar);
    for (int i = 0; i < int(lblButton.size()); ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("lblButton%1").arg(i));
        label->setMinimumWidth(LabelWidth);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        lblButton[size_t(i)] = label;
        layout->addWidget(label, i / Columns, i % Columns);
    }
    showLabels();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(ButtonMonitor::TickMs);
    connect(Timer1, &QTimer::timeout, this, &FrmMonitorButtons::Timer1_Timer);
    Timer1->start();
}

void FrmMonitorButtons::showLabels() {
    for (size_t i = 0; i < lblButton.size(); ++i)
        lblButton[i]->setText(session_->labels()[i]);
}

void FrmMonitorButtons::Timer1_Timer() {
    if (closing_)
        return;
    app::TimerPause pause(*Timer1);
    if (!closer_.call([this] { session_->tick(); }))
        return;
    showLabels();
}

void FrmMonitorButtons::mnuExit_Click() {
    Timer1->stop();
    app::closeWindow(this);
}

void FrmMonitorButtons::closeEvent(QCloseEvent* event) {
    closing_ = true;
    Timer1->stop();
    closer_.closeEvent(event);
}

} // namespace monitor
