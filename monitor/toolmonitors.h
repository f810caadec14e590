#pragma once
// The sessions of the tool button monitor (FrmMonitorButtons) and the tool LED window (ToolLed).
//
// Button monitor: every tick requests the button states and shows them in four labels, in the order
// clockwise, center, counter-clockwise, trigger ("Cw: On", "Center: Off", ...); a tick without an answer
// leaves the labels as they were.
// LED window: the states the user chose are sent to the tool every tick and echoed as
// "Yellow: 0 Red: 2 Green: 0 Blue: 1"; after Exit the next tick closes the window instead of sending.
// Neither tick talks to the controller while a command holds the link (the busy state).

#include <QString>

#include <array>

namespace app {
class AppServices;
}
namespace base {
class BusyState;
}
namespace clink {
class ControllerLink;
}

namespace monitor {

// Clockwise, trigger, counter-clockwise, center: 0 released.
using ButtonStates = std::array<int, 4>;
// Yellow, red, green, blue: 0 off, 1 on, 2 flashing.
using LedStates = std::array<int, 4>;

class ButtonMonitor {
public:
    static constexpr int TickMs = 30;
    // lblButton(0..3).
    using Labels = std::array<QString, 4>;

    ButtonMonitor(clink::ControllerLink& link, const base::BusyState& busy);
    // On the program's link, under its busy state.
    explicit ButtonMonitor(app::AppServices& services);

    // Requests the states and shows an answer; true when the labels changed.
    bool tick();
    const Labels& labels() const { return labels_; }

    // The labels of button states (clockwise, trigger, counter-clockwise, center).
    static Labels labelsFor(const ButtonStates& states);

private:
    clink::ControllerLink& link_;
    const base::BusyState& busy_;
    Labels labels_;
};

class ToolLedSession {
public:
    enum Led { Yellow, Red, Green, Blue };
    enum State { Off, On, Flash };
    static constexpr int FirstTickMs = 200;
    static constexpr int TickMs = 50;

    ToolLedSession(clink::ControllerLink& link, const base::BusyState& busy);
    // On the program's link, under its busy state.
    explicit ToolLedSession(app::AppServices& services);

    // The option the user clicked.
    void choose(Led led, State state) { states_[size_t(led)] = state; }
    const LedStates& states() const { return states_; }
    // "Yellow: 0 Red: 0 Green: 0 Blue: 0".
    QString text() const;

    // Exit: the next tick closes the window.
    void exit() { open_ = false; }
    // One tick: false when the window is to close; otherwise the command was sent (when the link is free).
    bool tick();

private:
    clink::ControllerLink& link_;
    const base::BusyState& busy_;
    LedStates states_{};
    bool open_ = true;
};

} // namespace monitor
