// The DSM terminal's transfers. With a port in memory and a pump that records every pause: the exact
// sequence of writes and pauses of each script, the paths that end before anything is sent, cancel and
// failure. Against the fake DSM on a pseudo-terminal: the three transfers move their files byte-exact.
#include "base/serial/qtserialport.h"
#include "service/dsmsession.h"
#include "service/xmodem.h"
#include "sim/serial/fakedsm.h"
#include "tests/support/memoryserialport.h"
#include "tests/support/ptypair.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/waitfor.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

using namespace service;
using namespace std::chrono_literals;
using base::MessageIcon;
using testsupport::MemorySerialPort;

constexpr char CAN = 0x18;

// Records each wait's count as "pause N", runs a hook, and lets the event loop run until the wait's
// condition holds or a few milliseconds pass (the time-outs of the engines are real timers).
class ScriptPump : public base::EventPump {
public:
    explicit ScriptPump(QStringList& log) : log_(log) {}
    void doEvents() override { QCoreApplication::processEvents(); }
    bool waitUntil(const std::function<bool()>& done, long count) override {
        log_.append(QStringLiteral("pause %1").arg(count));
        if (onWait)
            onWait(count);
        doEvents();
        if (!done() && realTime)
            QThread::msleep(1);
        return done();
    }
    std::function<void(long)> onWait;
    bool realTime = false;

private:
    QStringList& log_;
};

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A program with the protocol's own bytes inside it.
QByteArray programBytes() {
    QByteArray program;
    for (int i = 0; i < 700; ++i)
        program.append(char((i * 31) % 256));
    program[10] = 0x1A;
    program[11] = 0x00;
    program.append("END");
    return program;
}

// What SendLine writes and waits: each character and a pause, one more pause, CR.
QStringList typedLine(const QString& text) {
    QStringList steps;
    for (QChar c : text)
        steps << QStringLiteral("write ") + c << QStringLiteral("pause 10000");
    steps << QStringLiteral("pause 10000") << QStringLiteral("write \\r");
    return steps;
}

QStringList pauses(const QStringList& log) {
    return log.filter(QStringLiteral("pause "));
}

class DsmScripts : public ::testing::Test {
protected:
    DsmScripts() {
        devices.setDsmPort(QStringLiteral("/dev/ttyS3"));
        auto owned = std::make_unique<MemorySerialPort>();
        port = owned.get();
        port->onWrite = [this](const QByteArray& bytes) {
            QString shown = QString::fromLatin1(bytes);
            shown.replace(u'\r', QStringLiteral("\\r"));
            log.append(bytes.size() > 2 ? QStringLiteral("write <%1 bytes>").arg(bytes.size())
                                        : QStringLiteral("write ") + shown);
            if (peer && peer->active())
                peer->received(bytes);
        };
        session = std::make_unique<DsmSession>(shown, pump, std::move(owned), devices, timings);
    }
    // The DSM's end of the transfer, played by an engine on a second port.
    void dsmPeer(std::unique_ptr<FileTransfer> engine) {
        peerPort.open(QStringLiteral("dsm"), {});
        peer = std::move(engine);
        peerPort.onWrite = [this](const QByteArray& bytes) { port->arrive(bytes); };
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    QTemporaryDir dir;
    SerialDevices devices{
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat)};
    QStringList log;
    ScriptPump pump{log};
    testsupport::ScriptedDialogs dialogs;
    base::StoppableDialogs shown{dialogs, pump};
    TransferTimings timings;
    MemorySerialPort* port = nullptr;
    MemorySerialPort peerPort;
    std::unique_ptr<FileTransfer> peer;
    std::unique_ptr<DsmSession> session;
};

TEST_F(DsmScripts, MatchFileIsTypedAndPausedStepByStep) {
    session->Form_Load();
    EXPECT_EQ(port->openedName, "/dev/ttyS3");
    EXPECT_EQ(lineSettingsText(port->openedSettings), "38400,n,8,1");
    const QByteArray match(1022, 'm');
    ASSERT_TRUE(writeFile(path("match.txt"), match));
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("match.txt"));
    session->run(DsmTransfer::MatchFile);

    QStringList expected{"write q ", "pause 30000", "pause 30000"};
    expected << typedLine("up match.txt") << "pause 20000"
             << "write <1022 bytes>"
             << "pause 30000"
             << "pause 30000" << typedLine("dsm");
    EXPECT_EQ(log, expected);
    EXPECT_EQ(port->written, "q up match.txt\r" + match + "dsm\r");
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].text,
              "While Sending Data To The DSM All Rundowns Will Be Lost During The Transfer - Continue ? ");
    EXPECT_EQ(dialogs.asked[0].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.asked[0].icon, MessageIcon::None);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Transfer Complete");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Information);
    EXPECT_FALSE(session->transferring());
}

