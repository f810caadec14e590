// The stand-in's simulated USB dongle: frame parsing, reply selection with per-byte wildcards, time-outs
// and its fault knobs, driven through the device calls alone.
#include "sim/ftdisim.h"

#include <gtest/gtest.h>

using namespace clink;
using sim::FtdiSim;

namespace {

QByteArray frame(CanId accept, CanId transmit, int exp0, int exp1, std::array<int, 8> data) {
    QByteArray f = "%CAN";
    for (CanId id : {accept, transmit})
        for (int b : canIdBytes(id))
            f += char(b);
    f += char(exp0);
    f += char(exp1);
    for (int d : data)
        f += char(d);
    return f + "NAC%";
}

class FtdiSimTest : public ::testing::Test {
protected:
    void SetUp() override {
        QByteArray serial;
        ASSERT_EQ(dev.listFirstSerial(serial), FtOk);
        ASSERT_EQ(dev.openBySerial(serial), FtOk);
    }
    // Writes a frame and reads up to 16 bytes.
    QByteArray exchange(const QByteArray& f) {
        int written = 0;
        EXPECT_EQ(dev.write(f, written), FtOk);
        EXPECT_EQ(written, f.size());
        char buffer[16];
        int got = -1;
        EXPECT_EQ(dev.read(buffer, 16, got), FtOk);
        return QByteArray(buffer, got);
    }

    sim::ControllerModel model;
    FtdiSim dev{model};
    static constexpr CanId Run = 0x10EF1102;
    static constexpr CanId Status = 0x15EF0301;
};

} // namespace

TEST_F(FtdiSimTest, ParsesTheFrameAndHandsTheMessageToTheModel) {
    model.toolEeprom[0x0105] = 0x77;
    const QByteArray reply = exchange(
        frame(ids::ToolEepromReply, ids::ToolEepromRequest, 0x30, 0x01, {0x90, 0x01, 0x05, 0, 0, 0, 0, 0}));
    ASSERT_EQ(dev.frames.size(), 1u);
    EXPECT_EQ(dev.frames[0].accept, ids::ToolEepromReply);
    EXPECT_EQ(dev.frames[0].expected, (std::array<int, 2>{0x30, 0x01}));
    EXPECT_EQ(dev.frames[0].message, (CanMessage{ids::ToolEepromRequest, {0x90, 1, 5, 0, 0, 0, 0, 0}}));
    ASSERT_EQ(model.received.size(), 1u);
    const char expected[] = {0x12, char(0xEF), 0x06, 0x02, 0x30, 0x01, 0x05, 0x77,
                             0,    0,          0,    0,    'N',  'A',  'C',  '%'};
    EXPECT_EQ(reply, QByteArray(expected, 16));
}

TEST_F(FtdiSimTest, ZeroInTheExpectedBytesMatchesAnyValueByteByByte) {
    const std::array<CanMessage, 4> armed = {
        CanMessage{0x09EF0801, {0x10, 0x01, 0xAA}}, // another identifier
        CanMessage{Run, {0x01, 0x05, 0xBB}},
        CanMessage{Run, {0x10, 0x07, 0xCC}},
        CanMessage{Run, {0x10, 0x01, 0xDD}},
    };
    struct Case {
        int exp0, exp1, taken;
    };
    for (const Case c : {Case{0, 0, 0xBB}, Case{0x10, 0, 0xCC}, Case{0, 0x01, 0xDD}, Case{0x10, 0x01, 0xDD},
                         Case{0x01, 0x05, 0xBB}}) {
        for (const CanMessage& m : armed)
            dev.emitSpontaneous(m);
        const QByteArray reply = exchange(frame(Run, Status, c.exp0, c.exp1, {}));
        ASSERT_EQ(reply.size(), 16) << c.exp0 << "," << c.exp1;
        EXPECT_EQ(uint8_t(reply[6]), c.taken) << c.exp0 << "," << c.exp1;
    }
    // Nothing matches: no bytes at once, and armed frames do not outlive the frame they were armed for.
    dev.emitSpontaneous(armed[1]);
    EXPECT_TRUE(exchange(frame(Run, Status, 0x20, 0, {})).isEmpty());
    EXPECT_TRUE(exchange(frame(Run, Status, 0, 0, {})).isEmpty());
}

