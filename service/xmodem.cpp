#include "service/xmodem.h"

namespace service::xmodem {

namespace {
constexpr uint16_t CrcPolynomial = 0x1021;
constexpr int BitsPerByte = 8;
// Two CAN in a row abort a transfer.
constexpr int CansToAbort = 2;
const QByteArray Abort(CansToAbort, CAN);

const QString NoStart = QStringLiteral("The other end did not start the transfer");
const QString NoAnswer = QStringLiteral("The other end stopped answering");
const QString TooManyErrors = QStringLiteral("Too many errors on the line");
const QString CancelledByPeer = QStringLiteral("The other end cancelled the transfer");
const QString OutOfSequence = QStringLiteral("Blocks arrived out of sequence");
} // namespace

uint8_t checksum(const QByteArray& data) {
    uint8_t sum = 0;
    for (char byte : data)
        sum = uint8_t(sum + uint8_t(byte));
    return sum;
}

uint16_t crc16(const QByteArray& data) {
    uint16_t crc = 0;
    for (char byte : data) {
        crc = uint16_t(crc ^ (uint16_t(uint8_t(byte)) << BitsPerByte));
        for (int bit = 0; bit < BitsPerByte; ++bit)
            crc = (crc & 0x8000) ? uint16_t((crc << 1) ^ CrcPolynomial) : uint16_t(crc << 1);
    }
    return crc;
}

QByteArray block(uint8_t number, const QByteArray& data, bool crc) {
    QByteArray payload = data.left(BlockSize);
    payload.append(BlockSize - payload.size(), SUB);
    QByteArray out;
    out.append(SOH);
    out.append(char(number));
    out.append(char(uint8_t(~number)));
    out.append(payload);
    if (crc) {
        const uint16_t check = crc16(payload);
        out.append(char(check >> BitsPerByte));
        out.append(char(check & 0xFF));
    } else {
        out.append(char(checksum(payload)));
    }
    return out;
}

// ---- both ends

void Endpoint::cancel() {
    if (!active())
        return;
    port_.write(Abort);
    finish(Outcome::Cancelled);
}

void Endpoint::fail(const QString& why) {
    port_.write(Abort);
    finish(Outcome::Failed, why);
}

bool Endpoint::abortedBy(char byte) {
    cans_ = byte == CAN ? cans_ + 1 : 0;
    if (cans_ < CansToAbort)
        return false;
    finish(Outcome::Failed, CancelledByPeer);
    return true;
}

// ---- sending end

Sender::Sender(base::SerialPort& port, const QByteArray& file, const TransferTimings& timings)
    : Endpoint(port, timings), data_(file) {}

void Sender::start() {
    step_ = Step::Start;
    arm(timings_.start);
}

void Sender::received(const QByteArray& bytes) {
    for (char byte : bytes) {
        if (!active())
            return;
        if (abortedBy(byte))
            return;
        switch (step_) {
        case Step::Start:
            // Anything before the first request (the echo of a command, a prompt) is passed over.
            if (byte == NAK || byte == CrcRequest) {
                crc_ = byte == CrcRequest;
                sendBlock();
                // Further requests in the same piece were sent before the block arrived.
                return;
            }
            break;
        case Step::BlockReply:
            if (byte == ACK) {
                ++blockIndex_;
                tries_ = 0;
                setDone(std::min<qint64>(qint64(blockIndex_) * BlockSize, data_.size()));
                if (qint64(blockIndex_) * BlockSize < data_.size())
                    sendBlock();
                else
                    sendEnd();
                return;
            }
            if (byte == NAK) {
                retry(TooManyErrors);
                return;
            }
            break;
        case Step::EndReply:
            if (byte == ACK) {
                finish(Outcome::Complete);
                return;
            }
            if (byte == NAK) {
                retry(TooManyErrors);
                return;
            }
            break;
        }
    }
}

void Sender::sendBlock() {
    if (data_.isEmpty()) {
        sendEnd();
        return;
    }
    step_ = Step::BlockReply;
    // Blocks are numbered from 1, modulo 256.
    const auto number = uint8_t(blockIndex_ + 1);
    if (send(block(number, data_.mid(qsizetype(blockIndex_) * BlockSize, BlockSize), crc_)))
        arm(timings_.reply);
}

void Sender::sendEnd() {
    step_ = Step::EndReply;
    if (send(QByteArray(1, EOT)))
        arm(timings_.reply);
}

void Sender::retry(const QString& whyWhenSpent) {
    if (++tries_ >= timings_.retries) {
        fail(whyWhenSpent);
        return;
    }
    if (step_ == Step::EndReply)
        sendEnd();
    else
        sendBlock();
}

void Sender::timedOut() {
    if (step_ == Step::Start)
        fail(NoStart);
    else
        retry(NoAnswer);
}

// ---- receiving end

Receiver::Receiver(base::SerialPort& port, const TransferTimings& timings) : Endpoint(port, timings) {}

void Receiver::start() {
    // Checksum blocks are asked for with NAK.
    if (send(QByteArray(1, NAK)))
        arm(timings_.block);
}

void Receiver::received(const QByteArray& bytes) {
    for (char byte : bytes) {
        if (!active())
            return;
        if (inBlock_) {
            pending_.append(byte);
            if (pending_.size() == ChecksumBlockSize && !takeBlock())
                return;
            continue;
        }
        if (abortedBy(byte))
            return;
        if (byte == SOH) {
            inBlock_ = true;
            started_ = true;
            pending_ = QByteArray(1, SOH);
        } else if (byte == EOT) {
            // Also before any block: the sender had an empty file.
            send(QByteArray(1, ACK));
            // The last block was padded to its full size.
            while (file_.endsWith(SUB))
                file_.chop(1);
            setDone(file_.size());
            finish(Outcome::Complete);
            return;
        }
        // Anything else between blocks (the echo of a command, a prompt, line noise) is passed over.
    }
    // A begun block is given up only when its bytes stop, however slow the line.
    if (inBlock_ && active())
        arm(timings_.character);
}

bool Receiver::takeBlock() {
    inBlock_ = false;
    const auto number = uint8_t(pending_[1]);
    const auto complement = uint8_t(pending_[2]);
    const QByteArray payload = pending_.mid(HeaderSize, BlockSize);
    const bool sound = uint8_t(number + complement) == 0xFF && checksum(payload) == uint8_t(pending_.back());
    pending_.clear();
    if (!sound) {
        askAgain();
        return active();
    }
    if (number == expected_) {
        file_.append(payload);
        ++expected_;
        tries_ = 0;
        setDone(file_.size());
    } else if (number != uint8_t(expected_ - 1)) {
        fail(OutOfSequence);
        return false;
    }
    // A block sent again because its ACK was lost is acknowledged and not kept twice.
    if (!send(QByteArray(1, ACK)))
        return false;
    arm(timings_.block);
    return true;
}

void Receiver::askAgain() {
    if (++tries_ >= timings_.retries) {
        fail(started_ ? TooManyErrors : NoStart);
        return;
    }
    if (send(QByteArray(1, NAK)))
        arm(timings_.block);
}

void Receiver::timedOut() {
    inBlock_ = false;
    pending_.clear();
    askAgain();
}

} // namespace service::xmodem
