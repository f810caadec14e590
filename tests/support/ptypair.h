#pragma once
// A pseudo-terminal pair for serial-port tests: the program opens portPath() as its serial port, and the
// test talks to it from the other end as the peer device would (a logger, a barcode reader, a terminal).
// QSerialPortInfo does not list pseudo-terminals: open the port by this full path. Modem-line controls fail
// on a pseudo-terminal; a port must treat that as harmless.

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

#include <termios.h>

class QSocketNotifier;

namespace testsupport {

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool isOpen() const { return peer_ >= 0; }
    // The device path of the port end ("/dev/pts/N").
    QString portPath() const { return path_; }

    // The peer sends bytes to the port.
    bool write(const QByteArray& bytes);
    // What the port has sent, waiting (in the event loop) up to ms until at least count bytes are there.
    QByteArray read(int count, int ms = 2000);
    // Hands what the port sends to a peer device as it arrives (in the event loop); read() then finds
    // nothing.
    void onPeerData(std::function<void(const QByteArray&)> handler);
    // The port end's line settings as the port left them.
    termios portSettings() const;

private:
    QByteArray readAvailable();

    int peer_ = -1;
    int port_ = -1;
    QString path_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void(const QByteArray&)> handler_;
};

} // namespace testsupport