TEST_F(DsmScripts, ReceiveAndNewProgramPauseAsTheirScriptsSay) {
    session->Form_Load();
    const QByteArray data = "Rundown 1 12.5 Nm OK\r\nRundown 2 12.7 Nm OK\r\n";
    dsmPeer(std::make_unique<xmodem::Sender>(peerPort, data, TransferTimings{}));
    peer->start();
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("data.txt"));
    session->run(DsmTransfer::ReceiveRundownData);
    EXPECT_EQ(fileBytes(path("data.txt")), data);
    EXPECT_EQ(
        dialogs.asked.back().text,
        "While Receiving Data From The DSM All Rundowns Will Be Lost During The Transfer - Continue ? ");
    QStringList expected{"pause 20000", "pause 20000"};
    expected << pauses(typedLine("down data.txt")) << "pause 20000"
             << "pause 30000"
             << "pause 30000" // after the start
             << "pause 30000"
             << "pause 30000"
             << "pause 30000" // after the transfer
             << pauses(typedLine("dsm"));
    EXPECT_EQ(pauses(log), expected);

    log.clear();
    const QByteArray program = programBytes();
    ASSERT_TRUE(writeFile(path("dsm.exe"), program));
    dsmPeer(std::make_unique<xmodem::Receiver>(peerPort, TransferTimings{}));
    // The DSM asks for the program once the engine waits for it.
    bool asked = false;
    pump.onWait = [&](long count) {
        if (count == DsmSession::TransferWaitSlice && !asked) {
            asked = true;
            peer->start();
        }
    };
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("dsm.exe"));
    session->run(DsmTransfer::NewProgram);
    EXPECT_EQ(peer->receivedFile(), program);
    expected = QStringList{"pause 60000"};
    expected << pauses(typedLine("up dsm.exe")) << "pause 40000"
             << QStringLiteral("pause %1").arg(DsmSession::TransferWaitSlice) << "pause 60000"
             << pauses(typedLine("dsm"));
    EXPECT_EQ(pauses(log), expected);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{"Transfer Complete", "Transfer Complete"}));
}

TEST_F(DsmScripts, AReceivedFileThatCannotBeWrittenIsAFailure) {
    session->Form_Load();
    dsmPeer(std::make_unique<xmodem::Sender>(peerPort, QByteArray("data"), TransferTimings{}));
    peer->start();
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("no-such-folder/data.txt"));
    session->run(DsmTransfer::ReceiveRundownData);
    EXPECT_EQ(peer->outcome(), FileTransfer::Outcome::Complete);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Transfer Failed - The file could not be written: "))
        << dialogs.messages[0].text.toStdString();
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
}

TEST_F(DsmScripts, NoAndCancelledDialogsSendNothing) {
    session->Form_Load();
    // "No" asks for no file.
    dialogs.yesNoAnswers.enqueue(false);
    session->run(DsmTransfer::MatchFile);
    dialogs.yesNoAnswers.enqueue(false);
    session->run(DsmTransfer::ReceiveRundownData);
    // A cancelled save dialog ends silently.
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(QString());
    session->run(DsmTransfer::ReceiveRundownData);
    EXPECT_TRUE(dialogs.messages.empty());
    // A cancelled open dialog and a missing file: "Can Not Find File".
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(QString());
    session->run(DsmTransfer::NewProgram);
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("absent.txt"));
    session->run(DsmTransfer::MatchFile);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.text, "Can Not Find File");
        EXPECT_EQ(m.caption, base::ProgramTitle);
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
    EXPECT_TRUE(port->written.isEmpty());
    EXPECT_TRUE(log.isEmpty());

    // A match file cut short, or a longer file, is not sent: the DSM reads a match file's 1022 bytes.
    dialogs.messages.clear();
    for (int size : {1021, 1023}) {
        ASSERT_TRUE(writeFile(path("match.txt"), QByteArray(size, '*')));
        dialogs.yesNoAnswers.enqueue(true);
        dialogs.fileNames.enqueue(path("match.txt"));
        session->run(DsmTransfer::MatchFile);
    }
    EXPECT_EQ(dialogs.messageTexts(), QStringList(2, "File Is Not A Match File - Nothing Sent"));
    EXPECT_EQ(dialogs.messages.back().icon, MessageIcon::Critical);
    EXPECT_TRUE(port->written.isEmpty());
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(DsmScripts, APortThatCannotOpenIsToldAndNothingIsAsked) {
    port->openable = false;
    session->Form_Load();
    session->run(DsmTransfer::MatchFile);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Can't open the communications port!");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(dialogs.asked.empty());

    // Properties: another device is kept for the next time and the port reopens on it.
    port->openable = true;
    base::SerialSettings slower = *parseLineSettings(QStringLiteral("9600,e,7,2"));
    EXPECT_TRUE(session->applyProperties({QStringLiteral("/dev/ttyUSB0"), slower}));
    EXPECT_EQ(port->openedName, "/dev/ttyUSB0");
    EXPECT_EQ(lineSettingsText(port->openedSettings), "9600,e,7,2");
    EXPECT_EQ(devices.dsmPort(), "/dev/ttyUSB0");
    session->disconnectPort();
    EXPECT_FALSE(session->portOpen());
    EXPECT_TRUE(session->connectPort());
}

