#pragma once
// Decides, for every frame that arrives on the Ethernet link, what it is to the exchange waiting there, and
// when that exchange may send a request:
//
//   Take    the waiting exchange's answer (its acknowledgement or its reply): the reply handler takes it;
//   Report  no exchange awaits anything: a frame the controller sends on its own, for its handler;
//   Owed    an answer still owed to an exchange that has ended, an answer that comes while the exchange
//           holds its first request, or one more answer to an exchange that has its reply;
//   Copy    a repeat of a frame the waiting exchange took, or of a frame heard before it asked;
//   Stray   an exchange waits and this is not its answer: another identifier, code or echo, or an answer
//           that comes before the exchange's request went out;
//   Hold    the exchange's answer, or a gateway's copy of a frame heard before the exchange asked (the
//           same frame, as long after it as a gateway repeats one): kept until the exchange's own answer
//           must have come. Then it is taken (releaseHeld), unless another answer came meanwhile: the
//           controller's, which shows the kept ones were copies. Kept only where a copy is a threat: on a
//           line that has passed a frame twice, behind a reply that follows its acknowledgement apart, when
//           it comes sooner than the controller answers, or when the controller changed what it holds since
//           it said so (or says what moves on by itself); elsewhere it is the controller's answer now.
//
// What decides is what the exchange installed before its first frame (the identifier and code it awaits,
// the values its answer must echo) and the echo the answer carries. Which bytes of an answer repeat its
// request is a rule of the catalogue, held here in one table that the reply handlers use too.
//
// What the line can do, and what the judge therefore never takes for an answer:
//   - the controller holds its answers up to a round trip the judge times on the line (up to
//     UntimedHoldMs before it has timed one), and answers its requests in order;
//   - a controller that acknowledges sends its reply within MaxAckGapMs of the acknowledgement; one that
//     answers once per request sends the reply only to the next request;
//   - a gateway may pass a frame a second time, up to CopyMs later, while later frames pass.
// So an exchange holds its first request until no answer owed on its identifier, code and echo can still
// come, and until no copy can come of a frame that an earlier transaction heard there (the controller's
// values may have changed since); within one transaction that changed nothing, a frame heard before is as
// good as the controller's answer now. Every frame that comes after the request and carries its echo is
// then the controller's answer to this transaction's requests (or a copy of it).
//
// Between its requests an exchange waits while an answer the framing in force predicts for its last request
// can still come: the answer, one round trip after the request, and after an acknowledgement the reply,
// within MaxAckGapMs. Only a controller known to answer once per request is asked for the reply at once.
// That belief comes from evidence nothing else explains: an acknowledgement, then no reply for the whole
// time a controller that acknowledges takes. Any answer more than it predicts drops it, as does a new
// connection.
//
//   judge.transactionBegins();              // an outermost transaction starts
//   judge.begin(x);                         // the exchange installs what it awaits
//   judge.firstRequestAt(now) / nextRequestAt(now)   // when the next request may go out
//   judge.sent(now, true);                  // each frame sent: a request, or a filter frame (false)
//   switch (judge.judge(id, d, now, awaited)) ...   // each frame that arrives
//   judge.taken(d, now, reply);             // the handler took it: the reply, or an acknowledgement
//   judge.end();                            // the next exchange begins, or the transaction is over

#include "link/canid.h"

#include <array>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <map>
#include <set>
#include <utility>
#include <vector>

namespace clink {

// The values an answer must repeat of its request, RequestData(1..5): those installed are compared, 0 like
// any other value; those not installed are not.
class EchoValues {
public:
    static constexpr size_t Size = 5;
    EchoValues() = default;
    // The first values.size() values.
    EchoValues(std::initializer_list<int> values);
    // Values set in the link state without saying which count: the echo rule says which it compares
    // whatever they are; the others count when they are not 0, or all under ExactEcho.
    static EchoValues fromLinkState(const std::array<int, Size>& values, bool exact);
    // These values, installed where this one's are.
    EchoValues with(const std::array<int, Size>& values) const;
    // Installs value v at i.
    void set(size_t i, int v) {
        values_[i] = v;
        mask_ |= 1U << i;
    }

