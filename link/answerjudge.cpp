#include "link/answerjudge.h"

#include "link/commandcodes.h"

#include <algorithm>

namespace clink {

namespace {

// Which data bytes of an answer repeat its request: data bytes 1 onward carry `count` of the values the
// exchange installed, from RequestData(first). Answers not listed carry nothing of their request but their
// code (a Pset packet, the tool's data, a status, the NSM unit's clock, a run report).
struct EchoRule {
    CanId id;
    int code; // data byte 0
    size_t first;
    size_t count;
};

constexpr EchoRule EchoRules[] = {
    {ids::CommandReply, codes::RundownResult, 1, 1},     // the result block asked for
    {ids::CommandReply, codes::LogicBlock, 1, 1},        // a logic block acknowledged on its own code
    {ids::CommandReply, codes::LogicBlockRequest, 2, 1}, // an answer block: its number, RequestData(2)
    {ids::CommandReply, codes::Acknowledge, 1, 3},       // the code acknowledged and the request's bytes
    {ids::CommandReply, codes::RundownLogAnswer, 1, 2},  // the Pset and the block of the log
    {ids::ToolEepromReply, codes::EepromAnswer, 1, 3},   // address high, low, and the value written
    {ids::TransducerReply, codes::EepromAnswer, 1, 3},
    {ids::TransducerReply2, codes::EepromAnswer, 1, 3},
    {ids::NsmReply, codes::EepromAnswer, 1, 3},
    {ids::NsmReply, codes::NsmClockSet, 1, 5},  // the clock set, byte by byte
    {ids::DspReply, codes::EepromAnswer, 1, 5}, // 0, address low, high, the value written
    {ids::CurveReply, codes::CurveReply, 1, 3}, // the curve and the index of the samples
};

const EchoRule* echoRule(CanId id, int code) {
    for (const EchoRule& r : EchoRules)
        if (r.id == id && r.code == code)
            return &r;
    return nullptr;
}

bool contains(const std::vector<std::array<int, 8>>& frames, const std::array<int, 8>& d) {
    return std::find(frames.begin(), frames.end(), d) != frames.end();
}

} // namespace

int AnswerJudge::answeredCode(CanId id, const std::array<int, 8>& d) {
    return id == ids::CommandReply && d[0] == codes::Acknowledge ? d[1] : d[0];
}

bool AnswerJudge::carries(const Awaited& a, CanId id, const std::array<int, 8>& d) {
    if ((a.id != 0 && id != a.id) || (a.code != 0 && answeredCode(id, d) != a.code))
        return false;
    if (const EchoRule* r = echoRule(id, d[0]))
        for (size_t i = 0; i < r->count; ++i) {
            const int value = a.echo[r->first - 1 + i];
            if (value != 0 && d[1 + i] != value)
                return false;
        }
    return true;
}

bool AnswerJudge::echoes(const Awaited& a, CanId id, const std::array<int, 8>& d) {
    const EchoRule* r = echoRule(id, d[0]);
    if (!r)
        return false;
    for (size_t i = 0; i < r->count; ++i)
        if (a.echo[r->first - 1 + i] != 0)
            return true;
    return false;
}

AnswerJudge::Awaited AnswerJudge::awaitedOf(const ReplyExpectation& x) {
    return {.id = x.id, .code = x.code, .echo = x.echo};
}

bool AnswerJudge::owedTo(const Owed& o, CanId id, const std::array<int, 8>& d) {
    if (id != o.awaited.id || o.taken.empty())
        return false;
    // An answer that repeats its request is the same frame each time it is sent; one that does not may
    // differ (a status, the tool's data), and every answer like it is owed until it is due.
    if (echoes(o.awaited, id, o.taken.back()))
        return contains(o.taken, d);
    return carries(o.awaited, id, d);
}

void AnswerJudge::begin(const ReplyExpectation& x) {
    end();
    x_ = Exchange{};
    x_.expect = x;
    active_ = x.id != 0;
}

void AnswerJudge::end() {
    if (!active_)
        return;
    active_ = false;
    // An exchange that heard nothing gives no round trip to go by: a controller that silent owes nothing.
    if (x_.lastSend < 0 || x_.firstTaken < 0)
        return;
    // The first answer came one round trip (at most) after the first send; the last send's answer is due one
    // round trip after it. Not yet come when the exchange ended on its last frame: owed.
    const int64_t roundTrip = x_.firstTaken - x_.firstSend;
    if (x_.lastSend + roundTrip <= x_.lastTaken + toleranceMs_)
        return;
    if (owed_.size() == OwedKept)
        owed_.erase(owed_.begin());
    owed_.push_back({awaitedOf(x_.expect), x_.taken, x_.lastSend + roundTrip + marginMs_});
}

int64_t AnswerJudge::holdUntil(const ReplyExpectation& x, int64_t now) const {
    int64_t until = 0;
    const Awaited a = awaitedOf(x);
    // Owed answers this exchange would take as its own: it may not send before they are due. Those it
    // tells apart by their echo do not hold it.
    for (const Owed& o : owed_)
        if (o.until > now && o.awaited.id == x.id)
            for (const auto& d : o.taken)
                if (carries(a, x.id, d))
                    until = std::max(until, o.until);
    if (x.quietFirst)
        if (const int64_t heard = lastHeard(x.id); heard >= 0)
            until = std::max(until, heard + quietMs_);
    return until;
}

int64_t AnswerJudge::lastHeard(CanId id) const {
    const auto it = lastHeard_.find(id);
    return it == lastHeard_.end() ? -1 : it->second;
}

void AnswerJudge::sent(int64_t now, bool request) {
    looseAnswersSinceSend_ = 0;
    if (!active_)
        return;
    x_.answersSinceSend = 0;
    if (!request)
        return;
    ++x_.requests;
    if (x_.firstSend < 0)
        x_.firstSend = now;
    x_.lastSend = now;
}

AnswerJudge::Verdict AnswerJudge::judge(CanId id, const std::array<int, 8>& d, int64_t now,
                                        const Awaited& a) {
    lastHeard_[id] = now;
    if (const auto h = held_.find(id); h != held_.end() && now < h->second)
        return Verdict::Owed;
    std::erase_if(owed_, [now](const Owed& o) { return o.until <= now; });
    for (const Owed& o : owed_)
        if (owedTo(o, id, d))
            return Verdict::Owed;
    if (a.id == 0 && a.code == 0)
        return Verdict::Report;
    if (!carries(a, id, d))
        return Verdict::Stray;
    if (a.replied && active_ && echoes(a, id, d) && contains(x_.taken, d))
        return Verdict::Copy;
    return Verdict::Take;
}

void AnswerJudge::taken(const std::array<int, 8>& d, int64_t now) {
    if (!active_) {
        ++looseAnswersSinceSend_;
        return;
    }
    // Frames taken before the first request (after a filter frame) answer nothing this exchange asked.
    if (x_.firstSend < 0)
        return;
    ++x_.answers;
    ++x_.answersSinceSend;
    if (x_.firstTaken < 0)
        x_.firstTaken = now;
    x_.lastTaken = now;
    if (!contains(x_.taken, d)) {
        if (x_.taken.size() == TakenKept)
            x_.taken.erase(x_.taken.begin());
        x_.taken.push_back(d);
    }
}

bool AnswerJudge::ownAnswerSinceSend() const {
    if (!active_)
        return looseAnswersSinceSend_ > 0;
    return x_.answersSinceSend > 0 && x_.answers >= x_.requests;
}

int64_t AnswerJudge::lastAnswerDue() const {
    if (!active_ || x_.firstTaken < 0 || x_.answers >= x_.requests)
        return -1;
    return x_.lastSend + (x_.firstTaken - x_.firstSend);
}

} // namespace clink
