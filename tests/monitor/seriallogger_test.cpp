// The serial rundown logger over a pseudo-terminal: the NSM unit's reports as they arrive, the list and the
// log file they leave, a port that cannot be opened, and Exit.
#include "base/serial/qtserialport.h"
#include "monitor/seriallogger.h"
#include "tests/support/ptypair.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/tempfolder.h"
#include "tests/support/waitfor.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

using monitor::SerialLoggerSession;

namespace {

class SerialLogger : public ::testing::Test {
protected:
    static QByteArray spindle(int k, char fill) {
        return QStringLiteral("SPINDLE %1:").arg(k, 2, 10, QLatin1Char('0')).toLatin1() +
               QByteArray(63, fill);
    }
    QByteArray log() const { return folder.read(QStringLiteral("FinalData.txt")); }

    testsupport::TempProgramFolder folder;
    testsupport::PtyPair nsm;
    base::QtSerialPort port;
    testsupport::ScriptedDialogs dialogs;
    SerialLoggerSession session{port, dialogs};
};

TEST_F(SerialLogger, TwoReportsInOneChunkAreShownAndLoggedInTurn) {
    ASSERT_TRUE(nsm.isOpen());
    EXPECT_EQ(SerialLoggerSession::logPath(), folder.file("FinalData.txt"));
    ASSERT_TRUE(session.open(nsm.portPath()));
    const termios line = nsm.portSettings();
    EXPECT_EQ(cfgetospeed(&line), speed_t(B9600));
    QList<QStringList> shown;
    QObject::connect(&session, &SerialLoggerSession::reportShown, [&] { shown.append(session.lines()); });

    // The first report has no spindle 2, the second ends in lower case, a third begins.
    const QByteArray chunk = "@R\r\n" + spindle(1, 'a') + "\r\n" + spindle(3, 'c') + "\r\n12@END\r\n@R\r\n" +
                             spindle(10, 'z') + "\r\n13@end\r\n@R";
    ASSERT_TRUE(nsm.write(chunk));
    ASSERT_TRUE(testsupport::waitFor([&] { return shown.size() == 2; }));
    const QStringList first{"Rundown Number :12", spindle(1, 'a'), spindle(3, 'c')};
    const QStringList second{"Rundown Number :13", spindle(10, 'z')};
    EXPECT_EQ(shown, (QList<QStringList>{first, second}));
    EXPECT_EQ(session.lines(), second);
    EXPECT_EQ(log(),
              first.join("\r\n").toLatin1() + "\r\n\r\n" + second.join("\r\n").toLatin1() + "\r\n\r\n");
    EXPECT_TRUE(dialogs.messages.empty());

    // The log in the viewer; after Exit nothing more is read.
    testsupport::ScriptedTextViewer viewer;
    session.viewLog(viewer);
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_TRUE(viewer.shown[0].text.startsWith("Rundown Number :12\n"));
    session.exit();
    EXPECT_FALSE(session.listening());
    ASSERT_TRUE(nsm.write("\r\n" + spindle(2, 'b') + "14@END"));
    QTest::qWait(100);
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(SerialLogger, AReportIsAddedAfterTheLogsEarlierBytesUntouched) {
    ASSERT_TRUE(nsm.isOpen());
    // An earlier log of many reports whose last line was cut short.
    QByteArray earlier;
    for (int i = 0; i < 2000; ++i)
        earlier += spindle(1 + i % 9, char('a' + i % 26)) + "\r\n\r\n";
    earlier += "SPINDLE 04:cut";
    ASSERT_TRUE(folder.write(QStringLiteral("FinalData.txt"), earlier));
    ASSERT_TRUE(session.open(nsm.portPath()));
    bool shown = false;
    QObject::connect(&session, &SerialLoggerSession::reportShown, [&] { shown = true; });
    ASSERT_TRUE(nsm.write("@R\r\n" + spindle(2, 'q') + "\r\n07@END"));
    ASSERT_TRUE(testsupport::waitFor([&] { return shown; }));
    EXPECT_EQ(log(), earlier + "\r\nRundown Number :7\r\n" + spindle(2, 'q') + "\r\n\r\n");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SerialLogger, APortThatCannotBeOpenedSaysSoOnce) {
    EXPECT_FALSE(session.open(QStringLiteral("/dev/palverin-no-such-port")));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(
        dialogs.messages[0].text.startsWith("Unable to open serial port /dev/palverin-no-such-port: "));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_FALSE(session.listening());
    // No log is begun without a report.
    testsupport::ScriptedTextViewer viewer;
    session.viewLog(viewer);
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_TRUE(viewer.shown[0].text.isEmpty());
    EXPECT_FALSE(QFile::exists(SerialLoggerSession::logPath()));
}

TEST_F(SerialLogger, ALogThatCannotBeReadIsNotShownAsEmpty) {
    // Something that is no file stands where the log belongs.
    ASSERT_TRUE(QDir().mkpath(SerialLoggerSession::logPath()));
    testsupport::ScriptedTextViewer viewer;
    session.viewLog(viewer);
    EXPECT_TRUE(viewer.shown.empty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Unable To Read File " + SerialLoggerSession::logPath() +
                                                    "\r\n"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
}

} // namespace
