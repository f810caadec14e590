// Received frames that must not be taken: garbled text, replies whose echo does not match the request,
// replies left over from an earlier exchange, and repeats of a reply already taken. Also the parser's cost
// on a flood of frame heads.
#include "sim/tcpdongle.h"
#include "tests/link/ethernethandlers.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using namespace clink;

namespace {

class FrameRejection : public linktest::EthernetHandlers {
protected:
    void feed(const QByteArray& text) { link.ethernet.onDataArrival(text); }
    static QByteArray text(CanId id, std::array<int, 8> d) { return sim::TcpDongle::replyText({id, d}); }
    bool untouched() const { return !s.AckReceived && !s.ReplyReady; }
};

} // namespace

// --- garbled text ---

TEST_F(FrameRejection, FramesWithTooFewNumbersOrFieldsAboveAByteAreDroppedWhole) {
    expectRequest(0, 5);
    s.AwaitedId = ids::ToolEepromReply;
    s.DataCount = 0;
    // A tool-EEPROM reply cut to seven numbers: no longer filled up with zeros and taken.
    feed("%CAN,151,120,48,16,48,0,5,NAC%\r\n%CAN,151,120,48,16,48,0,5,NAC%\r\n");
    EXPECT_TRUE(untouched());
    // An identifier byte above 255 (407 & 255 would read as 12EF0602), a data byte above 255.
    feed("%CAN,407,120,48,16,48,0,5,9,0,0,0,0,NAC%\r\n%CAN,407,120,48,16,48,0,5,9,0,0,0,0,NAC%\r\n");
    feed("%CAN,151,120,48,16,48,0,5,265,0,0,0,0,NAC%\r\n%CAN,151,120,48,16,48,0,5,265,0,0,0,0,NAC%\r\n");
    EXPECT_TRUE(untouched());
    // A head that is not "%CAN," and text after the last field.
    feed("%CANX,151,120,48,16,48,0,5,9,0,0,0,0,NAC%\r\n");
    feed("%CAN,151,120,48,16,48,0,5,9,0,0,0,0,7NAC%\r\n");
    EXPECT_TRUE(untouched());
    EXPECT_TRUE(s.EthernetRxText.isEmpty());
    // The same reply well formed is taken.
    feed(text(ids::ToolEepromReply, {48, 0, 5, 9, 0, 0, 0, 0}).repeated(2));
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[0], 9);
}

TEST_F(FrameRejection, TextThatCannotBecomeAFrameIsNotKept) {
    feed("%CAN,135,120,24,8," + QByteArray(10000, '7'));
    EXPECT_LE(s.EthernetRxText.size(), Ethernet::MaxFrameText);
    feed(QByteArray(10000, 'x'));
    EXPECT_LE(s.EthernetRxText.size(), 3);
    feed(text(ids::StatusRequest, {0x10, 6, 2, 5, 0, 0, 0, 0}));
    EXPECT_EQ(s.SystemStatus.PsetCount, 6);
}

TEST_F(FrameRejection, AMebibyteOfFrameHeadsThenOneTailIsParsedInOnePass) {
    QByteArray heads;
    constexpr qsizetype Mebibyte = 1024 * 1024;
    while (heads.size() < Mebibyte)
        heads += "%CAN";
    QElapsedTimer t;
    t.start();
    feed(heads);
    EXPECT_LE(s.EthernetRxText.size(), 4); // only the last head can still begin a frame
    feed(heads + text(ids::StatusRequest, {0x10, 7, 3, 5, 0, 0, 0, 0}).mid(4));
    // Generous: under the sanitizers; a quadratic parse took minutes.
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_EQ(s.SystemStatus.PsetCount, 7);
    EXPECT_TRUE(s.EthernetRxText.isEmpty());
}

// --- echoes a handler checks ---

TEST_F(FrameRejection, ARundownResultBlockMustNameTheBlockAsked) {
    awaitAnswer(ids::CommandReply, 0x10);
    s.DataCount = 0;
    expectRequest(2, 0);
    twice(ids::CommandReply, {0x10, 1, 9, 9, 9, 9, 9, 9});
    EXPECT_TRUE(untouched());
    twice(ids::CommandReply, {0x10, 2, 1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataCount, 6);
    // A repeat of the block just taken is not appended a second time.
    frame(ids::CommandReply, {0x10, 2, 1, 2, 3, 4, 5, 6});
    EXPECT_EQ(s.DataCount, 6);
    EXPECT_EQ(s.DataBuffer[5], 6);
}

TEST_F(FrameRejection, ARundownLogBlockMustEchoPsetAndBlock) {
    s.EepromReadIndex = 10;
    awaitAnswer(ids::CommandReply, 0xEA);
    expectRequest(3, 7);
    twice(ids::CommandReply, {0xEA, 3, 8, 1, 1, 1, 1, 1});
    twice(ids::CommandReply, {0xEA, 4, 7, 1, 1, 1, 1, 1});
    EXPECT_TRUE(untouched());
    twice(ids::CommandReply, {0xEA, 3, 7, 11, 12, 13, 14, 15});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.EepromReadIndex, 15);
    EXPECT_EQ(s.DataBuffer[10], 11);
    EXPECT_EQ(s.DataBuffer[14], 15);
}

TEST_F(FrameRejection, ACurveReplyMustEchoTheIndexHighByteExactly) {
    expectRequest(2, 10, 1);
    twice(ids::CurveReply, {0x20, 2, 10, 0, 9, 9, 9, 9});
    EXPECT_TRUE(untouched());
    // Index high byte 0 asked: a reply for high byte 1 is another sample.
    expectRequest(2, 10, 0);
    twice(ids::CurveReply, {0x20, 2, 10, 1, 9, 9, 9, 9});
    EXPECT_TRUE(untouched());
    twice(ids::CurveReply, {0x20, 2, 10, 0, 1, 2, 3, 4});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 1);
    EXPECT_EQ(s.RequestData[4], 4);
}

