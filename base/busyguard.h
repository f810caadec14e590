#pragma once
// One command at a time talks to the controller. A BusyGuard marks the program busy for its lifetime
// (the main window disables its menus and MDI area and shows the busy cursor) and restores it on every
// exit path. A second guard while one is held is refused. A window that holds the program busy for a run
// the user ends himself (a device test with its Stop button) names itself: it alone stays usable.

#include <functional>

class QObject;

namespace base {

class BusyState {
public:
    bool busy() const { return busy_; }
    // The window that stays usable while the program is busy; none while an ordinary command runs.
    const QObject* usableWindow() const { return usableWindow_; }
    // Called with true when a command starts and false when it ends (the window applies it).
    void setOnChange(std::function<void(bool)> onChange) { onChange_ = std::move(onChange); }

private:
    friend class BusyGuard;
    void set(bool busy, const QObject* usableWindow) {
        busy_ = busy;
        usableWindow_ = usableWindow;
        if (onChange_)
            onChange_(busy);
    }
    bool busy_ = false;
    const QObject* usableWindow_ = nullptr;
    std::function<void(bool)> onChange_;
};

class BusyGuard {
public:
    explicit BusyGuard(BusyState& state, const QObject* usableWindow = nullptr)
        : state_(state), acquired_(!state.busy()) {
        if (acquired_)
            state_.set(true, usableWindow);
    }
    ~BusyGuard() {
        if (acquired_)
            state_.set(false, nullptr);
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;
    // False when another command already held the program busy: the caller must not go on.
    bool acquired() const { return acquired_; }

private:
    BusyState& state_;
    bool acquired_;
};

} // namespace base
