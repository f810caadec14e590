#pragma once
// The serial port seam over Qt SerialPort. Modem lines (DTR, RTS) are left as the port opens them: a
// pseudo-terminal has none.

#include "base/serialport.h"

#include <QSerialPort>

namespace base {

class QtSerialPort : public SerialPort {
    Q_OBJECT
public:
    explicit QtSerialPort(QObject* parent = nullptr);
    ~QtSerialPort() override;

    bool open(const QString& portName, const SerialSettings& settings) override;
    bool isOpen() const override { return port_.isOpen(); }
    bool write(const QByteArray& bytes) override;
    qint64 bytesToWrite() const override { return port_.bytesToWrite(); }
    QByteArray readAll() override { return port_.readAll(); }
    void close() override;
    QString errorText() const override { return error_; }

private:
    // Applies the settings; the name of the first one the port refuses, or nothing.
    QString configure(const SerialSettings& settings);

    QSerialPort port_;
    QString error_;
};

} // namespace base
