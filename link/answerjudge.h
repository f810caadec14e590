#pragma once
// Decides, for every frame that arrives on the Ethernet link, what it is to the exchange waiting there:
//
//   Take    the waiting exchange's answer (its acknowledgement or its reply): the reply handler takes it;
//   Report  no exchange awaits anything: a frame the controller sends on its own, for its handler;
//   Owed    an answer still owed to an exchange that has ended (or one arriving while an exchange holds its
//           first frame until the line is quiet);
//   Copy    a repeat of a frame already taken: by the waiting exchange after its reply, or by an ended
//           exchange within the time its copies can still come;
//   Stray   an exchange waits and this is not its answer: another identifier, code or echo, or an answer
//           that carries nothing of its request arriving before that request went out.
//
// What decides is what the exchange installed before its first frame (the identifier and code it awaits,
// the values its answer must echo) and the echo the answer carries. Which bytes of an answer repeat its
// request is a rule of the catalogue, held here in one table that the reply handlers use too. An answer that
// carries its request (a block number, an address, a code) tells by itself which exchange it belongs to; one
// that carries nothing of it (a status, a mode, the NSM unit's clock, the transducer's presence) can only be
// told by when it comes: it is taken only after its request went out, on a line that was quiet before it.
//
// An acknowledgement is progress, never the reply: a controller that acknowledges sends its reply without
// being asked again, one that answers once per request sends the next answer only to the next request.
// Which of the two the controller is, the last exchange that took an acknowledgement and then its reply
// shows: the reply answered a later request when that request went out after the acknowledgement, or when
// more of its requests could have been answered by then than the acknowledgement alone. Until an exchange
// has shown it, an acknowledgement ends no wait.
//
// Every request an exchange sent is answered, in order. An exchange that ends with requests unanswered
// leaves that many answers owed, whichever answers it took: they are dropped as they come, until they are
// due (one round trip after the last send, and a grace: a round trip more for answers that carry nothing of
// their request, which no later exchange could tell from its own). An exchange whose answer carries nothing
// holds its first request while such answers are owed on its identifier. Frames it took are kept for the
// copy time: a
// gateway that repeats frames passes their copies later, and an identical frame then is a copy.
//
//   judge.begin(x);                         // the exchange installs what it awaits
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
    // The answer carries nothing of the request (a mode, a status): a late copy of an earlier answer on the
    // identifier could not be told from it. Right before its first request the exchange waits for the line
    // to be quiet there, and it takes no answer that came before that request.
    bool quietFirst = false;
    bool operator==(const ReplyExpectation&) const = default;
};

class AnswerJudge {
public:
    enum class Verdict { Take, Report, Owed, Copy, Stray };

    // What the waiting exchange awaits as the link state holds it now (the reply handlers change the echo
    // values once they have taken the reply), and whether it has its reply.
    struct Awaited {
        CanId id = 0; // 0: any identifier (and with code 0: no exchange awaits anything)
        int code = 0;
        EchoValues echo{};
        bool replied = false;
    };

    // How the controller frames a two-frame exchange, as the last one that could tell showed it.
    enum class Framing { Unknown, Acknowledges, AnswersOnce };

    // marginMs: grace after an owed answer is due. toleranceMs: how much two round trips of one exchange may
    // differ. quietMs: how long the line must have been quiet for an exchange whose answer carries nothing;
    // frames taken are kept twice as long to tell their copies.
    AnswerJudge(int64_t marginMs, int64_t toleranceMs, int64_t quietMs)
        : marginMs_(marginMs), toleranceMs_(toleranceMs), quietMs_(quietMs) {}

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

    // --- the exchange's life ---
    // The exchange that waits from now on (the one before ends).
    void begin(const ReplyExpectation& x);
    // Ends the exchange being followed (if any) and keeps what it still owes.
    void end();
    // A new connection: what was learned of the controller behind the last one (how it frames its answers,
    // the line's round trip, answers owed, frames kept) is no evidence for whatever answers on this one.
    void forgetController() { *this = AnswerJudge(marginMs_, toleranceMs_, quietMs_); }
    // The identifier the followed exchange awaits (0: none), and the echo values it installed.
    CanId following() const { return active_ ? x_.expect.id : 0; }
    const EchoValues& installedEcho() const { return x_.expect.echo; }
    const ReplyExpectation& expectation() const { return x_.expect; }
    // The followed exchange waits for a quiet line before its first request, which has not gone out yet.
    bool quietBeforeFirstRequest() const { return active_ && x_.expect.quietFirst && x_.requests == 0; }
    // Until when an exchange with x must hold its first request: with quietFirst, until no frame has come on
    // its identifier for the quiet time and the copies of the frames taken there can no longer come. A time
    // not after now: it need not wait.
    int64_t holdUntil(const ReplyExpectation& x, int64_t now) const;
    // Frames arriving on id before until are dropped as owed (the exchange holding its first request).
    void hold(CanId id, int64_t until) { held_[id] = until; }
    void release(CanId id) { held_.erase(id); }
    // When a frame last arrived on id (-1: never).
    int64_t lastHeard(CanId id) const;

