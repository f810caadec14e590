#pragma once
// Moving a file over the DSM unit's serial line. The terminal's transfer scripts choose the protocol by its
// code; each protocol is an engine behind FileTransfer, so that a DSM needing another one takes another
// engine and the scripts stay as they are:
//   code 0 sends the file's bytes as they are, with no handshake: the DSM reads a match file of known size;
//   code 1 is XMODEM: 128-byte blocks numbered from 1, each answered ACK or NAK, an 8-bit checksum (a CRC-16
//          when the receiving end asks with 'C'), EOT at the end, two CAN to abort, the last block padded
//          with SUB (0x1A) bytes, which the receiving end strips.
// An engine writes to the port itself and takes the port's bytes from its owner while it runs; its own
// time-outs and retries bound every transfer, and its end (complete, failed, cancelled) is told once.

#include "base/serialport.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

namespace service {

enum class TransferProtocol {
    Raw = 0,
    Xmodem = 1,
};

struct TransferTimings {
    // A sender waits this long for the receiving end to ask for the first block.
    std::chrono::milliseconds start{60000};
    // A sender waits this long for the answer to a block (the plain send: for the port to take bytes).
    std::chrono::milliseconds reply{10000};
    // A receiver asks again for a block when none has begun within this time.
    std::chrono::milliseconds block{10000};
    // A receiver gives up on a begun block when its bytes stop for this long.
    std::chrono::milliseconds character{1000};
    // Failed tries of one block (or of the start) before the transfer fails.
    int retries = 10;
};

class FileTransfer : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Running, Complete, Failed, Cancelled };

    FileTransfer(base::SerialPort& port, const TransferTimings& timings);

    bool active() const { return outcome_ == Outcome::Running; }
    Outcome outcome() const { return outcome_; }
    // Why the transfer failed.
    QString failure() const { return failure_; }
    // File bytes sent or received so far.
    qint64 bytesDone() const { return done_; }
    // The received file, once a receive is complete.
    const QByteArray& receivedFile() const { return file_; }

    // Begins the transfer; called once, after the owner is ready to hand it the port's bytes.
    virtual void start() = 0;
    // Bytes the port received while the transfer runs.
    virtual void received(const QByteArray& bytes) = 0;
    // Stops the transfer, telling the other end where the protocol can.
    virtual void cancel();

signals:
    void progressed();
    void finished();

protected:
    // The time set by arm() ran out.
    virtual void timedOut() = 0;

    // (Re)starts the one time-out of the engine.
    void arm(std::chrono::milliseconds timeout);
    void finish(Outcome outcome, const QString& why = {});
    // Writes to the port; a refused write fails the transfer.
    bool send(const QByteArray& bytes);
    void setDone(qint64 bytes);

    base::SerialPort& port_;
    const TransferTimings timings_;
    QByteArray file_;

private:
    QTimer timer_;
    Outcome outcome_ = Outcome::Running;
    QString failure_;
    qint64 done_ = 0;
};

// The engine that sends a file's bytes with the protocol of this code (not started yet).
std::unique_ptr<FileTransfer> makeSender(TransferProtocol protocol, base::SerialPort& port,
                                         const QByteArray& file, const TransferTimings& timings = {});
// The engine that receives a file with the protocol of this code (not started yet). The plain protocol
// cannot tell where a file ends: its receive fails as it starts.
std::unique_ptr<FileTransfer> makeReceiver(TransferProtocol protocol, base::SerialPort& port,
                                           const TransferTimings& timings = {});

// The plain send: the file's bytes to the port; complete once the port has handed them all to the device.
class RawSender : public FileTransfer {
    Q_OBJECT
public:
    RawSender(base::SerialPort& port, const QByteArray& file, const TransferTimings& timings);
    void start() override;
    void received(const QByteArray&) override {}

protected:
    void timedOut() override;

private:
    void check();

    QByteArray data_;
    QTimer poll_;
    qint64 left_ = 0;
};

} // namespace service
