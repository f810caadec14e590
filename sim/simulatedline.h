#pragma once
// The Ethernet dongle, the gateway and the controller behind them as one line in virtual time, for the
// link to talk over instead of a socket. What the line can do is set per connection and may change at any
// time, as a controller restarted or replaced behind the dongle would:
//   - how the controller frames an answer the program's handler takes on its second matching frame: once
//     per request, or an acknowledgement and the reply, in one write or as writes of their own some
//     milliseconds apart;
//   - how long it holds its answers (with jitter; the answers on one identifier keep the order of their
//     requests);
//   - how the text reaches the program: whole writes, writes cut at any byte, or one byte per write;
//   - a gateway that passes some frames a second time, late, while later frames pass;
//   - the controller's own frames at random moments (status broadcasts, fault reports, rundown reports);
//   - a dongle that passes only the identifier it was last asked for, or every identifier;
//   - line noise before some of the writes.
// The controller's memory is the ControllerModel given; every request it receives and every frame that
// comes back is recorded with its time.

#include "link/ethernettransport.h"
#include "sim/controllermodel.h"
#include "sim/dongleframes.h"
#include "sim/virtualtime.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <random>
#include <vector>

namespace sim {

enum class Framing {
    AnswersOnce,      // one frame per request
    AckReplyOneWrite, // an acknowledgement and the reply in one write
    AckReplyApart,    // the reply as a write of its own, ackGapMs after the acknowledgement
};
const char* framingName(Framing f);

enum class Delivery { Whole, Cut, BytePerWrite };
const char* deliveryName(Delivery d);

struct LineSettings {
    Framing framing = Framing::AnswersOnce;
    int ackGapMs = 0;
    int holdMs = 0;
    int jitterMs = 0;
    Delivery delivery = Delivery::Whole;
    // The share of frames the gateway passes a second time, copyMinMs..copyMaxMs after the first.
    double copyChance = 0;
    int copyMinMs = 40;
    int copyMaxMs = 250;
    // The controller's own frames per second, on average.
    double ownFramesPerSecond = 0;
    // The dongle passes every identifier, not only the one it was last asked for.
    bool passesAll = false;
    // Every third write of the controller's frames comes behind line noise: a stray line, a frame head cut
    // short, a frame with a field above a byte.
    bool noise = false;
};

class SimulatedLine : public clink::EthernetTransport {
    Q_OBJECT
public:
    struct Event {
        enum Kind {
            Request,  // a frame from the program reached the controller
            Answer,   // the controller's answer reached the program
            Copy,     // the gateway passed a frame again
            Own,      // a frame the controller sent on its own reached the program
            Filtered, // the dongle did not pass a frame (another identifier than it was asked for)
            Other,    // a text from the program that is not a CAN frame
        };
        int64_t atNs;
        Kind kind;
        clink::CanId accept;
        clink::CanMessage message;
        // When the frame's text has reached the program whole (an answer, copy or own frame passed to it).
        int64_t wholeAtNs = 0;
        // When the controller was asked what an answer answers.
        int64_t askedAtNs = -1;
    };

    SimulatedLine(ControllerModel& model, VirtualTime& time, uint64_t seed);

    LineSettings settings;

    int state() const override { return state_; }
    void connectTo(const QString& host, quint16 port) override;
    void close() override;
    bool send(const QByteArray& bytes) override;
    QByteArray takePending() override;

    // Connects at once (no lookup), as a dongle on the local network does.
    void connectNow();
    // The controller behind the dongle restarts or is replaced, the connection staying up: it answers as
    // the settings say from now on, and the answers the one before still held never come.
    void replaceController(const LineSettings& s);

    // What reached the controller and came back since the record was last cleared.
    std::vector<Event> record;
    // Frames the program sent with this identifier and code (data byte 0; -1 any) since the record was
    // cleared.
    int requests(clink::CanId id, int code = -1) const;
    // Forgets the record and the frames sent, for what comes next.
    void clearRecord();

    // Until when the program is busy and reads nothing (-1: it is not): what reaches it meanwhile is
    // delivered when it runs again.
    std::function<int64_t()> programBusyUntil;

    // Time for a frame to cross from the program to the controller.
    static constexpr int64_t WireNs = 100000;
    // A cut write's pieces and a byte-per-write line's bytes follow each other this far apart at most.
    static constexpr int64_t PieceGapNs = 2000000;
    static constexpr int64_t ByteGapNs = 20000;

private:
    void fromProgram(const QByteArray& bytes);
    void onRequest(clink::CanId accept, const clink::CanMessage& message);
    // The frames of one write from the controller reach the dongle at atNs; those it passes go on to the
    // program (and, some, a second time through the gateway).
    void fromController(std::vector<clink::CanMessage> frames, int64_t atNs, Event::Kind kind,
                        int64_t askedAtNs = -1);
    // Writes text toward the program; returns when its last piece arrives.
    int64_t toProgram(const QByteArray& text, int64_t atNs);
    void deliverDue();
    void scheduleOwnFrame();
    int64_t holdNs();
    int64_t msNs(double ms) const { return int64_t(ms * VirtualTime::NsPerMs); }

    ControllerModel& model_;
    VirtualTime& time_;
    std::mt19937_64 random_;
    DongleFrameReader reader_;
    // The frames the program sent since the record was cleared, counted as they leave it: one that reaches
    // the controller after the record was cleared still counts for what sent it.
    DongleFrameReader sentReader_;
    std::vector<clink::CanMessage> sent_;
    int state_ = Closed;
    // Bumped at every connection: what was scheduled for an earlier one is not delivered.
    int connection_ = 0;
    // Bumped when the controller is replaced: the answers it still held are not sent.
    int controller_ = 0;
    clink::CanId accept_ = 0;
    // When the last answer on each identifier leaves the unit: answers keep the order of their requests.
    std::map<clink::CanId, int64_t> lastAnswerNs_;
    // When the last piece of text written toward the program arrives: a stream keeps its order.
    int64_t lastPieceNs_ = 0;
    // Writes of the controller's frames so far, for the noise before every third.
    int writes_ = 0;
    struct Piece {
        int64_t atNs;
        QByteArray bytes;
    };
    std::deque<Piece> pending_;
};

} // namespace sim