    int operator[](size_t i) const { return values_[i]; }
    // Value i counts (always: the echo rule compares it whatever it is).
    bool installed(size_t i, bool always = false) const;
    // No value is installed: the answer is told by its identifier and code alone.
    bool none() const { return mask_ == 0 && !linkState_; }
    static constexpr size_t size() { return Size; }
    bool operator==(const EchoValues&) const = default;

private:
    std::array<int, Size> values_{};
    unsigned mask_ = 0;
    bool linkState_ = false;
    bool exact_ = false;
};

// What decides which frame an exchange takes, installed before its first frame.
struct ReplyExpectation {
    CanId id = 0;           // AwaitedId
    int code = 0;           // AwaitedCode (0: any)
    EchoValues echo{};      // RequestData(1..5)
    bool exactEcho = false; // ExactEcho
    // The answer carries nothing of the request (a mode, a status, a unit's presence): right before its first
    // request the exchange waits until a frame of an earlier exchange there can no longer come again at
    // once, and, on a line that has shown it passes frames twice, for the line to be quiet there.
    bool quietFirst = false;
    // The request changes what the controller holds (a write, a command): what was heard before it is no
    // longer the controller's answer.
    bool changes = false;
    // The answer comes on its own (a report the exchange listens for after a filter frame): it is taken
    // whenever it comes, not only after a request.
    bool unprompted = false;
    bool operator==(const ReplyExpectation&) const = default;
};

// What the judge takes the line to be able to do, in milliseconds.
struct LineTimes {
    int64_t tolerance = 12;  // how much two round trips of one controller may differ, at least
    int64_t quiet = 80;      // how long a line is quiet before an answer that carries nothing is asked for
    int64_t senderWait = 80; // the least time an exchange gives an answer before it asks again
    int64_t untimedHold = 600;
    int64_t maxAckGap = 160;
    // A gateway passes its copy of a frame between copyEarliest and copy after the frame.
    int64_t copyEarliest = 20;
    int64_t copy = 250;
    // The longest a frame takes to come whole once it began to come, on a line that delivers frames cut;
    // the clock's tick, the least any wait is timed to.
    int64_t frameTime = 3;
    int64_t tick = 1;
    // A line that has passed a frame twice is taken to do so again for this long after.
    int64_t copyEvidence = 10000;
};

class AnswerJudge {
public:
    enum class Verdict { Take, Report, Owed, Copy, Stray, Hold };

    // What the waiting exchange awaits as the link state holds it now (the reply handlers change the echo
    // values once they have taken the reply), and whether it has its reply.
    struct Awaited {
        CanId id = 0; // 0: any identifier (and with code 0: no exchange awaits anything)
        int code = 0;
        EchoValues echo{};
        bool replied = false;
        // It has taken its acknowledgement (AckReceived): the next frame it takes is its reply.
        bool acknowledged = false;
        // No transaction runs: nothing waits to be appended to.
        bool idle = false;
    };

    // How the controller frames an answer that its handler takes on the second matching frame, as far as the
    // line has shown it: not known (treated as acknowledging: no request goes out while the reply can still
    // come), or once per request.
    enum class Framing { Unknown, AnswersOnce };

    explicit AnswerJudge(const LineTimes& times = {}) : t_(times) {}

