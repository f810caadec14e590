#include "link/ethernet.h"

#include "link/commandcodes.h"
#include "link/ethernettransport.h"
#include "link/linkclock.h"
#include "link/transaction.h"

#include <QLoggingCategory>

#include <algorithm>
#include <chrono>

namespace clink {

namespace {
// Per-frame diagnostics; off unless enabled ("palverin.link.frames.debug=true" in QT_LOGGING_RULES).
Q_LOGGING_CATEGORY(lcFrames, "palverin.link.frames", QtInfoMsg)

const QByteArray FrameHead = QByteArrayLiteral("%CAN");
const QByteArray FrameTail = QByteArrayLiteral("NAC%");
// Index of data byte 0 among the received fields.
constexpr int FirstDataField = 6;
// A field has at most three digits.
constexpr qsizetype MaxFieldDigits = 3;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Length of the longest end of text that is the start of a frame head still arriving.
qsizetype partialHeadAtEnd(const QByteArray& text) {
    for (qsizetype n = FrameHead.size() - 1; n > 0; --n)
        if (text.endsWith(FrameHead.left(n)))
            return n;
    return 0;
}
} // namespace

CanFrameFields frameFields(CanId accept, CanId transmit, const std::array<int, 8>& data) {
    CanFrameFields f{};
    const auto a = canIdBytes(accept);
    const auto t = canIdBytes(transmit);
    for (size_t i = 0; i < 4; ++i) {
        f[i] = a[i];
        f[4 + i] = t[i];
    }
    for (size_t i = 0; i < 8; ++i)
        f[8 + i] = data[i];
    return f;
}

CanId acceptId(const CanFrameFields& fields) {
    CanId id = 0;
    for (size_t i = 0; i < 4; ++i)
        id = id << 8 | CanId(fields[i]);
    return id;
}

CanFrameFields filterFrameFields(CanId awaited) {
    return frameFields(awaited, awaited, {});
}

QByteArray canFrameText(const CanFrameFields& fields) {
    QByteArray text = FrameHead;
    for (int v : fields) {
        text += ',';
        text += QByteArray::number(v);
    }
    text += ",NAC%\r\n";
    return text;
}

namespace {
int64_t doEventsMs(long doEvents) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(doEvents * base::DoEventsSlice).count();
}
long msDoEvents(int64_t ms) {
    return long(std::chrono::nanoseconds(std::chrono::milliseconds(ms)) / base::DoEventsSlice);
}
} // namespace

Ethernet::Ethernet(LinkState& state, EthernetTransport& line, TransactionPump& pump, LinkClock& clock)
    : s_(state), pump_(pump), clock_(clock),
      judge_(LineTimes{.tolerance = doEventsMs(RoundTripToleranceDoEvents),
                       .quiet = doEventsMs(QuietLineDoEvents),
                       .senderWait = doEventsMs(SendWaitCycles * 2),
                       .untimedHold = UntimedHoldMs,
                       .maxAckGap = MaxAckGapMs,
                       .copyEarliest = CopyEarliestMs,
                       .copy = CopyMs,
                       .frameTime = FrameTimeMs,
                       .copyEvidence = CopyEvidenceMs}) {
    attach(line);
    pump_.beforeCheck = [this] { releaseHeldAnswers(); };
}

Ethernet::~Ethernet() {
    for (const QMetaObject::Connection& c : wiring_)
        QObject::disconnect(c);
}

void Ethernet::attach(EthernetTransport& line) {
    for (const QMetaObject::Connection& c : wiring_)
        QObject::disconnect(c);
    wiring_.clear();
    line_ = &line;
    wiring_.push_back(QObject::connect(&line, &EthernetTransport::dataArrived, &line,
                                       [this](const QByteArray& bytes) { onDataArrival(bytes); }));
    wiring_.push_back(
        QObject::connect(&line, &EthernetTransport::dataDropped, &line, [this] { onDataDropped(); }));
    // A new connection may reach another controller: nothing learned of the last one holds for it.
    wiring_.push_back(QObject::connect(&line, &EthernetTransport::stateChanged, &line,
                                       [this, connected = line.isConnected()](int st) mutable {
                                           if (st == EthernetTransport::Connected && !connected)
                                               onConnected();
                                           connected = st == EthernetTransport::Connected;
                                       }));
    wiring_.push_back(QObject::connect(&line, &EthernetTransport::dropped, &line, [this] { onDropped(); }));
    judge_.forgetController();
}

