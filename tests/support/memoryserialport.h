#pragma once
// A serial port in memory for tests of what a session writes and how it takes what a device sends: writes
// are recorded (and reported to onWrite as they happen), arrive() delivers device bytes at once, and the
// port can refuse to open or hold written bytes back.

#include "base/serialport.h"

#include <functional>
#include <utility>

namespace testsupport {

class MemorySerialPort : public base::SerialPort {
    Q_OBJECT
public:
    bool open(const QString& portName, const base::SerialSettings& settings) override {
        ++opens;
        if (!openable) {
            error_ = QStringLiteral("No such device");
            return false;
        }
        error_.clear();
        openedName = portName;
        openedSettings = settings;
        open_ = true;
        return true;
    }
    bool isOpen() const override { return open_; }
    bool write(const QByteArray& bytes) override {
        if (!open_) {
            error_ = QStringLiteral("The port is not open");
            return false;
        }
        written += bytes;
        if (onWrite)
            onWrite(bytes);
        return true;
    }
    qint64 bytesToWrite() const override { return heldBack; }
    QByteArray readAll() override { return std::exchange(incoming_, {}); }
    void close() override { open_ = false; }
    QString errorText() const override { return error_; }

    // The device sends bytes.
    void arrive(const QByteArray& bytes) {
        incoming_ += bytes;
        emit dataArrived();
    }

    bool openable = true;
    // Bytes the port reports as not yet handed to the device.
    qint64 heldBack = 0;
    int opens = 0;
    QString openedName;
    base::SerialSettings openedSettings;
    QByteArray written;
    std::function<void(const QByteArray&)> onWrite;

private:
    bool open_ = false;
    QByteArray incoming_;
    QString error_;
};

} // namespace testsupport
