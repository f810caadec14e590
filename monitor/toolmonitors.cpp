#include "monitor/toolmonitors.h"

#include "app/appservices.h"
#include "base/busyguard.h"
#include "link/toolbuttons.h"

namespace monitor {

namespace {
// Where each reply byte's state is shown, and its name.
struct ButtonLabel {
    int label;
    const char* name;
};
constexpr std::array<ButtonLabel, 4> ButtonLabels = {{{0, "Cw"}, {3, "Trigger"}, {2, "Ccw"}, {1, "Center"}}};

// A number as Str writes it: a blank where a minus sign would stand.
QString strText(int value) {
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}
} // namespace

ButtonMonitor::ButtonMonitor(clink::ControllerLink& link, const base::BusyState& busy)
    : link_(link), busy_(busy), labels_{QStringLiteral("Cw"), QStringLiteral("Center"), QStringLiteral("Ccw"),
                                        QStringLiteral("Trigger")} {}

ButtonMonitor::ButtonMonitor(app::AppServices& services) : ButtonMonitor(services.link, services.busy) {}

ButtonMonitor::Labels ButtonMonitor::labelsFor(const ButtonStates& states) {
    Labels labels;
    for (size_t i = 0; i < ButtonLabels.size(); ++i) {
        const ButtonLabel& b = ButtonLabels[i];
        labels[size_t(b.label)] =
            QString::fromLatin1(b.name) + (states[i] != 0 ? QStringLiteral(": On") : QStringLiteral(": Off"));
    }
    return labels;
}

bool ButtonMonitor::tick() {
    if (busy_.busy())
        return false;
    const std::optional<ButtonStates> states = clink::ToolButtonExchange(link_).requestButtonStates();
    if (!states)
        return false;
    labels_ = labelsFor(*states);
    return true;
}

ToolLedSession::ToolLedSession(clink::ControllerLink& link, const base::BusyState& busy)
    : link_(link), busy_(busy) {}

ToolLedSession::ToolLedSession(app::AppServices& services) : ToolLedSession(services.link, services.busy) {}

QString ToolLedSession::text() const {
    return QStringLiteral("Yellow:") + strText(states_[Yellow]) + QStringLiteral(" Red:") +
           strText(states_[Red]) + QStringLiteral(" Green:") + strText(states_[Green]) +
           QStringLiteral(" Blue:") + strText(states_[Blue]);
}

bool ToolLedSession::tick() {
    if (!open_)
        return false;
    if (!busy_.busy())
        clink::ToolButtonExchange(link_).sendLedCommand(states_);
    return true;
}

} // namespace monitor