    // --- the rule of the catalogue ---
    // The code an answer on id carries: data byte 0, or the acknowledged code of an acknowledgement.
    static int answeredCode(CanId id, const std::array<int, 8>& d);
    // The answer d on id repeats every installed echo value its rule covers (true when it covers none).
    static bool repeatsEcho(const EchoValues& echo, CanId id, const std::array<int, 8>& d);
    // The answer d on id is one the awaited exchange takes: its identifier and its code (when awaited), and
    // the echo values it repeats.
    static bool carries(const Awaited& a, CanId id, const std::array<int, 8>& d);
    // The answer d on id repeats at least one installed value of its request.
    static bool echoes(const EchoValues& echo, CanId id, const std::array<int, 8>& d);
    // The reply handler takes d on id for the awaited exchange: it carries what the exchange awaits, an
    // answer whose bytes repeat the request repeats at least one value the exchange installed (a logic
    // block's acknowledgement excepted: its code tells it), an acknowledgement told by no echo value is the
    // reply only for the codes whose acknowledgement completes them, and an answer the handler appends to
    // the receive buffer is taken only in a transaction that awaits exactly its code.
    static bool takes(const Awaited& a, CanId id, const std::array<int, 8>& d);
    // The handler of d on id appends what it carries to the receive buffer (a Pset packet, a block, a
    // rundown result or log block, a DSP word, the tool's data).
    static bool appends(CanId id, const std::array<int, 8>& d);
    // The controller sends frames on id of its own (reports, broadcasts, a stream a session listens to),
    // the same frame again as often as it likes.
    static bool reportsOnItsOwn(CanId id);
    // The answer d on id answers one request: it carries values of it, and the controller sends nothing on
    // id of its own.
    static bool answersOneRequest(CanId id, const std::array<int, 8>& d);

    // --- the exchange's life ---
    // An outermost transaction starts: what was heard before belongs to an earlier one.
    void transactionBegins();
    // The exchange that waits from now on (the one before ends).
    void begin(const ReplyExpectation& x);
    // Ends the exchange being followed (if any) and keeps what it still owes.
    void end();
    // A new connection: what was learned of the controller behind the last one (how it frames its answers,
    // the line's round trip, answers owed, frames heard) is no evidence for whatever answers on this one.
    void forgetController();
    // The identifier the followed exchange awaits (0: none), and the echo values it installed.
    CanId following() const { return active_ ? x_.expect.id : 0; }
    const EchoValues& installedEcho() const { return x_.expect.echo; }
    const ReplyExpectation& expectation() const { return x_.expect; }
    // The followed exchange has sent its first request, and has taken its reply.
    bool asked() const { return active_ && x_.requests > 0; }
    bool replied() const { return active_ && x_.replied; }

    // When the followed exchange's first request may go out (not after now: at once): no owed answer and no
    // copy of an earlier transaction's frame can still come on what it awaits, and, for an answer that
    // carries nothing, the line has been quiet on its identifier.
    int64_t firstRequestAt(int64_t now) const;
    // When the followed exchange may send its next request: once no answer the framing in force predicts for
    // its last request can still come, or at once when the controller answers once per request and the
    // reply needs a request of its own.
    int64_t nextRequestAt(int64_t now) const;
    // When the next request of the followed exchange may go out (the first or a later one).
    int64_t requestAt(int64_t now) const { return asked() ? nextRequestAt(now) : firstRequestAt(now); }
    // When a frame last arrived on id (-1: never), and how many frames have arrived.
    int64_t lastHeard(CanId id) const;
    long framesHeard() const { return framesHeard_; }

