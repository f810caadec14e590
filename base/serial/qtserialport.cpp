#include "base/serial/qtserialport.h"

namespace base {

namespace {
constexpr int FewestDataBits = 5;
constexpr int MostDataBits = 8;

QSerialPort::Parity toQt(Parity parity) {
    switch (parity) {
    case Parity::Even:
        return QSerialPort::EvenParity;
    case Parity::Odd:
        return QSerialPort::OddParity;
    case Parity::Mark:
        return QSerialPort::MarkParity;
    case Parity::Space:
        return QSerialPort::SpaceParity;
    case Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(StopBits bits) {
    switch (bits) {
    case StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case StopBits::Two:
        return QSerialPort::TwoStop;
    case StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}
} // namespace

QtSerialPort::QtSerialPort(QObject* parent) : SerialPort(parent) {
    connect(&port_, &QSerialPort::readyRead, this, &SerialPort::dataArrived);
}

QtSerialPort::~QtSerialPort() {
    close();
}

bool QtSerialPort::open(const QString& portName, const SerialSettings& settings) {
    close();
    error_.clear();
    if (settings.dataBits < FewestDataBits || settings.dataBits > MostDataBits) {
        error_ = QStringLiteral("%1 data bits are not possible").arg(settings.dataBits);
        return false;
    }
    port_.setPortName(portName);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = port_.errorString();
        return false;
    }
    if (const QString refused = configure(settings); !refused.isEmpty()) {
        error_ = QStringLiteral("The port does not take the %1").arg(refused);
        port_.close();
        return false;
    }
    return true;
}

QString QtSerialPort::configure(const SerialSettings& settings) {
    if (!port_.setBaudRate(settings.baudRate))
        return QStringLiteral("baud rate");
    if (!port_.setParity(toQt(settings.parity)))
        return QStringLiteral("parity");
    if (!port_.setDataBits(QSerialPort::DataBits(settings.dataBits)))
        return QStringLiteral("data bits");
    if (!port_.setStopBits(toQt(settings.stopBits)))
        return QStringLiteral("stop bits");
    if (!port_.setFlowControl(QSerialPort::NoFlowControl))
        return QStringLiteral("flow control");
    return {};
}

bool QtSerialPort::write(const QByteArray& bytes) {
    if (!port_.isOpen()) {
        error_ = QStringLiteral("The port is not open");
        return false;
    }
    if (port_.write(bytes) != bytes.size()) {
        error_ = port_.errorString();
        return false;
    }
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen())
        port_.close();
}

} // namespace base