TEST_F(DsmScripts, KeysAndTheScreenPauseWhileATransferRunsWhichCancelEnds) {
    session->Form_Load();
    port->arrive("DSM> ab\bc\x07\r\n");
    EXPECT_EQ(session->screen().lines(), (QStringList{"DSM> ac", ""}));
    session->typed("q");
    EXPECT_EQ(port->written, "q");
    port->written.clear();
    log.clear();

    bool typedDuringTransfer = false;
    pump.onWait = [&](long count) {
        if (count != DsmSession::TransferWaitSlice)
            return;
        EXPECT_TRUE(session->transferring());
        EXPECT_EQ(session->status(), "Received 0 bytes");
        session->typed("x");
        typedDuringTransfer = true;
        // What arrives while the engine runs is the engine's, not the screen's.
        port->arrive("noise");
        session->cancelTransfer();
    };
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("data.txt"));
    session->run(DsmTransfer::ReceiveRundownData);
    EXPECT_TRUE(typedDuringTransfer);
    EXPECT_EQ(session->screen().lines().last(), "");
    // The engine asked, was aborted (CAN CAN) and the DSM was sent back to work.
    EXPECT_EQ(port->written, QByteArray("q down data.txt\r\x15") + QByteArray(2, CAN) + "dsm\r");
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Transfer Cancelled"});
    EXPECT_FALSE(QFile::exists(path("data.txt")));
    EXPECT_FALSE(session->transferring());
    EXPECT_TRUE(session->status().isEmpty());
}

TEST_F(DsmScripts, ClosingTheProgramEndsATransferWithoutAWord) {
    session->Form_Load();
    pump.onWait = [&](long count) {
        if (count == DsmSession::TransferWaitSlice)
            pump.stop();
    };
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("data.txt"));
    session->run(DsmTransfer::ReceiveRundownData);
    EXPECT_FALSE(session->transferring());
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(port->written, QByteArray("q down data.txt\r\x15") + QByteArray(2, CAN) + "dsm\r");
}

TEST_F(DsmScripts, AFailedTransferIsReportedAndWritesNoFile) {
    timings = {.block = 20ms, .retries = 2};
    session =
        std::make_unique<DsmSession>(shown, pump, std::make_unique<MemorySerialPort>(), devices, timings);
    pump.realTime = true;
    session->Form_Load();
    dialogs.yesNoAnswers.enqueue(true);
    dialogs.fileNames.enqueue(path("data.txt"));
    session->run(DsmTransfer::ReceiveRundownData);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Transfer Failed - The other end did not start the transfer");
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(QFile::exists(path("data.txt")));
}

TEST(LineSettings, ReadAndWrittenInTheirShortForm) {
    const auto dsm = parseLineSettings(DsmSession::LineSettings);
    ASSERT_TRUE(dsm);
    EXPECT_EQ(dsm->baudRate, 38400);
    EXPECT_EQ(dsm->parity, base::Parity::None);
    EXPECT_EQ(dsm->dataBits, 8);
    EXPECT_EQ(dsm->stopBits, base::StopBits::One);
    const auto odd = parseLineSettings(QStringLiteral(" 4800 , O , 7 , 1.5 "));
    ASSERT_TRUE(odd);
    EXPECT_EQ(lineSettingsText(*odd), "4800,o,7,1.5");
    for (const char* bad : {"", "9600", "9600,n,8", "9600,x,8,1", "fast,n,8,1", "9600,n,8,3", "-1,n,8,1"})
        EXPECT_FALSE(parseLineSettings(QLatin1String(bad))) << bad;
}