void Ethernet::onConnected() {
    judge_.forgetController();
    s_.EthernetRxText.clear();
    frameComingSince_ = -1;
}

void Ethernet::onDropped() {
    if (s_.ConnectionType == TcpIp)
        pump_.refused();
}

bool Ethernet::SendCanFrame(const CanFrameFields& fields) {
    return send(fields, fields[8] != 0);
}

bool Ethernet::SendRequestFrame(CanId accept, CanId transmit, const std::array<int, 8>& data) {
    return send(frameFields(accept, transmit, data), true);
}

bool Ethernet::send(const CanFrameFields& fields, bool request) {
    // A frame sent outside a transaction belongs to no exchange: the last one has ended.
    if (!pump_.running())
        judge_.end();
    // An exchange that took its reply and cleared it asks anew: a new round of the same exchange.
    if (request && judge_.replied() && !s_.ReplyReady)
        judge_.begin(judge_.expectation());
    if (request && judge_.following() != 0) {
        // No request goes out while an answer it would only duplicate can still come; one whose exchange
        // has its reply meanwhile is not needed any more.
        awaitDueAnswer();
        if (s_.ReplyReady && judge_.asked())
            return true;
    }
    if (!line_->send(canFrameText(fields))) {
        pump_.refused();
        return false;
    }
    judge_.accepting(acceptId(fields), clock_.nowMs());
    judge_.sent(clock_.nowMs(), request);
    if (!request)
        judge_.filterSent(acceptId(fields), clock_.nowMs());
    // The sender's wait follows a frame that carries data only.
    if (fields[8] != 0)
        senderWait();
    return true;
}

void Ethernet::senderWait() {
    // A controller that answers once draws only the acknowledgement with this request: the reply needs a
    // request of its own, which goes out at once.
    if (judge_.needsAnotherRequest())
        return;
    pump_.waitUntil([this] { return replyOrOwnAnswer(); }, SendWaitCycles * 2);
}

bool Ethernet::replyOrOwnAnswer() const {
    return s_.ReplyReady || (judge_.asked() && judge_.nextRequestAt(clock_.nowMs()) <= clock_.nowMs());
}

void Ethernet::expect(const ReplyExpectation& x) {
    s_.AwaitedId = x.id;
    s_.AwaitedCode = x.code;
    for (size_t i = 0; i < x.echo.size(); ++i)
        s_.RequestData[i + 1] = x.echo[i];
    s_.ExactEcho = x.exactEcho;
    judge_.begin(x);
    s_.AckReceived = false;
    s_.ReplyReady = false;
}

void Ethernet::follow(CanId id) {
    if (judge_.following() == id)
        return;
    judge_.begin({.id = id,
                  .code = s_.AwaitedCode,
                  .echo = EchoValues::fromLinkState(requestData(), s_.ExactEcho),
                  .exactEcho = s_.ExactEcho});
}

std::array<int, EchoValues::Size> Ethernet::requestData() const {
    std::array<int, EchoValues::Size> values{};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = s_.RequestData[i + 1];
    return values;
}

EchoValues Ethernet::echoNow() const {
    return judge_.following() != 0 ? judge_.installedEcho().with(requestData())
                                   : EchoValues::fromLinkState(requestData(), s_.ExactEcho);
}

void Ethernet::readPending() {
    if (const QByteArray arrived = line_->takePending(); !arrived.isEmpty())
        onDataArrival(arrived);
}

