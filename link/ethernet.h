#pragma once
// The Ethernet dongle's text frames: sending a CAN message as "%CAN,...,NAC%", parsing received frames,
// and the reply handlers that fill the shared link state for the waiting transaction.

#include "link/answerjudge.h"
#include "link/canid.h"
#include "link/linkstate.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <vector>

namespace clink {

class EthernetTransport;
class LinkClock;
class TransactionPump;

// Accept identifier bytes, transmit identifier bytes and data bytes 0..7 of one frame.
using CanFrameFields = std::array<int, 16>;

// Builds the 16 fields of a frame: accept identifier, transmit identifier, data.
CanFrameFields frameFields(CanId accept, CanId transmit, const std::array<int, 8>& data);
// The accept identifier a frame names.
CanId acceptId(const CanFrameFields& fields);
// A FilterFrame: accept and transmit identifier both the awaited reply identifier, all data 0.
CanFrameFields filterFrameFields(CanId awaited);
// "%CAN,a1,...,a16,NAC%" CR LF.
QByteArray canFrameText(const CanFrameFields& fields);

class Ethernet {
public:
    // DoEvents cycles (of two calls each) the sender waits for the reply after a request.
    static constexpr long SendWaitCycles = 4001;
    // Largest value a received field may have: every field is a byte.
    static constexpr int MaxFieldValue = 255;
    // Most fields a received frame may have (the head, then numbers), and the fewest: the head, four
    // identifier bytes and eight data bytes.
    static constexpr int MaxFields = 18;
    static constexpr int MinFields = 13;
    // No frame text is longer than this; text without a frame tail beyond it is dropped.
    static constexpr qsizetype MaxFrameText = 256;

    // How much two round trips of one controller may differ at least: the tool-EEPROM read's further wait
    // (1201 DoEvents).
    static constexpr long RoundTripToleranceDoEvents = 1201;
    // The longest a controller holds an answer, taken until the line has timed one; the longest a controller
    // that acknowledges takes between its acknowledgement and its reply (two CAN frames a dongle relays);
    // the least and the most a gateway takes to pass a frame a second time.
    static constexpr int64_t UntimedHoldMs = 600;
    static constexpr int64_t MaxAckGapMs = 160;
    static constexpr int64_t CopyMs = 250;
    static constexpr int64_t CopyEarliestMs = 20;
    // The longest a frame's text takes to come whole over the connection once it began to.
    static constexpr int64_t FrameTimeMs = 3;
    // How long a line that has passed a frame twice is taken to do so again: the longest a transaction waits
    // for a controller that says nothing.
    static constexpr int64_t CopyEvidenceMs = 10000;
    // How long the line must have been quiet on an identifier before an exchange whose answer carries
    // nothing of its request sends: the sender's wait, longer than a gateway's gap between a frame and
    // its copy.
    static constexpr long QuietLineDoEvents = SendWaitCycles * 2;

    Ethernet(LinkState& state, EthernetTransport& line, TransactionPump& pump, LinkClock& clock);
    Ethernet(const Ethernet&) = delete;
    Ethernet& operator=(const Ethernet&) = delete;
    ~Ethernet();

    // From now on the link talks over this line: its text is parsed, its connections and drops followed.
    void attach(EthernetTransport& line);
    EthernetTransport& line() const { return *line_; }

    // Sends one frame when the socket is connected (true). A request of a followed exchange first waits
    // until it may go (awaitDueAnswer), and is not sent when its exchange has its reply by then. When data
    // byte 0 is not 0 it then waits for ReplyReady for up to SendWaitCycles x 2 DoEvents; the wait also
    // ends when the next request may go (replyOrOwnAnswer). A refused send (socket not connected) sends
    // nothing, does not wait, and ends the running transaction.
    bool SendCanFrame(const CanFrameFields& fields);
    bool SendCanFrame(CanId accept, CanId transmit, const std::array<int, 8>& data) {
        return send(frameFields(accept, transmit, data), data[0] != 0);
    }
    bool SendFilterFrame(CanId awaited) { return SendCanFrame(filterFrameFields(awaited)); }
    // An exchange's request, sent as SendCanFrame sends it; a request whose data are all 0 (the status
    // read's filter frame) draws answers all the same, so answers to its later sends can be owed.
    bool SendRequestFrame(CanId accept, CanId transmit, const std::array<int, 8>& data);
    // "%CANSN" + text + "NAC%" CR LF, no wait.
    bool SendSerialNumberFrame(const QString& text);

    // Appends received socket text and parses it.
    void onDataArrival(const QByteArray& bytes);
    // Received text was dropped after the last arrival: a frame begun in it can never be completed, and
    // joined to what comes next it would read as a frame with wrong values. It is dropped too.
    void onDataDropped();
    // A connection is made: nothing learned of a controller behind an earlier one holds for it, and a frame
    // the last one began and never finished is not finished by this one's text (joined to it, it would take
    // this one's first frame with it).
    void onConnected();
    // The connection is gone: the exchange over it ends at once, as after a refused send.
    void onDropped();
    // Parses and dispatches every complete frame in EthernetRxText, in one pass over the text: text
    // before the last frame head ahead of a frame tail is dropped in one step (a frame cut short by the
    // next one), a garbled frame is dropped whole, and text that cannot become a frame is not kept.
    void ParseReceivedData();

