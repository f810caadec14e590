#include "link/answerjudge.h"

#include "link/commandcodes.h"

#include <algorithm>

namespace clink {

namespace {

// Which data bytes of an answer repeat its request: data bytes 1 onward carry `count` of the values the
// exchange installed, from RequestData(first). Answers not listed carry nothing of their request but their
// code (a Pset packet, the tool's data, a status, the NSM unit's clock, a run report). Where the values are
// set in the link state without saying which count, the first `always` are compared whatever they are and
// the others when they are not 0 (all of them for a write's confirmation).
struct EchoRule {
    CanId id;
    int code; // data byte 0
    size_t first;
    size_t count;
    size_t always;
};

constexpr EchoRule EchoRules[] = {
    {ids::CommandReply, codes::RundownResult, 1, 1, 1},     // the result block asked for
    {ids::CommandReply, codes::LogicBlock, 1, 1, 1},        // a logic block acknowledged on its own code
    {ids::CommandReply, codes::LogicBlockRequest, 2, 1, 1}, // an answer block: its number, RequestData(2)
    {ids::CommandReply, codes::Acknowledge, 1, 3, 2},       // the code acknowledged and the request's bytes
    {ids::CommandReply, codes::RundownLogAnswer, 1, 2, 2},  // the Pset and the block of the log
    {ids::ToolEepromReply, codes::EepromAnswer, 1, 3, 2},   // address high, low, and the value written
    {ids::TransducerReply, codes::EepromAnswer, 1, 3, 2},
    {ids::TransducerReply2, codes::EepromAnswer, 1, 3, 2},
    {ids::NsmReply, codes::EepromAnswer, 1, 3, 2},
    {ids::NsmReply, codes::NsmClockSet, 1, 5, 5},  // the clock set, byte by byte
    {ids::DspReply, codes::EepromAnswer, 1, 5, 3}, // 0, address low, high, the value written
    {ids::CurveReply, codes::CurveReply, 1, 3, 3}, // the curve and the index of the samples
};

// RequestData(at) counts for rule r.
bool counts(const EchoValues& echo, const EchoRule& r, size_t at) {
    return echo.installed(at, at - (r.first - 1) < r.always);
}

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

EchoValues::EchoValues(std::initializer_list<int> values) {
    size_t i = 0;
    for (int v : values) {
        if (i == Size)
            break;
        values_[i] = v;
        mask_ |= 1U << i;
        ++i;
    }
}

EchoValues EchoValues::fromLinkState(const std::array<int, Size>& values, bool exact) {
    EchoValues e;
    e.values_ = values;
    e.linkState_ = true;
    e.exact_ = exact;
    return e;
}

bool EchoValues::installed(size_t i, bool always) const {
    if (linkState_)
        return always || exact_ || values_[i] != 0;
    return (mask_ >> i) & 1U;
}

EchoValues EchoValues::with(const std::array<int, Size>& values) const {
    EchoValues e = *this;
    e.values_ = values;
    return e;
}

int AnswerJudge::answeredCode(CanId id, const std::array<int, 8>& d) {
    return id == ids::CommandReply && d[0] == codes::Acknowledge ? d[1] : d[0];
}

bool AnswerJudge::repeatsEcho(const EchoValues& echo, CanId id, const std::array<int, 8>& d) {
    if (const EchoRule* r = echoRule(id, d[0]))
        for (size_t i = 0; i < r->count; ++i) {
            const size_t at = r->first - 1 + i;
            if (counts(echo, *r, at) && d[1 + i] != echo[at])
                return false;
        }
    return true;
}

bool AnswerJudge::carries(const Awaited& a, CanId id, const std::array<int, 8>& d) {
    if ((a.id != 0 && id != a.id) || (a.code != 0 && answeredCode(id, d) != a.code))
        return false;
    return repeatsEcho(a.echo, id, d);
}

bool AnswerJudge::echoes(const EchoValues& echo, CanId id, const std::array<int, 8>& d) {
    const EchoRule* r = echoRule(id, d[0]);
    if (!r)
        return false;
    for (size_t i = 0; i < r->count; ++i)
        if (counts(echo, *r, r->first - 1 + i))
            return true;
    return false;
}

AnswerJudge::Awaited AnswerJudge::awaitedOf(const ReplyExpectation& x) {
    return {.id = x.id, .code = x.code, .echo = x.echo};
}

void AnswerJudge::begin(const ReplyExpectation& x) {
    end();
    before_ = x_.expect;
    x_ = Exchange{};
    x_.expect = x;
    active_ = x.id != 0;
    ++exchangeNumber_;
}

int64_t AnswerJudge::roundTrip() const {
    if (x_.firstTaken >= 0 && !x_.sends.empty())
        return x_.firstTaken - x_.sends.front();
    return lineRoundTrip_;
}

void AnswerJudge::end() {
    if (!active_)
        return;
    active_ = false;
    // Every request is answered in order: those whose answers have not come are owed. A controller that
    // acknowledges sends two frames to each request of a two-frame exchange.
    const int perRequest = x_.acknowledged && framing_ == Framing::Acknowledges ? 2 : 1;
    // Answers that carry nothing of their request are told from the next exchange's own only by time: on a
    // slow line their lateness scatters with the round trip, so they stay owed a round trip longer. Before
    // any exchange on this link has timed its answer, they are owed for the longest hold a controller is
    // given; an answer that repeats its request tells by itself, and with no round trip nothing is due.
    const bool carriesNothing = x_.expect.quietFirst || x_.expect.echo.none();
    const int64_t timed = this->roundTrip();
    if (timed < 0 && !carriesNothing)
        return;
    const int64_t roundTrip = timed < 0 ? UntimedRoundTripMs : timed;
    // Answers due well before the exchange ended and not come are not coming: a controller that does not
    // answer owes nothing.
    const auto pending = std::count_if(x_.sends.begin(), x_.sends.end(), [&](int64_t at) {
        return at + roundTrip + toleranceMs_ > x_.lastEvent;
    });
    const int owed = std::min(x_.requests * perRequest - x_.answers, int(pending) * perRequest);
    if (owed <= 0)
        return;
    if (owed_.size() == OwedKept)
        owed_.erase(owed_.begin());
    const int64_t grace = carriesNothing && timed >= 0 ? std::max(marginMs_, roundTrip) : marginMs_;
    owed_.push_back({awaitedOf(x_.expect), owed, x_.sends.back() + roundTrip + grace});
}

int64_t AnswerJudge::holdUntil(const ReplyExpectation& x, int64_t now) const {
    if (!x.quietFirst)
        return now;
    int64_t until = now;
    if (const int64_t heard = lastHeard(x.id); heard >= 0)
        until = std::max(until, heard + quietMs_);
    // Answers an ended exchange still owes there would be taken for this one's own once its request is out.
    for (const Owed& o : owed_)
        if (o.awaited.id == x.id && o.until > now)
            until = std::max(until, o.until);
    // A frame taken there may still come again as a copy: the exchange waits until it cannot.
    for (const Kept& k : kept_)
        if (k.id == x.id)
            until = std::max(until, k.at + 2 * quietMs_);
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
    x_.ackSinceSendAt = -1;
    if (!request)
        return;
    ++x_.requests;
    x_.sends.push_back(now);
    x_.lastEvent = now;
    x_.askedAfterAcknowledgement = x_.acknowledged;
}

bool AnswerJudge::copyOfEnded(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a) {
    const int64_t copyTime = 2 * quietMs_;
    std::erase_if(kept_, [&](const Kept& k) { return k.at + copyTime <= now; });
    // Copies are told for an exchange whose answer repeats its request or carries nothing of it, and when no
    // exchange awaits anything. An answer that carries only its code (an acknowledgement with nothing in it,
    // a Pset packet) is the same frame to every exchange asking it. An exchange run outside a transaction is
    // not followed: which frames are its own cannot be told.
    const bool echoing = active_ && echoes(a.echo, id, d);
    if (active_ ? !echoing && !x_.expect.quietFirst : a.id != 0 || a.code != 0)
        return false;
    for (const Kept& k : kept_) {
        if (k.id != id || k.d != d || (active_ && k.exchange == exchangeNumber_))
            continue;
        // A frame the exchange right before took is what the controller last said there: an answer that
        // repeats another request of it may be the same again (a read-back of the value just written). One
        // that carries nothing of its request cannot be told from its copy, nor one to the same request.
        if (echoing && k.exchange == exchangeNumber_ - 1 && !(before_ == x_.expect))
            continue;
        return true;
    }
    return false;
}

AnswerJudge::Verdict AnswerJudge::judge(CanId id, const std::array<int, 8>& d, int64_t now,
                                        const Awaited& a) {
    lastHeard_[id] = now;
    if (active_)
        x_.lastEvent = std::max(x_.lastEvent, now);
    std::erase_if(owed_, [now](const Owed& o) { return o.until <= now; });
    for (auto o = owed_.begin(); o != owed_.end(); ++o)
        if (o->awaited.id == id && carries(o->awaited, id, d)) {
            if (--o->answers == 0)
                owed_.erase(o);
            return Verdict::Owed;
        }
    if (const auto h = held_.find(id); h != held_.end() && now < h->second)
        return Verdict::Owed;
    if (copyOfEnded(id, d, now, a))
        return Verdict::Copy;
    if (a.id == 0 && a.code == 0)
        return Verdict::Report;
    if (!carries(a, id, d))
        return Verdict::Stray;
    // An answer that carries nothing of its request is taken only once that request went out.
    if (active_ && x_.expect.quietFirst && x_.requests == 0)
        return Verdict::Stray;
    if (a.replied && active_ && echoes(a.echo, id, d) && contains(x_.taken, d))
        return Verdict::Copy;
    return Verdict::Take;
}

void AnswerJudge::learnFraming(int64_t now) {
    // A request went out after the acknowledgement and the reply came after it: the reply answered it.
    if (x_.askedAfterAcknowledgement) {
        framing_ = Framing::AnswersOnce;
        return;
    }
    // The requests whose answers could have come by now, going by the acknowledgement's round trip: more
    // than one, and the reply answered a later request.
    const int64_t roundTrip = x_.firstTaken - x_.sends.front();
    const auto answerable = std::count_if(x_.sends.begin(), x_.sends.end(),
                                          [&](int64_t at) { return at + roundTrip <= now + toleranceMs_; });
    framing_ = answerable >= 2 ? Framing::AnswersOnce : Framing::Acknowledges;
}

void AnswerJudge::taken(const std::array<int, 8>& d, int64_t now, bool reply) {
    if (!active_) {
        ++looseAnswersSinceSend_;
        return;
    }
    // Frames taken before the first request (after a filter frame) answer nothing this exchange asked.
    if (x_.sends.empty())
        return;
    ++x_.answers;
    ++x_.answersSinceSend;
    if (x_.firstTaken < 0) {
        x_.firstTaken = now;
        lineRoundTrip_ = now - x_.sends.front();
    }
    x_.lastTaken = now;
    if (reply && x_.acknowledged)
        learnFraming(now);
    if (!reply) {
        x_.acknowledged = true;
        x_.ackSinceSendAt = now;
        acknowledgedExchanges_.insert({x_.expect.id, x_.expect.code});
    }
    if (!contains(x_.taken, d)) {
        if (x_.taken.size() == TakenKept)
            x_.taken.erase(x_.taken.begin());
        x_.taken.push_back(d);
    }
    if (kept_.size() == FramesKept)
        kept_.pop_front();
    kept_.push_back({x_.expect.id, d, now, exchangeNumber_});
}

bool AnswerJudge::ownAnswerSinceSend() const {
    if (!active_)
        return looseAnswersSinceSend_ > 0;
    return x_.answersSinceSend > 0 && x_.answers >= x_.requests && framing_ == Framing::AnswersOnce;
}

int64_t AnswerJudge::acknowledgedSinceSendAt() const {
    return active_ ? x_.ackSinceSendAt : -1;
}

bool AnswerJudge::needsAnotherRequest() const {
    // An acknowledgement and a reply: two answers, one per request.
    constexpr int TwoFrameAnswers = 2;
    return active_ && framing_ == Framing::AnswersOnce && x_.requests < TwoFrameAnswers &&
           acknowledgedExchanges_.contains({x_.expect.id, x_.expect.code});
}

int64_t AnswerJudge::lastAnswerDue() const {
    const int64_t roundTrip = this->roundTrip();
    if (!active_ || x_.sends.empty() || roundTrip < 0 || x_.answers >= x_.requests || needsAnotherRequest())
        return -1;
    return x_.sends.back() + roundTrip;
}

} // namespace clink