void Ethernet::awaitDueAnswer() {
    if (!clock_.moves())
        return;
    for (;;) {
        // What came while the program was busy elsewhere is read before it decides, and answers held until
        // now are taken: a request must not go out for an answer that has come.
        readPending();
        releaseHeldAnswers();
        const int64_t now = clock_.nowMs();
        int64_t at = judge_.requestAt(now);
        // Nor while a frame is coming: it may be the answer.
        if (frameComingSince_ >= 0)
            at = std::max(at, frameComingSince_ + FrameTimeMs);
        if (at <= now || (s_.ReplyReady && judge_.asked()) || pump_.stopped())
            return;
        qCDebug(lcFrames) << "Ethernet: next request in" << at - now << "ms, at" << now;
        // A frame heard meanwhile may change when the request can go (an acknowledgement, the owed answer
        // the wait held for, a line that is not quiet yet); a line that never lets it go ends the
        // transaction at its silence cap.
        const long heard = judge_.framesHeard();
        const bool changed = pump_.waitUntil(
            [&] { return judge_.framesHeard() != heard || (s_.ReplyReady && judge_.asked()); },
            msDoEvents(at - now));
        if (pump_.running() && pump_.over())
            return;
        // A wait that spent its budget without the clock moving cannot pace the request by time: it goes.
        if (!changed && clock_.nowMs() == now)
            return;
    }
}

bool Ethernet::SendSerialNumberFrame(const QString& text) {
    return line_->send("%CANSN" + text.toLatin1() + "NAC%\r\n");
}

void Ethernet::startTransaction() {
    if (pump_.outermost())
        judge_.transactionBegins();
    // What has come and not been read is left over from earlier exchanges: it is read now, before this
    // transaction awaits anything, so that it is judged as what it is (owed, or the controller's own) and
    // completes nothing of this transaction.
    readPending();
    s_.AckReceived = false;
    s_.ReplyReady = false;
    if (!line_->isConnected())
        pump_.refused();
}

void Ethernet::onDataArrival(const QByteArray& bytes) {
    // Text read after the program was kept from its events may have come that long before.
    const int64_t before = cameFrom_;
    cameFrom_ = clock_.nowMs() - std::chrono::duration_cast<std::chrono::milliseconds>(pump_.away()).count();
    s_.EthernetRxText += bytes;
    ParseReceivedData();
    cameFrom_ = before;
    pump_.wake();
}

void Ethernet::onDataDropped() {
    if (!s_.EthernetRxText.isEmpty())
        qCDebug(lcFrames) << "Ethernet: frame cut by a flood dropped:"
                          << s_.EthernetRxText.left(MaxFrameText);
    s_.EthernetRxText.clear();
    frameComingSince_ = -1;
}

bool Ethernet::splitFrame(const QByteArray& frame, std::array<int, 19>& fields) const {
    // The head lands in field 1 (as 0), the identifier image in 2..5, the data in 6..13. Line ends
    // inside the frame are skipped; nothing may follow the last comma.
    fields = {};
    int k = 1;
    QByteArray acc;
    for (char c : frame) {
        if (isLineEnd(c))
            continue;
        if (c != ',') {
            if (k > 1 && (c < '0' || c > '9'))
                return false;
            acc += c;
            if (k > 1 && acc.size() > MaxFieldDigits)
                return false;
            continue;
        }
        if (k > MaxFields)
            return false;
        if (k == 1) {
            if (acc != FrameHead)
                return false;
        } else {
            if (acc.isEmpty())
                return false;
            const int value = acc.toInt();
            if (value > MaxFieldValue)
                return false;
            fields[size_t(k)] = value;
        }
        ++k;
        acc.clear();
    }
    return acc.isEmpty() && k > MinFields;
}

