#include "sim/serial/fakedsm.h"

namespace sim {

namespace {
constexpr char SOH = 0x01;
constexpr char EOT = 0x04;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr char CAN = 0x18;
constexpr char SUB = 0x1A;
constexpr char CR = '\r';
constexpr int BlockData = 128;
constexpr int ChecksumBlock = 3 + BlockData + 1;

const QByteArray EnterCommands = QByteArrayLiteral("q ");
const QByteArray Unknown = QByteArrayLiteral("\r\nUnknown command");

QByteArray xmodemBlock(int number, QByteArray data, bool crc, bool spoil) {
    data.append(BlockData - data.size(), SUB);
    QByteArray out(1, SOH);
    out.append(char(number & 0xFF));
    out.append(char(0xFF - (number & 0xFF)));
    out.append(data);
    if (crc) {
        unsigned crcValue = 0;
        for (char c : data) {
            crcValue ^= unsigned(uint8_t(c)) << 8;
            for (int i = 0; i < 8; ++i)
                crcValue = (crcValue & 0x8000) ? ((crcValue << 1) ^ 0x1021) : (crcValue << 1);
        }
        out.append(char((crcValue >> 8) & 0xFF));
        out.append(char(crcValue & 0xFF));
    } else {
        int sum = 0;
        for (char c : data)
            sum += uint8_t(c);
        out.append(char(sum & 0xFF));
    }
    if (spoil)
        out.back() = char(out.back() ^ 0x5A);
    return out;
}
} // namespace

FakeDsm::FakeDsm(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        switch (state_) {
        case State::SendingData:
            resend();
            break;
        case State::ReceivingMatch:
            endMatch();
            break;
        case State::ReceivingProgram:
            if (started_ || ++tries_ >= timing.retries) {
                abort();
                return;
            }
            send(QByteArray(1, NAK));
            timer_.start(timing.nakInterval);
            break;
        case State::Running:
        case State::Prompt:
            break;
        }
    });
}

void FakeDsm::send(const QByteArray& bytes) {
    if (toProgram)
        toProgram(bytes);
}

void FakeDsm::fromProgram(const QByteArray& bytes) {
    received.append(bytes);
    for (char byte : bytes) {
        switch (state_) {
        case State::Running:
            if (last_ == EnterCommands[0] && byte == EnterCommands[1]) {
                commands.append(QString::fromLatin1(EnterCommands));
                toPrompt();
            }
            break;
        case State::Prompt:
            promptByte(byte);
            break;
        case State::SendingData:
            sendingByte(byte);
            break;
        case State::ReceivingMatch:
            matchFile.append(byte);
            if (matchFile.size() == MatchFileSize)
                endMatch();
            else
                timer_.start(timing.quiet);
            break;
        case State::ReceivingProgram:
            receivingByte(byte);
            break;
        }
        last_ = byte;
    }
}

void FakeDsm::toPrompt() {
    state_ = State::Prompt;
    line_.clear();
    timer_.stop();
    send(Prompt);
}

void FakeDsm::promptByte(char byte) {
    if (byte == CR) {
        const QString line = QString::fromLatin1(line_);
        line_.clear();
        commands.append(line);
        command(line);
        return;
    }
    line_.append(byte);
    if (echo)
        send(QByteArray(1, byte));
}

void FakeDsm::command(const QString& line) {
    send(QByteArrayLiteral("\r\n"));
    if (line == QLatin1String("down data.txt"))
        startSending();
    else if (line == QLatin1String("up match.txt"))
        startReceivingMatch();
    else if (line == QLatin1String("up dsm.exe"))
        startReceivingProgram();
    else if (line == QLatin1String("dsm"))
        state_ = State::Running;
    else {
        send(Unknown);
        send(Prompt);
    }
}

// ---- "down data.txt": the sending end

void FakeDsm::startSending() {
    state_ = State::SendingData;
    started_ = false;
    ending_ = false;
    block_ = 0;
    tries_ = 0;
    cans_ = 0;
    timer_.start(timing.startWait);
}

void FakeDsm::sendingByte(char byte) {
    cans_ = byte == CAN ? cans_ + 1 : 0;
    if (cans_ >= 2) {
        toPrompt();
        return;
    }
    if (!started_) {
        if (byte == NAK || byte == 'C') {
            started_ = true;
            crc_ = byte == 'C';
            block_ = 1;
            sendBlock();
        }
        return;
    }
    if (byte == ACK) {
        tries_ = 0;
        if (ending_) {
            ++transfersComplete;
            toPrompt();
            return;
        }
        ++block_;
        sendBlock();
    } else if (byte == NAK) {
        resend();
    }
}

void FakeDsm::sendBlock() {
    const qsizetype offset = qsizetype(block_ - 1) * BlockData;
    if (offset >= dataFile.size()) {
        ending_ = true;
        send(QByteArray(1, EOT));
    } else {
        const bool spoil = block_ == spoilBlock;
        if (spoil)
            spoilBlock = 0;
        send(xmodemBlock(block_, dataFile.mid(offset, BlockData), crc_, spoil));
    }
    timer_.start(timing.replyWait);
}

void FakeDsm::resend() {
    if (!started_ || ++tries_ >= timing.retries) {
        abort();
        return;
    }
    sendBlock();
}

// ---- "up match.txt": plain bytes

void FakeDsm::startReceivingMatch() {
    state_ = State::ReceivingMatch;
    matchFile.clear();
    timer_.start(timing.startWait);
}

void FakeDsm::endMatch() {
    if (matchFile.size() == MatchFileSize)
        ++transfersComplete;
    toPrompt();
}

// ---- "up dsm.exe": the receiving end

void FakeDsm::startReceivingProgram() {
    state_ = State::ReceivingProgram;
    started_ = false;
    tries_ = 0;
    cans_ = 0;
    expected_ = 1;
    pending_.clear();
    program.clear();
    send(QByteArray(1, NAK));
    timer_.start(timing.nakInterval);
}

void FakeDsm::receivingByte(char byte) {
    if (!pending_.isEmpty()) {
        pending_.append(byte);
        if (pending_.size() == ChecksumBlock)
            programBlock();
        return;
    }
    cans_ = byte == CAN ? cans_ + 1 : 0;
    if (cans_ >= 2) {
        program.clear();
        toPrompt();
        return;
    }
    if (byte == SOH) {
        started_ = true;
        pending_.append(byte);
        // A block whose bytes stop is given up.
        timer_.start(timing.replyWait);
    } else if (byte == EOT && started_) {
        send(QByteArray(1, ACK));
        while (program.endsWith(SUB))
            program.chop(1);
        ++transfersComplete;
        toPrompt();
    }
}

void FakeDsm::programBlock() {
    const QByteArray block = pending_;
    pending_.clear();
    const auto number = uint8_t(block[1]);
    const QByteArray data = block.mid(3, BlockData);
    int sum = 0;
    for (char c : data)
        sum += uint8_t(c);
    const bool sound =
        uint8_t(block[1]) + uint8_t(block[2]) == 0xFF && uint8_t(sum & 0xFF) == uint8_t(block.back());
    if (!sound || number == refuseBlock) {
        if (number == refuseBlock)
            refuseBlock = 0;
        send(QByteArray(1, NAK));
        return;
    }
    if (number == expected_) {
        program.append(data);
        ++expected_;
    }
    send(QByteArray(1, ACK));
}

void FakeDsm::abort() {
    send(QByteArray(2, CAN));
    toPrompt();
}

} // namespace sim
