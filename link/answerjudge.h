#pragma once
// Decides, for every frame that arrives on the Ethernet link, what it is to the exchange waiting there:
//
//   Take    the waiting exchange's answer (its acknowledgement or its reply): the reply handler takes it;
//   Report  no exchange awaits anything: a frame the controller sends on its own, for its handler;
//   Owed    an answer still owed to an exchange that has ended (or one arriving while an exchange holds its
//           first frame until such answers are due, or until the line is quiet);
//   Copy    a repeat of a frame the waiting exchange has already taken, after its reply;
//   Stray   an exchange waits and this is not its answer: another identifier, code or echo.
//
// What decides is what the exchange installed before its first frame (the identifier and code it awaits,
// the values its answer must echo) and the echo the answer carries. Which bytes of an answer repeat its
// request is a rule of the catalogue, held here in one table. An answer that carries its request (a block
// number, an address, a code) tells by itself which exchange it belongs to; one that carries nothing of it
// (a status, a mode, the NSM unit's clock, the transducer's presence) can only be told by when it comes.
//
// An exchange that sent its request again before an answer came back ends on its first answers; the answers
// to its later sends are due about one round trip after each send. Until then they are owed: dropped, and
// the next exchange holds its first frame only when it could take one of them as its own. Each such belief
// is the ended exchange's own (its sends, its answers, its round trip) and ends when its answers are due.
//
//   judge.begin(x);                         // the exchange installs what it awaits
//   judge.sent(now, true);                  // each frame sent: a request, or a filter frame (false)
//   switch (judge.judge(id, d, now, awaited)) ...   // each frame that arrives
//   judge.taken(d, now);                    // the handler took it (an acknowledgement or the reply)
//   judge.end();                            // the next exchange begins, or the transaction is over

#include "link/canid.h"

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace clink {

// What decides which frame an exchange takes, installed before its first frame.
struct ReplyExpectation {
    CanId id = 0;              // AwaitedId
    int code = 0;              // AwaitedCode (0: any)
    std::array<int, 5> echo{}; // RequestData(1..5)
    bool exactEcho = false;    // ExactEcho
    // The answer carries nothing of the request (a mode, a status): a late copy of an earlier answer on the
    // identifier could not be told from it. The exchange first waits for the line to be quiet there.
    bool quietFirst = false;
};

class AnswerJudge {
public:
    enum class Verdict { Take, Report, Owed, Copy, Stray };

    // What the waiting exchange awaits as the link state holds it now (the reply handlers change the echo
    // values once they have taken the reply), and whether it has its reply.
    struct Awaited {
        CanId id = 0; // 0: any identifier (and with code 0: no exchange awaits anything)
        int code = 0;
        std::array<int, 5> echo{};
        bool replied = false;
    };

    // marginMs: grace after an owed answer is due. toleranceMs: how much two round trips of one exchange may
    // differ. quietMs: how long the line must have been quiet for an exchange whose answer carries nothing.
    AnswerJudge(int64_t marginMs, int64_t toleranceMs, int64_t quietMs)
        : marginMs_(marginMs), toleranceMs_(toleranceMs), quietMs_(quietMs) {}

    // --- the rule of the catalogue ---
    // The code an answer on id carries: data byte 0, or the acknowledged code of an acknowledgement.
    static int answeredCode(CanId id, const std::array<int, 8>& d);
    // The answer d on id is one the awaited exchange takes: its identifier and its code (when awaited), and
    // the echo values it carries (a value 0 awaits any byte).
    static bool carries(const Awaited& a, CanId id, const std::array<int, 8>& d);
    // The answer d on id repeats at least one value of its request.
    static bool echoes(const Awaited& a, CanId id, const std::array<int, 8>& d);

    // --- the exchange's life ---
    // The exchange that waits from now on (the one before ends).
    void begin(const ReplyExpectation& x);
    // Ends the exchange being followed (if any) and keeps what it still owes.
    void end();
    // The identifier the followed exchange awaits (0: none).
    CanId following() const { return active_ ? x_.expect.id : 0; }
    // Until when an exchange about to begin with x must hold its first frame: the answers owed to ended
    // exchanges that it could take as its own are due, and with quietFirst no frame has come on its
    // identifier for the quiet time. A time not after now: it need not wait.
    int64_t holdUntil(const ReplyExpectation& x, int64_t now) const;
    // Frames arriving on id before until are dropped as owed (the exchange holding its first frame).
    void hold(CanId id, int64_t until) { held_[id] = until; }
    void release(CanId id) { held_.erase(id); }
    // When a frame last arrived on id (-1: never).
    int64_t lastHeard(CanId id) const;

    // A frame was sent for the followed exchange: a request, or a filter frame (false).
    void sent(int64_t now, bool request);
    // What a frame arriving now is (see above). Every frame is heard, whatever it is.
    Verdict judge(CanId id, const std::array<int, 8>& d, int64_t now, const Awaited& a);
    // The reply handler took the frame judged last (an acknowledgement or the reply).
    void taken(const std::array<int, 8>& d, int64_t now);

    // An answer was taken since the last send that can be that send's own: every earlier request of the
    // exchange has had its answer (a controller answers in order), so nothing more comes until the next
    // request. Outside a followed exchange: any answer taken since the send.
    bool ownAnswerSinceSend() const;
    // When the answer to the last request is due, one round trip of this exchange after it; -1 when the
    // exchange has no round trip yet or every request has had its answer.
    int64_t lastAnswerDue() const;
    int64_t tolerance() const { return toleranceMs_; }

private:
    struct Exchange {
        ReplyExpectation expect;
        int requests = 0;
        int answers = 0;
        int answersSinceSend = 0;
        int64_t firstSend = -1;
        int64_t lastSend = -1;
        int64_t firstTaken = -1;
        int64_t lastTaken = -1;
        // The frames taken (acknowledgement and reply), newest last.
        std::vector<std::array<int, 8>> taken;
    };
    // What an ended exchange still owes, until when.
    struct Owed {
        Awaited awaited;
        std::vector<std::array<int, 8>> taken;
        int64_t until = 0;
    };
    static Awaited awaitedOf(const ReplyExpectation& x);
    // The frame is one of the answers still owed to o.
    static bool owedTo(const Owed& o, CanId id, const std::array<int, 8>& d);
    // The most frames an exchange keeps to compare copies with, and the most ended exchanges it follows.
    static constexpr size_t TakenKept = 2;
    static constexpr size_t OwedKept = 16;

    int64_t marginMs_;
    int64_t toleranceMs_;
    int64_t quietMs_;
    bool active_ = false;
    Exchange x_;
    // Outside a followed exchange: answers taken since the last send.
    int looseAnswersSinceSend_ = 0;
    std::vector<Owed> owed_;
    std::map<CanId, int64_t> lastHeard_;
    std::map<CanId, int64_t> held_;
};

} // namespace clink