void Ethernet::ParseReceivedData() {
    // The handlers do not come back here; a call from inside one only adds its text to what is parsed.
    if (parsing_)
        return;
    parsing_ = true;
    QByteArray& text = s_.EthernetRxText;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype head = text.indexOf(FrameHead, pos);
        if (head < 0) {
            // No frame begins here: keep only what may be the start of a head still arriving (not the end
            // of a frame's tail, whose last character begins a head too).
            pos = std::max(pos, text.size() - partialHeadAtEnd(text));
            break;
        }
        const qsizetype tail = text.indexOf(FrameTail, head + FrameHead.size());
        if (tail < 0) {
            // Incomplete: a frame can only begin at the last head, and not far before the end.
            pos = std::max(head, text.lastIndexOf(FrameHead));
            if (text.size() - pos > MaxFrameText)
                pos = text.size() - partialHeadAtEnd(text);
            break;
        }
        // Heads before the last one ahead of the tail began frames that were cut short.
        const qsizetype start = std::max(head, text.lastIndexOf(FrameHead, tail - FrameHead.size()));
        const QByteArray frame = text.mid(start, tail - start);
        pos = tail + FrameTail.size();
        while (pos < text.size() && isLineEnd(text[pos]))
            ++pos;
        std::array<int, 19> fields{};
        if (frame.size() > MaxFrameText || !splitFrame(frame, fields)) {
            qCDebug(lcFrames) << "Ethernet: garbled frame dropped:" << frame.left(MaxFrameText);
            continue;
        }
        s_.EthernetFields = fields;
        std::array<int, 8> d{};
        for (size_t i = 0; i < d.size(); ++i)
            d[i] = fields[FirstDataField + i];
        dispatch(canIdFromImage(fields[2], fields[3], fields[4], fields[5]), d);
        if (s_.FirstFrameOnly) {
            // The revision reply ends this block: the rest of it is dropped, later blocks are parsed.
            s_.FirstFrameOnly = false;
            pos = text.size();
            break;
        }
    }
    text.remove(0, std::min(pos, text.size()));
    // Text left over is the start of a frame still coming.
    if (text.isEmpty())
        frameComingSince_ = -1;
    else if (frameComingSince_ < 0)
        frameComingSince_ = clock_.nowMs();
    if (text.contains(FrameHead))
        judge_.frameCut();
    parsing_ = false;
}

void Ethernet::dispatch(CanId id, const std::array<int, 8>& d) {
    const int64_t now = clock_.nowMs();
    if (!pump_.running())
        judge_.end();
    const AnswerJudge::Awaited awaited{.id = s_.AwaitedId,
                                       .code = s_.AwaitedCode,
                                       .echo = echoNow(),
                                       .replied = s_.ReplyReady,
                                       .acknowledged = s_.AckReceived,
                                       .idle = !pump_.running()};
    switch (judge_.judge(id, d, now, awaited, cameFrom_)) {
    case AnswerJudge::Verdict::Take:
        break;
    case AnswerJudge::Verdict::Report:
        if (!keepsOwnRecord(id, d)) {
            qCDebug(lcFrames) << "Ethernet: answer no exchange awaits dropped:" << canIdText(id);
            return;
        }
        break;
    case AnswerJudge::Verdict::Owed:
        qCDebug(lcFrames) << "Ethernet: answer owed to an earlier exchange dropped:" << canIdText(id);
        return;
    case AnswerJudge::Verdict::Copy:
        qCDebug(lcFrames) << "Ethernet: repeat of an answer taken dropped:" << canIdText(id);
        return;
    case AnswerJudge::Verdict::Stray:
        qCDebug(lcFrames) << "Ethernet: frame the waiting exchange does not await dropped:" << canIdText(id);
        return;
    case AnswerJudge::Verdict::Hold:
        // Taken when the controller's own answer must have come, unless it comes meanwhile.
        qCDebug(lcFrames) << "Ethernet: answer like an earlier frame held at" << now << "until"
                          << judge_.heldUntil() << ":" << canIdText(id);
        pump_.wakeAfter(std::chrono::milliseconds(judge_.heldUntil() - now));
        return;
    }
    const bool replyBefore = s_.ReplyReady;
    if (handle(id, d)) {
        pump_.heard();
        // A frame read late tells nothing of the controller's round trip.
        judge_.taken(d, now, s_.ReplyReady && !replyBefore, cameFrom_ < 0 || cameFrom_ >= now, cameFrom_);
    }
}

