#include "link/ethernet.h"

#include "base/eventpump.h"
#include "link/ethernetlink.h"

#include <QDebug>

namespace clink {

namespace {
const QByteArray FrameHead = QByteArrayLiteral("%CAN");
const QByteArray FrameTail = QByteArrayLiteral("NAC%");
// Text that never completes a frame is not kept beyond this.
constexpr qsizetype MaxPendingText = 64 * 1024;
// Index of data byte 0 among the received fields.
constexpr int FirstDataField = 6;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
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

Ethernet::Ethernet(LinkState& state, EthernetLink& socket, base::EventPump& pump)
    : s_(state), socket_(socket), pump_(pump) {}

bool Ethernet::SendCanFrame(const CanFrameFields& fields) {
    const bool sent = socket_.send(canFrameText(fields));
    if (fields[8] != 0)
        pump_.waitUntil([this] { return s_.ReplyReady; }, SendWaitCycles * 2);
    return sent;
}

bool Ethernet::SendSerialNumberFrame(const QString& text) {
    return socket_.send("%CANSN" + text.toLatin1() + "NAC%\r\n");
}

void Ethernet::onDataArrival(const QByteArray& bytes) {
    s_.EthernetRxText += bytes;
    ParseReceivedData();
    pump_.wake();
}

Ethernet::FrameResult Ethernet::takeFrame(std::array<int, 8>& data, CanId& id) {
    QByteArray& text = s_.EthernetRxText;
    // Resynchronise: drop line ends and any text before the next frame head.
    const qsizetype head = text.indexOf(FrameHead);
    if (head < 0) {
        // Keep a tail that may be the start of a head still arriving.
        qsizetype keep = 0;
        for (qsizetype n = FrameHead.size() - 1; n > 0; --n) {
            if (text.endsWith(FrameHead.left(n))) {
                keep = n;
                break;
            }
        }
        text = text.right(keep);
        return FrameResult::Incomplete;
    }
    if (head > 0)
        text.remove(0, head);

    const qsizetype tail = text.indexOf(FrameTail, FrameHead.size());
    if (tail < 0) {
        if (text.size() > MaxPendingText)
            text.clear();
        return FrameResult::Incomplete;
    }
    // A head inside the frame means the first one was cut short: drop it and start at the second.
    const qsizetype nextHead = text.indexOf(FrameHead, 1);
    if (nextHead > 0 && nextHead < tail) {
        text.remove(0, nextHead);
        return FrameResult::Dropped;
    }

    const QByteArray frame = text.left(tail);
    qsizetype rest = tail + FrameTail.size();
    while (rest < text.size() && isLineEnd(text[rest]))
        ++rest;
    text.remove(0, rest);

    // Split at commas; the head lands in field 1 (as 0), the identifier image in 2..5, the data in 6..13.
    std::array<int, 19> fields{};
    int k = 1;
    QByteArray acc;
    bool valid = true;
    auto store = [&](bool isHead) {
        if (k > MaxFields) {
            valid = false;
            return;
        }
        int value = 0;
        if (!isHead) {
            bool ok = !acc.isEmpty();
            for (char c : acc)
                ok = ok && c >= '0' && c <= '9';
            const qlonglong v = ok && acc.size() <= 10 ? acc.toLongLong(&ok) : -1;
            if (!ok || v > MaxFieldValue) {
                valid = false;
                return;
            }
            value = int(v);
        }
        fields[size_t(k)] = value;
        ++k;
        acc.clear();
    };
    for (char c : frame) {
        if (c == ',')
            store(k == 1);
        else if (!isLineEnd(c))
            acc += c;
    }
    if (!valid) {
        qWarning() << "Ethernet: malformed frame dropped:" << frame;
        return FrameResult::Dropped;
    }
    s_.EthernetFields = fields;
    id = canIdFromImage(fields[2], fields[3], fields[4], fields[5]);
    for (size_t i = 0; i < 8; ++i)
        data[i] = fields[FirstDataField + i];
    return FrameResult::Parsed;
}

void Ethernet::ParseReceivedData() {
    for (;;) {
        std::array<int, 8> d{};
        CanId id = 0;
        const FrameResult r = takeFrame(d, id);
        if (r == FrameResult::Incomplete)
            return;
        if (r == FrameResult::Dropped)
            continue;
        dispatch(id, d);
        if (s_.FirstFrameOnly) {
            // The revision reply ends this block: the rest of it is dropped, later blocks are parsed.
            s_.EthernetRxText.clear();
            s_.FirstFrameOnly = false;
            return;
        }
    }
}

void Ethernet::dispatch(CanId id, const std::array<int, 8>& d) {
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
}

bool Ethernet::echoMatches(const std::array<int, 8>& d) const {
    return d[1] == s_.RequestData[1] && d[2] == s_.RequestData[2];
}

bool Ethernet::echoMatchesOptional3(const std::array<int, 8>& d) const {
    return echoMatches(d) && (s_.RequestData[3] == 0 || d[3] == s_.RequestData[3]);
}

bool Ethernet::storeData(int at, const std::array<int, 8>& d, int firstData, int count) {
    if (!DataBufferArray::fits(at, count)) {
        qWarning() << "Ethernet: reply beyond the receive buffer dropped";
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
        if (d[1] != RD[1])
            return;
        if (!A) {
            A = true;
            return;
        }
        if (storeData(s_.DataCount, d, 2, 6)) {
            s_.DataCount += 6;
            R = true;
        }
    } else if (code == 0x61) {
        if (!A)
            A = true;
        else if (d[1] == RD[1])
            R = true;
    } else if (code == 0x62) {
        if (!A) {
            A = true;
        } else if (d[1] == RD[2]) {
            if (storeData(s_.DataCount, d, 2, 6)) {
                s_.DataCount += 6;
                R = true;
            }
        }
    } else if (code == 0xA0) {
        if (s_.VersionReadPending && RD[2] == 1 && d[1] == RD[1]) {
            s_.DataBuffer.put(0, d[2]);
            s_.DataBuffer.put(1, d[3]);
            R = true;
        } else if (echoMatchesOptional3(d)) {
            if (!A)
                A = true;
            else
                R = true;
        } else if (!A) {
            A = true;
        } else {
            switch (d[1]) {
            case 0x71:
            case 0x72:
            case 0x73:
            case 0x74:
            case 0x76:
            case 0x81:
                R = true;
                break;
            case 0xA0:
                RD[1] = d[2];
                R = true;
                break;
            default:
                break;
            }
        }
    } else if (code == 0xEA) {
        if (!echoMatches(d))
            return;
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
    bool& A = s_.AckReceived;
    if (d[0] == 0xAA) {
        if (A) {
            s_.RequestData[1] = d[1];
            s_.RequestData[2] = d[2];
            s_.ReplyReady = true;
        } else {
            A = true;
        }
    } else if (d[0] == 0xDD) {
        if (A) {
            for (size_t i = 1; i <= 5; ++i)
                s_.RequestData[i] = d[i];
            s_.ReplyReady = true;
        } else {
            A = true;
        }
    }
}

void Ethernet::On10EF0301(const std::array<int, 8>& d) {
    if (d[0] != 0x10)
        return;
    buildSystemStatusRecord(s_, d);
    qDebug() << "Ethernet: status broadcast," << s_.SystemStatus.SystemStatusLines[3];
}

void Ethernet::On10EF0602(const std::array<int, 8>& d) {
    storeData(0, d, 0, 8);
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
    if (d[0] != 0x70)
        return;
    if (s_.AckReceived) {
        s_.RequestData[1] = d[1];
        s_.ReplyReady = true;
    } else {
        s_.AckReceived = true;
    }
}

void Ethernet::On11EF0604(const std::array<int, 8>& d) {
    bool& A = s_.AckReceived;
    if (d[0] == 0x01) {
        acknowledgeThenReply();
    } else if (d[0] == 0xDD) {
        if (A) {
            for (size_t i = 1; i <= 5; ++i)
                s_.RequestData[i] = d[i];
            s_.ReplyReady = true;
        } else {
            A = true;
        }
    } else if (d[0] == 0x30) {
        storeEchoedByte(d);
    }
}

void Ethernet::On12EF0106(const std::array<int, 8>& d) {
    if (d[0] != 0x30 || !echoMatches(d) || d[3] != s_.RequestData[3] || s_.ReplyReady)
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

void Ethernet::storeEchoedByte(const std::array<int, 8>& d) {
    // The echoed value is compared when the request names one (a write); reads leave RequestData(3) at 0.
    if (!echoMatchesOptional3(d))
        return;
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
        storeData(0, d, 0, 8);
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
        if (!echoMatchesOptional3(d))
            return;
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
        if (A) {
            RD[1] = d[1];
            RD[2] = d[2];
            s_.ReplyReady = true;
        } else {
            A = true;
        }
        break;
    case 0xDD:
        if (A) {
            for (size_t i = 1; i <= 5; ++i)
                RD[i] = d[i];
            s_.ReplyReady = true;
        } else {
            A = true;
        }
        break;
    case 0xDE: {
        for (size_t i = 1; i <= 5; ++i)
            if (d[i] != RD[i])
                return;
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
    s_.RequestData[1] = d[0];
    s_.RequestData[2] = d[7];
    s_.ReplyReady = true;
}

void Ethernet::On13EF0506(const std::array<int, 8>& d) {
    if (d[0] != 0x20 || !echoMatches(d) || d[3] != s_.RequestData[3])
        return;
    if (s_.AckReceived) {
        for (size_t i = 1; i <= 4; ++i)
            s_.RequestData[i] = d[3 + i];
        s_.ReplyReady = true;
    }
    s_.AckReceived = true;
}

void Ethernet::On13EF0D01(const std::array<int, 8>& d) {
    if (d[0] != 0xDD)
        return;
    if (s_.AckReceived) {
        for (size_t i = 1; i <= 5; ++i)
            s_.RequestData[i] = d[i];
        s_.ReplyReady = true;
    }
    s_.AckReceived = true;
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
    if (!storeData(s_.DataCount, d, 0, 8))
        return;
    s_.DataCount += 8;
    s_.ReplyReady = true;
}

} // namespace clink
