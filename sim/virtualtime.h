#pragma once
// Time that passes only as the link waits: a clock, the events scheduled on it, and the event pump the link
// waits through. A wait runs the events due within its budget in time order, moving the clock to each, and
// ends the moment its condition holds or at the end of its budget; a DoEvents moves the clock on by one
// DoEvents slice and runs what came in it. Nothing sleeps and nothing depends on the machine's load: a whole
// transaction, transfer or collection runs the same every time, in as much virtual time as it would take.

#include "base/eventpump.h"
#include "link/linkclock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <utility>

namespace sim {

class VirtualTime : public clink::LinkClock {
public:
    static constexpr int64_t NsPerMs = 1000000;

    int64_t nowMs() override { return now_ / NsPerMs; }
    int64_t nowNs() const { return now_; }
    double nowMsExact() const { return double(now_) / NsPerMs; }

    // Runs f at the time given (not before now); events due at the same time run in the order scheduled.
    void at(int64_t ns, std::function<void()> f);
    void after(int64_t ns, std::function<void()> f) { at(now_ + ns, std::move(f)); }
    // The time of the next event (-1: none).
    int64_t next() const { return events_.empty() ? -1 : events_.begin()->first.first; }
    // Runs the next event when it is due by until, moving the clock to it; false when none is.
    bool runNext(int64_t until);
    // Runs every event due by until and moves the clock there.
    void runUntil(int64_t until);
    void advanceTo(int64_t ns) {
        if (ns > now_)
            now_ = ns;
    }
    // Drops every event scheduled.
    void clear() { events_.clear(); }

private:
    int64_t now_ = 0;
    uint64_t sequence_ = 0;
    std::map<std::pair<int64_t, uint64_t>, std::function<void()>> events_;
};

class VirtualEventPump : public base::EventPump {
public:
    explicit VirtualEventPump(VirtualTime& time) : time_(time) {}
    void doEvents() override;
    bool waitUntil(const std::function<bool()>& done, long doEventsCount) override;
    // DoEvents and waits served since the pump was built.
    long long calls = 0;

private:
    VirtualTime& time_;
};

} // namespace sim
