#pragma once
// Answers the controller still owes to an exchange that has ended. An exchange that sends its request again
// before an answer came back (a slow controller, a long gateway) ends on the first answers; the answers to
// its later sends are still on their way, about one round trip after each send. Until they are due, frames
// on the identifier the exchange awaited belong to it: they are dropped, and the next exchange awaiting that
// identifier holds its first frame until they are due. A line seen to repeat its frames (a gateway that
// passes every frame twice, in two writes) also owes the copy of the last frame an exchange took.
//
// All times are the link clock's milliseconds; the class decides, the Ethernet link asks it:
//
//   owed.begin(ids::CommandReply);       // the exchange installs its expectations
//   owed.sent(now, true);                // each frame sent: a request, or a filter frame (false)
//   owed.taken(id, d, now);              // each frame the handlers took for it
//   owed.end();                          // the next exchange begins, or no transaction runs any more
//   if (owed.owes(id, d, now)) ...       // a frame arriving later: dropped

#include "link/canid.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace clink {

class OwedAnswers {
public:
    // marginMs: grace after an owed answer is due, and how long a repeated copy is owed (the sender's wait).
    // toleranceMs: how much two round trips of one exchange may differ before a later send counts as owed.
    OwedAnswers(int64_t marginMs, int64_t toleranceMs) : marginMs_(marginMs), toleranceMs_(toleranceMs) {}

    void begin(CanId awaited);
    void sent(int64_t now, bool request);
    void taken(CanId id, const std::array<int, 8>& d, int64_t now);
    // Ends the exchange being followed (if any) and records what it still owes.
    void end();

    // Every frame that arrives, taken or not: a frame equal to one that came on its identifier in an
    // earlier arrival, with no frame sent since, shows that the line repeats its frames.
    void arrived(CanId id, const std::array<int, 8>& d, long arrival);
    // A frame arriving now on id is owed to an exchange that has ended.
    bool owes(CanId id, const std::array<int, 8>& d, int64_t now);
    // Until when frames on id are owed (a time not after now: nothing is owed).
    int64_t owedUntil(CanId id) const;

    // Every frame that arrives on id, taken, dropped or owed, at now.
    void heard(CanId id, int64_t now) { lastHeard_[id] = now; }
    // When a frame last arrived on id (-1: never).
    int64_t lastHeard(CanId id) const;
    // While an exchange waits for the line to be quiet on id, frames arriving there before until are
    // dropped; endQuiet() once the wait is over.
    void holdQuiet(CanId id, int64_t until) { quietUntil_[id] = until; }
    void endQuiet(CanId id) { quietUntil_.erase(id); }
    int64_t quietUntil(CanId id) const;

    bool following() const { return active_; }
    bool repeatingLine() const { return repeating_; }

private:
    struct Exchange {
        CanId awaited = 0;
        int64_t firstSend = -1;
        int64_t lastSend = -1;
        int64_t firstTaken = -1;
        int64_t lastTaken = -1;
        CanId lastTakenId = 0;
        std::array<int, 8> lastTakenData{};
    };
    struct Copy {
        std::array<int, 8> data{};
        int64_t until = 0;
    };
    struct Arrival {
        CanId id = 0;
        std::array<int, 8> data{};
        long arrival = 0;
    };
    // Frames kept to find a copy among them (those since the last frame sent).
    static constexpr size_t ArrivalsKept = 16;

    int64_t marginMs_;
    int64_t toleranceMs_;
    bool active_ = false;
    Exchange x_;
    bool repeating_ = false;
    std::map<CanId, int64_t> owedUntil_;
    std::map<CanId, Copy> copies_;
    std::map<CanId, int64_t> lastHeard_;
    std::map<CanId, int64_t> quietUntil_;
    std::vector<Arrival> sinceSend_;
};

} // namespace clink