TEST_F(FtdiSimTest, TheModelsRepliesComeBeforeArmedFrames) {
    dev.emitSpontaneous({Status, {0x10, 0x63}});
    const QByteArray reply = exchange(frame(Status, Status, 0x10, 0, {}));
    ASSERT_EQ(reply.size(), 16);
    EXPECT_EQ(uint8_t(reply[5]), model.psetCount);
}

TEST_F(FtdiSimTest, FilterFramesAndMalformedWritesQueueNothing) {
    EXPECT_TRUE(exchange(frame(ids::ToolEepromReply, ids::ToolEepromReply, 0, 0, {})).isEmpty());
    QByteArray broken = frame(ids::ToolEepromReply, ids::ToolEepromRequest, 0, 0, {0x90, 0, 1});
    broken[0] = '#';
    EXPECT_TRUE(exchange(broken).isEmpty());
    EXPECT_TRUE(
        exchange(frame(ids::ToolEepromReply, ids::ToolEepromRequest, 0, 0, {0x90}).left(25)).isEmpty());
    EXPECT_EQ(dev.badWrites.size(), 2u);
    EXPECT_EQ(dev.frames.size(), 1u);
}

TEST_F(FtdiSimTest, LateRepliesShortRepliesAndPurges) {
    const QByteArray request = frame(ids::ToolEepromReply, ids::ToolEepromRequest, 0, 0, {0x90, 0, 9});
    dev.lateReply = 1;
    EXPECT_TRUE(exchange(request).isEmpty());
    char buffer[16];
    int got = 0;
    // Without a purge the late reply is read next.
    ASSERT_EQ(dev.read(buffer, 16, got), FtOk);
    EXPECT_EQ(got, 16);
    dev.lateReply = 1;
    EXPECT_TRUE(exchange(request).isEmpty());
    ASSERT_EQ(dev.purge(FtPurgeRx), FtOk);
    ASSERT_EQ(dev.read(buffer, 16, got), FtOk);
    EXPECT_EQ(got, 0);
    dev.replyLength = 5;
    EXPECT_EQ(exchange(request).size(), 5);
}

TEST_F(FtdiSimTest, FaultKnobsGiveTheDriversStatusCodes) {
    int written = 0;
    char buffer[16];
    int got = 0;
    dev.writeFails = 1;
    EXPECT_EQ(dev.write(frame(0, 0, 0, 0, {}), written), FtIoError);
    EXPECT_EQ(written, 0);
    dev.readFails = 1;
    EXPECT_EQ(dev.read(buffer, 16, got), FtIoError);
    EXPECT_EQ(dev.read(buffer, 16, got), FtOk);

    dev.failStep("setTimeouts", FtOtherError);
    EXPECT_EQ(dev.setTimeouts(500, 0), FtOtherError);
    EXPECT_EQ(dev.setBaudRate(19200), FtOk);

    EXPECT_EQ(dev.close(), FtOk);
    EXPECT_EQ(dev.setBaudRate(19200), FtInvalidHandle);
    EXPECT_EQ(dev.openBySerial("other"), FtDeviceNotFound);

    dev.noDevice = true;
    QByteArray serial;
    EXPECT_EQ(dev.listFirstSerial(serial), FtDeviceNotFound);
    EXPECT_TRUE(serial.isEmpty());
    EXPECT_EQ(dev.openBySerial(dev.serialNumber()), FtDeviceNotFound);
    EXPECT_EQ(dev.purge(FtPurgeRx), FtInvalidHandle);
}
