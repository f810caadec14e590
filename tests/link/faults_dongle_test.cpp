// The stand-in's Ethernet dongle under noisy input and long runs: it finds the next frame after one cut
// short, keeps a bounded input and bounded logs, and answers the way each reply handler takes it.
#include "link/ethernet.h"
#include "link/ethernetlink.h"
#include "sim/controllermodel.h"
#include "sim/recentlog.h"
#include "sim/tcpdongle.h"
#include "tests/support/waitfor.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace clink;
using testsupport::waitFor;

namespace {

class DongleInput : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dongle.listen(0));
        client.connectToHost(QStringLiteral("127.0.0.1"), dongle.port());
        ASSERT_TRUE(
            waitFor([&] { return client.state() == QAbstractSocket::ConnectedState && dongle.hasClient(); }));
    }
    void send(const QByteArray& bytes) {
        client.write(bytes);
        client.flush();
    }
    // The frames the dongle passed back, once the stream has been quiet for a moment.
    int framesBack() {
        waitFor([] { return false; }, 60);
        received += client.readAll();
        return int(received.count("NAC%"));
    }
    static QByteArray toolRead(int address) {
        return canFrameText(
            frameFields(ids::ToolEepromReply, ids::ToolEepromRequest, {0x90, 0, address, 0, 0, 0, 0, 0}));
    }

    sim::ControllerModel model;
    sim::TcpDongle dongle{model};
    QTcpSocket client;
    QByteArray received;
};

} // namespace

TEST_F(DongleInput, AFrameCutShortByTheNextHeadIsDroppedAndTheNextOneAnswered) {
    QByteArray cut = toolRead(5);
    cut.chop(20);
    send(cut + toolRead(6));
    ASSERT_TRUE(waitFor([&] { return dongle.frames.size() == 1; }));
    EXPECT_EQ(dongle.frames[0].message, (CanMessage{ids::ToolEepromRequest, {0x90, 0, 6, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest), 1);
}

TEST_F(DongleInput, InputWithoutATailIsNotKeptBeyondItsBound) {
    send("%CAN," + QByteArray(sim::TcpDongle::MaxPendingInput + 1000, '7'));
    ASSERT_TRUE(waitFor([&] { return dongle.pendingBytes() < 4; })); // at most the start of a head
    send(toolRead(9));
    ASSERT_TRUE(waitFor([&] { return dongle.frames.size() == 1; }));
    EXPECT_EQ(dongle.frames[0].message.data[2], 9);
}

TEST_F(DongleInput, EachReplyComesTheWayItsHandlerTakesIt) {
    // Asked to acknowledge first: an acknowledgement and the reply for the tool EEPROM, one frame for the
    // status.
    dongle.ackThenReply = true;
    send(toolRead(5));
    EXPECT_EQ(framesBack(), 2);
    send(canFrameText(filterFrameFields(ids::StatusRequest)));
    EXPECT_EQ(framesBack(), 3);
    // A controller that answers once per request.
    dongle.ackThenReply = false;
    send(toolRead(5));
    EXPECT_EQ(framesBack(), 4);
    // Answers held back: nothing yet, then the frame.
    dongle.replyDelay = 300;
    send(toolRead(5));
    EXPECT_EQ(framesBack(), 4);
    EXPECT_TRUE(waitFor([&] { return framesBack() == 5; }, 3000));
}

TEST_F(DongleInput, ARepeatingGatewayWritesEachCopyApartAndSpacedFramesComeOneAtATime) {
    // Each copy of a repeated frame after its gap: the acknowledgement and the reply first, their copies
    // later (a controller that acknowledges before it replies).
    dongle.ackThenReply = true;
    dongle.duplicateReplies = true;
    dongle.repeatGapMs = 300;
    send(toolRead(5));
    EXPECT_EQ(framesBack(), 2);
    EXPECT_TRUE(waitFor([&] { return framesBack() == 4; }, 3000));
    // The frames of one answer written apart: the acknowledgement, then the reply after the gap.
    dongle.duplicateReplies = false;
    dongle.repeatGapMs = -1;
    dongle.frameGapMs = 300;
    model.toolEeprom[6] = 0x42;
    send(toolRead(6));
    EXPECT_EQ(framesBack(), 5);
    EXPECT_TRUE(waitFor([&] { return framesBack() == 6; }, 3000));
    EXPECT_TRUE(
        received.endsWith(sim::TcpDongle::replyText({ids::ToolEepromReply, {0x30, 0, 6, 0x42, 0, 0, 0, 0}})));
}

TEST(RecentLog, KeepsOnlyTheMostRecentEntries) {
    sim::RecentLog<int> log(3);
    for (int i = 1; i <= 5; ++i)
        log.push_back(i);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log.front(), 3);
    EXPECT_EQ(log[1], 4);
    EXPECT_EQ(log.back(), 5);
    // The model's log of received messages stays bounded on a long run.
    sim::ControllerModel model;
    for (size_t i = 0; i < sim::RecentLogCapacity + 10; ++i)
        model.respond({ids::ToolEepromRequest, {0x90, 0, int(i % 256), 0, 0, 0, 0, 0}},
                      sim::Transport::Ethernet);
    EXPECT_EQ(model.received.size(), sim::RecentLogCapacity);
    EXPECT_EQ(model.received.back().data[2], int((sim::RecentLogCapacity + 9) % 256));
}

TEST(EthernetLinkDelivery, AFloodOfTextIsDeliveredInSlicesFromSeparateTurnsOfTheEventLoop) {
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    EthernetLink socket;
    socket.connectTo(QStringLiteral("127.0.0.1"), server.serverPort());
    ASSERT_TRUE(waitFor([&] { return socket.isConnected() && server.hasPendingConnections(); }));
    QTcpSocket* peer = server.nextPendingConnection();
    std::vector<qsizetype> chunks;
    QObject::connect(&socket, &EthernetLink::dataArrived,
                     [&](const QByteArray& b) { chunks.push_back(b.size()); });
    constexpr qsizetype Flood = 4 * EthernetLink::MaxChunk + 100;
    peer->write(QByteArray(Flood, 'x'));
    peer->flush();
    qsizetype total = 0;
    ASSERT_TRUE(waitFor([&] {
        total = 0;
        for (qsizetype c : chunks)
            total += c;
        return total == Flood;
    }));
    EXPECT_GE(chunks.size(), 5u);
    for (qsizetype c : chunks)
        EXPECT_LE(c, EthernetLink::MaxChunk);
}
