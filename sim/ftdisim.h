#pragma once
// The USB dongle as a simulated serial converter: takes the 26-byte frames written to it, hands each
// message to the controller model, and queues the 16-byte reply the dongle would pass back: the first
// candidate frame on the accept identifier whose data bytes 0 and 1 match the expected bytes (0 matches
// any value). When nothing matches, a read returns no bytes at once: a read time-out without the wait.

#include "link/canid.h"
#include "link/ftdidevice.h"
#include "link/linkclock.h"
#include "sim/controllermodel.h"

#include <QByteArray>
#include <QString>

#include <map>
#include <vector>

namespace sim {

using clink::FtStatus;

class FtdiSim : public clink::FtdiDevice {
public:
    static constexpr int ReplySize = 16;

    explicit FtdiSim(ControllerModel& model);

    FtStatus listFirstSerial(QByteArray& serial) override;
    FtStatus openBySerial(const QByteArray& serial) override;
    FtStatus setBaudRate(int baud) override;
    FtStatus setDataCharacteristics(int bits, int stopBits, int parity) override;
    FtStatus setFlowControl(int mode, int xon, int xoff) override;
    FtStatus setTimeouts(int readMs, int writeMs) override;
    FtStatus purge(int mask) override;
    FtStatus write(const QByteArray& bytes, int& written) override;
    FtStatus read(char* buffer, int size, int& got) override;
    FtStatus close() override;

    // The 16 bytes the dongle returns for a message: its identifier (most significant byte first), data
    // bytes 0..7, "NAC%".
    static QByteArray replyFor(const CanMessage& message);

    // A frame the controller sends on its own (armed run data, broadcasts): a candidate, after the
    // model's replies, for the next frame written; dropped after it.
    void emitSpontaneous(const CanMessage& message) { spontaneous_.push_back(message); }

    // --- fault knobs ---
    bool noDevice = false; // nothing attached: listing and opening fail, every other call finds no handle
    // Every later call of this name ("listFirstSerial", "openBySerial", "setBaudRate", ...) fails.
    void failStep(const QString& call, FtStatus status = clink::FtIoError) { failing_[call] = status; }
    void clearFailures() { failing_.clear(); }
    int writeFails = 0;          // the next n writes fail
    int readFails = 0;           // the next n reads fail
    int lateReply = 0;           // the next n replies arrive only after the read has timed out
    int replyLength = ReplySize; // bytes of each reply that reach the PC (fewer: a short read)
    // When set, a read that times out (fewer bytes than asked for) moves this clock on by the read
    // time-out, as the real device blocks that long.
    clink::ManualLinkClock* clock = nullptr;

    // --- what the PC did ---
    struct Frame {
        CanId accept = 0;
        std::array<int, 2> expected{};
        CanMessage message;
    };
    std::vector<Frame> frames;         // every well-formed frame written
    std::vector<QByteArray> writes;    // every write, as bytes
    std::vector<QByteArray> badWrites; // writes that were not a frame (no reply)
    int opens = 0;
    int closes = 0;
    int rxPurges = 0;
    int repliesQueued = 0;
    bool isOpen() const { return open_; }
    const QByteArray& serialNumber() const { return serial_; }
    int baudRate = 0;
    int dataBits = 0;
    int stopBits = -1;
    int parity = -1;
    int flowControl = -1;
    int readTimeoutMs = -1;
    int writeTimeoutMs = -1;

private:
    FtStatus check(const char* call) const;
    void handleFrame(const QByteArray& bytes);

    ControllerModel& model_;
    QByteArray serial_ = QByteArrayLiteral("PV0001A");
    bool open_ = false;
    std::map<QString, FtStatus> failing_;
    std::vector<CanMessage> spontaneous_;
    QByteArray rx_;      // bytes waiting to be read
    QByteArray pending_; // a late reply: reaches rx_ when a read has timed out
};

} // namespace sim
