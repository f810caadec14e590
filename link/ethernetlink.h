#pragma once
// The TCP connection to the Ethernet dongle. One socket, shared by the main window's reconnect timer,
// the connection window and every transaction; its state is reported in the codes the program has always
// used for its socket (0 closed, 4 host lookup, 6 connecting, 7 connected, 8 closing, 9 error).

#include "link/ethernettransport.h"

#include <QTcpSocket>

namespace clink {

class EthernetLink : public EthernetTransport {
    Q_OBJECT
public:
    explicit EthernetLink(QObject* parent = nullptr);

    int state() const override;
    void connectTo(const QString& host, quint16 port) override;
    void close() override;
    bool send(const QByteArray& bytes) override;
    QByteArray takePending() override;

    // Received bytes are delivered in chunks of at most this size, each from its own turn of the event
    // loop, so a flood of text leaves the windows time to repaint.
    static constexpr qint64 MaxChunk = 64 * 1024;
    // The socket holds at most this much received text. A device that sends faster than the program
    // parses fills it; what is then waiting beyond one chunk is dropped, so memory stays bounded and the
    // parser takes up again at the next whole frame.
    static constexpr qint64 MaxReadBuffer = 256 * 1024;

    // Received bytes dropped because the program fell a whole buffer behind, since the link was built.
    qint64 droppedBytes() const { return dropped_; }

private:
    // Delivers one chunk; what is left is delivered from the next turn of the event loop.
    void deliverChunk();

    QTcpSocket socket_;
    bool error_ = false;
    bool chunkQueued_ = false;
    qint64 dropped_ = 0;
};

} // namespace clink
