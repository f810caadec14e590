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
} // namespace

long pollCount(long transferDelay, long factor) {
    const int64_t product = int64_t(transferDelay) * int64_t(factor);
    return long(std::clamp<int64_t>(product, 0, MaxPollCount));
}

QtEventPump::QtEventPump(QObject* parent) : QObject(parent) {}

void QtEventPump::doEvents() {
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
        loop.exec(QEventLoop::AllEvents);
    }
    return true;
}

} // namespace base
