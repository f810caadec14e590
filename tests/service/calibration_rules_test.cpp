// The calibration windows' rules without a controller: button thresholds and readings, the manual
// calibration's unit conversion, the DSP editor's rows, lock and write values.
#include "app/accesslevels.h"
#include "link/controllerlink.h"
#include "service/buttoncalibration.h"
#include "service/buttonsensors.h"
#include "service/dspparameters.h"
#include "service/manualcalibration.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/scripteddialogs.h"

#include <gtest/gtest.h>

namespace {

using namespace service;

TEST(ButtonThresholds, MidpointBandAndBytes) {
    const ButtonThresholds t = buttonThresholds(500, 1500);
    EXPECT_EQ(t.mid, 1000);
    EXPECT_EQ(t.band, 10);
    EXPECT_EQ(t.upper, 1010);
    EXPECT_EQ(t.lower, 990);
    EXPECT_EQ(t.bytes(), (std::array<int, 4>{0x03, 0xF2, 0x03, 0xDE}));

    // Halves go to the even neighbour.
    EXPECT_EQ(buttonThresholds(1000, 1001).mid, 1000);
    EXPECT_EQ(buttonThresholds(1001, 1002).mid, 1002);
    // Below 100 the band is 0: both thresholds are the midpoint.
    const ButtonThresholds small = buttonThresholds(40, 60);
    EXPECT_EQ(small.band, 0);
    EXPECT_EQ(small.upper, 50);
    EXPECT_EQ(small.lower, 50);
    // The band is rounded down: 1099 -> 10, 1100 -> 11.
    EXPECT_EQ(buttonThresholds(1099, 1099).band, 10);
    EXPECT_EQ(buttonThresholds(1100, 1100).band, 11);
    // The upper threshold stays a word.
    const ButtonThresholds top = buttonThresholds(65535, 65535);
    EXPECT_EQ(top.upper, 65535);
    EXPECT_EQ(top.lower, 65535 - 655);
    EXPECT_EQ(top.bytes(), (std::array<int, 4>{0xFF, 0xFF, 0xFD, 0x70}));
}

TEST(ButtonReadings, EachFramesWordAtItsOffsetHighByteFirst) {
    clink::DataBufferArray buffer;
    // Trigger word (offset 2) of frame k = 2100 + k; every other word 7.
    for (int k = 0; k < ButtonSensors::Readings; ++k) {
        for (int n = 0; n < ButtonSensors::FrameBytes; ++n)
            buffer.put(8 * k + n, n % 2 == 1 ? 7 : 0);
        buffer.put(8 * k + 2, (2100 + k) >> 8);
        buffer.put(8 * k + 3, (2100 + k) & 0xFF);
    }
    const ButtonReadings trigger = buttonReadings(buffer, 2);
    EXPECT_EQ(trigger.maximum, 2199);
    // Readings that all lie above 2000 keep their own minimum.
    EXPECT_EQ(trigger.minimum, 2100);
    EXPECT_EQ(trigger.total, 100 * 2100 + 4950);
    EXPECT_DOUBLE_EQ(trigger.average(), 2149.5);
    const ButtonReadings cw = buttonReadings(buffer, 0);
    EXPECT_EQ(cw.maximum, 7);
    EXPECT_EQ(cw.minimum, 7);
    // Bytes above 255 never reach a reading: only the low byte of each entry counts.
    buffer.put(6, 0x1FF);
    buffer.put(7, 0x102);
    EXPECT_EQ(buttonReadings(buffer, 6).maximum, 0xFF02);
}

TEST(ManualCalibrationUnits, FixedFactorsToTenthsOfLbIn) {
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1000, 5, 1), 8851);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1000, 1, 5), 113);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1000, 2, 1), 12000);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1000, 3, 1), 868);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1000, 4, 1), 86800);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(100, 4, 3), 10000);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1000, 5, 2), 738);
    // Same units, or a code outside 1..5 on either side: unchanged.
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1234, 1, 1), 1234);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1234, 0, 1), 1234);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1234, 6, 1), 1234);
    EXPECT_DOUBLE_EQ(ManualCalibration::ConvertTorque(1234, 1, 6), 1234);
}

class DspRows : public ::testing::Test {
protected:
    DspRows() { link.state.ConnectionType = clink::NoConnection; }
    void word(int address, int value) {
        link.state.DataBuffer.put(address, value & 0xFF);
        link.state.DataBuffer.put(address + 1, value >> 8);
    }

    testsupport::CountingEventPump pump;
    clink::ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    clink::ControllerLink link{pump, dialogs, clock};
    base::BusyState busy;
};

