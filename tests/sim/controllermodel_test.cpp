// The controller stand-in: its answers and its Ethernet dongle's filtering.
#include "sim/controllermodel.h"
#include "sim/tcpdongle.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

using namespace sim;
namespace ids = clink::ids;

TEST(ControllerModel, ToolEepromReadAndWrite) {
    ControllerModel m;
    m.toolEeprom[0x105] = 0x42;
    auto r = m.respond({ids::ToolEepromRequest, {0x90, 1, 5, 0, 0, 0, 0, 0}}, Transport::Ethernet);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::ToolEepromReply, {0x30, 1, 5, 0x42, 0, 0, 0, 0}}));
    r = m.respond({ids::ToolEepromRequest, {0x90, 4, 0, 0, 0, 0, 0, 0}}, Transport::Ethernet);
    EXPECT_EQ(r[0].data[3], 0xFF); // beyond the tool's 1024 bytes
    r = m.respond({ids::ToolEepromRequest, {0x60, 0, 9, 17, 0, 0, 0, 0}}, Transport::Ethernet);
    EXPECT_EQ(r[0], (CanMessage{ids::ToolEepromReply, {0x30, 0, 9, 17, 0, 0, 0, 0}}));
    EXPECT_EQ(m.toolEeprom[9], 17);
    EXPECT_EQ(m.countReceived(ids::ToolEepromRequest), 3);
}

TEST(ControllerModel, StatusAndFilterFrames) {
    ControllerModel m;
    m.psetCount = 6;
    m.target = 0x1234;
    auto r = m.respond({ids::StatusRequest, {}}, Transport::Ethernet);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::StatusRequest, {0x10, 6, 1, 1, 0x34, 0x12, 0, 0}}));
    EXPECT_TRUE(m.respond({ids::ToolEepromReply, {}}, Transport::Ethernet).empty());
    EXPECT_TRUE(m.respond({ids::ConnectFilter, {}}, Transport::Ethernet).empty());
    m.noReply.insert(ids::StatusRequest);
    EXPECT_TRUE(m.respond({ids::StatusRequest, {}}, Transport::Ethernet).empty());
}

TEST(TcpDongle, ReplyTextUsesTheIdentifierImage) {
    EXPECT_EQ(TcpDongle::replyText({ids::StatusBroadcast, {16, 8, 1, 1, 0, 0, 0, 0}}),
              QByteArray("%CAN,135,120,24,8,16,8,1,1,0,0,0,0,NAC%\r\n"));
}