// ---- against the fake DSM on a pseudo-terminal, with the program's own event pump

class DsmOnPty : public ::testing::Test {
protected:
    DsmOnPty() {
        devices.setDsmPort(pty.portPath());
        dsm.toProgram = [this](const QByteArray& bytes) { pty.write(bytes); };
        pty.onPeerData([this](const QByteArray& bytes) { dsm.fromProgram(bytes); });
        session.Form_Load();
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    // Answers Yes and chooses the file, runs the transfer, and lets the DSM take the last command.
    void transfer(DsmTransfer kind, const QString& file) {
        dialogs.yesNoAnswers.enqueue(true);
        dialogs.fileNames.enqueue(file);
        session.run(kind);
        ASSERT_TRUE(testsupport::waitFor([&] { return dsm.state() == sim::FakeDsm::State::Running; }));
    }

    QTemporaryDir dir;
    SerialDevices devices{
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat)};
    testsupport::PtyPair pty;
    sim::FakeDsm dsm;
    testsupport::ScriptedDialogs dialogs;
    base::QtEventPump pump;
    base::StoppableDialogs shown{dialogs, pump};
    DsmSession session{shown, pump, std::make_unique<base::QtSerialPort>(), devices};
};

TEST_F(DsmOnPty, RundownDataArrivesByteExact) {
    ASSERT_TRUE(session.portOpen());
    for (int i = 1; i <= 40; ++i)
        dsm.dataFile +=
            QStringLiteral("%1,Pset 2,12.%2 Nm,%3 deg,Accept\r\n").arg(i).arg(i % 10).arg(90 + i).toLatin1();
    // The second block is spoiled once on the line: it is asked for again.
    dsm.spoilBlock = 2;
    transfer(DsmTransfer::ReceiveRundownData, path("rundowns.txt"));
    EXPECT_EQ(fileBytes(path("rundowns.txt")), dsm.dataFile);
    EXPECT_EQ(dsm.commands, (QStringList{"q ", "down data.txt", "dsm"}));
    EXPECT_EQ(dsm.state(), sim::FakeDsm::State::Running);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Transfer Complete"});
    // The DSM's prompt and echo before the transfer are on the screen.
    EXPECT_TRUE(session.screen().text().contains("DSM> down data.txt"))
        << session.screen().text().toStdString();
}

TEST_F(DsmOnPty, AMatchFileArrivesByteExact) {
    QByteArray match;
    for (int record = 0; record < 20; ++record)
        match += QByteArray(50, char('A' + record)) + char('0' + record % 10);
    match += "\r\n";
    ASSERT_EQ(match.size(), 1022);
    ASSERT_TRUE(writeFile(path("match.txt"), match));
    transfer(DsmTransfer::MatchFile, path("match.txt"));
    EXPECT_EQ(dsm.matchFile, match);
    EXPECT_EQ(dsm.commands, (QStringList{"q ", "up match.txt", "dsm"}));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Transfer Complete"});
}

TEST_F(DsmOnPty, ANewProgramArrivesByteExact) {
    const QByteArray program = programBytes();
    ASSERT_TRUE(writeFile(path("dsm.exe"), program));
    // One block is refused once by the DSM: it goes again.
    dsm.refuseBlock = 3;
    transfer(DsmTransfer::NewProgram, path("dsm.exe"));
    EXPECT_EQ(dsm.program, program);
    EXPECT_EQ(dsm.transfersComplete, 1);
    EXPECT_EQ(dsm.commands, (QStringList{"q ", "up dsm.exe", "dsm"}));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{"Transfer Complete"});
}

TEST_F(DsmOnPty, NoSendsNothingToTheDsm) {
    dialogs.yesNoAnswers.enqueue(false);
    session.run(DsmTransfer::NewProgram);
    QCoreApplication::processEvents();
    EXPECT_TRUE(dsm.received.isEmpty());
    // Typed keys reach the DSM.
    session.typed("q ");
    ASSERT_TRUE(testsupport::waitFor([&] { return dsm.state() == sim::FakeDsm::State::Prompt; }));
}

} // namespace
