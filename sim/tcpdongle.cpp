#include "sim/tcpdongle.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace sim {

namespace ids = clink::ids;

namespace {
const QByteArray Head = QByteArrayLiteral("%CAN");
const QByteArray Tail = QByteArrayLiteral("NAC%");
constexpr int FrameFields = 16;
constexpr int ToolDataCode = 0xD1;
} // namespace

TcpDongle::TcpDongle(ControllerModel& model, QObject* parent) : QObject(parent), model_(model) {
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* next = server_.nextPendingConnection()) {
            if (client_) {
                // One client at a time: a newer connection replaces the old one.
                client_->abort();
                client_->deleteLater();
            }
            client_ = next;
            client_->setParent(this);
            client_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
            input_.clear();
            acceptId_ = 0;
            connect(client_, &QTcpSocket::readyRead, this, &TcpDongle::onReadyRead);
        }
    });
    trickleTimer_.setInterval(0);
    connect(&trickleTimer_, &QTimer::timeout, this, [this] {
        if (trickle_.isEmpty() || !client_) {
            trickle_.clear();
            trickleTimer_.stop();
            return;
        }
        client_->write(trickle_.left(1));
        client_->flush();
        trickle_.remove(0, 1);
    });
    buttonStream_.setInterval(ButtonStreamPeriodMs);
    buttonStream_.setTimerType(Qt::PreciseTimer);
    connect(&buttonStream_, &QTimer::timeout, this, [this] {
        if (const auto frame = model_.nextButtonSensorFrame())
            emitSpontaneous(*frame);
        else
            buttonStream_.stop();
    });
}

void TcpDongle::startReports(int everyMs) {
    connect(
        &reports_, &QTimer::timeout, this, [this] { write(replyText(model_.nextFault())); },
        Qt::UniqueConnection);
    reports_.start(everyMs);
}

bool TcpDongle::listen(quint16 port) {
    return server_.listen(QHostAddress::LocalHost, port);
}

QByteArray TcpDongle::replyText(const CanMessage& message) {
    QByteArray text = Head;
    for (int b : clink::canIdImage(message.id))
        text += ',' + QByteArray::number(b);
    for (int b : message.data)
        text += ',' + QByteArray::number(b);
    text += ",NAC%\r\n";
    return text;
}

bool TcpDongle::acknowledgedFirst(const CanMessage& message) {
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

void TcpDongle::emitSpontaneous(const CanMessage& message) {
    QByteArray out;
    queueReply(message, out);
    write(out);
}

void TcpDongle::armOnAccept(CanId acceptId, std::function<void()> action) {
    armedAccept_ = acceptId;
    armedAction_ = std::move(action);
}

void TcpDongle::dropClient() {
    if (client_)
        client_->disconnectFromHost();
}

qint64 TcpDongle::flood(const CanMessage& message, qint64 bytes) {
    if (!client_ || bytes <= 0)
        return 0;
    const QByteArray frame = replyText(message);
    const qint64 copies = (bytes + frame.size() - 1) / frame.size();
    const QByteArray text = frame.repeated(copies);
    return client_->write(text);
}

void TcpDongle::onReadyRead() {
    if (!client_)
        return;
    input_ += client_->readAll();
    QByteArray out;
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
        const QByteArray frame = input_.mid(start + Head.size(), tail - start - Head.size());
        pos = tail + Tail.size();
        handleFrame(frame, out);
    }
    input_.remove(0, pos);
    if (input_.size() > MaxPendingInput)
        input_.clear();
    if (coalesce)
        write(out);
}

