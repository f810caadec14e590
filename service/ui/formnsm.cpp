#include "service/ui/formnsm.h"

#include "app/ui/appcontext.h"
#include "controls/ui/numedit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace service {

namespace {
// The clock fields: hour, minute, month, day, year.
enum ClockField { Hour, Minute, Month, Day, Year };
struct FieldRange {
    int minimum;
    int maximum;
};
constexpr std::array<FieldRange, 5> ClockRanges = {{{1, 12}, {0, 59}, {1, 12}, {1, 31}, {0, 99}}};

// A minute or a two-digit year shows its leading zero.
class TwoDigitEdit : public controls::NumEdit {
public:
    using NumEdit::NumEdit;

protected:
    QString textFromValue(double value) const override {
        return QStringLiteral("%1").arg(qRound(value), 2, 10, QLatin1Char('0'));
    }
};

// Shows a value the unit holds; a range that would cut it is widened, so a later write sends it back as
// it was read.
void showValue(controls::NumEdit& edit, int value, FieldRange range) {
    edit.setRange(std::min(range.minimum, value), std::max(range.maximum, value));
    edit.setValue(value);
}

controls::NumEdit* wholeNumberEdit(QWidget* parent, const QString& name, bool twoDigits) {
    controls::NumEdit* edit = twoDigits ? new TwoDigitEdit(parent) : new controls::NumEdit(parent);
    edit->setObjectName(name);
    edit->setDecimals(0);
    return edit;
}
} // namespace

