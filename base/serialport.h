#pragma once
// A serial port as the program uses one (the rundown logger, the barcode reader, the DSM terminal): opened
// by its device path with the line settings, written to, read for what has arrived, closed. dataArrived is
// emitted whenever new bytes can be read.
//
//   base::SerialPort& port = ...;
//   if (!port.open(QStringLiteral("/dev/ttyS0"), {.baudRate = 9600}))
//       dialogs.message(port.errorText());
//   QObject::connect(&port, &base::SerialPort::dataArrived, ... { handle(port.readAll()); });

#include <QByteArray>
#include <QObject>
#include <QString>

namespace base {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };

struct SerialSettings {
    int baudRate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8; // 5 to 8
    StopBits stopBits = StopBits::One;
};

class SerialPort : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the port by its device path (or name) with these settings; false with errorText() when it
    // cannot be opened or does not take the settings. An open port is closed first.
    virtual bool open(const QString& portName, const SerialSettings& settings) = 0;
    virtual bool isOpen() const = 0;
    // Queues bytes for sending; false when the port is not open or refuses them.
    virtual bool write(const QByteArray& bytes) = 0;
    // Bytes written but not yet handed to the device.
    virtual qint64 bytesToWrite() const = 0;
    // The bytes that have arrived since the last read (none when nothing has).
    virtual QByteArray readAll() = 0;
    virtual void close() = 0;
    // Why the last open or write failed.
    virtual QString errorText() const = 0;

signals:
    void dataArrived();
};

} // namespace base
