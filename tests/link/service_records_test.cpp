// The shared results of the service transactions (rundown result, NSM settings, tool data) and the
// stand-in's answers behind them.
#include "base/numbertext.h"
#include "link/linkstate.h"
#include "link/tooldiagnostics.h"
#include "sim/controllermodel.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace clink;
using base::fixed40;

namespace {

DataBufferArray bufferOf(std::initializer_list<int> bytes) {
    DataBufferArray db;
    int i = 0;
    for (int b : bytes)
        db.put(i++, b);
    return db;
}

// Target 120.0, limits 130.0 / 110.0, final angle and final torque both 04 E6, angle limits 90.0 / 10.0,
// result byte 0x2A, units Nm, Pset 3 of 8.
const std::initializer_list<int> ResultBytes = {0x04, 0xB0, 0x05, 0x14, 0x04, 0x4C, 0x04, 0xE6, 0x03,
                                                0x84, 0x00, 0x64, 0x04, 0xE6, 0x2A, 5,    3,    8};

} // namespace

TEST(RundownResult, ValuesAndTextsSitWhereTheCalibrationWindowReadsThem) {
    RundownResultRecord r;
    fillRundownResult(r, bufferOf(ResultBytes));
    const std::array<double, 11> values = {125.4, 120, 130, 110, 1254, 90, 10, 10, 5, 3, 8};
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_DOUBLE_EQ(r.values[i], values[i]) << i;
    const QStringList texts = {
        "Tq Final: 125.4",   "Tq Target: 120", "Tq Hi: 130",    "Tq Lo: 110",
        "Angle Final: 1254", "Angle Hi: 90",   "Angle Lo: 10",  "Result: Tq Hi / Angle Hi",
        "Current Pset: 3",   "Units: Nm",      "Total Psets: 8"};
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(r.texts[size_t(i)], fixed40(texts[i])) << i;
}

TEST(RundownResult, UnlistedCodesKeepTheirTextsAndMeasuredValuesAreSigned) {
    RundownResultRecord r;
    r.texts[7] = fixed40(QStringLiteral("previous result"));
    r.texts[9] = fixed40(QStringLiteral("previous units"));
    // Result code 3 and units code 9 have no text; final torque and angle FF 38 are -200.
    fillRundownResult(r,
                      bufferOf({0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0x38, 0, 0, 0, 0, 0xFF, 0x38, 0x03, 9, 1, 1}));
    EXPECT_EQ(r.texts[7], fixed40(QStringLiteral("previous result")));
    EXPECT_EQ(r.texts[9], fixed40(QStringLiteral("previous units")));
    EXPECT_DOUBLE_EQ(r.values[7], 3);
    EXPECT_DOUBLE_EQ(r.values[0], -20);
    EXPECT_DOUBLE_EQ(r.values[4], -200);
    EXPECT_DOUBLE_EQ(r.values[1], 6553.5); // a target is unsigned
    fillRundownResult(r, bufferOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 1, 1, 1}));
    EXPECT_EQ(r.texts[7], fixed40(QStringLiteral("Result: Unknown")));
    EXPECT_EQ(r.texts[9], fixed40(QStringLiteral("Units: lb-in")));
    fillRundownResult(r, bufferOf({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 18, 2, 1, 1}));
    EXPECT_EQ(r.texts[7], fixed40(QStringLiteral("Result: TqHi / Angle Lo")));
}

TEST(NsmSettings, ItemsFollowTheirLocationsAndOnOffValuesAreClamped) {
    DataBufferArray db = bufferOf({9, 5, 3, 12, 2, 40, 7, 1, 0});
    NsmSettingsRecord nsm;
    fillNsmSettings(nsm, db);
    const QStringList texts = {"Run Rev Tq Check: On",  "Number Of Retries: 3",   "Reverse Timer: 12",
                               "Number Of Spindles: 2", "Button Latch Timer: 40", "System Type: Deadman",
                               "Buttons: MID",          "Collect Data: Yes"};
    const std::array<int, 8> values = {1, 3, 12, 2, 40, 1, 0, 1};
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(nsm.items[size_t(i)].text, fixed40(texts[i])) << i;
        EXPECT_EQ(nsm.items[size_t(i)].value, values[size_t(i)]) << i;
    }
    EXPECT_EQ(db[1], 1); // 5 read back as on
    EXPECT_EQ(db[6], 1); // 7 read back as deadman
    EXPECT_EQ(db[0], 9); // location 0 is not a setting
    db = bufferOf({0, 0, 0, 0, 0, 0, 0, 0, 200});
    fillNsmSettings(nsm, db);
    EXPECT_EQ(nsm.items[0].text, fixed40(QStringLiteral("Run Rev Tq Check: Off")));
    EXPECT_EQ(nsm.items[5].text, fixed40(QStringLiteral("System Type: Latched")));
    EXPECT_EQ(nsm.items[6].text, fixed40(QStringLiteral("Buttons: I/O")));
    EXPECT_EQ(nsm.items[7].text, fixed40(QStringLiteral("Collect Data: No")));
    EXPECT_EQ(db[8], 1);
}

TEST(ToolDiagnostics, EdgeVectorAndSignedness) {
    ToolDiagnostics d = decodeToolDiagnostics(bufferOf({0xFA, 0x00, 0x14, 0x05, 0xC4, 0x09}));
    EXPECT_EQ(toolRpmText(d), QStringLiteral("Tool RPM = 2500"));
    EXPECT_EQ(toolDiagnosticsText(d),
              QStringLiteral("Tool Offset Voltage = 2.5\r\nTransducer Max Tq Capability = 14.69"));
    // Voltage and speed are signed; the capability is not.
    d = decodeToolDiagnostics(bufferOf({0x9C, 0xFF, 0x40, 0x9C, 0x9C, 0xFF}));
    EXPECT_EQ(d.rpm, -100);
    EXPECT_DOUBLE_EQ(d.offsetVolts, -1);
    EXPECT_DOUBLE_EQ(d.maxTorqueLbIn, 4000);
}