TEST_F(DspRows, TabsRowsAndOptionTexts) {
    ASSERT_EQ(dspTabs().size(), 12u);
    EXPECT_EQ(dspTabs()[7].caption, " Adaptive Control");
    EXPECT_EQ(dspTabs()[7].frame, "Adaptive Control");
    EXPECT_EQ(dspTabs()[8].caption, "Transducer");
    EXPECT_EQ(dspTabs()[8].frameIndex, -1);
    EXPECT_EQ(dspTabs()[9].frame, "Can ");
    EXPECT_EQ(dspTabs()[11].frameIndex, 10);
    ASSERT_EQ(dspParameters().size(), 31u);
    int options = 0;
    for (const DspParameter& p : dspParameters()) {
        EXPECT_EQ(p.address % 2, 0) << p.address;
        options += p.group.isEmpty() ? 0 : 1;
    }
    EXPECT_EQ(options, 6); // and the three button-position groups at 88
    EXPECT_EQ(dspParameter(114)->label, "Check Tq % (%Max)");
    EXPECT_EQ(dspOptionGroup("OptionAdaptive").options, (QStringList{"Off", " 1st Ten", "All"}));
    EXPECT_EQ(dspOptionGroup("OptionRBR").options,
              (QStringList{"Off", "Rundown-Backoff-Rundown", "Rundown - Backoff"}));
    EXPECT_EQ(dspOptionGroup("Optccw").frame, "Light Ring Ccw");
    EXPECT_EQ(dspParameter(7), nullptr);
}

TEST_F(DspRows, DisplayTakesLittleEndianWordsAndClampsOptions) {
    word(88, 0x39);
    word(78, 7);  // RBR above 2 shows 2
    word(108, 5); // Multiple above 1 shows Off
    word(58, 3);  // Rehit above 1 shows 1
    word(92, 3);  // Adaptive has no clamp: no option
    word(94, 1);
    word(30, 0xABCD); // above 32767: shown unchanged
    DspParameterEditor editor(link, busy, app::UserLevel);
    editor.Display_DspParms();
    EXPECT_EQ(editor.option("Optcw"), 1);
    EXPECT_EQ(editor.option("Optcen"), 2);
    EXPECT_EQ(editor.option("Optccw"), 3);
    EXPECT_EQ(editor.option("OptionRBR"), 2);
    EXPECT_EQ(editor.option("OptMultiple"), 0);
    EXPECT_EQ(editor.option("OptionRehit"), 1);
    EXPECT_EQ(editor.option("OptionAdaptive"), std::nullopt);
    EXPECT_EQ(editor.option("OptionXducer"), 1);
    EXPECT_EQ(editor.number(30), 0xABCD);

    // Writing the selection back: cw + 4 center + 16 ccw; an empty group writes 0; a number as it is.
    EXPECT_EQ(editor.writeRequest(0)->address, 88);
    EXPECT_EQ(editor.writeRequest(0)->value, 57);
    EXPECT_EQ(editor.writeRequest(92)->value, 0);
    EXPECT_EQ(editor.writeRequest(78)->value, 2);
    EXPECT_EQ(editor.writeRequest(30)->value, 0xABCD);
    editor.setOption("Optccw", 0);
    editor.setOption("Optcen", std::nullopt);
    EXPECT_EQ(editor.writeRequest(0)->value, 1);
    editor.setNumber(30, 70000);
    EXPECT_EQ(editor.writeRequest(30)->value, 0xFFFF);
    // The word at 88 is written through index 0 only; other indexes have no row.
    EXPECT_FALSE(editor.writeRequest(88));
    EXPECT_FALSE(editor.writeRequest(31));
}

TEST_F(DspRows, LevelOneLocksExactlyFiveRowsAndTheirWrites) {
    DspParameterEditor user(link, busy, app::UserLevel);
    DspParameterEditor service(link, busy, app::ServiceLevel);
    std::vector<int> locked;
    for (const DspParameter& p : dspParameters()) {
        if (!user.editable(p.address))
            locked.push_back(p.address);
        EXPECT_TRUE(service.editable(p.address)) << p.address;
    }
    EXPECT_EQ(locked, (std::vector<int>{8, 10, 24, 64, 82}));
    // A locked row is not written: nothing is sent, no box.
    link.state.ConnectionType = clink::TcpIp;
    EXPECT_FALSE(user.BtnWriteParameter_Click(24));
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DspRows, WrittenTextsByIndex) {
    DspParameterEditor editor(link, busy, app::ServiceLevel);
    EXPECT_EQ(editor.writtenText(30), "Data Points Value Written Successfully");
    EXPECT_EQ(editor.writtenText(0), "Button Value Written Successfully");
    EXPECT_EQ(editor.writtenText(58), "Rehit Enable Value Written Successfully");
    EXPECT_EQ(editor.writtenText(78), "RBR Enable Value Written Successfully");
    EXPECT_EQ(editor.writtenText(92), "Adaptive Enable Value Written Successfully");
    EXPECT_EQ(editor.writtenText(94), "Master Transducer Selection Written Successfully");
    EXPECT_EQ(editor.writtenText(102), "Start Delay Selection Written Successfully");
    EXPECT_EQ(editor.writtenText(108), "Multiple Function Enable Written Successfully");
    EXPECT_EQ(editor.writtenText(100), "1st Rundown Tq (inlb) Value Written Successfully");
}

} // namespace