FormNsm::FormNsm(app::AppContext& ctx, QWidget* parent) : QWidget(parent), session_(ctx.services) {
    setObjectName(QStringLiteral("FormNsm"));
    setWindowTitle(QStringLiteral("Brenstal Nsm Settings"));

    auto* menuBar = new QMenuBar(this);
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->menuAction()->setObjectName(QStringLiteral("mnuFile"));
    file->addAction(QStringLiteral("Exit"), this, &FormNsm::mnuExit_Click)
        ->setObjectName(QStringLiteral("mnuExit"));

    auto* grid = new QGridLayout;
    grid->addWidget(choiceFrame(1, QStringLiteral("optRev"), QStringLiteral("Off"), QStringLiteral("On")), 0,
                    0);
    grid->addWidget(
        choiceFrame(6, QStringLiteral("optType"), QStringLiteral("Latched"), QStringLiteral("Deadman")), 0,
        1);
    grid->addWidget(choiceFrame(7, QStringLiteral("optData"), QStringLiteral("No"), QStringLiteral("Yes")), 1,
                    0);
    grid->addWidget(
        choiceFrame(8, QStringLiteral("optButtons"), QStringLiteral("MID"), QStringLiteral("I/O")), 1, 1);
    grid->addWidget(numberFrame(2, "CWRetries", 0, 1), 2, 0);
    grid->addWidget(numberFrame(3, "CWRevTimer", 1, 200), 2, 1);
    grid->addWidget(numberFrame(4, "CwSpindles", 1, 10), 3, 0);
    grid->addWidget(numberFrame(5, "cwLatch", 1, 200), 3, 1);

    grid->addWidget(clockFrame(), 4, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(grid);
    layout->addStretch(1);

    Form_Load();
}

QGroupBox* FormNsm::settingFrame(int item, const std::function<void(QGroupBox*, QHBoxLayout*)>& fill) {
    auto* frame = new QGroupBox(NsmSession::caption(item), this);
    frame->setObjectName(QStringLiteral("Frames_%1").arg(item));
    auto* row = new QHBoxLayout(frame);
    fill(frame, row);
    row->addStretch(1);
    auto* write = new QPushButton(QStringLiteral("Write"), frame);
    write->setObjectName(QStringLiteral("Write_%1").arg(item));
    connect(write, &QPushButton::clicked, this, [this, item] { Write_Click(item); });
    row->addWidget(write);
    return frame;
}

QButtonGroup* FormNsm::twoOptions(QWidget* frame, QHBoxLayout* row, const QString& name, const QString& first,
                                  const QString& second) {
    auto* group = new QButtonGroup(this);
    for (int id = 0; id < 2; ++id) {
        auto* option = new QRadioButton(id == 0 ? first : second, frame);
        option->setObjectName(QStringLiteral("%1_%2").arg(name).arg(id));
        group->addButton(option, id);
        row->addWidget(option);
    }
    return group;
}

QGroupBox* FormNsm::choiceFrame(int item, const QString& name, const QString& off, const QString& on) {
    return settingFrame(item, [&](QGroupBox* frame, QHBoxLayout* row) {
        QButtonGroup* group = twoOptions(frame, row, name, off, on);
        choices_[size_t(item)] = group;
        connect(group, &QButtonGroup::idClicked, this, [this, item](int id) { session_.setValue(item, id); });
    });
}

QGroupBox* FormNsm::clockFrame() {
    // Hour : minute, month - day - year, AM or PM.
    return settingFrame(NsmSession::ClockItem, [this](QGroupBox* frame, QHBoxLayout* row) {
        const QStringList separators = {QString(), QStringLiteral(":"), QString(), QStringLiteral("-"),
                                        QStringLiteral("-")};
        for (int f = Hour; f <= Year; ++f) {
            if (!separators[f].isEmpty())
                row->addWidget(new QLabel(separators[f], frame));
            else if (f == Month)
                row->addSpacing(fontMetrics().averageCharWidth() * 2);
            auto* edit =
                wholeNumberEdit(frame, QStringLiteral("CWTimeDate_%1").arg(f), f == Minute || f == Year);
            CWTimeDate[size_t(f)] = edit;
            row->addWidget(edit);
            connect(edit, &controls::NumEdit::userEdited, this, [this, f](double value) {
                NsmClock& c = session_.clock;
                std::array<int*, 5> field = {&c.hour, &c.minute, &c.month, &c.day, &c.year};
                *field[size_t(f)] = qRound(value);
            });
        }
        optAmPm =
            twoOptions(frame, row, QStringLiteral("optAmPm"), QStringLiteral("AM"), QStringLiteral("PM"));
        connect(optAmPm, &QButtonGroup::idClicked, this, [this](int id) { session_.clock.pm = id == 1; });
    });
}

QGroupBox* FormNsm::numberFrame(int item, const char* name, int minimum, int maximum) {
    return settingFrame(item, [&](QGroupBox* frame, QHBoxLayout* row) {
        controls::NumEdit* edit = wholeNumberEdit(frame, QLatin1String(name), false);
        showValue(*edit, session_.value(item), {minimum, maximum});
        connect(edit, &controls::NumEdit::userEdited, this,
                [this, item](double value) { session_.setValue(item, qRound(value)); });
        row->addWidget(edit);
    });
}

void FormNsm::Form_Load() {
    for (int item = 1; item <= NsmSession::Settings; ++item) {
        if (QButtonGroup* group = choices_[size_t(item)]) {
            if (QAbstractButton* option = group->button(session_.value(item)))
                option->setChecked(true);
        }
    }
    // The fields keep their design values unless the unit's time comes.
    showClock();
    auto handler = closer_.handler();
    session_.Form_Load();
    if (session_.clockRead())
        showClock();
}

void FormNsm::showClock() {
    const NsmClock& c = session_.clock;
    const std::array<int, 5> values = {c.hour, c.minute, c.month, c.day, c.year};
    for (size_t f = 0; f < values.size(); ++f)
        showValue(*CWTimeDate[f], values[f], ClockRanges[f]);
    optAmPm->button(c.pm ? 1 : 0)->setChecked(true);
}

void FormNsm::Write_Click(int index) {
    auto handler = closer_.handler();
    session_.Write_Click(index);
}

void FormNsm::mnuExit_Click() {
    app::closeWindow(this);
}

void FormNsm::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, false, {});
}

} // namespace service