    // A frame was sent for the followed exchange: a request, or a filter frame (false).
    void sent(int64_t now, bool request);
    // What a frame arriving now is (see above). Every frame is heard, whatever it is.
    Verdict judge(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a);
    // The reply handler took the frame judged last: the reply, or an acknowledgement (reply false).
    void taken(const std::array<int, 8>& d, int64_t now, bool reply);

    // An answer was taken since the last send that can be that send's own and is all that send draws: every
    // request of the exchange has had its answer, and the controller answers once per request, so nothing
    // more comes until the next request. Outside a followed exchange: any answer taken since the send.
    bool ownAnswerSinceSend() const;
    // When the acknowledgement taken since the last send came (-1: none): a controller that acknowledges
    // sends its reply up to a sender's wait after it.
    int64_t acknowledgedSinceSendAt() const;
    // When the answer to the last request is due: one round trip after it (this exchange's, or the line's
    // last one before it heard anything); -1 when no round trip is known, every request has had its answer,
    // or the exchange needs another request whatever its last one draws.
    int64_t lastAnswerDue() const;
    // The followed exchange needs another request whatever the ones it sent draw: the controller answers
    // once per request, and this exchange (as one on its identifier and code showed before) is answered by
    // an acknowledgement and a reply, for which it has not yet sent two requests.
    bool needsAnotherRequest() const;
    int64_t tolerance() const { return toleranceMs_; }
    Framing framing() const { return framing_; }

private:
    struct Exchange {
        ReplyExpectation expect;
        int requests = 0;
        int answers = 0;
        int answersSinceSend = 0;
        std::vector<int64_t> sends;
        int64_t firstTaken = -1;
        int64_t lastTaken = -1;
        int64_t ackSinceSendAt = -1;
        // The last request sent or frame heard.
        int64_t lastEvent = -1;
        bool acknowledged = false;
        // The last request went out after the acknowledgement was taken.
        bool askedAfterAcknowledgement = false;
        // The frames taken (acknowledgement and reply), newest last.
        std::vector<std::array<int, 8>> taken;
    };
    // What an ended exchange still owes, until when.
    struct Owed {
        Awaited awaited;
        int answers = 0;
        int64_t until = 0;
    };
    // A frame an exchange took, kept to tell its copies.
    struct Kept {
        CanId id;
        std::array<int, 8> d;
        int64_t at;
        int exchange;
    };
    static Awaited awaitedOf(const ReplyExpectation& x);
    int64_t roundTrip() const;
    // d on id is a copy of a frame an ended exchange took, for the exchange waiting now.
    bool copyOfEnded(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a);
    void learnFraming(int64_t now);
    // The most frames an exchange keeps to compare copies with, and the most ended exchanges it follows.
    static constexpr size_t TakenKept = 2;
    static constexpr size_t OwedKept = 16;
    // The longest a controller is taken to hold an answer before any exchange on the link has timed one.
    static constexpr int64_t UntimedRoundTripMs = 1000;
    static constexpr size_t FramesKept = 32;

    int64_t marginMs_;
    int64_t toleranceMs_;
    int64_t quietMs_;
    bool active_ = false;
    Exchange x_;
    // What the exchange before the followed one awaited.
    ReplyExpectation before_;
    int exchangeNumber_ = 0;
    // Outside a followed exchange: answers taken since the last send.
    int looseAnswersSinceSend_ = 0;
    Framing framing_ = Framing::Unknown;
    // The identifiers and codes of the exchanges that took an acknowledgement before their reply.
    std::set<std::pair<CanId, int>> acknowledgedExchanges_;
    // The round trip of the last exchange that heard its answer (-1: none yet).
    int64_t lineRoundTrip_ = -1;
    std::vector<Owed> owed_;
    std::deque<Kept> kept_;
    std::map<CanId, int64_t> lastHeard_;
    std::map<CanId, int64_t> held_;
};

} // namespace clink