    // A frame was sent for the followed exchange: a request, or a filter frame (false).
    void sent(int64_t now, bool request);
    // A filter frame for id was sent: a unit may answer it (the NSM unit with its clock).
    void filterSent(CanId id, int64_t now) { lastFilter_[id] = now; }
    // A frame naming this accept identifier was sent: the dongle passes only frames on it from now on, unless
    // it has shown it passes every identifier. Answers owed on another one never come, but for a reply the
    // controller sends only after the dongle passes its identifier again.
    void accepting(CanId id, int64_t now);
    // What a frame arriving now is (see above). Every frame is heard, whatever it is.
    // A frame read after the program was kept from its events may have come as early as cameFrom.
    Verdict judge(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a,
                  int64_t cameFrom = -1);
    // The reply handler took the frame judged last: the reply, or an acknowledgement (reply false). Its
    // time is the round trip of the exchange's first answer, unless it is one of several that came alike.
    // Read late (not timed), it came after came: the controller took at least as long.
    void taken(const std::array<int, 8>& d, int64_t now, bool reply, bool timed = true, int64_t came = -1);
    // When the answers held for the followed exchange are taken (-1: none is held), and those answers,
    // now taken, once that time has come (none before).
    struct HeldAnswer {
        CanId id;
        std::array<int, 8> d;
        int64_t at;            // when it came
        bool readLate = false; // read after the program was kept from its events: when it came is not known
        bool timed = false;    // its time is the controller's round trip (none of several like it is)
        bool owed = false;     // it may be the answer owed to an earlier exchange, come late
    };
    int64_t heldUntil() const { return held_.empty() ? -1 : heldUntil_; }
    std::vector<HeldAnswer> releaseHeld(int64_t now);
    // The line left a frame's text unfinished at the end of what it delivered: from now on a frame is given
    // the time it takes to come whole.
    void frameCut() { framesCut_ = true; }

