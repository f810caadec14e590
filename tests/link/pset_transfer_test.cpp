// Pset packets sent, read back and reported, on each link against the stand-in.
#include "tests/link/linkfixtures.h"

#include "base/numbertext.h"

using namespace clink;

namespace {
template <class F> class PsetTx : public linktest::OnEachLink<F> {};
TYPED_TEST_SUITE(PsetTx, linktest::LinkFixtures);

// Pset 3: torque control / angle monitor to 125.0 (120.0..130.0) in Nm, angle window 0..400.0,
// free speed 1500.0 and downshift 300.0 rpm, ergo and soft start on.
const std::array<std::array<int, 8>, 4> Pset3Packets = {{
    {0x71, 2, 0xE2, 0x04, 0x14, 0x05, 0xB0, 0x04},
    {0x72, 1, 0x64, 0x00, 0xE8, 0x03, 0x32, 0x00},
    {0x73, 1, 0x00, 0x00, 0xA0, 0x0F, 0x00, 0x00},
    {0x74, 1, 0x98, 0x3A, 0xB8, 0x0B, 5, 3},
}};
} // namespace

TYPED_TEST(PsetTx, FourPacketsSentThenReadBackAndReported) {
    this->linkCheck(ids::CommandReply);
    for (const auto& packet : Pset3Packets)
        ASSERT_TRUE(this->tx().SendPsetData(packet)) << packet[0];
    EXPECT_EQ(this->s.DataCount, 0);
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(this->model.psets[3][size_t(7 * k + i)], Pset3Packets[size_t(k)][size_t(1 + i)]);

    this->tx().ClearReceiveBuffer();
    ASSERT_TRUE(this->tx().ReadPsetBlock(3));
    for (int k = 0; k < 4; ++k)
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(this->s.DataBuffer[7 * k + i], Pset3Packets[size_t(k)][size_t(1 + i)]) << 7 * k + i;
    // The parallel port and USB append the packets; the Ethernet handler places them by code.
    EXPECT_EQ(this->s.DataCount, this->s.ConnectionType == TcpIp ? 0 : 28);

    ASSERT_TRUE(this->tx().ReadParameterSets(3));
    const PsetReportRecord& r = this->s.PsetReportTable[3];
    EXPECT_EQ(r.Texts[0], base::fixed40("Torque Target: 125"));
    EXPECT_EQ(r.Texts[1], base::fixed40("Torque Hi Limit: 130"));
    EXPECT_EQ(r.Texts[2], base::fixed40("Torque Lo Limit: 120"));
    EXPECT_EQ(r.Texts[5], base::fixed40("Torque Threshold: 10"));
    EXPECT_EQ(r.Texts[4], base::fixed40("Torque Downshift: 100"));
    EXPECT_EQ(r.Texts[8], base::fixed40("Angle Hi Limit: 400"));
    EXPECT_EQ(r.Texts[10], base::fixed40("Rpm Freespeed: 1500"));
    EXPECT_EQ(r.Texts[11], base::fixed40("Rpm Downshift: 300"));
    EXPECT_EQ(r.Texts[12], base::fixed40("Soft Start: Yes"));
    EXPECT_EQ(r.Texts[13], base::fixed40("Ergo: Yes"));
    EXPECT_EQ(r.Texts[14], base::fixed40("Units: Nm"));
    EXPECT_EQ(r.Texts[15], base::fixed40("Strategy: Tq Control / Angle Monitor"));
    EXPECT_EQ(r.Values[0], 125.0);
    EXPECT_FALSE(r.Values[3].has_value());
    EXPECT_TRUE(r.Texts[3].isEmpty());
}

TYPED_TEST(PsetTx, APsetWithoutAReportRecordIsRefusedBeforeAnythingIsSent) {
    const auto tableBefore = this->s.PsetReportTable;
    this->s.DataCount = 9;
    const size_t before = this->model.received.size();
    EXPECT_FALSE(this->tx().ReadParameterSets(10));
    EXPECT_FALSE(this->tx().ReadParameterSets(-1));
    EXPECT_EQ(this->s.DataCount, 9);
    EXPECT_EQ(this->model.received.size(), before);
    for (size_t p = 0; p < tableBefore.size(); ++p)
        EXPECT_EQ(this->s.PsetReportTable[p].Texts, tableBefore[p].Texts);
}

TYPED_TEST(PsetTx, AnErasedPsetReadsAsZeros) {
    this->linkCheck(ids::CommandReply);
    ASSERT_TRUE(this->tx().SendControlCommand(codes::ErasePsets));
    this->tx().ClearReceiveBuffer();
    this->s.DataBuffer.put(5, 99);
    ASSERT_TRUE(this->tx().ReadPsetBlock(1));
    for (int i = 0; i < 28; ++i)
        EXPECT_EQ(this->s.DataBuffer[i], 0) << i;
}
