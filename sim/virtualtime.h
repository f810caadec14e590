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
#include <random>
#include <utility>
#include <vector>

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

// How the program itself runs late, as on a machine busy beyond its cores: now and then a wait hands back
// control only some time after it ended (its condition held, or its budget ran out), and meanwhile the
// program handles nothing. The line and the controller go on: what reaches the program in that time is read
// at once when it runs again, several frames in one read, and a wait whose budget ran out while its frame
// came reports that it ran out.
struct Stalls {
    double chance = 0;  // of a stall after any wait or DoEvents
    int64_t longestNs = 0;
};

class VirtualEventPump : public base::EventPump {
public:
    explicit VirtualEventPump(VirtualTime& time) : time_(time) {}
    void doEvents() override;
    bool waitUntil(const std::function<bool()>& done, long doEventsCount) override;
    void wakeAfter(std::chrono::nanoseconds after) override {
        time_.after(after.count(), [] {});
    }
    // From now on the program stalls as these say, drawn from this seed.
    void stallAs(const Stalls& stalls, uint64_t seed);
    // Until when the program is busy and reads nothing (-1: it is not).
    int64_t busyUntilNs() const { return time_.nowNs() < busyUntil_ ? busyUntil_ : -1; }
    // While the program catches up at the end of a stall, how long it was away.
    std::chrono::nanoseconds away() const override {
        return std::chrono::nanoseconds(busyUntil_ >= 0 ? busyUntil_ - busySince_ : 0);
    }
    // DoEvents and waits served since the pump was built, and the time the program stalled in all.
    long long calls = 0;
    int64_t stalledNs = 0;
    // Each stall's start and length, since the log was last cleared.
    std::vector<std::pair<int64_t, int64_t>> stalls;

private:
    // Time passes with nothing handled.
    void maybeStall();

    VirtualTime& time_;
    int64_t busyUntil_ = -1;
    int64_t busySince_ = 0;
    Stalls stalls_;
    std::mt19937_64 random_;
};

} // namespace sim
