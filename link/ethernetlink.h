#pragma once
// The TCP connection to the Ethernet dongle. One socket, shared by the main window's reconnect timer,
// the connection window and every transaction; its state is reported in the codes the program has always
// used for its socket (0 closed, 4 host lookup, 6 connecting, 7 connected, 8 closing, 9 error).

#include <QObject>
#include <QTcpSocket>

namespace clink {

class EthernetLink : public QObject {
    Q_OBJECT
public:
    enum State : int { Closed = 0, HostLookup = 4, Connecting = 6, Connected = 7, Closing = 8, Error = 9 };

    explicit EthernetLink(QObject* parent = nullptr);

    int state() const;
    bool isConnected() const { return state() == Connected; }
    // Drops any connection and starts a new one.
    void connectTo(const QString& host, quint16 port);
    void close();
    // Writes the bytes; false when the socket is not connected.
    bool send(const QByteArray& bytes);
    // Drops the received bytes not yet delivered.
    void discardPending();

    // Received bytes are delivered in chunks of at most this size, each from its own turn of the event
    // loop, so a flood of text leaves the windows time to repaint.
    static constexpr qint64 MaxChunk = 64 * 1024;
    // The socket holds at most this much received text. A device that sends faster than the program
    // parses fills it; what is then waiting beyond one chunk is dropped, so memory stays bounded and the
    // parser takes up again at the next whole frame.
    static constexpr qint64 MaxReadBuffer = 256 * 1024;

    // Received bytes dropped because the program fell a whole buffer behind, since the link was built.
    qint64 droppedBytes() const { return dropped_; }

signals:
    void dataArrived(const QByteArray& bytes);
    // Received text was dropped after the last delivered chunk: what comes next does not continue it.
    void dataDropped();
    void stateChanged(int state);
    // The connection was up and is gone (closed by the device, lost, or closed here).
    void dropped();

private:
    // Delivers one chunk; what is left is delivered from the next turn of the event loop.
    void deliverChunk();

    QTcpSocket socket_;
    bool error_ = false;
    bool chunkQueued_ = false;
    qint64 dropped_ = 0;
};

} // namespace clink
