// palverin-sim as a person starts it: the options it refuses with a message, and a stand-in started with
// a controller type and report periods that answers and reports as told.
#include "link/canid.h"
#include "sim/tcpdongle.h"
#include "tests/support/tempfolder.h"
#include "tests/support/waitfor.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>

#include <gtest/gtest.h>

namespace {

namespace ids = clink::ids;

const QString SimProgram = QStringLiteral(PALVERIN_SIM_PATH);
constexpr int ProcessWaitMs = 20000;

// The frame the program sends: accept identifier, transmit identifier (bytes, most significant first),
// eight data bytes.
QByteArray frame(clink::CanId accept, const clink::CanMessage& m) {
    QByteArray text = "%CAN";
    for (clink::CanId id : {accept, m.id})
        for (int shift : {24, 16, 8, 0})
            text += ',' + QByteArray::number((id >> shift) & 0xFF);
    for (int b : m.data)
        text += ',' + QByteArray::number(b);
    return text + ",NAC%\r\n";
}

// The start of a frame the stand-in sends: its identifier image and the first data bytes.
QByteArray replyHead(clink::CanId id, std::initializer_list<int> firstData) {
    QByteArray text = "%CAN";
    for (int b : clink::canIdImage(id))
        text += ',' + QByteArray::number(b);
    for (int b : firstData)
        text += ',' + QByteArray::number(b);
    return text + ',';
}

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

Finished runToEnd(const QStringList& args) {
    QProcess p;
    p.start(SimProgram, args);
    Finished run;
    if (!p.waitForFinished(ProcessWaitMs)) {
        p.kill();
        p.waitForFinished();
        return run;
    }
    run.exitCode = p.exitCode();
    run.out = QString::fromLocal8Bit(p.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(p.readAllStandardError());
    return run;
}

TEST(SimProcess, RefusesWrongOptionsWithAMessageBeforeListening) {
    struct Case {
        QStringList args;
        QString message;
    };
    const std::vector<Case> cases{
        {{"--controller-type", "6"}, "palverin-sim: invalid controller type (3, 4 or 5) '6'\n"},
        {{"--rundown-every", "soon"}, "palverin-sim: invalid rundown period (seconds) 'soon'\n"},
        {{"--fault-every", "-1"}, "palverin-sim: invalid fault period (seconds) '-1'\n"},
        {{"--port", "70000"}, "palverin-sim: invalid port '70000'\n"},
        {{"--ack-then-reply", "--answer-once"},
         "palverin-sim: --answer-once excludes --ack-then-reply and --ack-gap\n"},
        {{"--ack-gap", "5", "--answer-once"},
         "palverin-sim: --answer-once excludes --ack-then-reply and --ack-gap\n"},
        {{"--ack-gap", "-5"}, "palverin-sim: invalid acknowledgement gap '-5'\n"},
    };
    testsupport::TempProgramFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        // The last value of an option counts.
        const Finished run = runToEnd(QStringList{"--port", "0", "--home", folder.path()} + c.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err, c.message);
        EXPECT_TRUE(run.out.isEmpty());
    }
    // Nothing was written to the folder it was to prepare.
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());

    // The help names every knob, and what the tool's button sensors read.
    const Finished help = runToEnd({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* option : {"--controller-type", "--rundown-every", "--fault-every", "--reply-delay",
                               "--home", "--port", "--answer-once", "--ack-then-reply", "--ack-gap"})
        EXPECT_TRUE(help.out.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(
        help.out.simplified().contains(QStringLiteral("button sensors read 1000 released and 200 held")))
        << help.out.toStdString();
}

// Starts the stand-in with args and connects to it; the port it listens on is read from its banner.
class RunningSim {
public:
    explicit RunningSim(const QStringList& args) {
        sim_.start(SimProgram, QStringList{"--port", "0"} + args);
        if (!sim_.waitForStarted(ProcessWaitMs))
            return;
        QString banner;
        testsupport::waitFor(
            [&] {
                banner += QString::fromLocal8Bit(sim_.readAllStandardOutput());
                return banner.contains('\n') || sim_.state() == QProcess::NotRunning;
            },
            ProcessWaitMs);
        banner_ = banner;
        const QRegularExpressionMatch port =
            QRegularExpression(QStringLiteral("127\\.0\\.0\\.1:(\\d+) ")).match(banner);
        if (!port.hasMatch())
            return;
        socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(port.captured(1).toUInt()));
        testsupport::waitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; },
                             ProcessWaitMs);
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
    }
    ~RunningSim() {
        sim_.kill();
        sim_.waitForFinished();
    }
    bool connected() const { return socket.state() == QAbstractSocket::ConnectedState; }
    const QString& banner() const { return banner_; }
    bool awaitText(const QByteArray& text) {
        return testsupport::waitFor([&] { return received.contains(text); }, ProcessWaitMs);
    }

    QTcpSocket socket;
    QByteArray received;

private:
    QProcess sim_;
    QString banner_;
};

