// The Ethernet reply handlers: what each frame does to the shared link state.
#include "sim/tcpdongle.h"
#include "tests/link/ethernethandlers.h"

#include <gtest/gtest.h>

using namespace clink;

namespace {

using HandlerTest = linktest::EthernetHandlers;

} // namespace

TEST_F(HandlerTest, ToolEepromReplyAcknowledgesThenStores) {
    s.DataCount = 10;
    expectRequest(1, 5);
    frame(ids::ToolEepromReply, {0x30, 1, 5, 77, 0, 0, 0, 0});
    EXPECT_TRUE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[10], 0);
    // Another address is not this reply.
    frame(ids::ToolEepromReply, {0x30, 1, 6, 99, 0, 0, 0, 0});
    EXPECT_FALSE(s.ReplyReady);
    frame(ids::ToolEepromReply, {0x30, 1, 5, 77, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[10], 77);
    EXPECT_EQ(s.DataCount, 10); // the transaction advances it
}

TEST_F(HandlerTest, ToolEepromWriteConfirmationMustCarryTheWrittenValue) {
    expectRequest(0, 9, 42);
    twice(ids::ToolEepromReply, {0x30, 0, 9, 41, 0, 0, 0, 0});
    EXPECT_FALSE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
    twice(ids::ToolEepromReply, {0x30, 0, 9, 42, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
}

TEST_F(HandlerTest, LogicBlockReplyAcknowledgesFirstThenCompletesOnlyForItsBlock) {
    s.DataCount = 12;
    expectRequest(5, 9);
    // The first [61 n ...] frame is the acknowledgement, even when it names the block asked for.
    frame(ids::CommandReply, {0x61, 5, 1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
    // A later frame for another block does not complete it, whatever else it carries.
    frame(ids::CommandReply, {0x61, 9, 1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(s.ReplyReady);
    frame(ids::CommandReply, {0x61, 5, 1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(s.ReplyReady);
    // Nothing is stored: the frames only confirm the block.
    EXPECT_EQ(s.DataCount, 12);
    EXPECT_EQ(s.DataBuffer[12], 0);
}

TEST_F(HandlerTest, PsetPacketsLandAtTheirOffsetsOnlyForTheReadAwaitingThem) {
    expectRequest(0, 0);
    twice(ids::CommandReply, {0x03, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_FALSE(s.AckReceived);
    EXPECT_EQ(s.DataBuffer[14], 0);
    awaitAnswer(ids::CommandReply, 0x03);
    frame(ids::CommandReply, {0x03, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_FALSE(s.ReplyReady);
    frame(ids::CommandReply, {0x03, 1, 2, 3, 4, 5, 6, 7});
    EXPECT_TRUE(s.ReplyReady);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(s.DataBuffer[14 + i], i + 1);
}

TEST_F(HandlerTest, VersionRuleAppliesOnlyWhileAVersionReadIsPending) {
    // Logic block 1 acknowledgement: image bytes 0..1 are not touched.
    s.DataBuffer.put(0, 11);
    s.DataBuffer.put(1, 22);
    expectRequest(0x61, 1);
    frame(ids::CommandReply, {0xA0, 0x61, 1, 0x33, 0, 0, 0, 0});
    EXPECT_EQ(s.DataBuffer[0], 11);
    EXPECT_EQ(s.DataBuffer[1], 22);
    EXPECT_TRUE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
    frame(ids::CommandReply, {0xA0, 0x61, 1, 0x33, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);

    // The version read stores major and minor on the first frame.
    expectRequest(0xA0, 1);
    s.VersionReadPending = true;
    taken(ids::CommandReply, {0xA0, 0xA0, 4, 2, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[0], 4);
    EXPECT_EQ(s.DataBuffer[1], 2);
}

TEST_F(HandlerTest, AcknowledgementOfASystemCommandCarriesTheMajorVersion) {
    expectRequest(0, 0);
    taken(ids::CommandReply, {0xA0, 0xA0, 5, 1, 0, 0, 0, 0});
    EXPECT_TRUE(s.AckReceived);
    taken(ids::CommandReply, {0xA0, 0xA0, 5, 1, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 5);
}

TEST_F(HandlerTest, LogicDataAndBlockAppendsAreBoundedByTheBuffer) {
    awaitAnswer(ids::CommandReply, 0x62);
    expectRequest(0, 7);
    s.DataCount = 6000 - 3;
    twice(ids::CommandReply, {0x62, 7, 1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(s.ReplyReady); // dropped: it would not fit
    EXPECT_EQ(s.DataCount, 5997);
    s.DataCount = 100;
    frame(ids::CommandReply, {0x62, 7, 1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataCount, 106);
    EXPECT_EQ(s.DataBuffer[105], 6);

    awaitAnswer(ids::BlockReply, 0);
    s.DataCount = 5995;
    frame(ids::BlockReply, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(s.DataCount, 5995);
    s.DataCount = 0;
    frame(ids::BlockReply, {1, 2, 3, 4, 5, 6, 7, 8});
    frame(ids::BlockReply, {9, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(s.DataCount, 16);
    EXPECT_EQ(s.DataBuffer[8], 9);
}

TEST_F(HandlerTest, AppendingHandlersStoreNothingUnlessATransactionAwaitsExactlyThatAnswer) {
    // Logic data, a rundown-log block, a rundown result, a DSP word and a block reply: each would append.
    const auto sendAll = [&] {
        frame(ids::CommandReply, {0x62, 7, 1, 2, 3, 4, 5, 6});
        frame(ids::CommandReply, {0xEA, 0, 7, 1, 2, 3, 4, 5});
        frame(ids::CommandReply, {0x10, 0, 1, 2, 3, 4, 5, 6});
        frame(ids::DspReply, {0x30, 0, 7, 0, 0x34, 0x12, 0, 0});
        frame(ids::BlockReply, {1, 2, 3, 4, 5, 6, 7, 8});
    };
    // No transaction: the echo values left behind match, twice over, and still nothing is stored.
    expectRequest(0, 7);
    s.AckReceived = true;
    s.DataCount = 10;
    s.EepromReadIndex = 20;
    sendAll();
    sendAll();
    EXPECT_EQ(s.DataCount, 10);
    EXPECT_EQ(s.EepromReadIndex, 20);
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[10], 0);
    // A transaction awaiting another answer on the same identifier: nothing either.
    awaitAnswer(ids::CommandReply, 0xA0);
    expectRequest(0, 7);
    s.AckReceived = true;
    sendAll();
    EXPECT_EQ(s.DataCount, 10);
    EXPECT_EQ(s.EepromReadIndex, 20);
    EXPECT_FALSE(s.ReplyReady);
    // Awaited: the rundown-log block is taken.
    awaitAnswer(ids::CommandReply, 0xEA);
    expectRequest(0, 7);
    s.AckReceived = true;
    sendAll();
    EXPECT_EQ(s.EepromReadIndex, 25);
    EXPECT_EQ(s.DataCount, 10);
    EXPECT_EQ(s.DataBuffer[24], 5);
}

TEST_F(HandlerTest, RunDataFillsTheRunScreenWords) {
    expectRequest(1, 0);
    frame(ids::RunData, {0x10, 1, 1, 2, 3, 4, 5, 6});
    EXPECT_TRUE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
    frame(ids::RunData, {0x10, 3, 13, 14, 15, 16, 17, 18});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RunDataWords[13], 13);
    EXPECT_EQ(s.RunDataWords[18], 18);
    EXPECT_EQ(s.RequestData[1], 0x10);
}

TEST_F(HandlerTest, ButtonStatesKeepTheirOwnFrame) {
    EXPECT_FALSE(s.ButtonReplyFrame);
    frame(ids::ButtonReply, {0, 1, 0, 0, 5, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    ASSERT_TRUE(s.ButtonReplyFrame);
    EXPECT_EQ(*s.ButtonReplyFrame, (std::array<int, 8>{0, 1, 0, 0, 5, 0, 0, 0}));
    EXPECT_EQ(s.DataBuffer[4], 5);
    // A fault report the controller sends on its own keeps its own frame too: DataBuffer, which a transfer
    // fills between its exchanges, and the button frame stay as they were.
    frame(ids::ToolReply, {0x10, 9, 9, 9, 9, 9, 9, 9});
    EXPECT_EQ(s.ToolReportFrame, (std::array<int, 8>{0x10, 9, 9, 9, 9, 9, 9, 9}));
    EXPECT_EQ(s.DataBuffer[4], 5);
    EXPECT_EQ((*s.ButtonReplyFrame)[4], 5);
}

TEST_F(HandlerTest, DspReplyStoresOnTheFirstExactFrame) {
    awaitAnswer(ids::DspReply, 0x30);
    s.DataCount = 4;
    expectRequest(0, 0x10, 0);
    frame(ids::DspReply, {0x30, 0, 0x10, 0, 0x34, 0x12, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataCount, 6);
    EXPECT_EQ(s.DataBuffer[4], 0x34);
    EXPECT_EQ(s.DataBuffer[5], 0x12);
    frame(ids::DspReply, {0x30, 0, 0x10, 0, 0x99, 0x99, 0, 0});
    EXPECT_EQ(s.DataCount, 6); // once ready, a duplicate is ignored
}

TEST_F(HandlerTest, RevisionReplyDropsOnlyTheRestOfItsBlock) {
    expectRequest(0x50, 0);
    s.AckReceived = true;
    QByteArray block = sim::TcpDongle::replyText({ids::ToolReply, {0x50, 0, 0, 0, 0, 0, 1, 3}});
    block += sim::TcpDongle::replyText({ids::StatusRequest, {0x10, 9, 9, 1, 0, 0, 0, 0}});
    link.ethernet.onDataArrival(block);
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[6], 1);
    EXPECT_EQ(s.DataBuffer[7], 3);
    EXPECT_NE(s.SystemStatus.PsetCount, 9); // dropped with the rest of the block
    // The next block is parsed whole.
    link.ethernet.onDataArrival(sim::TcpDongle::replyText({ids::StatusRequest, {0x10, 9, 9, 1, 0, 0, 0, 0}}) +
                                sim::TcpDongle::replyText({ids::StatusRequest, {0x10, 4, 2, 1, 0, 0, 0, 0}}));
    EXPECT_EQ(s.SystemStatus.PsetCount, 4);
}

TEST_F(HandlerTest, NsmAndCurveRepliesEchoIntoRequestData) {
    expectRequest(0, 3, 0);
    s.DataCount = 0;
    frame(ids::NsmReply, {0x30, 0, 3, 55, 0, 0, 0, 9});
    EXPECT_FALSE(s.ReplyReady);
    frame(ids::NsmReply, {0x30, 0, 3, 55, 0, 0, 0, 9});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.DataBuffer[0], 55);
    EXPECT_EQ(s.RequestData[1], 0x30);
    EXPECT_EQ(s.RequestData[2], 9);

    expectRequest(2, 10, 0);
    twice(ids::CurveReply, {0x20, 2, 10, 0, 1, 2, 3, 4});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 1);
    EXPECT_EQ(s.RequestData[4], 4);
}

TEST_F(HandlerTest, SocketTrayStatusAcknowledgesThenKeepsTheSocketOutAndTheLamps) {
    expectRequest(0, 0);
    frame(ids::Reply13EF0110, {0x10, 3, 0, 0, 0, 0, 0, 5});
    EXPECT_TRUE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 0);
    // The socket out of the tray is data byte 1 (byte 0 is the status code, always 16).
    frame(ids::Reply13EF0110, {0x10, 3, 0, 0, 0, 0, 0, 5});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_EQ(s.RequestData[1], 3);
    EXPECT_EQ(s.RequestData[2], 5);
}

TEST_F(HandlerTest, SerialOutModeAnswerAloneSetsTheAcknowledgement) {
    // A status answer on the same identifier completes a status read, never a mode request.
    expectRequest(7, 0);
    frame(ids::StatusRequest, {0x10, 4, 2, 1, 0, 0, 0, 0});
    EXPECT_TRUE(s.ReplyReady);
    EXPECT_FALSE(s.AckReceived);
    EXPECT_EQ(s.RequestData[1], 7);
    frame(ids::StatusRequest, {0xC2, 1, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(s.AckReceived);
    EXPECT_EQ(s.RequestData[1], 1);
}

TEST_F(HandlerTest, UnknownIdentifiersAndCodesChangeNothing) {
    expectRequest(1, 2);
    frame(ids::CurveReply2, {0x20, 1, 2, 0, 0, 0, 0, 0});
    frame(ids::CommandReply, {0x55, 1, 2, 0, 0, 0, 0, 0});
    frame(0x1FFFFFFF, {0x30, 1, 2, 3, 0, 0, 0, 0});
    EXPECT_FALSE(s.AckReceived);
    EXPECT_FALSE(s.ReplyReady);
}
