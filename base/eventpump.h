#pragma once
// Waiting for the controller: every wait is a count of "DoEvents" yields, as the controller's protocol
// timing was defined. Here a count is a time budget (DoEventsSlice per yield, never above MaxWait); the
// wait blocks in the event loop, handles events as they come, and ends the moment its condition holds.
// Closing the program stops the pump: every wait, running or to come, ends at once.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

namespace base {

// One DoEvents: the sender's wait of 4001 cycles of two is then 80 ms, long enough for an Ethernet-to-CAN
// gateway and a controller that reads a tool's EEPROM.
inline constexpr std::chrono::nanoseconds DoEventsSlice{10000};
// No wait lasts longer than this, whatever its count.
inline constexpr std::chrono::milliseconds MaxWait{10000};
// Largest poll count a wait uses (the counts were 16-bit).
inline constexpr long MaxPollCount = 32767;

// TransferDelay x factor in 32 bits, clamped to the 16-bit range the protocol's counts are defined in.
long pollCount(long transferDelay, long factor);

class EventPump {
public:
    virtual ~EventPump() = default;
    // Handles what is pending; never blocks.
    virtual void doEvents() = 0;
    // Waits until done() holds or the budget of doEventsCount yields is spent. True when done() held.
    virtual bool waitUntil(const std::function<bool()>& done, long doEventsCount) = 0;
    // Something a waiting condition may depend on has changed: re-check it now.
    virtual void wake() {}
    // Something a waiting condition depends on changes after this time (a held answer becomes due): a
    // wait re-checks its condition then. A pump that re-checks often anyway need do nothing.
    virtual void wakeAfter(std::chrono::nanoseconds) {}
    // How long the program had not handled its events when this turn began: what it reads now may have
    // come that long before (a machine too busy to run it, a handler that took long).
    virtual std::chrono::nanoseconds away() const { return std::chrono::nanoseconds{0}; }
    // Spends a whole budget (an unconditional "n cycles of DoEvents").
    void pause(long doEventsCount) {
        paused_ += doEventsCount;
        waitUntil([] { return false; }, doEventsCount);
    }
    // The DoEvents the program's own pauses have spent through this pump, whatever else waited.
    long long pausedDoEvents() const { return paused_; }
    // The program is closing: every wait ends at once, now and from now on.
    virtual void stop() {
        stopped_ = true;
        wake();
    }
    virtual bool stopped() const { return stopped_; }

private:
    bool stopped_ = false;
    long long paused_ = 0;
};

// The production pump: a local event loop bounded by a precise timer.
class QtEventPump : public QObject, public EventPump {
    Q_OBJECT
public:
    explicit QtEventPump(QObject* parent = nullptr);
    void doEvents() override;
    bool waitUntil(const std::function<bool()>& done, long doEventsCount) override;
    void wake() override { emit woken(); }
    // The wait running then re-checks its condition at that time, not only at its next re-check: a held
    // answer is taken when it becomes due.
    void wakeAfter(std::chrono::nanoseconds after) override;

    // Time budget of a count of yields.
    static std::chrono::nanoseconds budgetFor(long doEventsCount);
    std::chrono::nanoseconds away() const override;

signals:
    void woken();

private:
    // Marks a turn of the event loop: the program is handling its events now.
    void turned();
    // When the pump last turned, and how long it had been away then.
    QElapsedTimer lastTurn_;
    std::chrono::nanoseconds away_{0};
    // The earliest wake asked for that has not come yet.
    QTimer wakeTimer_;
};

} // namespace base
