#pragma once
// The rules of the link simulation, one checker each, apart from the workload that runs the transactions:
// each reads what one transaction did (its Observation), adds to the tally of its framing and kind, and
// reports what broke its rule.

#include "tests/support/linksim/linksim.h"

#include <functional>
#include <string>
#include <vector>

namespace clink {
struct LinkState;
}

namespace linksim {

// What the checkers see of one transaction.
struct Observation {
    const Outcome& outcome;
    const sim::LineSettings& line;
    // What the line carried while the transaction ran, and the frames the program sent.
    const sim::SimulatedLine& wire;
    double tookMs = 0;
    // The transaction's own pauses (the timeline's unconditional waits) and the time the program ran late.
    double pausedMs = 0;
    double stalledMs = 0;
    // The link did not yet know how this controller frames its answers when the transaction began.
    bool framingUnknown = false;
    // The line has passed a copy of a frame to the program on this connection, before or during it.
    bool copiesShown = false;
    // Answers that were the same frame as one that came as long before as a gateway repeats a frame.
    int answersRepeated = 0;
    // The line was still answering requests of earlier transactions when this one began, for this long.
    double answeringEarlierMs = 0;
    // The longest and the shortest time from a request to its answer the line took lately (its holds and
    // the frames ahead of the answer on the stream), this transaction's included.
    double longestAnswerMs = 0;
    double fastestAnswerMs = 0;
    // Right after a controller changed behind the connection: the requests are not held against the new
    // one's timeline (grace), nor the time against its holds (retiming).
    bool grace = false;
    bool retiming = false;
};

using Report = std::function<void(const char* rule, const std::string& detail)>;

// Every value the transaction returned or stored is the one the controller holds.
void checkValues(const Observation& o, Tally& t, const Report& report);
// The controller received each request, and carried out each command, no more often than the timeline gives.
void checkRequests(const Observation& o, Tally& t, const Report& report);
// The transaction took no longer than the line forced, and a small allowance.
void checkTime(const Observation& o, Tally& t, const Report& report);

// The controller's own frames that reached the program while no transaction ran (the line's record from
// `fromNs` to `toNs`) reached their own records: a fault report the tool report frame, a status broadcast
// the status record. A frame still coming at the end is not judged.
void checkOwnFrames(const std::vector<sim::SimulatedLine::Event>& record, int64_t fromNs, int64_t toNs,
                    const clink::LinkState& state, Tally& t, const Report& report);

// What the line forces a transaction to take, in milliseconds: the holds of the requests the timeline needs,
// the reply gaps of a controller that sends its reply apart, the timeline's own pauses and the program's
// stalls, the answers to earlier requests still coming, the acknowledgement gap once while the link learns
// how the controller frames its answers, a dongle's quick repeat for answers that carry nothing, the
// scatter of holds for an answer like an earlier frame, and the copy holds on a line that has shown copies.
double forcedMs(const Observation& o);
// The requests the timeline needs, of those sent.
int neededRequests(const Observation& o);

} // namespace linksim