void Ethernet::releaseHeldAnswers() {
    for (const AnswerJudge::HeldAnswer& a : judge_.releaseHeld(clock_.nowMs())) {
        qCDebug(lcFrames) << "Ethernet: held answer released at" << clock_.nowMs() << ":" << canIdText(a.id);
        // One more answer to an exchange that has its reply changes nothing.
        if (s_.ReplyReady)
            break;
        if (handle(a.id, a.d)) {
            pump_.heard();
            judge_.taken(a.d, a.at, s_.ReplyReady, a.timed);
        }
    }
}

bool Ethernet::handle(CanId id, const std::array<int, 8>& d) {
    const bool ackBefore = s_.AckReceived;
    const bool replyBefore = s_.ReplyReady;
    switch (id) {
    case ids::CommandReply:
        On09EF0801(d);
        break;
    case ids::NsmReply2:
        On10EF010D(d);
        break;
    case ids::StatusBroadcast:
        On10EF0301(d);
        break;
    case ids::ButtonReply:
        On10EF0602(d);
        break;
    case ids::RunData:
        On10EF1102(d);
        break;
    case ids::Reply11EF0110:
        On11EF0110(d);
        break;
    case ids::TransducerReply2:
        On11EF0604(d);
        break;
    case ids::DspReply:
        On12EF0106(d);
        break;
    case ids::ToolEepromReply:
        On12EF0602(d);
        break;
    case ids::TransducerReply:
        On12EF0604(d);
        break;
    case ids::ToolReply:
        On13EF0106(d);
        break;
    case ids::NsmReply:
        On13EF010D(d);
        break;
    case ids::Reply13EF0110:
        On13EF0110(d);
        break;
    case ids::CurveReply:
        On13EF0506(d);
        break;
    case ids::NsmRequest:
        On13EF0D01(d);
        break;
    case ids::CommandRequest:
    case ids::StatusRequest:
        On15EF0103(d);
        break;
    case ids::BlockReply:
        On16EF0102(d);
        break;
    default:
        break; // no handler: the reply is ignored on this link
    }
    return (s_.AckReceived && !ackBefore) || (s_.ReplyReady && !replyBefore);
}

bool Ethernet::keepsOwnRecord(CanId id, const std::array<int, 8>& d) {
    // The status record, the tool's buttons, the run screen's rundown result, fault and cycle reports, the
    // socket tray, the button sensors' stream while its session listens.
    if (AnswerJudge::reportsOnItsOwn(id))
        return !AnswerJudge::appends(id, d);
    switch (id) {
    case ids::StatusRequest:
    case ids::CommandRequest:
        // A status answer no read awaits: the status record, never the receive buffer.
        if (d[0] == codes::Status)
            buildSystemStatusRecord(s_, d, StatusStore::RecordOnly);
        return false;
    default:
        return false;
    }
}

bool Ethernet::storeData(int at, const std::array<int, 8>& d, int firstData, int count) {
    if (!DataBufferArray::fits(at, count)) {
        qCDebug(lcFrames) << "Ethernet: reply beyond the receive buffer dropped";
        return false;
    }
    for (int i = 0; i < count; ++i)
        s_.DataBuffer.put(at + i, d[size_t(firstData + i)]);
    return true;
}

