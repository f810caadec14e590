// The Ethernet frame text: what goes out, and how received text is split into frames.
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "sim/tcpdongle.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

using namespace clink;

namespace {

// A link whose socket is not connected: received text is fed to the parser directly.
class ParserTest : public ::testing::Test {
protected:
    base::QtEventPump pump;
    clink::ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    ControllerLink link{pump, dialogs, clock};
    LinkState& s = link.state;

    static QByteArray statusFrame(int count, int current) {
        return sim::TcpDongle::replyText({ids::StatusRequest, {0x10, count, current, 5, 0xB0, 0x04, 0, 0}});
    }
    void feed(const QByteArray& bytes) { link.ethernet.onDataArrival(bytes); }
};

} // namespace

TEST(EthernetFrames, ToolEepromReadOfAddress5) {
    const auto fields =
        frameFields(ids::ToolEepromReply, ids::ToolEepromRequest, {0x90, 0, 5, 0, 0, 0, 0, 0});
    EXPECT_EQ(canFrameText(fields), QByteArray("%CAN,18,239,6,2,16,239,2,1,144,0,5,0,0,0,0,0,NAC%\r\n"));
}

TEST(EthernetFrames, IdentifierImagesAndText) {
    EXPECT_EQ(canIdFromImage(135, 120, 24, 8), 0x10EF0301u);
    EXPECT_EQ(canIdFromImage(0x87, 0x78, 0x18, 0x08), ids::StatusBroadcast);
    for (CanId id :
         {ids::ToolEepromReply, ids::CommandReply, ids::RunData, ids::NsmRequest, ids::BlockReply}) {
        const auto img = canIdImage(id);
        EXPECT_EQ(canIdFromImage(img[0], img[1], img[2], img[3]), id) << canIdText(id).toStdString();
    }
    EXPECT_EQ(canIdImage(ids::ToolEepromReply), (std::array<int, 4>{151, 120, 48, 16}));
    EXPECT_EQ(parseCanId(QStringLiteral("10ef0201")), ids::ToolEepromRequest);
    EXPECT_EQ(canIdText(ids::CalibrationRequest), QStringLiteral("08EF0601"));
    EXPECT_FALSE(parseCanId(QStringLiteral("xyz")).has_value());
    EXPECT_FALSE(parseCanId(QStringLiteral("123456789")).has_value());
}

TEST_F(ParserTest, TwoFramesInOneArrival) {
    feed(statusFrame(3, 1) + statusFrame(7, 2));
    EXPECT_EQ(s.SystemStatus.PsetCount, 7);
    EXPECT_EQ(s.SystemStatus.CurrentPset, 2);
    EXPECT_TRUE(s.EthernetRxText.isEmpty());
}

TEST_F(ParserTest, AFrameSplitAtEveryPositionIsHandledOnce) {
    const QByteArray frame = statusFrame(4, 3);
    s.AwaitedId = ids::StatusRequest; // a status read waits for it
    for (int cut = 1; cut < frame.size(); ++cut) {
        s.SystemStatus = {};
        s.ReplyReady = false;
        feed(frame.left(cut));
        const bool complete = frame.left(cut).contains("NAC%");
        EXPECT_EQ(s.ReplyReady, complete) << "cut at " << cut;
        feed(frame.mid(cut));
        EXPECT_TRUE(s.ReplyReady) << "cut at " << cut;
        EXPECT_EQ(s.SystemStatus.PsetCount, 4);
        EXPECT_TRUE(s.EthernetRxText.isEmpty()) << "cut at " << cut;
    }
}

TEST_F(ParserTest, LineEndsArrivingAloneAndTheCharacterAfterThemAreKept) {
    QByteArray frame = statusFrame(2, 2);
    frame.chop(2);
    feed(frame);
    EXPECT_EQ(s.SystemStatus.PsetCount, 2);
    EXPECT_TRUE(s.EthernetRxText.isEmpty()); // the tail's last character begins no frame
    feed("\r\n");
    feed("%");
    EXPECT_EQ(s.EthernetRxText, QByteArray("%"));
    feed(statusFrame(6, 1).mid(1));
    EXPECT_EQ(s.SystemStatus.PsetCount, 6);
}

TEST_F(ParserTest, GarbageBeforeAFrameIsSkipped) {
    feed("hello\r\nworld" + statusFrame(5, 4));
    EXPECT_EQ(s.SystemStatus.PsetCount, 5);
    feed("junk without a head");
    EXPECT_LE(s.EthernetRxText.size(), 3);
    feed(statusFrame(8, 8));
    EXPECT_EQ(s.SystemStatus.PsetCount, 8);
}

TEST_F(ParserTest, MalformedFramesAreDroppedWhole) {
    feed(statusFrame(1, 1));
    // A field above 65535, a non-number, too many fields, and a frame cut short by the next one.
    feed("%CAN,175,120,24,8,16,99,1,5,70000,0,0,0,NAC%\r\n");
    feed("%CAN,175,120,24,8,16,x,1,5,0,0,0,0,NAC%\r\n");
    feed("%CAN,175,120,24,8,16,9,1,5,0,0,0,0,1,2,3,4,5,6,7,NAC%\r\n");
    feed("%CAN,175,120,24,8,16,9%CAN,175,120,24,8,16,6,2,5,0,0,0,0,NAC%\r\n");
    EXPECT_EQ(s.SystemStatus.PsetCount, 6);
    EXPECT_EQ(s.SystemStatus.CurrentPset, 2);
    EXPECT_TRUE(s.EthernetRxText.isEmpty());
}

TEST_F(ParserTest, StatusRecordLines) {
    feed(statusFrame(8, 3));
    const auto& lines = s.SystemStatus.SystemStatusLines;
    EXPECT_EQ(lines[0], QStringLiteral("Number Of Parameter Sets: 8").leftJustified(40));
    EXPECT_EQ(lines[1], QStringLiteral("Current Parameter Set: 3").leftJustified(40));
    EXPECT_EQ(lines[2], QStringLiteral("Units: Nm").leftJustified(40));
    EXPECT_EQ(lines[3], QStringLiteral("Current Target: 120").leftJustified(40));
    // A raw target of 32768 or more is a configured (unsigned) value.
    feed(sim::TcpDongle::replyText({ids::StatusRequest, {0x10, 1, 1, 1, 0x05, 0xC8, 0, 0}}));
    EXPECT_EQ(s.SystemStatus.StatusTarget, 51205 / 10.0);
    EXPECT_EQ(s.SystemStatus.SystemStatusLines[3].trimmed(), QStringLiteral("Current Target: 5120.5"));
    EXPECT_TRUE(dialogs.messages.empty());
}