TEST(SimProcess, AnswersEachRequestOnceUnlessToldToAcknowledgeFirst) {
    // Two tool-EEPROM reads, one after the other: once the second answer is in, every copy of the first
    // one is in too (the stand-in answers in order).
    const QByteArray second = replyHead(ids::ToolEepromReply, {0x30, 0, 6});
    auto answersToFirst = [&](RunningSim& sim) {
        sim.socket.write(frame(ids::ToolEepromReply, {ids::ToolEepromRequest, {0x90, 0, 5, 0, 0, 0, 0, 0}}));
        sim.socket.write(frame(ids::ToolEepromReply, {ids::ToolEepromRequest, {0x90, 0, 6, 0, 0, 0, 0, 0}}));
        if (!sim.awaitText(second))
            return -1;
        return int(sim.received.count(replyHead(ids::ToolEepromReply, {0x30, 0, 5})));
    };
    for (const QStringList& args : {QStringList{}, QStringList{"--answer-once"}}) {
        RunningSim sim(args);
        ASSERT_TRUE(sim.connected()) << sim.banner().toStdString();
        EXPECT_EQ(answersToFirst(sim), 1) << args.join(' ').toStdString();
    }
    RunningSim acknowledging({"--ack-then-reply"});
    ASSERT_TRUE(acknowledging.connected()) << acknowledging.banner().toStdString();
    EXPECT_EQ(answersToFirst(acknowledging), 2) << "an acknowledgement, then the reply";
}

TEST(SimProcess, PlaysTheTypeItIsGivenAndReportsOnItsOwn) {
    QProcess sim;
    sim.start(SimProgram,
              {"--port", "0", "--controller-type", "3", "--rundown-every", "0.05", "--fault-every", "0.05"});
    ASSERT_TRUE(sim.waitForStarted(ProcessWaitMs));
    QString banner;
    ASSERT_TRUE(testsupport::waitFor(
        [&] {
            banner += QString::fromLocal8Bit(sim.readAllStandardOutput());
            return banner.contains('\n') || sim.state() == QProcess::NotRunning;
        },
        ProcessWaitMs));
    const QRegularExpressionMatch listening =
        QRegularExpression(
            QStringLiteral("^palverin-sim: listening on 127\\.0\\.0\\.1:(\\d+) as a type 3 controller "
                           "\\(version 3\\.05\\)\n$"))
            .match(banner);
    ASSERT_TRUE(listening.hasMatch()) << banner.toStdString();

    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), quint16(listening.captured(1).toUInt()));
    ASSERT_TRUE(testsupport::waitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; },
                                     ProcessWaitMs));
    QByteArray received;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] { received += socket.readAll(); });
    auto awaitText = [&](const QByteArray& text) {
        return testsupport::waitFor([&] { return received.contains(text); }, ProcessWaitMs);
    };

    // The version answer of a type-3 controller.
    socket.write(frame(ids::CommandReply, {ids::CommandRequest, {0xA0, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_TRUE(awaitText(sim::TcpDongle::replyText({ids::CommandReply, {0xA0, 0xA0, 3, 5, 0, 0, 0, 0}})));

    // Listening for the run screen's identifier, rundown records come, first an accepted one.
    received.clear();
    socket.write(frame(ids::RunData, {ids::RunData, {}}));
    EXPECT_TRUE(awaitText(sim::TcpDongle::replyText({ids::RunData, {0x01, 0, 0, 0, 0, 0, 0, 0}})));
    EXPECT_TRUE(awaitText(replyHead(ids::RunData, {0x10, 3})));
    EXPECT_FALSE(received.contains(replyHead(ids::ToolReply, {}))) << "only the identifier asked for passes";

    // Listening for the tool's identifier, faults and rundown reports come.
    received.clear();
    socket.write(frame(ids::ToolReply, {ids::ToolReply, {}}));
    for (int group : {0x10, 0x11, 0x12, 0x15})
        EXPECT_TRUE(awaitText(replyHead(ids::ToolReply, {group, 0}))) << group;
    EXPECT_TRUE(awaitText(replyHead(ids::ToolReply, {0x40})));

    // A button calibration: after the button-test request the tool streams its sensors, 1000 each while
    // released; the filter frame that begins each reading lets them through, and the second reading is
    // taken with the buttons held (200 each), the third released again.
    const clink::CanId sensors = ids::BlockReply;
    const QByteArray released = sim::TcpDongle::replyText({sensors, {3, 232, 3, 232, 3, 232, 3, 232}});
    const QByteArray held = sim::TcpDongle::replyText({sensors, {0, 200, 0, 200, 0, 200, 0, 200}});
    socket.write(frame(sensors, {ids::ToolEepromRequest, {0x40, 0, 0, 0, 0, 0, 0, 0}}));
    for (const QByteArray& reading : {released, held, released}) {
        received.clear();
        socket.write(frame(sensors, {sensors, {}}));
        EXPECT_TRUE(awaitText(reading + reading)) << received.right(200).toStdString();
    }

    sim.kill();
    sim.waitForFinished();
}

} // namespace
