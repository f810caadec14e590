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

void VirtualEventPump::doEvents() {
    ++calls;
    // One DoEvents: the time of one slice passes, and what came in it is handled.
    time_.runUntil(time_.nowNs() + base::DoEventsSlice.count());
}

bool VirtualEventPump::waitUntil(const std::function<bool()>& done, long doEventsCount) {
    ++calls;
    const int64_t until = time_.nowNs() + int64_t(doEventsCount) * base::DoEventsSlice.count();
    for (;;) {
        if (done())
            return true;
        if (stopped())
            return false;
        if (!time_.runNext(until))
            break;
    }
    time_.advanceTo(until);
    return done();
}

} // namespace sim
