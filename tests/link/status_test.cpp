// System status, software version and control commands on each link against the stand-in.
#include "tests/link/linkfixtures.h"

#include "base/numbertext.h"

using namespace clink;

namespace {
template <class F> class SystemStatusTx : public linktest::OnEachLink<F> {};
TYPED_TEST_SUITE(SystemStatusTx, linktest::LinkFixtures);

const QString CalculationError =
    QStringLiteral("Error in Parameter Calculation, resetting controller parameters");
} // namespace

TYPED_TEST(SystemStatusTx, StatusFillsTheRecordAndItsFourLines) {
    this->model.psetCount = 6;
    this->model.currentPset = 3;
    this->model.units = 5;
    this->model.target = 0x0929;
    this->model.statusB6 = 0x11;
    this->model.statusB7 = 0x22;
    this->s.DataBuffer.put(100, 7);
    ASSERT_TRUE(this->tx().ReadSystemStatus());
    const SystemStatusRecord& st = this->s.SystemStatus;
    EXPECT_EQ(st.PsetCount, 6);
    EXPECT_EQ(st.CurrentPset, 3);
    EXPECT_EQ(st.StatusUnits, 5);
    EXPECT_DOUBLE_EQ(st.StatusTarget, 234.5);
    EXPECT_EQ(st.SystemStatusLines[0], base::fixed40("Number Of Parameter Sets: 6"));
    EXPECT_EQ(st.SystemStatusLines[1], base::fixed40("Current Parameter Set: 3"));
    EXPECT_EQ(st.SystemStatusLines[2], base::fixed40("Units: Nm"));
    EXPECT_EQ(st.SystemStatusLines[3], base::fixed40("Current Target: 234.5"));
    for (const QString& line : st.SystemStatusLines)
        EXPECT_EQ(line.size(), 40);
    // Bytes 4..7 in DataBuffer(0..3); the rest was cleared first.
    EXPECT_EQ(this->s.DataBuffer[0], 0x29);
    EXPECT_EQ(this->s.DataBuffer[1], 0x09);
    EXPECT_EQ(this->s.DataBuffer[2], 0x11);
    EXPECT_EQ(this->s.DataBuffer[3], 0x22);
    EXPECT_EQ(this->s.DataBuffer[100], 0);

    // A units code without a text keeps the previous units line.
    this->model.units = 7;
    this->model.target = 1200;
    ASSERT_TRUE(this->tx().ReadSystemStatus());
    EXPECT_EQ(st.StatusUnits, 7);
    EXPECT_EQ(st.SystemStatusLines[2], base::fixed40("Units: Nm"));
    EXPECT_EQ(st.SystemStatusLines[3], base::fixed40("Current Target: 120"));
    EXPECT_TRUE(this->dialogs.messages.empty());
}

TYPED_TEST(SystemStatusTx, ALargeTargetIsUnsignedAndNoCalculationError) {
    int offers = 0;
    this->link.offerPsetReset = [&] { ++offers; };
    this->model.target = 0xFFFF;
    ASSERT_TRUE(this->tx().ReadSystemStatus());
    EXPECT_EQ(this->s.SystemStatus.SystemStatusLines[3], base::fixed40("Current Target: 6553.5"));
    this->model.target = 0x8000;
    ASSERT_TRUE(this->tx().ReadSystemStatus());
    EXPECT_DOUBLE_EQ(this->s.SystemStatus.StatusTarget, 3276.8);
    EXPECT_EQ(offers, 0);
    EXPECT_TRUE(this->dialogs.messages.empty());
}

TYPED_TEST(SystemStatusTx, SoftwareVersionAsMajorNumberAndText) {
    this->linkCheck(ids::CommandReply);
    EXPECT_EQ(this->tx().SendSystemCommand(), 4);
    ASSERT_TRUE(this->tx().ReadSccVersion());
    EXPECT_EQ(this->s.SccVersionText, "4.02");
    EXPECT_EQ(this->s.DataBuffer[0], 4);
    EXPECT_EQ(this->s.DataBuffer[1], 2);

    this->model.verMajor = 5;
    this->model.verMinor = 10;
    EXPECT_EQ(this->tx().SendSystemCommand(), 5);
    ASSERT_TRUE(this->tx().ReadSccVersion(codes::Version));
    EXPECT_EQ(this->s.SccVersionText, "5.10");
    EXPECT_FALSE(this->s.VersionReadPending);

    this->model.verMajor = 3;
    EXPECT_EQ(this->tx().SendSystemCommand(), 3);
    // The parallel port appends the version bytes at DataCount (from 0); the other links place them.
    EXPECT_EQ(this->s.DataCount, this->s.ConnectionType == ParallelPort ? 2 : 0);
}

TYPED_TEST(SystemStatusTx, EachControlCodeIsAcknowledgedAndCarriedOut) {
    this->linkCheck(ids::CommandReply);
    this->model.logicBlocks[5] = {9, 9, 9, 9, 9, 9};
    ASSERT_TRUE(this->tx().SendControlCommand(codes::ResetLogicDefaults));
    EXPECT_EQ(this->model.logicBlocks, this->model.logicDefaults);
    // Each request that reached the controller was carried out (Ethernet sends it twice).
    ASSERT_TRUE(this->tx().SendControlCommand(codes::RestartLogic));
    EXPECT_GE(this->model.logicRestarts, 1);
    EXPECT_EQ(this->model.logicRestarts, this->model.countReceived(ids::CommandRequest, codes::RestartLogic));
    ASSERT_TRUE(this->tx().SendControlCommand(codes::ErasePsets));
    EXPECT_EQ(this->model.psetCount, 0);
    ASSERT_NE(this->model.rundown, sim::ControllerModel::RundownRecord{});
    ASSERT_TRUE(this->tx().SendControlCommand(codes::ClearRundowns));
    EXPECT_EQ(this->model.rundown, sim::ControllerModel::RundownRecord{});
    EXPECT_EQ(this->s.DataCount, 0);
}

TYPED_TEST(SystemStatusTx, ACodeThatIsNotAByteSendsNothing) {
    const size_t before = this->model.received.size();
    EXPECT_FALSE(this->tx().SendControlCommand(0x100));
    EXPECT_FALSE(this->tx().ReadSccVersion(-1));
    EXPECT_EQ(this->model.received.size(), before);
}