void Ethernet::On09EF0801(const std::array<int, 8>& d) {
    bool& A = s_.AckReceived;
    bool& R = s_.ReplyReady;
    auto& RD = s_.RequestData;
    const int code = d[0];
    if (code >= 0x01 && code <= 0x04) {
        if (!A) {
            A = true;
            return;
        }
        if (storeData(7 * (code - 1), d, 1, 7))
            R = true;
    } else if (code == 0x10) {
        if (!A) {
            A = true;
            return;
        }
        // A repeated frame of a block already taken is not appended again.
        if (!R && storeData(s_.DataCount, d, 2, 6)) {
            s_.DataCount += 6;
            R = true;
        }
    } else if (code == 0x61) {
        if (!A)
            A = true;
        else
            R = true;
    } else if (code == 0x62) {
        if (!A) {
            A = true;
        } else if (!R) {
            if (storeData(s_.DataCount, d, 2, 6)) {
                s_.DataCount += 6;
                R = true;
            }
        }
    } else if (code == 0xA0) {
        // A version read takes its first answer as the reply: the version bytes.
        if (s_.VersionReadPending) {
            s_.DataBuffer.put(0, d[2]);
            s_.DataBuffer.put(1, d[3]);
            R = true;
        } else if (!A) {
            A = true;
        } else {
            // The software version's acknowledgement carries the major version.
            if (d[1] == codes::Version)
                RD[1] = d[2];
            R = true;
        }
    } else if (code == 0xEA) {
        if (A && !R) {
            if (storeData(s_.EepromReadIndex, d, 3, 5)) {
                s_.EepromReadIndex += 5;
                R = true;
            }
        } else {
            A = true;
        }
    }
}

void Ethernet::On10EF010D(const std::array<int, 8>& d) {
    if (d[0] == 0xAA)
        acknowledgeThenCopy(d, 2);
    else if (d[0] == 0xDD)
        acknowledgeThenCopy(d, 5);
}

void Ethernet::On10EF0301(const std::array<int, 8>& d) {
    if (d[0] != 0x10)
        return;
    // The controller's own broadcast: its record only, never the receive buffer a transfer fills.
    buildSystemStatusRecord(s_, d, StatusStore::RecordOnly);
    qCDebug(lcFrames) << "Ethernet: status broadcast," << s_.SystemStatus.SystemStatusLines[3];
}

void Ethernet::On10EF0602(const std::array<int, 8>& d) {
    storeData(0, d, 0, 8);
    s_.ButtonReplyFrame = d;
    s_.ReplyReady = true;
}

void Ethernet::On10EF1102(const std::array<int, 8>& d) {
    bool& A = s_.AckReceived;
    if (d[0] == 0x01) {
        acknowledgeThenReply();
    } else if (d[0] == 0x10) {
        if (!A) {
            A = true;
            return;
        }
        const int block = d[1];
        if (block < 1 || block > 3)
            return;
        for (int i = 0; i < 6; ++i)
            s_.RunDataWords[size_t(6 * (block - 1) + 1 + i)] = d[size_t(2 + i)];
        if (block == 3)
            s_.RequestData[1] = 0x10;
        s_.ReplyReady = true;
    }
}

void Ethernet::On11EF0110(const std::array<int, 8>& d) {
    if (d[0] == 0x70)
        acknowledgeThenCopy(d, 1);
}

void Ethernet::On11EF0604(const std::array<int, 8>& d) {
    if (d[0] == 0x01) {
        acknowledgeThenReply();
    } else if (d[0] == 0xDD) {
        acknowledgeThenCopy(d, 5);
    } else if (d[0] == 0x30) {
        storeEchoedByte(d);
    }
}

void Ethernet::On12EF0106(const std::array<int, 8>& d) {
    // A write is confirmed only with the value written: it installs it among the values echoed.
    if (d[0] != 0x30 || s_.ReplyReady)
        return;
    if (!DataBufferArray::fits(s_.DataCount, 2))
        return;
    s_.DataBuffer.put(s_.DataCount++, d[4]);
    s_.DataBuffer.put(s_.DataCount++, d[5]);
    s_.ReplyReady = true;
}

void Ethernet::On12EF0602(const std::array<int, 8>& d) {
    if (d[0] == 0x30)
        storeEchoedByte(d);
}

void Ethernet::On12EF0604(const std::array<int, 8>& d) {
    if (d[0] == 0x30)
        storeEchoedByte(d);
}

void Ethernet::acknowledgeThenReply() {
    if (s_.AckReceived)
        s_.ReplyReady = true;
    else
        s_.AckReceived = true;
}

void Ethernet::acknowledgeThenCopy(const std::array<int, 8>& d, size_t count) {
    if (s_.AckReceived)
        for (size_t i = 1; i <= count; ++i)
            s_.RequestData[i] = d[i];
    acknowledgeThenReply();
}

