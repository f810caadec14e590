#include "sim/tcpdongle.h"

#include <QThread>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

namespace sim {

namespace ids = clink::ids;

namespace {
const QByteArray Tail = QByteArrayLiteral("NAC%");
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
            reader_.clear();
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
    return DongleFrameReader::replyText(message);
}

bool TcpDongle::acknowledgedFirst(const CanMessage& message) {
    return sim::acknowledgedFirst(message);
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
    QByteArray out;
    reader_.feed(
        client_->readAll(),
        [&](CanId accept, const CanMessage& message) { handleFrame(accept, message, out); },
        [this](const QByteArray& text) { otherFrames.push_back(text); });
    if (coalesce)
        write(out);
}

void TcpDongle::handleFrame(CanId accept, const CanMessage& message, QByteArray& out) {
    acceptId_ = accept;
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
    if (previousInFront)
        out += std::exchange(lastPassed_, replyText(message));
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
