#include "monitor/ui/toolled.h"

#include "app/ui/appcontext.h"
#include "app/ui/timerpause.h"
#include "monitor/toolmonitors.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace monitor {

namespace {
const QString Caption = QStringLiteral("Tool Leds");
struct LedFrame {
    const char* caption;
    const char* options; // the option buttons' name
};
constexpr std::array<LedFrame, 4> Frames = {
    {{"Yellow Led", "optY"}, {"Red Led", "optR"}, {"Green Led", "optG"}, {"Blue Led", "optB"}}};
constexpr std::array<const char*, 3> OptionTexts = {"Off", "On", "Flash"};
constexpr int Columns = 2;
// Characters of room around the echo in Text1.
constexpr int EchoMargin = 4;
} // namespace

ToolLed::ToolLed(app::AppContext& ctx, QWidget* parent)
    : QWidget(parent), session_(std::make_shared<ToolLedSession>(ctx.services)) {
    setObjectName(QStringLiteral("ToolLed"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QAction* exit = menuBar->addAction(QStringLiteral("Exit"), this, &ToolLed::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));

    auto* frames = new QGridLayout;
    for (int led = 0; led < int(Frames.size()); ++led) {
        auto* frame = new QGroupBox(QString::fromLatin1(Frames[size_t(led)].caption), this);
        auto* column = new QVBoxLayout(frame);
        auto* group = new QButtonGroup(frame);
        for (int state = 0; state < int(OptionTexts.size()); ++state) {
            auto* option = new QRadioButton(QString::fromLatin1(OptionTexts[size_t(state)]), frame);
            option->setObjectName(
                QStringLiteral("%1_%2").arg(QLatin1String(Frames[size_t(led)].options)).arg(state));
            group->addButton(option, state);
            column->addWidget(option);
        }
        connect(group, &QButtonGroup::idClicked, this, [this, led](int state) {
            session_->choose(ToolLedSession::Led(led), ToolLedSession::State(state));
        });
        options_[size_t(led)] = group;
        frames->addWidget(frame, led / Columns, led % Columns);
    }

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    // Wide enough for every echo of the four states.
    Text1->setMinimumWidth(
        Text1->fontMetrics().horizontalAdvance(QStringLiteral("Yellow: 2 Red: 2 Green: 2 Blue: 2")) +
        Text1->fontMetrics().averageCharWidth() * EchoMargin);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(frames);
    layout->addWidget(Text1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &ToolLed::Timer1_Timer);
    Form_Load();
}

void ToolLed::Form_Load() {
    for (QButtonGroup* group : options_)
        group->button(ToolLedSession::Off)->setChecked(true);
    Timer1->setInterval(ToolLedSession::FirstTickMs);
    Timer1->start();
}

void ToolLed::Timer1_Timer() {
    if (closing_)
        return;
    app::TimerPause pause(*Timer1);
    Text1->setText(session_->text());
    bool open = true;
    if (!closer_.call([this, &open] { open = session_->tick(); }))
        return;
    if (!open) {
        closing_ = true;
        Timer1->stop();
        app::closeWindow(this);
        return;
    }
    Timer1->setInterval(ToolLedSession::TickMs);
}

void ToolLed::mnuExit_Click() {
    session_->exit();
}

void ToolLed::closeEvent(QCloseEvent* event) {
    closing_ = true;
    Timer1->stop();
    closer_.closeEvent(event);
}

} // namespace monitor