void Ethernet::storeEchoedByte(const std::array<int, 8>& d) {
    // The judge compared the echo (a write's value exactly, 0 too; a read's address only).
    if (s_.AckReceived && storeData(s_.DataCount, d, 3, 1))
        s_.ReplyReady = true;
    s_.AckReceived = true;
}

void Ethernet::On13EF0106(const std::array<int, 8>& d) {
    bool& A = s_.AckReceived;
    bool& R = s_.ReplyReady;
    switch (d[0]) {
    case 0x10:
    case 0x11:
    case 0x12:
    case 0x15:
        // A fault report the controller sends on its own: kept apart from DataBuffer, which a transfer
        // fills between its exchanges.
        s_.ToolReportFrame = d;
        s_.RequestData[1] = d[0];
        R = true;
        break;
    case 0x40:
        for (size_t i = 1; i <= 7; ++i)
            s_.CycleStatusWords[i] = d[i];
        s_.RequestData[1] = 0x40;
        R = true;
        break;
    case 0x50:
        if (s_.RequestData[1] != 0x50)
            return;
        if (!A) {
            A = true;
            return;
        }
        if (d[7] != 0) {
            s_.DataBuffer.put(6, d[6]);
            s_.DataBuffer.put(7, d[7]);
            R = true;
            s_.FirstFrameOnly = true;
            SendFilterFrame(ids::RevisionDone);
        }
        break;
    case 0xD1:
        if (A && storeData(0, d, 2, 6))
            R = true;
        A = true;
        break;
    default:
        R = true;
        break;
    }
}

void Ethernet::On13EF010D(const std::array<int, 8>& d) {
    bool& A = s_.AckReceived;
    auto& RD = s_.RequestData;
    switch (d[0]) {
    case 0x30:
        if (A) {
            if (!storeData(s_.DataCount, d, 3, 1))
                return;
            RD[1] = 0x30;
            RD[2] = d[7];
            s_.ReplyReady = true;
        }
        A = true;
        break;
    case 0xAA:
        acknowledgeThenCopy(d, 2);
        break;
    case 0xDD:
        acknowledgeThenCopy(d, 5);
        break;
    case 0xDE: {
        if (A)
            s_.ReplyReady = true;
        A = true;
        break;
    }
    default:
        break;
    }
}

void Ethernet::On13EF0110(const std::array<int, 8>& d) {
    if (!s_.AckReceived) {
        s_.AckReceived = true;
        return;
    }
    // The socket out of the tray (byte 0 is the status code) and the socket lamp bits.
    s_.RequestData[1] = d[1];
    s_.RequestData[2] = d[7];
    s_.ReplyReady = true;
}

void Ethernet::On13EF0506(const std::array<int, 8>& d) {
    if (d[0] != 0x20)
        return;
    if (s_.AckReceived) {
        for (size_t i = 1; i <= 4; ++i)
            s_.RequestData[i] = d[3 + i];
        s_.ReplyReady = true;
    }
    s_.AckReceived = true;
}

void Ethernet::On13EF0D01(const std::array<int, 8>& d) {
    if (d[0] == 0xDD)
        acknowledgeThenCopy(d, 5);
}

void Ethernet::On15EF0103(const std::array<int, 8>& d) {
    if (d[0] == 0x10) {
        buildSystemStatusRecord(s_, d);
        s_.ReplyReady = true;
    } else if (d[0] == 0xC2) {
        s_.RequestData[1] = d[1];
        s_.ReplyReady = true;
        s_.AckReceived = true;
    }
}

void Ethernet::On16EF0102(const std::array<int, 8>& d) {
    // The button sensors' stream comes on its own while its session listens (AwaitedId), not while a
    // transaction waits.
    if (s_.AwaitedId != ids::BlockReply || !storeData(s_.DataCount, d, 0, 8))
        return;
    s_.DataCount += 8;
    s_.ReplyReady = true;
}

} // namespace clink
