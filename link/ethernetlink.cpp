#include "link/ethernetlink.h"

#include <QTimer>

#include <algorithm>

namespace clink {

EthernetLink::EthernetLink(QObject* parent) : EthernetTransport(parent) {
    socket_.setReadBufferSize(MaxReadBuffer);
    connect(&socket_, &QTcpSocket::readyRead, this, &EthernetLink::deliverChunk);
    connect(&socket_, &QAbstractSocket::disconnected, this, &EthernetLink::dropped);
    connect(&socket_, &QAbstractSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) {
        error_ = true;
        emit stateChanged(state());
    });
    connect(&socket_, &QAbstractSocket::stateChanged, this, [this](QAbstractSocket::SocketState s) {
        if (s == QAbstractSocket::ConnectedState) {
            error_ = false;
            socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        }
        emit stateChanged(state());
    });
}

int EthernetLink::state() const {
    switch (socket_.state()) {
    case QAbstractSocket::HostLookupState:
        return HostLookup;
    case QAbstractSocket::ConnectingState:
        return Connecting;
    case QAbstractSocket::ConnectedState:
        return Connected;
    case QAbstractSocket::ClosingState:
        return Closing;
    case QAbstractSocket::UnconnectedState:
        return error_ ? Error : Closed;
    default:
        return Closed;
    }
}

void EthernetLink::connectTo(const QString& host, quint16 port) {
    socket_.abort();
    error_ = false;
    socket_.connectToHost(host, port);
}

void EthernetLink::close() {
    socket_.abort();
    error_ = false;
}

void EthernetLink::deliverChunk() {
    // A full buffer means the device sends faster than the program takes it: the backlog is dropped
    // (after the chunk delivered now), else it would only grow.
    const bool behind = socket_.bytesAvailable() >= MaxReadBuffer;
    const QByteArray bytes = socket_.read(MaxChunk);
    if (behind) {
        const qint64 skipped = socket_.skip(socket_.bytesAvailable());
        dropped_ += std::max<qint64>(skipped, 0);
    }
    if (socket_.bytesAvailable() > 0 && !chunkQueued_) {
        chunkQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            chunkQueued_ = false;
            deliverChunk();
        });
    }
    if (!bytes.isEmpty())
        emit dataArrived(bytes);
    if (behind)
        emit dataDropped();
}

QByteArray EthernetLink::takePending() {
    return socket_.bytesAvailable() > 0 ? socket_.readAll() : QByteArray();
}

bool EthernetLink::send(const QByteArray& bytes) {
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return false;
    if (socket_.write(bytes) != bytes.size())
        return false;
    socket_.flush();
    return true;
}

} // namespace clink
