// The serial port seam over a pseudo-terminal pair: the line settings reach the device, bytes pass both
// ways, arriving bytes are signalled, and a port that cannot be opened or set up says why. A
// pseudo-terminal keeps 8 data bits without parity whatever it is told, as a device that takes only those
// would.
#include "base/serial/qtserialport.h"
#include "tests/support/ptypair.h"
#include "tests/support/waitfor.h"

#include <gtest/gtest.h>

namespace {

using testsupport::waitFor;

TEST(SerialPort, TalksToAPeerBothWaysWithTheLineSettings) {
    testsupport::PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    base::QtSerialPort port;
    int signalled = 0;
    QObject::connect(&port, &base::SerialPort::dataArrived, [&] { ++signalled; });
    ASSERT_TRUE(port.open(pty.portPath(), {.baudRate = 19200, .stopBits = base::StopBits::Two}))
        << port.errorText().toStdString();
    EXPECT_TRUE(port.isOpen());
    const termios line = pty.portSettings();
    EXPECT_EQ(cfgetospeed(&line), speed_t(B19200));
    EXPECT_EQ(line.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_FALSE(line.c_cflag & PARENB);
    EXPECT_TRUE(line.c_cflag & CSTOPB);

    // The peer's bytes arrive as they were sent, CR and a Windows-1252 byte included.
    ASSERT_TRUE(pty.write(QByteArray("12.5 Nm\r\xb0", 9)));
    QByteArray received;
    ASSERT_TRUE(waitFor([&] {
        received += port.readAll();
        return received.size() >= 9;
    }));
    EXPECT_EQ(received, QByteArray("12.5 Nm\r\xb0", 9));
    EXPECT_GE(signalled, 1);
    EXPECT_TRUE(port.readAll().isEmpty());

    ASSERT_TRUE(port.write(QByteArrayLiteral("AT\r\n")));
    EXPECT_EQ(pty.read(4), QByteArrayLiteral("AT\r\n"));

    port.close();
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.write(QByteArrayLiteral("x")));
    EXPECT_EQ(port.errorText(), "The port is not open");
}

TEST(SerialPort, APortThatCannotBeOpenedOrSetUpSaysWhy) {
    base::QtSerialPort port;
    EXPECT_FALSE(port.open(QStringLiteral("/dev/palverin-no-such-port"), {}));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorText().isEmpty());

    testsupport::PtyPair pty;
    ASSERT_TRUE(pty.isOpen());
    EXPECT_FALSE(port.open(pty.portPath(), {.dataBits = 9}));
    EXPECT_EQ(port.errorText(), "9 data bits are not possible");
    EXPECT_FALSE(port.open(pty.portPath(), {.parity = base::Parity::Even, .dataBits = 7}));
    EXPECT_EQ(port.errorText(), "The port does not take the parity");
    EXPECT_FALSE(port.isOpen());
    // With settings it takes, the same port opens at once.
    EXPECT_TRUE(port.open(pty.portPath(), {}));
    EXPECT_TRUE(port.errorText().isEmpty());
    const termios line = pty.portSettings();
    EXPECT_EQ(cfgetospeed(&line), speed_t(B9600));
}

} // namespace
