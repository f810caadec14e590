#pragma once
// A pump for tests that must not wait: every wait runs the hook once, checks its condition and otherwise
// counts its whole budget as spent at once. A silent controller then costs no time, and the DoEvents a
// transaction asked for can be asserted. With a clock, a spent budget moves it on by the time it stands
// for, so the link's silence cap can be tested without waiting.

#include "base/eventpump.h"
#include "link/linkclock.h"

#include <functional>

namespace testsupport {

class CountingEventPump : public base::EventPump {
public:
    // Runs at every DoEvents and at every wait (for example, to let the stand-in answer).
    std::function<void()> betweenPolls;

    long doEventsCalls = 0;
    long waits = 0;
    // DoEvents counts of the waits that ran out.
    long budgetSpent = 0;

    void doEvents() override {
        ++doEventsCalls;
        if (betweenPolls)
            betweenPolls();
    }
    bool waitUntil(const std::function<bool()>& done, long doEventsCount) override {
        ++waits;
        doEvents();
        if (done())
            return true;
        if (stopped())
            return false;
        budgetSpent += doEventsCount;
        if (clock) {
            spentNs_ += int64_t(doEventsCount) * base::DoEventsSlice.count();
            clock->advance(spentNs_ / NanosecondsPerMs);
            spentNs_ %= NanosecondsPerMs;
        }
        return false;
    }
    // Moved on by every spent budget when set.
    clink::ManualLinkClock* clock = nullptr;

private:
    static constexpr int64_t NanosecondsPerMs = 1000000;
    int64_t spentNs_ = 0;
};

} // namespace testsupport