namespace {
using sim::ControllerModel;
using sim::Transport;
} // namespace

TEST(ServiceModel, TransducerReadLayoutDependsOnTheLink) {
    ControllerModel m;
    m.transducerEeprom[300] = 0x5A;
    auto r = m.respond({ids::TransducerRequest, {0x90, 1, 44, 0, 0, 0, 0, 0}}, Transport::ParallelPort);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::TransducerReply, {0x30, 1, 44, 0x5A, 0, 0, 0, 0}}));
    r = m.respond({ids::TransducerRequest, {0x90, 0, 1, 44, 0, 0, 0, 0}}, Transport::Ethernet);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0], (CanMessage{ids::TransducerReply, {0x30, 1, 44, 0x5A, 0, 0, 0, 0}}));
    EXPECT_TRUE(m.respond({ids::TransducerRequest, {0x90, 1, 44, 0, 0, 0, 0, 0}}, Transport::Usb).empty());
    r = m.respond({ids::TransducerRequest, {0x60, 1, 44, 7, 0, 0, 0, 0}}, Transport::Ethernet);
    EXPECT_EQ(r[0], (CanMessage{ids::TransducerReply, {0x30, 1, 44, 7, 0, 0, 0, 0}}));
    EXPECT_EQ(m.transducerEeprom[300], 7);
}

TEST(ServiceModel, DspWordsNsmLocationsAndLoggerMemory) {
    ControllerModel m;
    auto r = m.respond({ids::DspWriteRequest, {0x60, 0, 44, 1, 0x34, 0x12, 0, 0}}, Transport::Ethernet);
    EXPECT_EQ(r[0], (CanMessage{ids::DspReply, {0x30, 0, 44, 1, 0x34, 0x12, 0, 0}}));
    EXPECT_EQ(m.dspBytes[300], 0x34);
    EXPECT_EQ(m.dspBytes[301], 0x12);
    r = m.respond({ids::DspReadRequest, {0x90, 0, 44, 1, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0], (CanMessage{ids::DspReply, {0x30, 0, 44, 1, 0x34, 0x12, 0, 0}}));
    r = m.respond({ids::DspReadRequest, {0x90, 0, 0xFF, 0x03, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0].data[4], 0xFF); // the word would run past the memory

    m.nsm[4] = 6;
    r = m.respond({ids::NsmRequest, {0x90, 0, 4, 0, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0], (CanMessage{ids::NsmReply, {0x30, 0, 4, 6, 0, 0, 0, 0}}));
    r = m.respond({ids::NsmRequest, {0x60, 0, 2, 9, 0, 0, 0, 0}}, Transport::Usb);
    EXPECT_EQ(r[0], (CanMessage{ids::NsmReply, {0x30, 0, 2, 9, 0, 0, 0, 0}}));
    EXPECT_EQ(m.nsm[2], 9);
    EXPECT_TRUE(m.respond({ids::NsmRequest, {}}, Transport::Ethernet).empty());

    // Asked low byte first (14700 = 0x396C), answered high byte first.
    for (int i = 0; i < 5; ++i)
        m.loggerMem[size_t(14700 + i)] = uint8_t(0xC0 + i);
    r = m.respond({ids::LoggerRequest, {0xAA, 0x6C, 0x39, 0, 0, 0, 0, 0}}, Transport::ParallelPort);
    EXPECT_EQ(r[0], (CanMessage{ids::CurveRequest2, {0xAA, 0x39, 0x6C, 0xC0, 0xC1, 0xC2, 0xC3, 0xC4}}));
}

TEST(ServiceModel, ToolDataCalibrationAndRundown) {
    ControllerModel m;
    auto r = m.respond({ids::ToolRequest, {0xD1, 0, 0, 0, 0, 0, 0, 0}}, Transport::Ethernet);
    EXPECT_EQ(r[0], (CanMessage{ids::ToolReply, {0xD1, 0, 0xFA, 0x00, 0x14, 0x05, 0xC4, 0x09}}));
    EXPECT_TRUE(m.respond({ids::ToolRequest, {0xD1, 1, 0, 0, 0, 0, 0, 0}}, Transport::Ethernet).empty());

    EXPECT_TRUE(
        m.respond({ids::CalibrationRequest, {0x20, 0x01, 0xD2, 0x04, 0, 0, 0, 0}}, Transport::Usb).empty());
    EXPECT_EQ(m.calibrationValues, std::vector<int>{1234});
    EXPECT_EQ(m.toolEeprom[45], 0xD2);
    EXPECT_EQ(m.toolEeprom[46], 0x04);

    ControllerModel::RundownRecord rec{};
    for (size_t i = 0; i < rec.size(); ++i)
        rec[i] = uint8_t(i + 1);
    const auto frames = m.rundownEvent(rec);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0], (CanMessage{ids::RunData, {0x01, 0, 0, 0, 0, 0, 0, 0}}));
    EXPECT_EQ(frames[3], (CanMessage{ids::RunData, {0x10, 3, 13, 14, 15, 16, 17, 18}}));
    // The result read afterwards is the event's record.
    r = m.respond({ids::CommandRequest, {0x10, 2, 0, 0, 0, 0, 0, 0}}, Transport::Ethernet);
    EXPECT_EQ(r[0], (CanMessage{ids::CommandReply, {0x10, 2, 7, 8, 9, 10, 11, 12}}));
    m.rundownStartFrame = false;
    EXPECT_EQ(m.rundownEvent().size(), 3u);
}
