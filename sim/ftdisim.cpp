#include "sim/ftdisim.h"

#include <algorithm>
#include <cstring>

namespace sim {

using namespace clink;

namespace {
const QByteArray Head = QByteArrayLiteral("%CAN");
const QByteArray Tail = QByteArrayLiteral("NAC%");
constexpr int FrameSize = 26;
// Byte offsets (0-based) in the frame.
constexpr int AcceptAt = 4;
constexpr int TransmitAt = 8;
constexpr int ExpectedAt = 12;
constexpr int DataAt = 14;

const char* const ListCall = "listFirstSerial";
const char* const OpenCall = "openBySerial";

CanId idAt(const QByteArray& b, int at) {
    CanId id = 0;
    for (int i = 0; i < 4; ++i)
        id = (id << 8) | uint8_t(b[at + i]);
    return id;
}

void appendId(QByteArray& out, CanId id) {
    for (int b : canIdBytes(id))
        out += char(b);
}

bool matches(const CanMessage& m, CanId accept, const std::array<int, 2>& expected) {
    return m.id == accept && (expected[0] == 0 || m.data[0] == expected[0]) &&
           (expected[1] == 0 || m.data[1] == expected[1]);
}
} // namespace

FtdiSim::FtdiSim(ControllerModel& model) : model_(model) {}

QByteArray FtdiSim::replyFor(const CanMessage& message) {
    QByteArray out;
    out.reserve(ReplySize);
    appendId(out, message.id);
    for (int d : message.data)
        out += char(d & 0xFF);
    out += Tail;
    return out;
}

FtStatus FtdiSim::check(const char* call) const {
    const bool finding = std::strcmp(call, ListCall) == 0 || std::strcmp(call, OpenCall) == 0;
    if (noDevice)
        return finding ? FtDeviceNotFound : FtInvalidHandle;
    if (const auto it = failing_.find(QString::fromLatin1(call)); it != failing_.end())
        return it->second;
    if (!finding && !open_)
        return FtInvalidHandle;
    return FtOk;
}

FtStatus FtdiSim::listFirstSerial(QByteArray& serial) {
    serial.clear();
    const FtStatus st = check(ListCall);
    if (st == FtOk)
        serial = serial_;
    return st;
}

FtStatus FtdiSim::openBySerial(const QByteArray& serial) {
    if (const FtStatus st = check(OpenCall); st != FtOk)
        return st;
    if (serial != serial_)
        return FtDeviceNotFound;
    // Opening again starts afresh.
    open_ = true;
    rx_.clear();
    pending_.clear();
    ++opens;
    return FtOk;
}

FtStatus FtdiSim::setBaudRate(int baud) {
    const FtStatus st = check("setBaudRate");
    if (st == FtOk)
        baudRate = baud;
    return st;
}

FtStatus FtdiSim::setDataCharacteristics(int bits, int stop, int par) {
    const FtStatus st = check("setDataCharacteristics");
    if (st == FtOk) {
        dataBits = bits;
        stopBits = stop;
        parity = par;
    }
    return st;
}

FtStatus FtdiSim::setFlowControl(int mode, int, int) {
    const FtStatus st = check("setFlowControl");
    if (st == FtOk)
        flowControl = mode;
    return st;
}

FtStatus FtdiSim::setTimeouts(int readMs, int writeMs) {
    const FtStatus st = check("setTimeouts");
    if (st == FtOk) {
        readTimeoutMs = readMs;
        writeTimeoutMs = writeMs;
    }
    return st;
}

FtStatus FtdiSim::purge(int mask) {
    const FtStatus st = check("purge");
    if (st == FtOk && (mask & FtPurgeRx)) {
        rx_.clear();
        ++rxPurges;
    }
    return st;
}

FtStatus FtdiSim::write(const QByteArray& bytes, int& written) {
    written = 0;
    if (const FtStatus st = check("write"); st != FtOk)
        return st;
    if (writeFails > 0) {
        --writeFails;
        return FtIoError;
    }
    written = int(bytes.size());
    writes.push_back(bytes);
    handleFrame(bytes);
    return FtOk;
}

void FtdiSim::handleFrame(const QByteArray& bytes) {
    std::vector<CanMessage> candidates = std::move(spontaneous_);
    spontaneous_.clear();
    if (bytes.size() != FrameSize || !bytes.startsWith(Head) || !bytes.endsWith(Tail)) {
        badWrites.push_back(bytes);
        return;
    }
    Frame f;
    f.accept = idAt(bytes, AcceptAt);
    f.message.id = idAt(bytes, TransmitAt);
    f.expected = {uint8_t(bytes[ExpectedAt]), uint8_t(bytes[ExpectedAt + 1])};
    for (int i = 0; i < 8; ++i)
        f.message.data[size_t(i)] = uint8_t(bytes[DataAt + i]);
    frames.push_back(f);

    std::vector<CanMessage> replies = model_.respond(f.message, Transport::Usb);
    // A tool that streams its button sensors: its next frame is on the bus while this one goes out.
    if (const auto frame = model_.nextButtonSensorFrame())
        replies.push_back(*frame);
    replies.insert(replies.end(), candidates.begin(), candidates.end());
    const auto chosen = std::find_if(replies.begin(), replies.end(),
                                     [&](const CanMessage& m) { return matches(m, f.accept, f.expected); });
    if (chosen == replies.end())
        return;
    ++repliesQueued;
    const QByteArray reply = replyFor(*chosen).left(std::clamp(replyLength, 0, int(ReplySize)));
    if (lateReply > 0) {
        --lateReply;
        pending_ += reply;
    } else {
        rx_ += reply;
    }
}

FtStatus FtdiSim::read(char* buffer, int size, int& got) {
    got = 0;
    if (const FtStatus st = check("read"); st != FtOk)
        return st;
    if (readFails > 0) {
        --readFails;
        return FtIoError;
    }
    got = std::min(size, int(rx_.size()));
    std::memcpy(buffer, rx_.constData(), size_t(got));
    rx_.remove(0, got);
    if (got < size && clock)
        clock->advance(std::max(readTimeoutMs, 0));
    // A late reply comes in after the read has given up.
    rx_ += pending_;
    pending_.clear();
    return FtOk;
}

FtStatus FtdiSim::close() {
    if (const FtStatus st = check("close"); st != FtOk)
        return st;
    open_ = false;
    ++closes;
    return FtOk;
}

} // namespace sim
