#include "service/filetransfer.h"

#include "service/xmodem.h"

namespace service {

namespace {
// How often the plain send looks at what the port still holds.
constexpr std::chrono::milliseconds DrainPoll{10};
} // namespace

FileTransfer::FileTransfer(base::SerialPort& port, const TransferTimings& timings)
    : port_(port), timings_(timings) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (active())
            timedOut();
    });
}

void FileTransfer::cancel() {
    finish(Outcome::Cancelled);
}

void FileTransfer::arm(std::chrono::milliseconds timeout) {
    timer_.start(timeout);
}

void FileTransfer::finish(Outcome outcome, const QString& why) {
    if (!active())
        return;
    timer_.stop();
    outcome_ = outcome;
    failure_ = why;
    emit finished();
}

bool FileTransfer::send(const QByteArray& bytes) {
    if (port_.write(bytes))
        return true;
    finish(Outcome::Failed, QStringLiteral("The port refused the data: ") + port_.errorText());
    return false;
}

void FileTransfer::setDone(qint64 bytes) {
    if (bytes == done_)
        return;
    done_ = bytes;
    emit progressed();
}

RawSender::RawSender(base::SerialPort& port, const QByteArray& file, const TransferTimings& timings)
    : FileTransfer(port, timings), data_(file) {
    connect(&poll_, &QTimer::timeout, this, &RawSender::check);
}

void RawSender::start() {
    if (!send(data_))
        return;
    left_ = port_.bytesToWrite();
    arm(timings_.reply);
    poll_.start(DrainPoll);
    check();
}

void RawSender::check() {
    if (!active()) {
        poll_.stop();
        return;
    }
    const qint64 left = port_.bytesToWrite();
    setDone(data_.size() - left);
    if (left == 0) {
        poll_.stop();
        finish(Outcome::Complete);
        return;
    }
    if (left < left_) {
        left_ = left;
        arm(timings_.reply);
    }
}

void RawSender::timedOut() {
    poll_.stop();
    finish(Outcome::Failed, QStringLiteral("The line did not take the file"));
}

std::unique_ptr<FileTransfer> makeSender(TransferProtocol protocol, base::SerialPort& port,
                                         const QByteArray& file, const TransferTimings& timings) {
    if (protocol == TransferProtocol::Raw)
        return std::make_unique<RawSender>(port, file, timings);
    return std::make_unique<xmodem::Sender>(port, file, timings);
}

namespace {
// A receive the plain protocol cannot make: it ends at once.
class NoReceiver : public FileTransfer {
public:
    using FileTransfer::FileTransfer;
    void start() override {
        finish(Outcome::Failed, QStringLiteral("The plain protocol cannot receive a file"));
    }
    void received(const QByteArray&) override {}

protected:
    void timedOut() override {}
};
} // namespace

std::unique_ptr<FileTransfer> makeReceiver(TransferProtocol protocol, base::SerialPort& port,
                                           const TransferTimings& timings) {
    if (protocol == TransferProtocol::Raw)
        return std::make_unique<NoReceiver>(port, timings);
    return std::make_unique<xmodem::Receiver>(port, timings);
}

} // namespace service