void TcpDongle::handleFrame(const QByteArray& body, QByteArray& out) {
    if (!body.startsWith(',')) {
        // "%CANSN..." serial-number frames and the plain-text message form get no reply.
        otherFrames.push_back(Head + body + Tail);
        return;
    }
    const QList<QByteArray> parts = body.mid(1).split(',');
    // The body ends with "," before "NAC%", so the last part is empty.
    if (parts.size() != FrameFields + 1) {
        otherFrames.push_back(Head + body + Tail);
        return;
    }
    std::array<int, FrameFields> f{};
    for (int i = 0; i < FrameFields; ++i) {
        bool ok = false;
        f[size_t(i)] = parts[i].trimmed().toInt(&ok);
        if (!ok || f[size_t(i)] < 0 || f[size_t(i)] > 255) {
            otherFrames.push_back(Head + body + Tail);
            return;
        }
    }
    auto id = [&](int first) {
        return CanId((uint32_t(f[size_t(first)]) << 24) | (uint32_t(f[size_t(first + 1)]) << 16) |
                     (uint32_t(f[size_t(first + 2)]) << 8) | uint32_t(f[size_t(first + 3)]));
    };
    acceptId_ = id(0);
    CanMessage message{id(4), {}};
    for (int i = 0; i < 8; ++i)
        message.data[size_t(i)] = f[size_t(8 + i)];
    frames.push_back({acceptId_, message});

    for (const CanMessage& reply : model_.respond(message, Transport::Ethernet))
        queueReply(reply, out);
    if (model_.buttonStreamRunning() && !buttonStream_.isActive())
        buttonStream_.start();
    if (!coalesce) {
        write(out);
        out.clear();
    }
    if (armedAction_ && acceptId_ == armedAccept_) {
        auto action = std::move(armedAction_);
        armedAction_ = nullptr;
        action();
    }
}

void TcpDongle::queueReply(const CanMessage& message, QByteArray& out) {
    // The dongle passes only the identifier it was last asked to accept.
    if (acceptId_ == 0 || message.id != acceptId_)
        return;
    int copies = ackThenReply && acknowledgedFirst(message) ? 2 : 1;
    if (duplicateReplies)
        copies *= 2;
    for (int c = 0; c < copies; ++c) {
        ++repliesSeen_;
        if (dropReplyNumber != 0 && repliesSeen_ == dropReplyNumber)
            continue;
        const QByteArray text = garbageBetween + replyText(message);
        if (duplicateReplies && repeatGapMs >= 0 && c % 2 == 1)
            repeats_.push_back(text);
        else
            out += text;
    }
    if (staleStatusMs > 0 && message.id == ids::StatusRequest)
        schedule(replyText(message), replyDelay + staleStatusMs);
}

void TcpDongle::write(const QByteArray& bytes) {
    const QList<QByteArray> copies = std::exchange(repeats_, {});
    if (!client_)
        return;
    if (!bytes.isEmpty())
        schedule(bytes, replyDelay);
    const int step = std::max(frameGapMs, 0);
    for (qsizetype i = 0; i < copies.size(); ++i)
        schedule(copies[i], replyDelay + int(i) * step + repeatGapMs);
}

void TcpDongle::schedule(const QByteArray& bytes, int delayMs) {
    std::vector<QByteArray> parts;
    if (frameGapMs < 0) {
        parts.push_back(bytes);
    } else {
        QByteArray rest = bytes;
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf(Tail);
            qsizetype cut = end < 0 ? rest.size() : end + Tail.size();
            while (cut < rest.size() && (rest[cut] == '\r' || rest[cut] == '\n'))
                ++cut;
            parts.push_back(rest.left(cut));
            rest.remove(0, cut);
        }
    }
    QPointer<QTcpSocket> client = client_;
    for (size_t i = 0; i < parts.size(); ++i) {
        const int at = delayMs + int(i) * std::max(frameGapMs, 0);
        auto send = [this, client, part = parts[i]] {
            if (client && client == client_)
                sendNow(part);
        };
        if (at > 0)
            QTimer::singleShot(at, this, send);
        else
            send();
    }
}

void TcpDongle::sendNow(const QByteArray& bytes) {
    if (!client_ || client_->state() != QAbstractSocket::ConnectedState)
        return;
    QTcpSocket* client = client_;
    const int frameCount = int(bytes.count(Tail));
    if (bytePerTurn) {
        trickle_ += bytes;
        trickleTimer_.start();
    } else if (splitBytes) {
        for (char c : bytes) {
            client->write(&c, 1);
            client->flush();
        }
    } else if (splitBeforeLineEnd) {
        QByteArray rest = bytes;
        while (!rest.isEmpty()) {
            const qsizetype end = rest.indexOf(Tail);
            const qsizetype cut = end < 0 ? rest.size() : end + Tail.size();
            client->write(rest.left(cut));
            client->flush();
            rest.remove(0, cut);
        }
    } else {
        client->write(bytes);
        client->flush();
    }
    repliesSent_ += frameCount;
    if (closeAfterReplies != 0 && repliesSent_ >= closeAfterReplies)
        client->disconnectFromHost();
}

} // namespace sim