    // Dispatches one received frame (identifier and data) to its reply handler, as the parser does, when
    // the answer judge lets it through. A frame the handler takes (acknowledgement or reply) counts as
    // heard by the running transaction.
    void dispatch(CanId id, const std::array<int, 8>& d);
    // Hands one frame to its reply handler, whatever the judge would say: the handler stores what the frame
    // carries as the answer of the waiting exchange (the judge alone decides which frame that is); true when
    // the handler took it (as the acknowledgement or the reply).
    bool handle(CanId id, const std::array<int, 8>& d);

    // The start of a transaction: the text received and not yet parsed is left over from earlier
    // exchanges and is read before the transaction awaits anything; with the socket not connected the
    // transaction is over before it sends. An outermost transaction ends the exchange the judge followed.
    void startTransaction();

    // An exchange installs everything that decides which frame it takes, before its first frame and before
    // any settle pause: AwaitedId, AwaitedCode, RequestData(1..5) and ExactEcho; AckReceived and ReplyReady
    // are cleared. With quietFirst its first request waits for a quiet line (see send).
    void expect(const ReplyExpectation& x);
    // An exchange whose expectations are in place (the link state's) starts awaiting id, unless the judge
    // already follows one awaiting id: as expect() without installing anything.
    void follow(CanId id);
    // The reply was taken, or an answer that can be the last request's own came after it: a controller that
    // answers once per request sends nothing more until it is asked again, so a wait for the reply after a
    // send ends here too. An answer to an earlier send while the last one's answer is still on its way
    // does not end it.
    bool replyOrOwnAnswer() const;
    // Before the exchange sends a request: waits until it may (see AnswerJudge: no owed answer or copy can
    // still pass for its answer, and no answer its last request draws can still come), so that no request
    // goes out that would only be owed. Ends early when the exchange has its reply.
    void awaitDueAnswer();
    // What the link has learned of the line.
    const AnswerJudge& judge() const { return judge_; }

private:
    bool send(const CanFrameFields& fields, bool request);
    // Splits one frame text ("%CAN,...," up to its tail) into EthernetFields; false when it is garbled.
    bool splitFrame(const QByteArray& frame, std::array<int, 19>& fields) const;

    void On09EF0801(const std::array<int, 8>& d);
    void On10EF010D(const std::array<int, 8>& d);
    void On10EF0301(const std::array<int, 8>& d);
    void On10EF0602(const std::array<int, 8>& d);
    void On10EF1102(const std::array<int, 8>& d);
    void On11EF0110(const std::array<int, 8>& d);
    void On11EF0604(const std::array<int, 8>& d);
    void On12EF0106(const std::array<int, 8>& d);
    void On12EF0602(const std::array<int, 8>& d);
    void On12EF0604(const std::array<int, 8>& d);
    void On13EF0106(const std::array<int, 8>& d);
    void On13EF010D(const std::array<int, 8>& d);
    void On13EF0110(const std::array<int, 8>& d);
    void On13EF0506(const std::array<int, 8>& d);
    void On13EF0D01(const std::array<int, 8>& d);
    void On15EF0103(const std::array<int, 8>& d);
    void On16EF0102(const std::array<int, 8>& d);

    // An acknowledgement (code 01): the first one is recorded in AckReceived, the next sets ReplyReady.
    void acknowledgeThenReply();
    // The same, the reply also copying data bytes 1..count into RequestData(1..count).
    void acknowledgeThenCopy(const std::array<int, 8>& d, size_t count);
    // An EEPROM byte echoed with its address (code 30): the first frame taken acknowledges, the next is
    // stored at DataCount.
    void storeEchoedByte(const std::array<int, 8>& d);
    // A frame that no exchange awaits reaches its handler only when the handler keeps a record of its own
    // (a report the controller sends on its own, a monitor's message); an answer that would store into the
    // receive buffer or the echo values is dropped. A status answer updates the status record alone.
    bool keepsOwnRecord(CanId id, const std::array<int, 8>& d);
    // RequestData(1..5), and the echo values as the followed exchange installed them (as the link state
    // holds them when no exchange is followed).
    std::array<int, EchoValues::Size> requestData() const;
    EchoValues echoNow() const;
    // Stores count values from d[firstData] at DataBuffer(at..); false (nothing stored) when they do not fit.
    bool storeData(int at, const std::array<int, 8>& d, int firstData, int count);
    // The sender's wait after a request, for the reply or until the next request may go.
    void senderWait();
    // Hands the answers the judge held to their handler once their time has come.
    void releaseHeldAnswers();
    // Reads what has come over the line and not yet been delivered.
    void readPending();

    LinkState& s_;
    EthernetTransport* line_ = nullptr;
    // The connections to the line's signals, dropped when another line is attached.
    std::vector<QMetaObject::Connection> wiring_;
    TransactionPump& pump_;
    LinkClock& clock_;
    bool parsing_ = false;
    // The earliest the text being parsed can have come, and since when the start of a frame has been
    // waiting for its end (-1: none is).
    int64_t cameFrom_ = -1;
    int64_t frameComingSince_ = -1;
    AnswerJudge judge_;
};

} // namespace clink
