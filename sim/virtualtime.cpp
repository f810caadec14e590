#include "sim/virtualtime.h"

#include <algorithm>

namespace sim {

void VirtualTime::at(int64_t ns, std::function<void()> f) {
    events_.emplace(std::pair{std::max(ns, now_), sequence_++}, std::move(f));
}

bool VirtualTime::runNext(int64_t until) {
    if (events_.empty() || events_.begin()->first.first > until)
        return false;
    auto first = events_.begin();
    advanceTo(first->first.first);
    std::function<void()> f = std::move(first->second);
    events_.erase(first);
    f();
    return true;
}

void VirtualTime::runUntil(int64_t until) {
    while (runNext(until)) {
    }
    advanceTo(until);
}

void VirtualEventPump::stallAs(const Stalls& stalls, uint64_t seed) {
    stalls_ = stalls;
    random_.seed(seed);
}

void VirtualEventPump::maybeStall() {
    if (stalls_.chance <= 0 || std::uniform_real_distribution<double>(0, 1)(random_) >= stalls_.chance)
        return;
    const int64_t stall = std::uniform_int_distribution<int64_t>(0, stalls_.longestNs)(random_);
    stalledNs += stall;
    stalls.emplace_back(time_.nowNs(), stall);
    // The line goes on meanwhile; what it brings the program waits until the program runs again.
    busySince_ = time_.nowNs();
    busyUntil_ = busySince_ + stall;
    time_.runUntil(busyUntil_);
    busyUntil_ = -1;
}

void VirtualEventPump::doEvents() {
    ++calls;
    // One DoEvents: the time of one slice passes, and what came in it is handled.
    time_.runUntil(time_.nowNs() + base::DoEventsSlice.count());
    maybeStall();
}

bool VirtualEventPump::waitUntil(const std::function<bool()>& done, long doEventsCount) {
    ++calls;
    const int64_t until = time_.nowNs() + int64_t(doEventsCount) * base::DoEventsSlice.count();
    for (;;) {
        if (done()) {
            maybeStall();
            return true;
        }
        if (stopped())
            return false;
        if (!time_.runNext(until))
            break;
    }
    time_.advanceTo(until);
    // A stall here is a timer handled after the frames that came while it ran late: the wait reports its
    // budget spent, and they are read at the next wait.
    const bool held = done();
    maybeStall();
    return held;
}

} // namespace sim
