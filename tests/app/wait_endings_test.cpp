// How waits end. One silence clock per outermost transaction: transactions nested in it do not start the
// count again, only an accepted frame does. A cancel by the user ends the running transaction's wait at
// once and quietly, and the next transaction starts clean. On Ethernet a wait ends as soon as the
// connection is gone (the NSM presence wait included); a flood is read into a bounded buffer, what the
// program cannot take in time is dropped, and a frame cut by the drop is never joined to the next text.
#include "link/commandcodes.h"
#include "link/nsmexchange.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/ethernetfixture.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

using namespace clink;

namespace {

class Waits : public ::testing::Test {
protected:
    testsupport::CountingEventPump pump;
    ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    ControllerLink link{pump, dialogs, clock};
    LinkState& s = link.state;
};

class DroppedLink : public testsupport::EthernetFixture {
protected:
    int framesAccepting(CanId accept) const {
        return int(std::count_if(dongle.frames.begin(), dongle.frames.end(),
                                 [&](const sim::TcpDongle::Received& r) { return r.accept == accept; }));
    }
};

// A tool-EEPROM reply [30 high low value] as the dongle sends it.
QByteArray eepromReply(int address, int value) {
    return sim::TcpDongle::replyText({ids::ToolEepromReply, {0x30, address >> 8, address & 0xFF, value}});
}

} // namespace

TEST_F(Waits, NestedTransactionsShareTheOutermostSilenceClock) {
    s.ConnectionType = NoConnection;
    Transaction outer(link);
    clock.advance(SilenceCapMs - 1000);
    {
        // A take nested in the outer exchange: its start is no sign of life.
        Transaction inner(link);
        EXPECT_FALSE(inner.over());
        clock.advance(1000);
        EXPECT_TRUE(inner.over());
    }
    EXPECT_TRUE(outer.over());
    // Waits inside are cut to nothing.
    pump.budgetSpent = 0;
    link.pump.pause(100);
    EXPECT_EQ(pump.budgetSpent, 0);
}

TEST_F(Waits, AnAcceptedFrameInANestedTransactionMovesTheOuterClock) {
    s.ConnectionType = NoConnection;
    Transaction outer(link);
    clock.advance(SilenceCapMs - 1000);
    {
        Transaction inner(link);
        s.AwaitedId = ids::ToolEepromReply;
        s.RequestData[1] = 0;
        s.RequestData[2] = 5;
        link.ethernet.dispatch(ids::ToolEepromReply, {0x30, 0, 5, 1, 0, 0, 0, 0});
    }
    clock.advance(SilenceCapMs - 1000);
    EXPECT_FALSE(outer.over());
    clock.advance(1000);
    EXPECT_TRUE(outer.over());
}

TEST_F(Waits, ACancelEndsTheRunningWaitQuietlyAndOnlyThatTransaction) {
    s.ConnectionType = NoConnection;
    {
        Transaction tx(link);
        EXPECT_FALSE(tx.over());
        // The user cancels while the wait runs: it ends at once, reporting that its condition did not hold.
        bool cancelled = false;
        pump.betweenPolls = [&] {
            if (!cancelled) {
                cancelled = true;
                link.transactions.cancel();
            }
        };
        pump.budgetSpent = 0;
        EXPECT_FALSE(link.pump.waitUntil([&] { return s.ReplyReady; }, 1000));
        EXPECT_TRUE(cancelled);
        EXPECT_TRUE(tx.over());
        pump.betweenPolls = nullptr;
        // Nested takes of the cancelled exchange do not wait either.
        Transaction inner(link);
        EXPECT_TRUE(inner.over());
        link.pump.pause(100);
        EXPECT_EQ(pump.budgetSpent, 0);
        EXPECT_TRUE(dialogs.messages.empty());
    }
    // The next exchange starts clean and waits its whole budget.
    Transaction next(link);
    EXPECT_FALSE(next.over());
    link.pump.pause(100);
    EXPECT_EQ(pump.budgetSpent, 100);
}

