#include "link/answerjudge.h"

#include "link/commandcodes.h"

#include <QLoggingCategory>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace clink {

namespace {
// What the judge learns of the line; off unless enabled ("palverin.link.judge.debug=true").
Q_LOGGING_CATEGORY(lcJudge, "palverin.link.judge", QtInfoMsg)

// Which data bytes of an answer repeat its request: data bytes 1 onward carry `count` of the values the
// exchange installed, from RequestData(first). Answers not listed carry nothing of their request but their
// code (a Pset packet, the tool's data, a status, the NSM unit's clock, a run report). Where the values are
// set in the link state without saying which count, the first `always` are compared whatever they are and
// the others when they are not 0 (all of them for a write's confirmation).
// Which frames of such an answer the exchange takes only when they repeat at least one value it installed:
// every one, only the reply (the acknowledgement of a logic block is told by its code), or none (an
// acknowledgement told by no value is told by the code it acknowledges).
enum class Repeats { Every, Reply, None };

struct EchoRule {
    CanId id;
    int code; // data byte 0
    size_t first;
    size_t count;
    size_t always;
    Repeats repeats = Repeats::Every;
};

constexpr EchoRule EchoRules[] = {
    {ids::CommandReply, codes::RundownResult, 1, 1, 1}, // the result block asked for
    // A logic block acknowledged on its own code.
    {ids::CommandReply, codes::LogicBlock, 1, 1, 1, Repeats::Reply},
    // An answer block: its number, RequestData(2).
    {ids::CommandReply, codes::LogicBlockRequest, 2, 1, 1, Repeats::Reply},
    // The code acknowledged and the request's bytes.
    {ids::CommandReply, codes::Acknowledge, 1, 3, 2, Repeats::None},
    {ids::CommandReply, codes::RundownLogAnswer, 1, 2, 2}, // the Pset and the block of the log
    {ids::ToolEepromReply, codes::EepromAnswer, 1, 3, 2},  // address high, low, and the value written
    {ids::TransducerReply, codes::EepromAnswer, 1, 3, 2},
    {ids::TransducerReply2, codes::EepromAnswer, 1, 3, 2},
    {ids::NsmReply, codes::EepromAnswer, 1, 3, 2},
    {ids::NsmReply, codes::NsmClockSet, 1, 5, 5},  // the clock set, byte by byte
    {ids::DspReply, codes::EepromAnswer, 1, 5, 3}, // 0, address low, high, the value written
    {ids::CurveReply, codes::CurveReply, 1, 3, 3}, // the curve and the index of the samples
};

// The codes whose acknowledgement is their reply whatever the request carried: a Pset packet written, the
// erase, the rundown clear, and the software version (whose acknowledgement carries the major version).
constexpr int AcknowledgedAlone[] = {
    codes::PsetPacket1, codes::PsetPacket1 + 1, codes::PsetPacket1 + 2, codes::PsetPacket1 + 3,
    codes::ErasePsets,  codes::ClearRundowns,   codes::Version,
};

// The answers that say what holds at the moment, moving on by themselves: the NSM unit's clock, the
// controller's status, the tool's data. A copy of an earlier one may be of a moment gone, whatever changed.
constexpr std::pair<CanId, int> MovingAnswers[] = {
    {ids::NsmReply, codes::NsmClock}, {ids::StatusRequest, codes::Status}, {ids::ToolReply, codes::ToolData}};

// The exchanges answered with an acknowledgement and a reply to each request, by a unit of its own whatever
// the controller's framing: the DSP's revision.
constexpr std::pair<CanId, int> AcknowledgedAlways[] = {{ids::ToolReply, codes::DspRevision}};

// The answers whose handler appends what they carry to the receive buffer: the controller's Pset packets,
// rundown result blocks, answer blocks, rundown log blocks, a DSP word and the tool's data.
struct Appending {
    CanId id;
    int firstCode;
    int lastCode;
};
constexpr Appending AppendingAnswers[] = {
    {ids::CommandReply, 1, codes::PsetPackets},
    {ids::CommandReply, codes::RundownResult, codes::RundownResult},
    {ids::CommandReply, codes::LogicBlockRequest, codes::LogicBlockRequest},
    {ids::CommandReply, codes::RundownLogAnswer, codes::RundownLogAnswer},
    {ids::DspReply, codes::EepromAnswer, codes::EepromAnswer},
    {ids::ToolReply, codes::ToolData, codes::ToolData},
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

bool AnswerJudge::appends(CanId id, const std::array<int, 8>& d) {
    return std::any_of(std::begin(AppendingAnswers), std::end(AppendingAnswers), [&](const Appending& r) {
        return r.id == id && d[0] >= r.firstCode && d[0] <= r.lastCode;
    });
}

bool AnswerJudge::takes(const Awaited& a, CanId id, const std::array<int, 8>& d) {
    if (!carries(a, id, d))
        return false;
    if (appends(id, d) && (a.idle || a.id != id || a.code != d[0]))
        return false;
    const EchoRule* r = echoRule(id, d[0]);
    if (!r || echoes(a.echo, id, d))
        return true;
    switch (r->repeats) {
    case Repeats::Every:
        return false;
    case Repeats::Reply:
        return !a.acknowledged;
    case Repeats::None:
        return !a.acknowledged || std::find(std::begin(AcknowledgedAlone), std::end(AcknowledgedAlone),
                                            d[1]) != std::end(AcknowledgedAlone);
    }
    return false;
}

bool AnswerJudge::answersOneRequest(CanId id, const std::array<int, 8>& d) {
    return !reportsOnItsOwn(id) && echoRule(id, d[0]) != nullptr;
}

bool AnswerJudge::reportsOnItsOwn(CanId id) {
    switch (id) {
    case ids::StatusBroadcast: // the status
    case ids::ButtonReply:     // the tool's buttons
    case ids::RunData:         // the run screen's rundown result
    case ids::ToolReply:       // fault and cycle reports, the tool's data
    case ids::Reply13EF0110:   // the socket tray
    case ids::BlockReply:      // the button sensors' stream
        return true;
    default:
        return false;
    }
}

namespace {
// Two awaited answers can be the same frame: the same identifier, codes that do not differ, and no echo
// value that both install and that differs.
bool overlap(const AnswerJudge::Awaited& a, const AnswerJudge::Awaited& b) {
    if (a.id != b.id || (a.code != 0 && b.code != 0 && a.code != b.code))
        return false;
    for (size_t i = 0; i < EchoValues::size(); ++i)
        if (a.echo.installed(i) && b.echo.installed(i) && a.echo[i] != b.echo[i])
            return false;
    return true;
}
} // namespace

AnswerJudge::Awaited AnswerJudge::awaitedOf(const ReplyExpectation& x) {
    return {.id = x.id, .code = x.code, .echo = x.echo};
}

void AnswerJudge::accepting(CanId id, int64_t now) {
    if (id != accepted_) {
        passedBefore_ = accepted_;
        acceptedAt_ = now;
    }
    if (id != accepted_ && !passesAll_) {
        // Those the dongle stopped passing when it was last asked for another identifier never come now:
        // the frames they would take are the new request's answers. Unless the controller sends them later
        // than that: a reply that follows its acknowledgement by the gap the controller has shown, when even
        // the shortest such gap ends after now, leaves the unit while the dongle passes it again, and is owed
        // as before.
        const auto stillToCome = [this, now](const Owed& o) {
            return o.answeredAt >= 0 && !ackGaps_.empty() &&
                   o.answeredAt + *std::min_element(ackGaps_.begin(), ackGaps_.end()) - t_.tolerance > now;
        };
        std::erase_if(owed_, [id, &stillToCome](const Owed& o) {
            return o.filteredAway && o.awaited.id == id && !stillToCome(o);
        });
        for (Owed& o : owed_)
            o.filteredAway = o.awaited.id != id;
    }
    accepted_ = id;
}

void AnswerJudge::dropBelief(const char* evidence, int64_t now) {
    if (framing_ == Framing::AnswersOnce) {
        qCDebug(lcJudge) << "the controller may acknowledge after all:" << evidence;
        beliefDroppedAt_ = now;
    }
    framing_ = Framing::Unknown;
}

bool AnswerJudge::answersBeyondBeliefMayCome(int64_t now) const {
    return beliefDroppedAt_ >= 0 && now - beliefDroppedAt_ < t_.untimedHold;
}

void AnswerJudge::noteCopies(const char* evidence, int64_t now) {
    if (!copiesSeen())
        qCDebug(lcJudge) << "the line passes frames twice:" << evidence;
    if (roundTripMayBeCopy_ && roundTrips_.size() == 1)
        roundTrips_.clear();
    roundTripMayBeCopy_ = false;
    copiesSeenAt_ = now;
}

void AnswerJudge::transactionBegins() {
    end();
    ++epoch_;
}

void AnswerJudge::begin(const ReplyExpectation& expectation) {
    // A copy: the expectation may be the one followed now, which ends here.
    const ReplyExpectation x = expectation;
    end();
    x_ = Exchange{};
    x_.expect = x;
    active_ = x.id != 0;
    // What the controller said before a change is no longer its answer.
    if (active_ && x.changes) {
        ++epoch_;
        ++changes_;
    }
}

void AnswerJudge::forgetController() {
    // What the program's own handlers showed of the catalogue holds whatever answers.
    auto acknowledged = std::move(acknowledgedExchanges_);
    *this = AnswerJudge(t_);
    acknowledgedExchanges_ = std::move(acknowledged);
}

int64_t AnswerJudge::roundTrip() const {
    if (roundTrips_.empty())
        return t_.untimedHold;
    const int64_t longest = *std::max_element(roundTrips_.begin(), roundTrips_.end());
    // Holds scatter with the controller's load: a quarter of the longest more, and never less than the
    // tolerance.
    return longest + std::max(t_.tolerance, longest / 4);
}

int64_t AnswerJudge::answerTime() const {
    return std::max(roundTrip(), t_.senderWait);
}

void AnswerJudge::timeRoundTrip(int64_t sample, bool provisional, int64_t atLeast) {
    if (provisionalRoundTrip_)
        roundTrips_.clear();
    provisionalRoundTrip_ = provisional;
    provisionalAtLeast_ = std::clamp<int64_t>(atLeast, 0, sample);
    if (roundTrips_.size() == RoundTripsKept)
        roundTrips_.pop_front();
    roundTrips_.push_back(std::max<int64_t>(sample, 0));
}

bool AnswerJudge::mayBeOwnAnswer(CanId id, const std::array<int, 8>& d, int64_t now) const {
    if (!active_ || x_.sends.empty() || !carries(awaitedOf(x_.expect), id, d))
        return false;
    return now >= earliestAnswerTo(x_.sends.front());
}

bool AnswerJudge::repeatsHeard(CanId id, const std::array<int, 8>& d, int64_t now) const {
    return std::any_of(heard_.begin(), heard_.end(), [&](const Heard& h) {
        return h.id == id && now - h.cameAt >= t_.copyEarliest && h.d == d;
    });
}

bool AnswerJudge::heardJustBefore(CanId id, const std::array<int, 8>& d, int64_t now) const {
    for (auto h = heard_.rbegin(); h != heard_.rend() && now - h->at < t_.copyEarliest; ++h)
        if (h->id == id && h->at < now && h->d == d)
            return true;
    return false;
}

bool AnswerJudge::showsCopy(CanId id, const std::array<int, 8>& d, int64_t now) const {
    // Heard while a copy of it can still come, however soon a dongle repeats it.
    const bool again =
        std::any_of(heard_.begin(), heard_.end(), [&](const Heard& h) { return h.id == id && h.d == d; });
    return !reportsOnItsOwn(id) && again && !drawnByFilter(id, d, now) && !stillOwed(id, d, now);
}

bool AnswerJudge::stillOwed(CanId id, const std::array<int, 8>& d, int64_t now) const {
    return std::any_of(owed_.begin(), owed_.end(), [&](const Owed& o) {
        return (o.answers > 0 || o.beyond > 0) && now >= o.askedAt && carries(o.awaited, id, d);
    });
}

bool AnswerJudge::drawnByFilter(CanId id, const std::array<int, 8>& d, int64_t now) const {
    // A unit answers a filter frame with what it answers anything with: the NSM unit its clock, the
    // controller its status.
    static constexpr std::pair<CanId, int> FilterAnswers[] = {{ids::NsmReply, codes::NsmClock},
                                                              {ids::StatusRequest, codes::Status}};
    const auto filter = lastFilter_.find(id);
    if (std::find(std::begin(FilterAnswers), std::end(FilterAnswers), std::pair{id, d[0]}) ==
            std::end(FilterAnswers) ||
        filter == lastFilter_.end())
        return false;
    // Its acknowledgement and reply, or the reply a gap after the acknowledgement when answers owed there
    // kept the unit from answering sooner.
    const int64_t sent = filter->second;
    return now - sent < roundTrip() + t_.maxAckGap ||
           std::any_of(heard_.begin(), heard_.end(), [&](const Heard& h) {
               return h.id == id && h.d == d && h.at >= sent && now - h.at <= t_.maxAckGap + t_.tolerance;
           });
}

bool AnswerJudge::repeatsEarlier(CanId id, const std::array<int, 8>& d, int64_t now, int64_t came) const {
    // A frame read late came at some time between the two: it may be a copy if it may have come then.
    return std::any_of(heard_.begin(), heard_.end(), [&](const Heard& h) {
        return h.epoch != epoch_ && h.id == id && now - h.cameAt >= t_.copyEarliest &&
               came - h.at < t_.copy + t_.tolerance && h.d == d;
    });
}

bool AnswerJudge::heardSinceChange(CanId id, const std::array<int, 8>& d) const {
    if (std::find(std::begin(MovingAnswers), std::end(MovingAnswers), std::pair{id, d[0]}) !=
        std::end(MovingAnswers))
        return false;
    return std::any_of(heard_.begin(), heard_.end(),
                       [&](const Heard& h) { return h.changes == changes_ && h.id == id && h.d == d; });
}

int64_t AnswerJudge::earliestAnswerTo(int64_t sent) const {
    if (roundTrips_.empty())
        return sent;
    // A round trip read late lies between the time since the program last looked at the line and the time
    // since it read the answer: only the first says how soon the controller can answer.
    const int64_t fastest = provisionalRoundTrip_ ? provisionalAtLeast_
                                                  : *std::min_element(roundTrips_.begin(), roundTrips_.end());
    // The same scatter as the longest is given, below the fastest.
    return sent + fastest - std::max(t_.tolerance, fastest / 4);
}

bool AnswerJudge::takesTwoFrames() const {
    return acknowledgedAlways() || acknowledgedExchanges_.contains({x_.expect.id, x_.expect.code});
}

bool AnswerJudge::acknowledgedAlways() const {
    return std::find(std::begin(AcknowledgedAlways), std::end(AcknowledgedAlways),
                     std::pair{x_.expect.id, x_.expect.code}) != std::end(AcknowledgedAlways);
}

void AnswerJudge::end() {
    if (!active_)
        return;
    active_ = false;
    // Answers still held came all the same.
    x_.answers += int(held_.size());
    held_.clear();
    if (x_.sends.empty())
        return;
    // Every request is answered, in order: a controller that acknowledges sends two frames to each request
    // of a two-frame exchange, one that answers once sends one.
    const bool twoFrames = takesTwoFrames();
    const bool once = (x_.believedOnce || framing_ == Framing::AnswersOnce) && !acknowledgedAlways();
    const int perRequest = twoFrames && !once ? 2 : 1;
    // An answer taken that may have been the one owed to an earlier exchange answers none of these requests.
    const int own = std::max(x_.answers - x_.owedTaken, 0);
    const int counted = std::max(x_.requests * perRequest - own, 0);
    const int beyond = twoFrames && once ? std::max(x_.requests * 2 - own, 0) - counted : 0;
    if (counted + beyond == 0)
        return;
    if (owed_.size() == OwedKept)
        owed_.erase(owed_.begin());
    // They are due one round trip as timed after the last request (and a reply's gap); a controller that
    // has become slower since may still send those counted on up to the longest hold a controller is given,
    // and they are dropped until then, so that no later exchange on what they answer takes one for its own.
    const int64_t gap = (twoFrames ? t_.maxAckGap : 0) + t_.tolerance;
    const int64_t last = x_.sends.back();
    // The first of them answers the first request whose answers are not all in.
    const int64_t firstOwing = x_.sends[std::min(size_t(own / perRequest), x_.sends.size() - 1)];
    // An answer beyond the framing counted on came already: the rest of them are due as those counted on.
    const bool beyondCame = x_.believedOnce && framing_ != Framing::AnswersOnce;
    // The last request drew one frame of the two a controller that acknowledges sends: the other follows it.
    const int64_t answeredAt =
        perRequest == TwoFrameAnswers && x_.answersSinceSend == 1 ? x_.lastTakenAt : -1;
    owed_.push_back({awaitedOf(x_.expect), counted, beyond, firstOwing, earliestAnswerTo(firstOwing),
                     last + answerTime() + gap, last + std::max(answerTime(), t_.untimedHold) + gap, x_.taken,
                     last, x_.lastTakenAt, beyondCame, answeredAt});
}

int64_t AnswerJudge::beyondUntil(const Owed& o) const {
    return o.beyondCame ? o.due : std::max(o.lastSent + roundTrip(), o.lastTaken + t_.tolerance);
}

int64_t AnswerJudge::firstRequestAt(int64_t now) const {
    if (!active_)
        return now;
    const Awaited awaited = awaitedOf(x_.expect);
    int64_t at = now;
    // Answers owed there would be taken for this exchange's own once its request is out.
    for (const Owed& o : owed_) {
        const int64_t until = o.answers > 0 ? o.due : beyondUntil(o);
        if (until > now && !o.filteredAway && overlap(o.awaited, awaited))
            at = std::max(at, until);
    }
    // An answer that carries nothing of its request is asked for once a dongle that repeats frames at once
    // can have passed no frame of an earlier exchange there a second time: the repeat would pass for it.
    if (x_.expect.quietFirst)
        for (const Heard& h : heard_)
            if (h.id == x_.expect.id && h.epoch != epoch_)
                at = std::max(at, h.at + t_.copyEarliest);
    // On a line that has passed a frame twice, a copy of a frame heard there before this transaction asked
    // anything (or before it changed what the controller holds) would pass for the controller's answer now,
    // and the line must be quiet for as long as a copy takes.
    // (A copy is timed from when the dongle passed the frame; the text of either may take a little longer.)
    if (!copiesSeen())
        return at;
    for (const Heard& h : heard_)
        if (h.epoch != epoch_ && h.at + t_.copy + t_.tolerance > now && carries(awaited, h.id, h.d))
            at = std::max(at, h.at + t_.copy + t_.tolerance);
    if (x_.expect.quietFirst)
        if (const int64_t heard = lastHeard(x_.expect.id); heard >= 0)
            at = std::max(at, heard + t_.quiet);
    return at;
}

int64_t AnswerJudge::nextRequestAt(int64_t now) const {
    if (!active_ || x_.requests == 0)
        return firstRequestAt(now);
    if (x_.replied)
        return now;
    // An answer is held: it may be the one the next request would only duplicate.
    if (!held_.empty())
        return std::max(now, heldUntil_);
    if (needsAnotherRequest())
        return now;
    int64_t at = now;
    // Every request draws an answer, in order: while one has not come, the last request's can come one round
    // trip after it (a request sent late, behind a busy program, is answered late).
    if (x_.answers < x_.requests)
        at = std::max(at, x_.sends.back() + answerTime());
    if (x_.answersSinceSend == 0) {
        // The unit answers in order: answers still owed on the identifier, and the reply that may follow a
        // frame no exchange took there, come before this request's.
        if (const int64_t other = lastOther(x_.expect.id); other >= 0)
            at = std::max(at, other + t_.maxAckGap);
        for (const Owed& o : owed_)
            if (o.awaited.id == x_.expect.id && o.answers > 0 && !o.filteredAway)
                at = std::max(at, o.due + t_.maxAckGap);
    } else if (x_.ackSinceSendAt >= 0 && !x_.believedOnce) {
        // After an acknowledgement, the reply of a controller that acknowledges within the gap.
        at = std::max(at, x_.ackSinceSendAt + t_.maxAckGap);
    }
    return at;
}

int64_t AnswerJudge::lastHeard(CanId id) const {
    const auto it = lastHeard_.find(id);
    return it == lastHeard_.end() ? -1 : it->second;
}

int64_t AnswerJudge::lastOther(CanId id) const {
    const auto it = lastOther_.find(id);
    return it == lastOther_.end() ? -1 : it->second;
}

void AnswerJudge::sent(int64_t now, bool request) {
    if (!active_ || !request)
        return;
    // An acknowledgement, then no reply for the whole time a controller that acknowledges takes: this one
    // answers once per request.
    if (x_.requests == 1 && !x_.replied && x_.answersSinceSend == 1 && x_.ackSinceSendAt >= 0 &&
        now >= x_.ackSinceSendAt + t_.maxAckGap && framing_ != Framing::AnswersOnce) {
        qCDebug(lcJudge) << "the controller answers once per request";
        framing_ = Framing::AnswersOnce;
    }
    if (needsAnotherRequest())
        x_.believedOnce = true;
    ++x_.requests;
    x_.sends.push_back(now);
    x_.ackSinceSendAt = -1;
    x_.answersSinceSend = 0;
}

void AnswerJudge::forget(int64_t now) {
    std::erase_if(owed_, [this, now](const Owed& o) {
        return (o.answers == 0 || o.until <= now) && (o.beyond == 0 || beyondUntil(o) <= now);
    });
    while (!heard_.empty() &&
           (heard_.front().at + t_.copy + t_.tolerance <= now || heard_.size() > HeardKept))
        heard_.pop_front();
}

AnswerJudge::Verdict AnswerJudge::judge(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a,
                                        int64_t cameFrom) {
    ++framesHeard_;
    lastHeard_[id] = now;
    lastFrameAt_ = now;
    // A frame on another identifier than the dongle was asked to pass (its own reports are passed anyway).
    // (One the dongle passed before it was asked for another may still be on its way.)
    const bool passedBefore = id == passedBefore_ && now - acceptedAt_ < t_.tolerance;
    if (accepted_ != 0 && id != accepted_ && !reportsOnItsOwn(id) && !passesAll_ && !passedBefore) {
        passesAll_ = true;
        for (Owed& o : owed_)
            o.filteredAway = false;
    }
    // A frame the program read late came at the earliest when it last looked at the line: what was heard
    // before is kept as long as a copy of it may have come then.
    const int64_t came = cameFrom < 0 ? now : std::min(cameFrom, now);
    forget(came);
    Lesson lesson;
    const Verdict v = verdict(id, d, now, a, came, lesson);
    if ((v == Verdict::Stray || v == Verdict::Report) && showsCopy(id, d, came)) {
        // A controller believed to answer once that acknowledges after all sends such frames too.
        if (framing_ == Framing::AnswersOnce)
            lesson.mayAcknowledge = "a frame no exchange takes, like one heard before";
        else if (!answersBeyondBeliefMayCome(now))
            lesson.copies = "a frame no exchange takes, like one heard a gateway delay before";
    }
    learn(lesson, now);
    // A frame on the identifier that is not the exchange's own is an earlier answer still leaving the unit
    // (perhaps an acknowledgement whose reply is to follow), which answers in order: its own comes after.
    if (v != Verdict::Take)
        lastOther_[id] = now;
    // A frame taken after this transaction asked is the controller's answer now; any other may be older.
    const bool current =
        active_ && x_.requests > 0 && (v == Verdict::Take || v == Verdict::Copy || v == Verdict::Hold);
    // Only a frame taken as the controller's answer says what it holds since its last change.
    const bool sinceChange = current && v == Verdict::Take;
    heard_.push_back({id, d, now, current ? epoch_ : -1, came, sinceChange ? changes_ : -1, changes_});
    return v;
}

void AnswerJudge::learn(const Lesson& lesson, int64_t now) {
    if (lesson.mayAcknowledge)
        dropBelief(lesson.mayAcknowledge, now);
    if (lesson.copies)
        noteCopies(lesson.copies, now);
    switch (lesson.sample) {
    case Lesson::Sample::None:
        break;
    case Lesson::Sample::First: {
        const bool tighter =
            provisionalRoundTrip_ && !roundTrips_.empty() && lesson.roundTrip < roundTrips_.back();
        if (roundTrips_.empty() || tighter)
            timeRoundTrip(lesson.roundTrip, lesson.provisional, tighter ? provisionalAtLeast_ : lesson.least);
        break;
    }
    case Lesson::Sample::AtLeast: {
        const int64_t atLeast = lesson.roundTrip;
        std::erase_if(roundTrips_, [atLeast](int64_t r) { return r < atLeast; });
        timeRoundTrip(atLeast);
        break;
    }
    case Lesson::Sample::Timed:
        timeRoundTrip(lesson.roundTrip);
        break;
    }
}

AnswerJudge::Verdict AnswerJudge::verdict(CanId id, const std::array<int, 8>& d, int64_t now,
                                          const Awaited& a, int64_t cameFrom, Lesson& lesson) {
    bool mayBeOwed = false;
    int64_t owedAskedAt = 0;
    for (auto o = owed_.begin(); o != owed_.end(); ++o) {
        if (o->awaited.id != id || !carries(o->awaited, id, d) || now < o->earliest)
            continue;
        // Past their due time, owed answers are told from the waiting exchange's own by when they come: one
        // that comes sooner than the controller has ever answered is not its own. One that may be its own
        // is taken, but it may still be the one owed (a controller slower than it was): the exchange's own
        // answer is owed after it until it has come.
        if (o->answers > 0 && now >= o->due && now < o->until && !o->filteredAway &&
            mayBeOwnAnswer(id, d, now)) {
            owedAskedAt = o->askedAt;
            owed_.erase(o);
            mayBeOwed = true;
            break;
        }
        if (o->answers > 0 && now < o->until) {
            --o->answers;
            // The first answer the line has timed: whichever request it answers, that long at most; read
            // late, until an answer read on time is timed. One read late before, and longer, gives way to it
            // (the least that one showed the controller takes still holds).
            lesson.sample = Lesson::Sample::First;
            lesson.roundTrip = now - o->askedAt;
            lesson.provisional = cameFrom < now;
            lesson.least = cameFrom - o->askedAt;
        } else if (o->beyond > 0 && now < beyondUntil(*o)) {
            // The answer a filter frame sent since drew, as the unit answers anything: none beyond those
            // counted on, and no sign that they still come.
            if (drawnByFilter(id, d, cameFrom))
                return Verdict::Owed;
            // More answers than the framing the exchange counted on gives, as a controller that acknowledges
            // would send them: it was wrong.
            --o->beyond;
            o->beyondCame = true;
            if (contains(o->taken, d))
                lesson.mayAcknowledge = "an answer beyond those counted on, like one taken";
        } else {
            continue;
        }
        if (o->answers == 0 && o->beyond == 0)
            owed_.erase(o);
        return Verdict::Owed;
    }
    if (a.id == 0 && a.code == 0)
        return Verdict::Report;
    // The exchange has its reply (the handler may have rewritten the echo values since: what it installed
    // decides): this is a copy of a frame it took, or one more answer to its requests. More answers than
    // requests may be a controller that was taken to answer once answering more: the belief goes, and the
    // next exchange asks only as the answers show.
    if (active_ && x_.requests > 0 && a.replied && carries(awaitedOf(x_.expect), id, d)) {
        ++x_.answers;
        if (x_.believedOnce && x_.answers - x_.owedTaken > x_.requests)
            lesson.mayAcknowledge = "more answers than requests";
        // More frames than an acknowledgement and a reply to each request: the line passes frames twice.
        if (x_.answers > TwoFrameAnswers * x_.requests)
            lesson.copies = "more frames than two per request";
        return contains(x_.taken, d) ? Verdict::Copy : Verdict::Owed;
    }
    if (!takes(a, id, d))
        return Verdict::Stray;
    if (!active_)
        return Verdict::Take;
    // An answer is taken only once its request went out, unless it comes on its own.
    if (x_.requests == 0 && !x_.expect.unprompted)
        return Verdict::Stray;

    // One that may be an earlier exchange's answer: whichever request it answers, the controller took at
    // least the time since this exchange last asked, and round trips shorter than that are of a controller
    // that has become slower since.
    if (mayBeOwed) {
        lesson.sample = Lesson::Sample::AtLeast;
        lesson.roundTrip = now - x_.sends.back();
        // Which it is, only what follows shows. Answers come in order: one more to this exchange shows this
        // one the owed answer, of a value perhaps since changed; none by the time a controller as slow as
        // the owed answer shows (up to the longest hold a controller is given) would take to answer the
        // last request shows it the exchange's own.
        if (held_.empty())
            heldUntil_ = x_.sends.back() + std::min(now - owedAskedAt, t_.untimedHold) + t_.tolerance;
        held_.push_back({id, d, now, cameFrom < now, false, true});
        return Verdict::Hold;
    }
    return takeOrHold(id, d, now, cameFrom, lesson);
}

AnswerJudge::Verdict AnswerJudge::takeOrHold(CanId id, const std::array<int, 8>& d, int64_t now,
                                             int64_t cameFrom, Lesson& lesson) {
    // An answer that comes on its own is taken whenever it comes.
    if (x_.expect.unprompted || x_.sends.empty()) {
        ++x_.answers;
        return Verdict::Take;
    }
    // Like a frame heard before the exchange asked, or like a frame heard as long before as a gateway
    // repeats one and sooner than the controller has answered lately (or than it answers: it may have
    // become faster).
    const bool soonerThanAnswered = now < earliestAnswerTo(x_.sends.front()) && repeatsHeard(id, d, now);
    const bool likeEarlier = repeatsEarlier(id, d, now, cameFrom) || soonerThanAnswered;
    // Only a line that has passed a frame twice is taken to pass this one twice. Elsewhere a frame like an
    // earlier one is held only when it comes sooner than the controller answers, or when the controller
    // changed what it holds since it said that: a first copy would then bring a value no longer held.
    // (A controller whose reply follows its acknowledgement apart gives a copy the time between them.)
    const bool replyApart = takesTwoFrames() && !ackGaps_.empty() &&
                            *std::min_element(ackGaps_.begin(), ackGaps_.end()) > t_.tolerance;
    const bool mayBeCopy = copiesSeen() || replyApart
                               ? likeEarlier
                               : soonerThanAnswered || (likeEarlier && !heardSinceChange(id, d));
    if (!x_.tookOne) {
        const bool likeHeld =
            std::any_of(held_.begin(), held_.end(), [&](const HeldAnswer& h) { return h.d == d; });
        if (!held_.empty() && !likeEarlier && !likeHeld) {
            // Unlike any frame heard before: the controller's own answer, and the held ones copies (or the
            // answers owed to an earlier exchange that they were held as perhaps being).
            if (!std::all_of(held_.begin(), held_.end(), [](const HeldAnswer& h) { return h.owed; }) &&
                !answersBeyondBeliefMayCome(now))
                lesson.copies = "an answer unlike the held ones";
            held_.clear();
        } else if (!held_.empty() || likeEarlier) {
            // The same frame as one heard before the exchange asked, as long after it as a gateway repeats
            // one, while the controller's own answer can still come: it may be a copy, of a value since
            // changed. It is held with any other answer that comes until the controller's must have come.
            // (The unit answers in order: frames it sent there first, after the request, put its answer
            // later.)
            const int64_t ahead = std::max(x_.sends.back() + roundTrip(), lastOther(id) + t_.tolerance);
            if (held_.empty() && cameFrom >= ahead) {
                // Later than the controller answers even the last request (however late the program read
                // it): a copy, or the answer of a controller slower than timed (one replaced behind the
                // connection), which the next request is given the time for.
                lesson.sample = Lesson::Sample::Timed;
                lesson.roundTrip = cameFrom - x_.sends.back();
                return Verdict::Copy;
            }
            if (held_.empty() && mayBeCopy)
                heldUntil_ = answeredBy(x_.sends.front());
            if ((!held_.empty() || mayBeCopy) && now < heldUntil_) {
                held_.push_back({id, d, now, cameFrom < now});
                return Verdict::Hold;
            }
        }
    } else if (x_.tookOne && !contains(x_.taken, d) && likeEarlier) {
        // Unlike what the exchange took, and the same as a frame heard before it asked: a copy of that one.
        lesson.copies = "an answer unlike what the exchange took, like an earlier frame";
        return Verdict::Copy;
    }
    ++x_.answers;
    return Verdict::Take;
}

int64_t AnswerJudge::answeredBy(int64_t sent) const {
    if (roundTrips_.empty())
        return sent + roundTrip();
    const auto [fastest, longest] = std::minmax_element(roundTrips_.begin(), roundTrips_.end());
    // Holds scatter with the controller's load: as much again as those timed differed, a quarter of the
    // longest, and at least the time a frame takes to come whole (on a line that has delivered one cut) or a
    // tick of the clock.
    const int64_t least = framesCut_ ? t_.frameTime : t_.tick;
    return sent + *longest + std::max({*longest - *fastest, *longest / 4, least});
}

std::vector<AnswerJudge::HeldAnswer> AnswerJudge::releaseHeld(int64_t now) {
    if (held_.empty() || now < heldUntil_)
        return {};
    std::vector<HeldAnswer> held = std::move(held_);
    held_.clear();
    // Each was like a frame heard before. Of several unlike each other, all but one are copies: the
    // controller's is the one that says what it said there last, after it last changed what it holds, rather
    // than one that repeats what it said there last before such a change; then the one that came nearest the
    // time it answers in (and those like it). Which of several alike is the controller's, and so its round
    // trip, is known only when there is one.
    const auto last = std::find_if(heard_.rbegin(), heard_.rend(), [&](const Heard& h) {
        return h.epoch != epoch_ && h.id == held.front().id && h.at < held.front().at;
    });
    const auto standing = [&](const HeldAnswer& a) {
        constexpr int Agrees = 0, Neither = 1, Outdated = 2;
        if (last == heard_.rend() || a.d != last->d)
            return Neither;
        return last->heardIn == changes_ ? Agrees : Outdated;
    };
    auto chosen = held.begin();
    if (!roundTrips_.empty()) {
        const int64_t expected = x_.sends.front() + roundTrips_.back();
        auto off = [expected](const HeldAnswer& a) { return std::abs(a.at - expected); };
        chosen = std::min_element(held.begin(), held.end(), [&](const HeldAnswer& a, const HeldAnswer& b) {
            return std::pair{standing(a), off(a)} < std::pair{standing(b), off(b)};
        });
    }
    std::vector<HeldAnswer> released{*chosen};
    for (auto a = held.begin(); a != held.end(); ++a)
        if (a != chosen && a->d == chosen->d)
            released.push_back(*a);
    released.front().timed = released.size() == 1 && !released.front().readLate;
    if (released.front().owed)
        ++x_.owedTaken;
    if (released.size() < held.size())
        noteCopies("held answers unlike each other", now);
    x_.answers += int(released.size());
    return released;
}

void AnswerJudge::taken(const std::array<int, 8>& d, int64_t now, bool reply, bool timed, int64_t came) {
    if (!active_ || x_.sends.empty())
        return;
    // The controller answers in order: the exchange's first answer is its first request's; and of one that
    // answers once, the answer that brings the answers level with the requests is the last request's,
    // unless a copy of an answer before it could pass for it: that one times the line's round trip only
    // while the line has timed none, or only one read late that it does not contradict (it came no sooner
    // after its request than the late one shows the controller can answer). (The line's first round trip
    // timed from one that may be a copy goes when the line shows copies: too short a time would have the
    // next request sent before its answer.)
    const bool mayBeCopy = repeatsHeard(x_.expect.id, d, now);
    const bool first = roundTrips_.empty() || provisionalRoundTrip_;
    bool timedNow = true;
    // The same frame heard a moment before: a dongle that repeats frames at once passes its copy as soon, and
    // a copy sooner than the controller has answered times nothing of it.
    const bool soonerThanTimed =
        first || now - x_.sends.back() < *std::min_element(roundTrips_.begin(), roundTrips_.end());
    if (soonerThanTimed && heardJustBefore(x_.expect.id, d, now))
        timedNow = false;
    else if (timed && !x_.tookOne && x_.answers > 0)
        timeRoundTrip(now - x_.sends.front());
    // Read late: at most that long, until one is timed; and later after its request than the controller
    // has answered lately, at least that long.
    else if (first && !x_.tookOne && x_.answers > 0)
        timeRoundTrip(now - x_.sends.front(), true, came - x_.sends.front());
    else if (!x_.tookOne && x_.answers > 0 && came >= 0 && !roundTrips_.empty() &&
             came - x_.sends.front() > *std::max_element(roundTrips_.begin(), roundTrips_.end()))
        timeRoundTrip(came - x_.sends.front());
    else if (timed && framing_ == Framing::AnswersOnce && x_.answersSinceSend == 0 &&
             x_.answers == x_.requests &&
             (!mayBeCopy || roundTrips_.empty() ||
              (provisionalRoundTrip_ && now >= earliestAnswerTo(x_.sends.back()))))
        timeRoundTrip(now - x_.sends.back());
    else
        timedNow = false;
    if (first && timedNow)
        roundTripMayBeCopy_ = mayBeCopy;
    ++x_.answersSinceSend;
    x_.lastTakenAt = now;
    if (reply) {
        // A second answer to a single request, too soon after the first to be its copy or unlike it: the
        // controller acknowledges.
        if (x_.requests == 1 && x_.ackSinceSendAt >= 0 && !acknowledgedAlways() &&
            (now - x_.ackSinceSendAt < t_.copyEarliest || !contains(x_.taken, d)))
            dropBelief("a second answer to one request", now);
        if (x_.ackSinceSendAt >= 0) {
            if (ackGaps_.size() == RoundTripsKept)
                ackGaps_.pop_front();
            ackGaps_.push_back(now - x_.ackSinceSendAt);
        }
        x_.replied = true;
    } else {
        x_.ackSinceSendAt = now;
        acknowledgedExchanges_.insert({x_.expect.id, x_.expect.code});
    }
    x_.tookOne = true;
    if (!contains(x_.taken, d)) {
        if (x_.taken.size() == TakenKept)
            x_.taken.erase(x_.taken.begin());
        x_.taken.push_back(d);
    }
}

bool AnswerJudge::needsAnotherRequest() const {
    // An acknowledgement and a reply: two answers, one per request.
    return active_ && framing_ == Framing::AnswersOnce && !x_.replied && x_.requests > 0 &&
           x_.requests < TwoFrameAnswers && takesTwoFrames() && !acknowledgedAlways();
}

} // namespace clink
