// Curve samples collected pair by pair on each link against the stand-in.
#include "tests/link/linkfixtures.h"

using namespace clink;

namespace {
template <class F> class CurveTx : public linktest::OnEachLink<F> {};
TYPED_TEST_SUITE(CurveTx, linktest::LinkFixtures);
} // namespace

TYPED_TEST(CurveTx, TwentyPairsOfCurve1AsTheControllerHoldsThem) {
    this->linkCheck(ids::CurveReply);
    std::vector<uint16_t> curve;
    for (int i = 0; i < 39; ++i)
        curve.push_back(uint16_t((i * 1733 + 11) & 0xFFFF));
    curve.push_back(0xFFFF);
    curve[7] = 0x8000;
    this->model.curves[1] = curve;
    for (int i = 0; i < 40; i += 2) {
        ASSERT_TRUE(this->tx().RequestCurveData(1, i)) << i;
        EXPECT_EQ(this->s.CurveUploadData[1], curve[size_t(i)]) << i;
        EXPECT_EQ(this->s.CurveUploadData[2], curve[size_t(i + 1)]) << i;
    }
    EXPECT_EQ(this->s.CurveUploadData[2], 65535);
}

TYPED_TEST(CurveTx, Index300GoesOutAs2C01) {
    this->linkCheck(ids::CurveReply);
    this->model.curves[2].assign(302, 0);
    this->model.curves[2][300] = 10000;
    this->model.curves[2][301] = 0xFFFF;
    ASSERT_TRUE(this->tx().RequestCurveData(2, 300));
    EXPECT_EQ(this->s.CurveUploadData[1], 10000);
    EXPECT_EQ(this->s.CurveUploadData[2], 65535);
    const CanMessage& last = this->model.received.back();
    EXPECT_EQ(last, (CanMessage{ids::CurveRequest, {0x0F, 2, 0x2C, 0x01, 0, 0, 0, 0}}));
    EXPECT_FALSE(this->tx().RequestCurveData(1, 65536));
    EXPECT_FALSE(this->tx().RequestCurveData(1, -2));
}

TYPED_TEST(CurveTx, TheDataLoggerCurveOnItsOwnIdentifiers) {
    this->linkCheck(ids::CurveReply2);
    this->model.curves[3] = {1, 2, 0xFFFF, 40000};
    const bool taken = this->tx().RequestCurveDataAlt(3, 2);
    // Ethernet has no reply handler for the data-logger curve.
    if (this->s.ConnectionType == TcpIp) {
        EXPECT_FALSE(taken);
        return;
    }
    ASSERT_TRUE(taken);
    EXPECT_EQ(this->s.CurveUploadData[1], 65535);
    EXPECT_EQ(this->s.CurveUploadData[2], 40000);
    EXPECT_EQ(this->model.received.back(), (CanMessage{ids::CurveRequest2, {0x0F, 3, 2, 0, 0, 0, 0, 0}}));
}
