#include "tests/support/linksim/checkers.h"

#include "link/canid.h"
#include "link/commandcodes.h"
#include "link/ethernet.h"
#include "link/linkstate.h"

#include <algorithm>
#include <iterator>
#include <sstream>

namespace linksim {

namespace ids = clink::ids;
using sim::Framing;

namespace {

// The codes of the fault reports the tool report frame keeps.
constexpr int FaultCodes[] = {0x10, 0x11, 0x12, 0x15};

// Beside what the line forces, a transaction may take this much: once, and per request it sent (the frames
// crossing the wire and the dongle, a byte at a time on the slowest line).
constexpr double FixedAllowanceMs = 10;
constexpr double PerRequestAllowanceMs = 3;
constexpr double RoundTripToleranceMs = 12;
constexpr double CopyHoldsPerExchange = 2;
// The judge gives a controller's holds up to half as much again as the longest it has timed (its scatter as
// timed, a quarter of the longest), and an answer like an earlier frame is held that long.
constexpr double HoldScatterShare = 2;

bool acknowledging(const sim::LineSettings& s) {
    return s.framing != Framing::AnswersOnce;
}

} // namespace

void checkValues(const Observation& o, Tally& t, const Report& report) {
    if (!o.outcome.success)
        return;
    for (const Outcome::Value& v : o.outcome.values) {
        if (v.got == v.want)
            continue;
        ++t.wrong;
        std::ostringstream d;
        d << v.what << ": " << v.got << ", the controller holds " << v.want;
        if (v.at >= 0)
            d << " (" << v.at << ")";
        report("wrong value", d.str());
        return;
    }
}

int neededRequests(const Observation& o) {
    int needed = 0;
    for (const Outcome::Counted& c : o.outcome.counted)
        needed += std::min(o.wire.requests(c.id, c.code), acknowledging(o.line) ? c.acknowledging : c.once);
    return needed;
}

void checkRequests(const Observation& o, Tally& t, const Report& report) {
    if (o.grace)
        return;
    for (const Outcome::Counted& c : o.outcome.counted) {
        const int sent = o.wire.requests(c.id, c.code);
        const int allowed = acknowledging(o.line) ? c.acknowledging : c.once;
        t.requests += sent;
        t.timeline += allowed;
        if (sent <= allowed)
            continue;
        ++t.overTimeline;
        std::ostringstream d;
        d << sent << " requests " << clink::canIdText(c.id).toStdString() << " code " << c.code
          << " where the timeline gives " << allowed;
        report("more requests than the timeline", d.str());
    }
}

double forcedMs(const Observation& o) {
    const sim::LineSettings& s = o.line;
    const double hold = double(s.holdMs + s.jitterMs);
    double ms = o.pausedMs + o.stalledMs + o.answeringEarlierMs + neededRequests(o) * hold;
    bool twoFrames = false;
    for (const Outcome::Counted& c : o.outcome.counted) {
        twoFrames = twoFrames || c.twoFrameExchanges > 0;
        // A controller that acknowledges sends the reply of each exchange its gap after the acknowledgement.
        if (s.framing == Framing::AckReplyApart)
            ms += double(c.twoFrameExchanges) * s.ackGapMs;
    }
    // Until a controller's framing is known, an acknowledgement may be followed by its reply: the link gives
    // it the longest gap once, and knows. A copy, one frame more than the controller answers, makes it learn
    // anew.
    if ((o.framingUnknown || o.copiesShown) && twoFrames && !acknowledging(s))
        ms += double(clink::Ethernet::MaxAckGapMs);
    // An answer that carries nothing of its request waits for a dongle that repeats at once.
    if (o.outcome.quiet)
        ms += double(clink::Ethernet::CopyEarliestMs);
    // An answer the same as a frame heard as long before as a gateway repeats one is held until the
    // controller's own must have come: the scatter of its holds.
    // (Or as long as the answers lately have scattered, the frames ahead of them on the stream included:
    // the longest, as much again as the answers differed, less the soonest it can come.)
    const double scattered = o.longestAnswerMs +
                             std::max({o.longestAnswerMs - o.fastestAnswerMs, o.longestAnswerMs / 4,
                                       double(clink::Ethernet::FrameTimeMs)}) -
                             o.fastestAnswerMs;
    ms += o.answersRepeated *
          std::max(hold / HoldScatterShare + s.jitterMs + double(clink::Ethernet::FrameTimeMs), scattered);
    // On a line that has shown copies, each exchange waits until no copy of a frame heard before it can pass
    // for its answer (a frame's, and then its copy's, which the judge cannot tell from a frame), and one
    // whose answer carries nothing for the line to be quiet there.
    if (o.copiesShown) {
        int exchanges = 0;
        for (const Outcome::Counted& c : o.outcome.counted)
            exchanges += c.acknowledging;
        ms += CopyHoldsPerExchange * std::max(exchanges, 1) * (double(s.copyMaxMs) + RoundTripToleranceMs);
        if (o.outcome.quiet)
            ms += double(clink::Ethernet::QuietLineDoEvents) * double(base::DoEventsSlice.count()) /
                  sim::VirtualTime::NsPerMs;
    }
    return ms;
}

void checkTime(const Observation& o, Tally& t, const Report& report) {
    if (!o.outcome.success || o.retiming)
        return;
    const double beyond = o.tookMs - forcedMs(o);
    t.beyondForcedMs.push_back(float(beyond));
    const long requests = std::count_if(o.wire.record.begin(), o.wire.record.end(), [](const auto& e) {
        return e.kind == sim::SimulatedLine::Event::Request;
    });
    if (beyond <= FixedAllowanceMs + PerRequestAllowanceMs * requests)
        return;
    ++t.slow;
    std::ostringstream d;
    d << "took " << o.tookMs << " ms where the line forces " << forcedMs(o) << " ms (" << neededRequests(o)
      << " requests needed, " << requests << " frames sent)";
    report("slow", d.str());
}

void checkOwnFrames(const std::vector<sim::SimulatedLine::Event>& record, int64_t fromNs, int64_t toNs,
                    const clink::LinkState& state, Tally& t, const Report& report) {
    using E = sim::SimulatedLine::Event;
    const E* fault = nullptr;
    const E* broadcast = nullptr;
    for (const E& e : record) {
        if (e.atNs < fromNs || (e.kind != E::Own && e.kind != E::Answer && e.kind != E::Copy))
            continue;
        // The last frame on each record's identifier is the one its record shows.
        if (e.message.id == ids::ToolReply)
            fault = e.kind != E::Answer &&
                            std::ranges::find(FaultCodes, e.message.data[0]) != std::end(FaultCodes)
                        ? &e
                        : nullptr;
        // A status answer no read awaits shows in the status record too.
        if (e.message.id == ids::StatusBroadcast ||
            ((e.message.id == ids::StatusRequest || e.message.id == ids::CommandRequest) &&
             e.message.data[0] == clink::codes::Status))
            broadcast = e.message.id == ids::StatusBroadcast && e.kind != E::Answer ? &e : nullptr;
    }
    auto whole = [&](const E* e) { return e && e->wholeAtNs <= toNs; };
    if (whole(fault) && state.ToolReportFrame != fault->message.data) {
        ++t.ownFramesLost;
        report("own frame lost", "the fault report is not the tool report frame");
    }
    if (whole(broadcast) && (state.SystemStatus.PsetCount != broadcast->message.data[1] ||
                             state.SystemStatus.CurrentPset != broadcast->message.data[2])) {
        ++t.ownFramesLost;
        report("own frame lost", "the status broadcast is not the status record");
    }
}

} // namespace linksim