TEST_F(FrameRejection, ATransducerConfirmationMustEchoOnTheSecondFrameToo) {
    s.DataCount = 3;
    expectRequest(0, 5);
    frame(ids::TransducerReply2, {0x30, 0, 5, 9, 0, 0, 0, 0});
    EXPECT_TRUE(s.AckReceived);
    frame(ids::TransducerReply2, {0x30, 0, 6, 8, 0, 0, 0, 0});
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[3], 0);
    frame(ids::TransducerReply2, {0x30, 0, 5, 9, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[3], 9);
}

TEST_F(FrameRejection, NsmVersionAndClockKeepTheirByteOrder) {
    expectRequest(0, 0);
    twice(ids::NsmReply2, {0xAA, 1, 3, 0, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 1);
    EXPECT_EQ(s.RequestData[2], 3);
    expectRequest(0, 0);
    twice(ids::NsmReply2, {0xDD, 11, 22, 33, 44, 55, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData, (std::array<int, 6>{0, 11, 22, 33, 44, 55}));
}

TEST_F(FrameRejection, AWriteIsConfirmedOnlyWithItsValueEvenZero) {
    // A read's reply for the same location carries the old value; under ExactEcho it confirms nothing.
    s.ExactEcho = true;
    for (CanId id : {ids::ToolEepromReply, ids::TransducerReply, ids::NsmReply}) {
        expectRequest(0, 9, 0);
        twice(id, {0x30, 0, 9, 41, 0, 0, 0, 0});
        EXPECT_TRUE(untouched()) << canIdText(id).toStdString();
        twice(id, {0x30, 0, 9, 0, 0, 0, 0, 0});
        EXPECT_TRUE(s.ReplyReady) << canIdText(id).toStdString();
    }
    // A DSP word: both value bytes, while a read awaits them.
    awaitAnswer(ids::DspReply, 0x30);
    s.ExactEcho = true;
    s.DataCount = 0;
    expectRequest(0, 0x2C, 1);
    s.RequestData[4] = 0x34;
    s.RequestData[5] = 0x12;
    frame(ids::DspReply, {0x30, 0, 0x2C, 1, 0x34, 0x99, 0, 0});
    EXPECT_TRUE(untouched());
    frame(ids::DspReply, {0x30, 0, 0x2C, 1, 0x34, 0x12, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
}

// --- replies left over from an earlier exchange ---

TEST_F(FrameRejection, AcknowledgementsOfAnotherCommandAreLeftOvers) {
    // Two version replies still in flight must not complete a logic reset.
    expectRequest(0x63, 0);
    s.AwaitedCode = 0x63;
    twice(ids::CommandReply, {0xA0, 0xA0, 4, 2, 0, 0, 0, 0});
    twice(ids::CommandReply, {0xA0, 0x76, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(untouched());
    twice(ids::CommandReply, {0xA0, 0x63, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    // A Pset packet other than the one asked for.
    awaitAnswer(ids::CommandReply, 2);
    expectRequest(0, 0);
    s.DataBuffer.clear();
    twice(ids::CommandReply, {0x01, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_TRUE(untouched());
    EXPECT_EQ(s.DataBuffer[0], 0);
    twice(ids::CommandReply, {0x02, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[7], 1);
}

TEST_F(FrameRejection, FramesOnAnotherIdentifierThanTheAwaitedAreLeftOvers) {
    // A tool-EEPROM reply still in flight during a status read: its echo matches what the read left in
    // RequestData, but it is not on the awaited identifier.
    expectRequest(0, 6);
    s.AwaitedId = ids::StatusRequest;
    s.DataCount = 0;
    twice(ids::ToolEepromReply, {0x30, 0, 6, 0x66, 0, 0, 0, 0});
    EXPECT_TRUE(untouched());
    EXPECT_EQ(s.DataBuffer[0], 0);
    frame(ids::StatusRequest, {0x10, 8, 1, 1, 0xB0, 0x04, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.SystemStatus.PsetCount, 8);
}

TEST_F(FrameRejection, TheNsmClockDoesNotAnswerASettingsRead) {
    // The unit answers the read's filter frame with its clock [DD ...]: not a location's value.
    expectRequest(0, 0);
    s.AwaitedCode = 0x30;
    s.DataCount = 0;
    twice(ids::NsmReply, {0xDD, 0x8F, 7, 6, 14, 9, 0, 0});
    EXPECT_TRUE(untouched());
    EXPECT_EQ(s.RequestData[1], 0);
    twice(ids::NsmReply, {0x30, 0, 0, 3, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[0], 3);
}

TEST_F(FrameRejection, ATransactionStartsWithoutWhatAnEarlierOneLeft) {
    // Half a frame and raised flags from before: the next transaction takes neither. The half
    // frame is kept so that, once whole, it is judged as the earlier frame it is.
    s.ConnectionType = TcpIp;
    s.AckReceived = true;
    s.ReplyReady = true;
    feed("%CAN,151,120,48,16,48,0,5,");
    {
        Transaction tx(link);
        EXPECT_TRUE(untouched());
        EXPECT_TRUE(tx.over()); // and with the socket down it is over before it sends
    }
    feed("9,0,0,0,0,NAC%\r\n");
    EXPECT_TRUE(untouched());
}
