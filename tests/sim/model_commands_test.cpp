// The stand-in's answers on the command identifier, to the curve requests and to the USB link test.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"

#include <gtest/gtest.h>

using namespace sim;
namespace ids = clink::ids;

namespace {
std::vector<CanMessage> ask(ControllerModel& m, CanId id, std::array<int, 8> d) {
    return m.respond({id, d}, Transport::Usb);
}
} // namespace

TEST(ModelCommands, VersionAndControlAcknowledgementsCarryByte2Zero) {
    ControllerModel m;
    m.verMajor = 5;
    m.verMinor = 10;
    EXPECT_EQ(ask(m, ids::CommandRequest, {0xA0}),
              (std::vector<CanMessage>{{ids::CommandReply, {0xA0, 0xA0, 5, 10, 0, 0, 0, 0}}}));
    for (int code : {0x63, 0x64, 0x76, 0x81})
        EXPECT_EQ(ask(m, ids::CommandRequest, {code, 7, 7}),
                  (std::vector<CanMessage>{{ids::CommandReply, {0xA0, code, 0, 0, 0, 0, 0, 0}}}));
    EXPECT_EQ(m.psetCount, 0);
    EXPECT_EQ(m.logicRestarts, 1);
    EXPECT_EQ(m.rundown, ControllerModel::RundownRecord{});
    // A filter frame on the command identifier gets nothing.
    EXPECT_TRUE(ask(m, ids::CommandRequest, {}).empty());
}

TEST(ModelCommands, PsetPacketsAreStagedAndStoredByTheLastOne) {
    ControllerModel m;
    m.psetCount = 2;
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x71, 1, 0xE2, 4, 5, 6, 7, 8}),
              (std::vector<CanMessage>{{ids::CommandReply, {0xA0, 0x71, 1, 0xE2, 0, 0, 0, 0}}}));
    ask(m, ids::CommandRequest, {0x72, 9, 9, 9, 9, 9, 9, 9});
    ask(m, ids::CommandRequest, {0x73, 1, 3, 3, 3, 3, 3, 3});
    const auto before = m.psets[6];
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x74, 1, 2, 3, 4, 5, 5, 6})[0].data[1], 0x74);
    EXPECT_NE(m.psets[6], before);
    EXPECT_EQ(m.psetCount, 6);
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x75, 6, 1}),
              (std::vector<CanMessage>{{ids::CommandReply, {1, 1, 0xE2, 4, 5, 6, 7, 8}}}));
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x75, 6, 4}),
              (std::vector<CanMessage>{{ids::CommandReply, {4, 1, 2, 3, 4, 5, 5, 6}}}));
    // A Pset number without a slot reads as zeros; a packet number outside 1..4 gets nothing.
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x75, 12, 2}),
              (std::vector<CanMessage>{{ids::CommandReply, {2, 0, 0, 0, 0, 0, 0, 0}}}));
    EXPECT_TRUE(ask(m, ids::CommandRequest, {0x75, 1, 5}).empty());
}

TEST(ModelCommands, BlocksByNumberAndTheDefaultsImage) {
    ControllerModel m;
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x61, 117, 1, 2, 3, 4, 5, 6}),
              (std::vector<CanMessage>{{ids::CommandReply, {0xA0, 0x61, 117, 1, 0, 0, 0, 0}}}));
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x62, 117}),
              (std::vector<CanMessage>{{ids::CommandReply, {0x62, 117, 1, 2, 3, 4, 5, 6}}}));
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x62, 200}),
              (std::vector<CanMessage>{{ids::CommandReply, {0x62, 200, 0, 0, 0, 0, 0, 0}}}));
    ask(m, ids::CommandRequest, {0x63});
    EXPECT_EQ(m.logicBlocks, m.logicDefaults);
    EXPECT_EQ(m.logicBlocks.size(), 117u);
}

TEST(ModelCommands, CurvePairsOnBothIdentifiersAndTheUsbTestEcho) {
    ControllerModel m;
    m.curves[1] = {10, 20, 10000, 0xFFFF};
    EXPECT_EQ(ask(m, ids::CurveRequest, {0x0F, 1, 2, 0}),
              (std::vector<CanMessage>{{ids::CurveReply, {0x20, 1, 2, 0, 0x10, 0x27, 0xFF, 0xFF}}}));
    EXPECT_EQ(ask(m, ids::CurveRequest2, {0x0F, 1, 0, 0}),
              (std::vector<CanMessage>{{ids::CurveReply2, {0x20, 1, 0, 0, 10, 0, 20, 0}}}));
    // Beyond the end: zeros; the zero-data frame before the requests: nothing.
    EXPECT_EQ(ask(m, ids::CurveRequest, {0x0F, 1, 0x2C, 1})[0].data,
              (std::array<int, 8>{0x20, 1, 0x2C, 1, 0, 0, 0, 0}));
    EXPECT_TRUE(ask(m, ids::CurveRequest, {}).empty());
    EXPECT_EQ(ask(m, ids::UsbTestRequest, {1, 2, 3, 4, 5, 6, 7, 8}),
              (std::vector<CanMessage>{{ids::UsbTestReply, {1, 2, 3, 4, 5, 6, 7, 8}}}));
}

TEST(ModelCommands, PsetSelectionAndRundownClearing) {
    ControllerModel m;
    m.psetCount = 4;
    // Over USB nothing answers the selection; over Ethernet a status carrying the new current Pset does.
    EXPECT_TRUE(ask(m, ids::CommandRequest, {0x23}).empty());
    EXPECT_EQ(m.currentPset, 3);
    EXPECT_EQ(m.respond({ids::CommandRequest, {0x28}}, Transport::Ethernet),
              (std::vector<CanMessage>{{ids::StatusRequest, {0x10, 4, 8, 1, 1200 & 0xFF, 1200 >> 8, 0, 0}}}));
    // 0x20 and 0x29 are no selection.
    EXPECT_TRUE(m.respond({ids::CommandRequest, {0x29}}, Transport::Ethernet).empty());
    EXPECT_TRUE(m.respond({ids::CommandRequest, {0x20}}, Transport::Ethernet).empty());
    EXPECT_EQ(m.currentPset, 8);

    ASSERT_FALSE(m.rundownLogs.empty());
    m.rundown[0] = 9;
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x81}),
              (std::vector<CanMessage>{{ids::CommandReply, {0xA0, 0x81, 0, 0, 0, 0, 0, 0}}}));
    EXPECT_TRUE(m.rundownLogs.empty());
    EXPECT_EQ(m.rundown, ControllerModel::RundownRecord{});
    // A Pset's log now reads zeros.
    EXPECT_EQ(ask(m, ids::CommandRequest, {0x80, 1, 0})[0],
              (CanMessage{ids::CommandReply, {0xEA, 1, 0, 0, 0, 0, 0, 0}}));
}
