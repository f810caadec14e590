#include "link/owedanswers.h"

#include <algorithm>

namespace clink {

void OwedAnswers::begin(CanId awaited) {
    end();
    x_ = Exchange{};
    x_.awaited = awaited;
    active_ = awaited != 0;
}

void OwedAnswers::sent(int64_t now, bool request) {
    sinceSend_.clear();
    if (!active_ || !request)
        return;
    if (x_.firstSend < 0)
        x_.firstSend = now;
    x_.lastSend = now;
}

void OwedAnswers::taken(CanId id, const std::array<int, 8>& d, int64_t now) {
    if (!active_ || x_.firstSend < 0)
        return;
    if (x_.firstTaken < 0)
        x_.firstTaken = now;
    x_.lastTaken = now;
    x_.lastTakenId = id;
    x_.lastTakenData = d;
}

void OwedAnswers::end() {
    if (!active_)
        return;
    active_ = false;
    // An exchange that heard nothing gives no round trip to go by: a controller that silent owes nothing.
    if (x_.lastSend < 0 || x_.firstTaken < 0)
        return;
    // The first answer came one round trip (at most) after the first send; the last send's answer is due one
    // round trip after it. Not yet come when the exchange ended on its last frame: owed.
    const int64_t roundTrip = x_.firstTaken - x_.firstSend;
    if (x_.lastSend + roundTrip > x_.lastTaken + toleranceMs_) {
        int64_t& owed = owedUntil_[x_.awaited];
        owed = std::max(owed, x_.lastSend + roundTrip + marginMs_);
    }
    if (repeating_ && x_.lastTaken >= 0)
        copies_[x_.lastTakenId] = {x_.lastTakenData, x_.lastTaken + marginMs_};
}

void OwedAnswers::arrived(CanId id, const std::array<int, 8>& d, long arrival) {
    for (const Arrival& a : sinceSend_)
        if (a.id == id && a.data == d && a.arrival != arrival)
            repeating_ = true;
    if (sinceSend_.size() == ArrivalsKept)
        sinceSend_.erase(sinceSend_.begin());
    sinceSend_.push_back({id, d, arrival});
}

bool OwedAnswers::owes(CanId id, const std::array<int, 8>& d, int64_t now) {
    if (now < quietUntil(id))
        return true;
    if (const auto it = owedUntil_.find(id); it != owedUntil_.end()) {
        if (now < it->second) {
            // The copy of an owed frame, on a repeating line, may come after the owed time.
            if (repeating_)
                copies_[id] = {d, now + marginMs_};
            return true;
        }
        owedUntil_.erase(it);
    }
    if (const auto it = copies_.find(id); it != copies_.end()) {
        if (now < it->second.until)
            return it->second.data == d;
        copies_.erase(it);
    }
    return false;
}

int64_t OwedAnswers::owedUntil(CanId id) const {
    const auto it = owedUntil_.find(id);
    return it == owedUntil_.end() ? 0 : it->second;
}

int64_t OwedAnswers::lastHeard(CanId id) const {
    const auto it = lastHeard_.find(id);
    return it == lastHeard_.end() ? -1 : it->second;
}

int64_t OwedAnswers::quietUntil(CanId id) const {
    const auto it = quietUntil_.find(id);
    return it == quietUntil_.end() ? 0 : it->second;
}

} // namespace clink