    // The followed exchange needs another request whatever the ones it sent draw: the controller answers
    // once per request, and this exchange's answer (as one on its identifier and code showed before) is an
    // acknowledgement and a reply, for which it has not yet sent two requests.
    bool needsAnotherRequest() const;
    // The longest the line takes to answer a request, as timed so far.
    int64_t answerTime() const;
    Framing framing() const { return framing_; }
    // The line has shown lately that it passes frames a second time: the last frame it showed it by came
    // less than copyEvidence before the last frame heard.
    bool copiesSeen() const { return copiesSeenAt_ >= 0 && lastFrameAt_ < copiesSeenAt_ + t_.copyEvidence; }
    const LineTimes& times() const { return t_; }

private:
    struct Exchange {
        ReplyExpectation expect;
        int requests = 0;
        // Matching frames that came after the first request: taken, or dropped once the reply was in.
        int answers = 0;
        std::vector<int64_t> sends;
        // When the exchange took an acknowledgement since its last request (-1: none).
        int64_t ackSinceSendAt = -1;
        int answersSinceSend = 0;
        // When the exchange last took a frame (-1: none).
        int64_t lastTakenAt = -1;
        bool replied = false;
        // The exchange has taken a frame: any frame like it that follows is as good as the controller's.
        bool tookOne = false;
        // The framing the exchange counted on for its requests: once per request (it asked for the reply
        // at once), or not known.
        bool believedOnce = false;
        // The frames taken (acknowledgement and reply), newest last.
        std::vector<std::array<int, 8>> taken;
        // Answers taken that were held as perhaps owed to an earlier exchange: each may have been that one,
        // and the exchange's own answer is still owed after it until it has come.
        int owedTaken = 0;
    };
    // What an ended exchange still owes: the answers the framing it counted on gives, dropped until the
    // longest hold a controller is given, and those that would show it counted wrongly (a controller taken
    // to answer once that acknowledges), dropped until they are due.
    struct Owed {
        Awaited awaited;
        int answers = 0;
        int beyond = 0;
        // When the first request they answer was sent. None can come before the controller's fastest round
        // trip after it: a frame like them that comes sooner is a copy or a frame of the controller's own.
        int64_t askedAt = 0;
        int64_t earliest = 0;
        int64_t due = 0;
        int64_t until = 0;
        // The frames the exchange took: a controller that acknowledges answers with these again.
        std::vector<std::array<int, 8>> taken;
        // Those beyond the framing counted on come right after the exchange's last answer, and one round
        // trip (as the controller answers now) after its last request, if at all: none by then, and the
        // framing was right. One that came shows it was not, and the rest of them are due as those counted
        // on.
        int64_t lastSent = 0;
        int64_t lastTaken = 0;
        bool beyondCame = false;
        // When the last request drew the one frame it drew of the two a controller that acknowledges sends
        // (-1: it drew none, or both, or one frame is all it draws): the other follows it by the controller's
        // acknowledgement gap.
        int64_t answeredAt = -1;
        // The dongle was asked to pass another identifier since: they hold no request (the dongle passes them
        // no more, unless it shows it passes every identifier, when they count again), and those still on
        // their way are taken for what they are; once the dongle passes their identifier again, they are
        // gone, unless the controller's acknowledgement gap puts the reply after that.
        bool filteredAway = false;
    };
    int64_t beyondUntil(const Owed& o) const;
    // A frame heard, kept while a copy of it can still come, with the epoch whose answer it is (-1: it may
    // be older than any).
    struct Heard {
        CanId id;
        std::array<int, 8> d;
        int64_t at;
        long epoch;
        int64_t cameAt; // at the earliest: a frame read late came between this and when it was read
        long changes;   // the controller's holdings it was taken in as the answer (-1: not taken, or older)
        long heardIn;   // the controller's holdings when it was heard
    };
    static Awaited awaitedOf(const ReplyExpectation& x);
    // The round trip the judge counts on: the longest timed lately, and a tolerance.
    int64_t roundTrip() const;
    // The soonest the controller's answer to a request sent then can come, as its round trips show, and the
    // latest.
    int64_t earliestAnswerTo(int64_t sent) const;
    int64_t answeredBy(int64_t sent) const;
    // Was a frame like this heard as long before as a gateway repeats one?
    bool repeatsHeard(CanId id, const std::array<int, 8>& d, int64_t now) const;
    // The same frame was heard less than a gateway's earliest copy delay before now.
    bool heardJustBefore(CanId id, const std::array<int, 8>& d, int64_t now) const;
    // A frame no exchange takes or owes, the same as one heard while a copy of that one could still come: a
    // copy, unless the controller sends such frames on its own, answers a filter frame with it, or may still
    // send it as an answer owed to an ended exchange.
    bool showsCopy(CanId id, const std::array<int, 8>& d, int64_t now) const;
    // An ended exchange whose request went out before now still owes an answer like this one: it may be that
    // answer, sooner than the controller answered before (one replaced behind the connection may be faster).
    bool stillOwed(CanId id, const std::array<int, 8>& d, int64_t now) const;
    // An answer a unit gives a filter frame, as it answers anything, come in the time that frame's answers
    // take.
    bool drawnByFilter(CanId id, const std::array<int, 8>& d, int64_t now) const;
    // Was it heard so, before this exchange asked (or before it changed what the controller holds)?
    bool repeatsEarlier(CanId id, const std::array<int, 8>& d, int64_t now, int64_t came) const;
    // Taken as the answer since the controller last changed what it holds, and not a moving value: a copy of
    // it says what the controller says now.
    bool heardSinceChange(CanId id, const std::array<int, 8>& d) const;
    // What a frame judged teaches beyond its verdict, learned once the verdict is given (learn): that the
    // controller may acknowledge after all, that the line passes frames twice (with the evidence), and a
    // round trip: the line's first (only while none is timed), one the controller took at least (shorter
    // ones go), or one timed.
    struct Lesson {
        const char* mayAcknowledge = nullptr;
        const char* copies = nullptr;
        enum class Sample { None, First, AtLeast, Timed } sample = Sample::None;
        int64_t roundTrip = 0;
        bool provisional = false;
        int64_t least = 0; // read late: at least this long (until the program last looked at the line)
    };
    void learn(const Lesson& lesson, int64_t now);
    // What an answer the exchange would take is: taken, or held while it may be a copy.
    Verdict takeOrHold(CanId id, const std::array<int, 8>& d, int64_t now, int64_t cameFrom, Lesson& lesson);
    // A provisional sample (an answer read late: at most that long, and at least atLeast, the time from its
    // request to when the program last looked at the line) gives way to the next one.
    void timeRoundTrip(int64_t sample, bool provisional = false, int64_t atLeast = 0);
    // Does the exchange take its answer on the second matching frame (as one on its identifier and code
    // showed before)?
    bool takesTwoFrames() const;
    // The exchange's answer is an acknowledgement and a reply to each request whatever the controller's
    // framing: the unit that answers it acknowledges on its own.
    bool acknowledgedAlways() const;
    // The frame can be the followed exchange's answer: it carries its echo and comes no sooner after its
    // first request than the controller has answered lately.
    bool mayBeOwnAnswer(CanId id, const std::array<int, 8>& d, int64_t now) const;
    void forget(int64_t now);
    int64_t lastOther(CanId id) const;
    // What the frame is (the owed answers, the exchange's count of answers and the held ones kept as it
    // decides); what it teaches of the controller and the line goes into lesson.
    Verdict verdict(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a, int64_t cameFrom,
                    Lesson& lesson);
    // A frame more than the belief that the controller answers once gives: the belief goes.
    void dropBelief(const char* evidence, int64_t now);
    // The belief that the controller answers once went lately: the answers a controller that acknowledges
    // sent to the requests made under it may still come, up to the longest hold a controller is given, like
    // frames heard before or unlike the answer taken (they show no copies).
    bool answersBeyondBeliefMayCome(int64_t now) const;
    // The line has shown it passes frames twice, as this evidence says (now).
    void noteCopies(const char* evidence, int64_t now);