TEST_F(DroppedLink, TheNsmPresenceWaitEndsWhenTheConnectionCloses) {
    // The unit never answers, and the dongle closes the connection at the first presence frame: the wait
    // (up to the cap, 10 s) ends with the connection, and the read fails with the presence failure.
    model.noReply.insert(ids::NsmReply);
    dongle.armOnAccept(ids::NsmReply, [this] { dongle.dropClient(); });
    clink::NsmExchange nsm(link);
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(nsm.readClock());
    EXPECT_LT(t.elapsed(), SilenceCapMs / 2); // generous for a loaded machine; a missed close waits the cap
    EXPECT_EQ(dialogs.messageTexts(), QStringList{clink::NsmExchange::NotCommunicating});
    EXPECT_FALSE(link.socket.isConnected());
    // Nothing else went out: no clock request after the failed presence check.
    EXPECT_EQ(model.countReceived(ids::NsmRequest), 0);
    EXPECT_LE(framesAccepting(ids::NsmReply), 2);
}

TEST_F(DroppedLink, AFloodIsReadIntoABoundedBufferAndTheRestDropped) {
    // Valid frames the program has no handler for, far more than it can parse while they come.
    constexpr qint64 FloodBytes = 16LL * 1024 * 1024;
    qint64 delivered = 0;
    qsizetype largestKept = 0;
    QObject::connect(&link.socket, &EthernetLink::dataArrived, &link.socket, [&](const QByteArray& bytes) {
        delivered += bytes.size();
        EXPECT_LE(bytes.size(), EthernetLink::MaxChunk);
        largestKept = std::max(largestKept, s.EthernetRxText.size());
    });
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(1);
    const qint64 flooded = dongle.flood({ids::CurveReply2, {0x20, 1, 2, 3, 4, 5, 6, 7}}, FloodBytes);
    ASSERT_GE(flooded, FloodBytes);
    ASSERT_TRUE(waitFor([&] { return delivered + link.socket.droppedBytes() == flooded; }, 60000))
        << delivered << " delivered, " << link.socket.droppedBytes() << " dropped of " << flooded;
    // The program fell behind and dropped the backlog; what it kept between arrivals is one frame at most.
    EXPECT_GT(link.socket.droppedBytes(), 0);
    EXPECT_LE(largestKept, Ethernet::MaxFrameText);
    // The event loop kept running (timers fired) while the flood was read.
    EXPECT_GT(ticks, 0);
    tick.stop();
    // The link is in step again: the next exchange takes its own answer.
    model.toolEeprom[9] = 0x66;
    ASSERT_TRUE(link.dataTx.ReadToolEeprom(9));
    EXPECT_EQ(s.DataBuffer[0], 0x66);
}

TEST_F(DroppedLink, AFrameCutByADropIsNotJoinedToTheNextText) {
    // The read of address 5 has its acknowledgement; the reply would be stored.
    s.RequestData[1] = 0;
    s.AwaitedId = ids::ToolEepromReply;
    s.RequestData[2] = 5;
    s.RequestData[3] = 0;
    s.AckReceived = true;
    s.ReplyReady = false;
    s.DataCount = 0;
    s.DataBuffer.put(0, 0);
    // The head of one reply arrives, the rest of the text is dropped, and the next arrival is the tail of
    // another: joined, they would read as the reply with the wrong value.
    const QByteArray wrong = eepromReply(5, 0x11);
    const QByteArray later = eepromReply(5, 0x99);
    const qsizetype cut = wrong.indexOf(",0,5,") + 5; // up to the echo, before the value
    link.ethernet.onDataArrival(wrong.left(cut));
    link.ethernet.onDataDropped();
    link.ethernet.onDataArrival(later.mid(cut));
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[0], 0);
    EXPECT_TRUE(s.EthernetRxText.isEmpty());
    // The next whole frame is taken.
    link.ethernet.onDataArrival(eepromReply(5, 0x42));
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[0], 0x42);
}
