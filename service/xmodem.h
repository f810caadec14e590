#pragma once
// XMODEM, the file-transfer protocol of code 1 (see filetransfer.h): the sending and the receiving end.

#include "service/filetransfer.h"

#include <cstdint>

namespace service::xmodem {

inline constexpr char SOH = 0x01;
inline constexpr char EOT = 0x04;
inline constexpr char ACK = 0x06;
inline constexpr char NAK = 0x15;
inline constexpr char CAN = 0x18;
inline constexpr char SUB = 0x1A;
// The receiving end asks for CRC-16 blocks with this in place of NAK.
inline constexpr char CrcRequest = 'C';
inline constexpr int BlockSize = 128;
// SOH, block number, its complement.
inline constexpr int HeaderSize = 3;
inline constexpr int ChecksumBlockSize = HeaderSize + BlockSize + 1;

// The 8-bit sum of the data bytes.
uint8_t checksum(const QByteArray& data);
// CRC-16 with the polynomial 0x1021 and start value 0 (the XMODEM-CRC check).
uint16_t crc16(const QByteArray& data);
// One block as sent: SOH, number, complement, the data padded with SUB to 128 bytes, checksum or CRC
// (high byte first).
QByteArray block(uint8_t number, const QByteArray& data, bool crc);

// What both ends share: an abort tells the other end with two CAN, and two CAN from it end the transfer.
class Endpoint : public FileTransfer {
    Q_OBJECT
public:
    using FileTransfer::FileTransfer;
    void cancel() override;

protected:
    // Aborts the transfer as failed for this reason.
    void fail(const QString& why);
    // Counts CAN bytes in a row; true (and the transfer failed) when the other end aborted.
    bool abortedBy(char byte);

private:
    int cans_ = 0;
};

class Sender : public Endpoint {
    Q_OBJECT
public:
    Sender(base::SerialPort& port, const QByteArray& file, const TransferTimings& timings);
    void start() override;
    void received(const QByteArray& bytes) override;

protected:
    void timedOut() override;

private:
    enum class Step { Start, BlockReply, EndReply };

    void sendBlock();
    void sendEnd();
    // Sends the block or the end again after a NAK or a time-out; fails for this reason after too many.
    void retry(const QString& whyWhenSpent);

    QByteArray data_;
    Step step_ = Step::Start;
    bool crc_ = false;
    int blockIndex_ = 0;
    int tries_ = 0;
};

class Receiver : public Endpoint {
    Q_OBJECT
public:
    Receiver(base::SerialPort& port, const TransferTimings& timings);
    void start() override;
    void received(const QByteArray& bytes) override;

protected:
    void timedOut() override;

private:
    // Takes a whole block; false when the transfer ended on it.
    bool takeBlock();
    // Asks for the block again (or the first one); fails after too many.
    void askAgain();

    QByteArray pending_;
    bool inBlock_ = false;
    bool started_ = false;
    uint8_t expected_ = 1;
    int tries_ = 0;
};

} // namespace service::xmodem
