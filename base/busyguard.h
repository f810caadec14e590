#pragma once
// One command at a time talks to the controller. A BusyGuard marks the program busy for its lifetime
// (the main window disables its menus and MDI area and shows the busy cursor) and restores it on every
// exit path. A second guard while one is held is refused.

#include <functional>

namespace base {

class BusyState {
public:
    bool busy() const { return busy_; }
    // Called with true when a command starts and false when it ends (the window applies it).
    void setOnChange(std::function<void(bool)> onChange) { onChange_ = std::move(onChange); }

private:
    friend class BusyGuard;
    void set(bool busy) {
        busy_ = busy;
        if (onChange_)
            onChange_(busy);
    }
    bool busy_ = false;
    std::function<void(bool)> onChange_;
};

class BusyGuard {
public:
    explicit BusyGuard(BusyState& state) : state_(state), acquired_(!state.busy()) {
        if (acquired_)
            state_.set(true);
    }
    ~BusyGuard() {
        if (acquired_)
            state_.set(false);
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
