#include "base/eventpump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

namespace base {

namespace {
// Conditions are re-checked at least this often, in case something changed them without a wake().
constexpr std::chrono::milliseconds RecheckInterval{5};
// A turn later than the re-check by more than this shows the program was kept from its events.
constexpr std::chrono::milliseconds TurnSlack{2};
} // namespace

long pollCount(long transferDelay, long factor) {
    const int64_t product = int64_t(transferDelay) * int64_t(factor);
    return long(std::clamp<int64_t>(product, 0, MaxPollCount));
}

QtEventPump::QtEventPump(QObject* parent) : QObject(parent) {
    wakeTimer_.setSingleShot(true);
    wakeTimer_.setTimerType(Qt::PreciseTimer);
    connect(&wakeTimer_, &QTimer::timeout, this, &QtEventPump::woken);
}

void QtEventPump::wakeAfter(std::chrono::nanoseconds after) {
    // Whole milliseconds, rounded up: the condition is due no sooner than asked.
    const auto ms =
        std::chrono::ceil<std::chrono::milliseconds>(std::max(after, std::chrono::nanoseconds{0}));
    if (wakeTimer_.isActive() && wakeTimer_.remainingTimeAsDuration() <= ms)
        return;
    wakeTimer_.start(ms);
}

void QtEventPump::turned() {
    // Away when the last turn was longer ago than the pump ever waits between its checks, and the time
    // beyond it.
    const auto since = lastTurn_.isValid() ? std::chrono::nanoseconds(lastTurn_.nsecsElapsed())
                                           : std::chrono::nanoseconds{0};
    away_ = since > RecheckInterval + TurnSlack ? since : std::chrono::nanoseconds{0};
    lastTurn_.start();
}

std::chrono::nanoseconds QtEventPump::away() const {
    return away_;
}

void QtEventPump::doEvents() {
    turned();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

std::chrono::nanoseconds QtEventPump::budgetFor(long doEventsCount) {
    if (doEventsCount <= 0)
        return std::chrono::nanoseconds{0};
    const auto budget = DoEventsSlice * int64_t(doEventsCount);
    return std::min<std::chrono::nanoseconds>(budget, MaxWait);
}

bool QtEventPump::waitUntil(const std::function<bool()>& done, long doEventsCount) {
    doEvents();
    if (done())
        return true;
    const auto budget = stopped() ? std::chrono::nanoseconds{0} : budgetFor(doEventsCount);
    if (budget.count() == 0)
        return false;
    QDeadlineTimer deadline(budget, Qt::PreciseTimer);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &QtEventPump::woken, &loop, &QEventLoop::quit);
    while (!done()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline.remainingTimeAsDuration());
        if (deadline.hasExpired() || stopped())
            return false;
        timer.start(
            std::clamp(left + std::chrono::milliseconds{1}, std::chrono::milliseconds{1}, RecheckInterval));
        turned();
        loop.exec(QEventLoop::AllEvents);
    }
    return true;
}

} // namespace base
