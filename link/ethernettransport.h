#pragma once
// What the Ethernet link talks over: a connection that carries text both ways and reports its state in the
// codes the program has always used for its socket (0 closed, 4 host lookup, 6 connecting, 7 connected,
// 8 closing, 9 error). The program's is the TCP connection to the dongle (EthernetLink); a line given
// instead carries the same text without a socket, at the pace of the link's own clock and pump.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace clink {

class EthernetTransport : public QObject {
    Q_OBJECT
public:
    enum State : int { Closed = 0, HostLookup = 4, Connecting = 6, Connected = 7, Closing = 8, Error = 9 };

    using QObject::QObject;

    virtual int state() const = 0;
    bool isConnected() const { return state() == Connected; }
    // Drops any connection and starts a new one.
    virtual void connectTo(const QString& host, quint16 port) = 0;
    virtual void close() = 0;
    // Writes the bytes; false when not connected.
    virtual bool send(const QByteArray& bytes) = 0;
    // The received bytes not yet delivered, taken now instead.
    virtual QByteArray takePending() = 0;

signals:
    void dataArrived(const QByteArray& bytes);
    // Received text was dropped after the last delivered chunk: what comes next does not continue it.
    void dataDropped();
    void stateChanged(int state);
    // The connection was up and is gone (closed by the device, lost, or closed here).
    void dropped();
};

} // namespace clink
