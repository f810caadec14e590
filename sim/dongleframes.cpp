#include "sim/dongleframes.h"

#include <QList>

#include <algorithm>
#include <array>

namespace sim {

namespace ids = clink::ids;

namespace {
const QByteArray Head = QByteArrayLiteral("%CAN");
const QByteArray Tail = QByteArrayLiteral("NAC%");
constexpr int FrameFields = 16;
constexpr int ToolDataCode = 0xD1;
} // namespace

QByteArray DongleFrameReader::replyText(const clink::CanMessage& message) {
    QByteArray text = Head;
    for (int b : clink::canIdImage(message.id))
        text += ',' + QByteArray::number(b);
    for (int b : message.data)
        text += ',' + QByteArray::number(b);
    text += ",NAC%\r\n";
    return text;
}

void DongleFrameReader::feed(const QByteArray& bytes, const OnFrame& onFrame, const OnOther& onOther) {
    input_ += bytes;
    qsizetype pos = 0;
    for (;;) {
        // Skip line ends and text up to the next frame head.
        const qsizetype head = input_.indexOf(Head, pos);
        if (head < 0) {
            pos = std::max(pos, input_.size() - (Head.size() - 1));
            break;
        }
        const qsizetype tail = input_.indexOf(Tail, head + Head.size());
        if (tail < 0) {
            pos = head;
            break;
        }
        // A head inside the frame: the frame before it was cut short; the new one starts there.
        const qsizetype start = std::max(head, input_.lastIndexOf(Head, tail - Head.size()));
        const QByteArray body = input_.mid(start + Head.size(), tail - start - Head.size());
        pos = tail + Tail.size();
        handle(body, onFrame, onOther);
    }
    input_.remove(0, pos);
    if (input_.size() > MaxPendingInput)
        input_.clear();
}

void DongleFrameReader::handle(const QByteArray& body, const OnFrame& onFrame, const OnOther& onOther) {
    // "%CANSN..." serial-number frames and the plain-text message form are other texts.
    if (!body.startsWith(',')) {
        onOther(Head + body + Tail);
        return;
    }
    const QList<QByteArray> parts = body.mid(1).split(',');
    // The body ends with "," before "NAC%", so the last part is empty.
    if (parts.size() != FrameFields + 1) {
        onOther(Head + body + Tail);
        return;
    }
    std::array<int, FrameFields> f{};
    for (int i = 0; i < FrameFields; ++i) {
        bool ok = false;
        f[size_t(i)] = parts[i].trimmed().toInt(&ok);
        if (!ok || f[size_t(i)] < 0 || f[size_t(i)] > 255) {
            onOther(Head + body + Tail);
            return;
        }
    }
    auto id = [&](int first) {
        return clink::CanId((uint32_t(f[size_t(first)]) << 24) | (uint32_t(f[size_t(first + 1)]) << 16) |
                            (uint32_t(f[size_t(first + 2)]) << 8) | uint32_t(f[size_t(first + 3)]));
    };
    clink::CanMessage message{id(4), {}};
    for (int i = 0; i < 8; ++i)
        message.data[size_t(i)] = f[size_t(8 + i)];
    onFrame(id(0), message);
}

bool acknowledgedFirst(const clink::CanMessage& message) {
    switch (message.id) {
    case ids::ButtonReply:   // stored whole on arrival
    case ids::DspReply:      // stored on the first matching frame
    case ids::StatusRequest: // status and serial-output mode
    case ids::CommandRequest:
    case ids::StatusBroadcast:
    case ids::BlockReply:
    case ids::RunData:     // the controller's own report, opened by its own start frame
    case ids::CurveReply2: // no handler on this link
    case ids::CurveRequest2:
        return false;
    case ids::ToolReply:
        // Tool data waits for a second frame; the DSP's revision comes with its own acknowledgement, and
        // the other codes are stored at once.
        return message.data[0] == ToolDataCode;
    default:
        return true;
    }
}

} // namespace sim