    // The most frames an exchange keeps to compare copies with, the most ended exchanges it follows, and the
    // round trips it remembers.
    static constexpr size_t TakenKept = 2;
    static constexpr size_t OwedKept = 32;
    static constexpr size_t RoundTripsKept = 4;
    static constexpr size_t HeardKept = 256;
    // An acknowledgement and a reply: the most frames a request draws.
    static constexpr int TwoFrameAnswers = 2;

    LineTimes t_;
    bool active_ = false;
    Exchange x_;
    Framing framing_ = Framing::Unknown;
    // The identifiers and codes of the exchanges that took an acknowledgement before their reply.
    std::set<std::pair<CanId, int>> acknowledgedExchanges_;
    std::deque<int64_t> roundTrips_;
    // How long after its acknowledgement the controller sent the reply to the same request, as timed lately.
    std::deque<int64_t> ackGaps_;
    bool provisionalRoundTrip_ = false;
    int64_t provisionalAtLeast_ = 0;  // the least that a provisional round trip can be
    bool roundTripMayBeCopy_ = false; // the one round trip timed was timed from a frame a copy could pass for
    std::vector<Owed> owed_;
    std::deque<Heard> heard_;
    // Bumped when an outermost transaction starts and when an exchange changes what the controller holds:
    // the controller's answers of one epoch are its answers for the whole epoch.
    long epoch_ = 0;
    // Bumped when an exchange changes what the controller holds.
    long changes_ = 0;
    bool framesCut_ = false;
    long framesHeard_ = 0;
    // When the line last showed it passes frames twice (-1: not on this connection), and when a frame was
    // last heard.
    int64_t copiesSeenAt_ = -1;
    int64_t lastFrameAt_ = 0;
    // The identifier the dongle was last asked to pass, and whether it has shown it passes others too.
    CanId accepted_ = 0;
    CanId passedBefore_ = 0; // the identifier the dongle passed until it was asked for this one, and when
    int64_t acceptedAt_ = 0;
    bool passesAll_ = false;
    // When the belief that the controller answers once last went (-1: never): frames it then left owed are
    // not counted as it counted them.
    int64_t beliefDroppedAt_ = -1;
    // The answers held for the followed exchange, in the order they came, and until when.
    std::vector<HeldAnswer> held_;
    int64_t heldUntil_ = -1;
    std::map<CanId, int64_t> lastHeard_;
    // When a frame that no exchange took last came on each identifier: an earlier answer still leaving its
    // unit (perhaps an acknowledgement whose reply is to follow), which answers in order.
    std::map<CanId, int64_t> lastOther_;
    // When a filter frame for each identifier was last sent.
    std::map<CanId, int64_t> lastFilter_;
};

} // namespace clink
