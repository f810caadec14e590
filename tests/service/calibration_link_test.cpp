// The calibration sessions against the stand-in on each link: a DSP parameter written, the tube-nut values
// read and written, a button calibrated from the tool's sensor stream, a manual torque calibration from a
// rundown to the calibration command; and what each does when the controller or the link fails.
#include "app/accesslevels.h"
#include "base/numbertext.h"
#include "link/cancontroller.h"
#include "service/buttoncalibration.h"
#include "service/dspparameters.h"
#include "service/manualcalibration.h"
#include "service/tubenut.h"
#include "tests/link/service_support.h"
#include "tests/service/calibfixture.h"

#include <algorithm>

namespace {

using namespace service;
using calibtest::Sensors;
using clink::ButtonSensors;
namespace ids = clink::ids;

template <class LinkFixture> class CalibrationOnEachLink : public calibtest::Calibration<LinkFixture> {
protected:
    // Runs a calibration of this button: the released and pressed sensors for its two steps, and the
    // answer to the question before the write.
    QStringList calibrateButton(int button, const Sensors& released, const Sensors& pressed,
                                bool confirm = true) {
        ButtonCalibration calibration(this->link, this->busy);
        calibration.setProgress(this->readingsProgress());
        int step = 0;
        QObject::connect(&calibration, &ButtonCalibration::buttonsChanged, &calibration, [&] {
            if (!calibration.runTestEnabled())
                return;
            this->setSensors(++step == 1 ? released : pressed);
            calibration.BtnCal_Click(ButtonCalibration::RunTestButton);
        });
        this->dialogs.okCancelAnswers.enqueue(confirm);
        this->setSensors(released);
        calibration.BtnCal_Click(button);
        EXPECT_FALSE(calibration.running());
        EXPECT_TRUE(calibration.calibrateEnabled());
        EXPECT_FALSE(calibration.runTestEnabled());
        return calibration.lines();
    }

    // Tool EEPROM bytes from a location on.
    std::vector<int> eeprom(int first, int count) const {
        std::vector<int> bytes;
        for (int i = 0; i < count; ++i)
            bytes.push_back(this->model.toolEeprom[size_t(first + i)]);
        return bytes;
    }

    // Runs a manual calibration; each entry is typed when a value is asked for, the last one again and
    // again. The rundown is reported when the session waits for it.
    QStringList calibrateManually(const sim::ControllerModel::RundownRecord& rundown,
                                  const QList<double>& entries, ManualCalibration* reuse = nullptr) {
        ManualCalibration own(this->link, this->busy);
        ManualCalibration& calibration = reuse ? *reuse : own;
        QList<double> left = entries;
        const auto typing =
            QObject::connect(&calibration, &ManualCalibration::stateChanged, &calibration, [&] {
                if (calibration.awaitingValue())
                    calibration.btnManualCal_Click(left.size() > 1 ? left.takeFirst() : left.first());
            });
        const auto rundownAsked =
            QObject::connect(&calibration, &ManualCalibration::linesChanged, &calibration, [&] {
                if (calibration.lines().value(calibration.lines().size() - 1) ==
                    "Step 2: Please Run Controller To Final Tq")
                    this->reportRundown(rundown);
            });
        calibration.mnuManualCalibration_Click();
        QObject::disconnect(typing);
        QObject::disconnect(rundownAsked);
        return calibration.lines();
    }

    // The calibration commands the controller received.
    std::vector<clink::CanMessage> calibrationCommands() {
        if constexpr (calibtest::Calibration<LinkFixture>::Ethernet)
            testsupport::waitFor([&] { return !this->receivedWith(ids::CalibrationRequest).empty(); });
        return this->receivedWith(ids::CalibrationRequest);
    }
};

TYPED_TEST_SUITE(CalibrationOnEachLink, linktest::LinkFixtures);

// What the sessions make of a controller that does not answer is the same on every link. An unanswered
// Ethernet request waits out its sends for seconds (the link's own tests cover that), so these cases run
// where an unanswered request ends at once.
template <class LinkFixture> class CalibrationFailures : public CalibrationOnEachLink<LinkFixture> {};
using QuickFailureLinks = ::testing::Types<testsupport::PpFixture, testsupport::UsbFixture>;
TYPED_TEST_SUITE(CalibrationFailures, QuickFailureLinks);

TYPED_TEST(CalibrationOnEachLink, DspParameterWrittenAndReported) {
    this->linkCheck(ids::DspReply);
    this->s.DataBuffer.put(30, 0x10);
    this->s.DataBuffer.put(31, 0x02);
    DspParameterEditor editor(this->link, this->busy, app::UserLevel);
    editor.Display_DspParms();
    EXPECT_EQ(editor.number(30), 0x210);
    std::vector<bool> writing;
    QObject::connect(&editor, &DspParameterEditor::writingChanged, [&](bool w) { writing.push_back(w); });
    editor.setNumber(30, 1500);
    ASSERT_TRUE(editor.BtnWriteParameter_Click(30));
    EXPECT_EQ(this->model.dspBytes[30], 1500 & 0xFF);
    EXPECT_EQ(this->model.dspBytes[31], 1500 >> 8);
    ASSERT_EQ(this->dialogs.messages.size(), 1u);
    EXPECT_EQ(this->dialogs.messages[0].text, "Data Points Value Written Successfully");
    EXPECT_EQ(this->dialogs.messages[0].caption, "Write Parameters");
    EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Information);
    EXPECT_EQ(writing, (std::vector<bool>{true, false}));
    EXPECT_FALSE(this->busy.busy());

    // A word above 32767 goes out unchanged; the button positions as one word.
    editor.setNumber(116, 0xABCD);
    ASSERT_TRUE(editor.BtnWriteParameter_Click(116));
    EXPECT_EQ(this->model.dspBytes[116], 0xCD);
    EXPECT_EQ(this->model.dspBytes[117], 0xAB);
    editor.setOption("Optcw", 1);
    editor.setOption("Optcen", 2);
    editor.setOption("Optccw", 3);
    ASSERT_TRUE(editor.BtnWriteParameter_Click(0));
    EXPECT_EQ(this->model.dspBytes[88], 57);
    EXPECT_EQ(this->model.dspBytes[89], 0);
    EXPECT_EQ(this->messages().last(), "Button Value Written Successfully");
}

TYPED_TEST(CalibrationFailures, DspWriteFailsWithItsBoxAndNothingWhileAnotherCommandRuns) {
    this->linkCheck(ids::DspReply);
    DspParameterEditor editor(this->link, this->busy, app::ServiceLevel);
    editor.Display_DspParms();
    {
        base::BusyGuard other(this->busy);
        EXPECT_FALSE(editor.BtnWriteParameter_Click(30));
    }
    EXPECT_EQ(this->model.countReceived(ids::DspWriteRequest), 0);
    EXPECT_TRUE(this->dialogs.messages.empty());

    this->model.noReply.insert(ids::DspWriteRequest);
    const uint8_t before = this->model.dspBytes[10];
    editor.setNumber(10, before + 1);
    EXPECT_FALSE(editor.BtnWriteParameter_Click(10));
    ASSERT_EQ(this->dialogs.messages.size(), 1u);
    EXPECT_EQ(this->dialogs.messages[0].text, "DSP DATA NOT WRITTEN SUCCESSFULLY");
    EXPECT_EQ(this->dialogs.messages[0].caption, "WRITE PARAMETERS");
    EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Information);
    EXPECT_FALSE(editor.writing());
    EXPECT_FALSE(this->busy.busy());
}

TYPED_TEST(CalibrationOnEachLink, TubeNutValuesReadWrittenAndReadBack) {
    this->model.toolEeprom[53] = 10;
    this->model.toolEeprom[54] = 20;
    this->model.toolEeprom[55] = 30;
    TubeNutSettings settings(this->link, this->busy);
    settings.Form_Load();
    EXPECT_EQ(settings.value(53), 10);
    EXPECT_EQ(settings.value(54), 20);
    EXPECT_EQ(settings.value(55), 30);
    EXPECT_TRUE(this->dialogs.messages.empty());

    settings.setValue(55, 99);
    ASSERT_TRUE(settings.BtnWriteParameter_Click(55));
    EXPECT_EQ(this->model.toolEeprom[55], 99);
    EXPECT_EQ(this->model.toolEeprom[54], 20);
    ASSERT_EQ(this->dialogs.messages.size(), 1u);
    EXPECT_EQ(this->dialogs.messages[0].text, "Data Written To Eeprom");
    EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Critical);

    TubeNutSettings again(this->link, this->busy);
    again.Form_Load();
    EXPECT_EQ(again.value(55), 99);
    // A field holds one byte.
    again.setValue(53, 300);
    EXPECT_EQ(again.value(53), 255);
}

TYPED_TEST(CalibrationFailures, TubeNutReadFailureLeavesEveryValueUnsetAndWriteFailureIsShown) {
    this->model.silentAddresses.insert(54);
    TubeNutSettings settings(this->link, this->busy);
    settings.Form_Load();
    for (int location : TubeNutSettings::Locations)
        EXPECT_EQ(settings.value(location), std::nullopt) << location;
    EXPECT_EQ(this->messages(), QStringList{"Tube Nut Data Not Received"});
    EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Critical);
    // 55 was not asked for: the reads stop at the first failure.
    for (const clink::CanMessage& m : this->receivedWith(ids::ToolEepromRequest))
        EXPECT_NE(m.data[2], 55);

    // A location left empty by the failed read is never written: the tool keeps its byte.
    this->model.silentAddresses.clear();
    this->model.toolEeprom[53] = 77;
    this->model.toolEeprom[54] = 20;
    this->model.toolEeprom[55] = 30;
    const size_t requests = this->receivedWith(ids::ToolEepromRequest).size();
    for (int location : {53, 55})
        EXPECT_FALSE(settings.BtnWriteParameter_Click(location)) << location;
    EXPECT_EQ(this->receivedWith(ids::ToolEepromRequest).size(), requests) << "nothing was sent";
    EXPECT_EQ(this->model.toolEeprom[53], 77);
    EXPECT_EQ(this->model.toolEeprom[55], 30);
    EXPECT_EQ(this->messages().mid(1), (QStringList{"No Value For Home (inlb) - Data Not Written To Eeprom",
                                                    "No Value For Safety Torque (inlb) - Data Not Written To "
                                                    "Eeprom"}));
    EXPECT_EQ(this->dialogs.messages.back().icon, base::MessageIcon::Critical);
    EXPECT_FALSE(this->busy.busy());
    // A value typed into one of them is written, and only there.
    settings.setValue(54, 0);
    ASSERT_TRUE(settings.BtnWriteParameter_Click(54));
    EXPECT_EQ(this->model.toolEeprom[54], 0);
    EXPECT_EQ(this->model.toolEeprom[53], 77);
    EXPECT_EQ(this->model.toolEeprom[55], 30);
    EXPECT_EQ(this->messages().last(), "Data Written To Eeprom");

    this->model.noReply.insert(ids::ToolEepromRequest);
    settings.setValue(53, 7);
    EXPECT_FALSE(settings.BtnWriteParameter_Click(53));
    EXPECT_EQ(this->messages().last(), "Data Not Written To Eeprom");
    EXPECT_EQ(this->dialogs.messages.back().icon, base::MessageIcon::Critical);
}

TYPED_TEST(CalibrationOnEachLink, ButtonCalibrationWritesThresholdsFromTheSensorStream) {
    const QStringList lines =
        this->calibrateButton(ButtonCalibration::CwButton, {500, 3000, 3000, 3000}, {1500, 3000, 3000, 3000});
    EXPECT_EQ(this->eeprom(7, 4), (std::vector<int>{0x03, 0xF2, 0x03, 0xDE}));
    EXPECT_EQ(this->messages(), QStringList());
    ASSERT_EQ(this->dialogs.asked.size(), 1u);
    EXPECT_EQ(this->dialogs.asked[0].text, "New Button Values Calculated - Write To Tool ?");
    EXPECT_EQ(this->dialogs.asked[0].caption, "Write Button Values");
    EXPECT_EQ(lines, (QStringList{"Set Light Ring In Center Position Then Press Run Test Button",
                                  "Running Test - Taking 100 Readings .....", "CW (OFF): Max Reading: 500",
                                  "CW (OFF): Min Reading: 500", "CW (OFF): Avg Reading: 500",
                                  "Set Light Ring In CW Position Then Press Run Test Button",
                                  "Running Test - Taking 100 Readings .....", "CW (ON): Max Reading: 1500",
                                  "CW (ON): Min Reading: 1500", "CW (ON): Avg Reading: 1500",
                                  "Mid Point: 1000", "New Values For CW -> Upper: 1010 Lower: 990",
                                  "Writing Data To Tool Eeprom...", "Transfer Completed Successfully!"}));
    // The tool was asked to stream its sensors: 50 requests (5 over USB).
    const int requests = this->model.countReceived(ids::ToolEepromRequest, ButtonSensors::TestRequestCode);
    EXPECT_EQ(requests, this->s.ConnectionType == clink::Usb ? 5 : 50);
    EXPECT_FALSE(this->busy.busy());
}

// Right after start-up the parallel-port dongle is still in its configuration mode: it is set up before
// the tool is asked to stream, so the first calibration gets its readings.
class ButtonCalibrationAfterStartUp : public CalibrationOnEachLink<testsupport::PpFixture> {
protected:
    using Writes = std::vector<sim::SpiChip::RegisterWrite>;
    // The switches to normal mode the chip saw before its first transmit request, and whether one came.
    static std::pair<long, bool> normalModeBeforeFirstSend(const Writes& writes) {
        namespace canctl = clink::canctl;
        const auto firstSend = std::find_if(writes.begin(), writes.end(), [](const auto& w) {
            return w.address == canctl::TXB0CTRL && (w.value & canctl::TXREQ) != 0;
        });
        const sim::SpiChip::RegisterWrite normal{canctl::CANCTRL, canctl::ModeNormal};
        return {long(std::count(writes.begin(), firstSend, normal)), firstSend != writes.end()};
    }
};

TEST_F(ButtonCalibrationAfterStartUp, TheDongleIsSetUpBeforeTheStreamIsAskedFor) {
    link.spi.ResetController();
    ASSERT_EQ(chip.mode(), clink::canctl::ModeConfig);
    chip.recordTrace = true;
    const QStringList lines =
        calibrateButton(ButtonCalibration::CwButton, {500, 3000, 3000, 3000}, {1500, 3000, 3000, 3000});
    EXPECT_EQ(messages(), QStringList());
    EXPECT_EQ(lines.last(), "Transfer Completed Successfully!");
    EXPECT_EQ(eeprom(7, 4), (std::vector<int>{0x03, 0xF2, 0x03, 0xDE}));
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, ButtonSensors::TestRequestCode),
              ButtonSensors::RequestSends);
    // On the port: the switch to normal mode comes before the first transmit request, and the first frame
    // out is the stream request.
    EXPECT_EQ(normalModeBeforeFirstSend(chip.registerWrites), std::make_pair(1L, true));
    ASSERT_FALSE(chip.transmitted.empty());
    EXPECT_EQ(chip.transmitted.front().id, ids::ToolEepromRequest);
    EXPECT_EQ(chip.transmitted.front().data[0], ButtonSensors::TestRequestCode);

    // A dongle already set up is not set up again before the requests.
    chip.clearCounters();
    calibrateButton(ButtonCalibration::CwButton, {500, 3000, 3000, 3000}, {1500, 3000, 3000, 3000});
    EXPECT_EQ(normalModeBeforeFirstSend(chip.registerWrites), std::make_pair(0L, true));
    EXPECT_EQ(messages(), QStringList());
}

TYPED_TEST(CalibrationOnEachLink, ButtonCalibrationOfTheCounterClockwiseButtonReadsItsOwnWord) {
    // ccw released 2000, pressed 2301 -> mid 2150 (2150.5 to even), band 21.
    const QStringList lines =
        this->calibrateButton(ButtonCalibration::CcwButton, {100, 100, 2000, 100}, {100, 100, 2301, 100});
    EXPECT_EQ(this->eeprom(15, 4), (std::vector<int>{2171 >> 8, 2171 & 0xFF, 2129 >> 8, 2129 & 0xFF}));
    EXPECT_TRUE(lines.contains("New Values For CCW - > Upper: 2171 Lower: 2129"));
    EXPECT_TRUE(lines.contains("CCW (ON): Min Reading: 2301"));
    // Nothing else of the tool's thresholds changed.
    EXPECT_EQ(this->eeprom(7, 4), (std::vector<int>{7 * 7 + 3, 8 * 7 + 3, 9 * 7 + 3, 10 * 7 + 3}));
}

TYPED_TEST(CalibrationOnEachLink, ButtonCalibrationCancelledAtTheQuestionWritesNothing) {
    this->calibrateButton(ButtonCalibration::TriggerButton, {100, 900, 100, 100}, {100, 1100, 100, 100},
                          false);
    EXPECT_EQ(this->model.countReceived(ids::ToolEepromRequest, 0x60), 0);
    EXPECT_EQ(this->dialogs.asked.size(), 1u);
}

TYPED_TEST(CalibrationFailures, ButtonCalibrationWithoutASensorStreamEndsWithItsBox) {
    // The tool ignores the test request: no stream.
    this->model.noReply.insert(ids::ToolEepromRequest);
    ButtonCalibration calibration(this->link, this->busy);
    QObject::connect(&calibration, &ButtonCalibration::buttonsChanged, &calibration, [&] {
        if (calibration.runTestEnabled())
            calibration.BtnCal_Click(ButtonCalibration::RunTestButton);
    });
    calibration.BtnCal_Click(ButtonCalibration::CenterButton);
    EXPECT_EQ(this->messages(), QStringList{"Unable To Receive Values"});
    EXPECT_EQ(this->dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_TRUE(this->dialogs.asked.empty());
    EXPECT_EQ(calibration.lines().last(), "Running Test - Taking 100 Readings .....");
    EXPECT_TRUE(calibration.calibrateEnabled());
    EXPECT_FALSE(this->busy.busy());
}

TYPED_TEST(CalibrationOnEachLink, ButtonCalibrationCancelledWhileAStepWaits) {
    ButtonCalibration calibration(this->link, this->busy);
    QObject::connect(&calibration, &ButtonCalibration::buttonsChanged, &calibration, [&] {
        if (calibration.runTestEnabled())
            calibration.cancel();
    });
    calibration.BtnCal_Click(ButtonCalibration::CwButton);
    EXPECT_FALSE(calibration.running());
    EXPECT_EQ(calibration.lines(),
              QStringList{"Set Light Ring In Center Position Then Press Run Test Button"});
    EXPECT_TRUE(this->dialogs.messages.empty());
    EXPECT_TRUE(this->dialogs.asked.empty());
}

TYPED_TEST(CalibrationOnEachLink, ManualCalibrationInNmSendsTheConvertedValue) {
    // CalibrationRundown: final torque 125.4 Nm.
    const QStringList lines = this->calibrateManually(servicetest::CalibrationRundown, {100});
    const std::vector<clink::CanMessage> sent = this->calibrationCommands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].data, (std::array<int, 8>{0x20, 0x01, 0x93, 0x22, 0, 0, 0, 0}));
    EXPECT_EQ(this->model.calibrationValues, std::vector<int>{8851});
    EXPECT_EQ(
        lines,
        (QStringList{"-------- Brenstal Manual Calibration --------", "Step 1: Checking Tool For Multiplier",
                     "Tool Multiplier Found", "Step 2: Please Run Controller To Final Tq",
                     "Controller Final Tq Reached", base::fixed40(QStringLiteral("Tq Final: 125.4")),
                     "Step 2: Please Enter New Torque And Press Enter", "Step 4: Calculating New Value.....",
                     "New Value: 8851", "Step 5: Sending New Value.....", "MANUAL CALIBRATION - COMPLETED"}));
    EXPECT_TRUE(this->dialogs.messages.empty());
    // The multiplier was read high byte first; the shared final-torque text was blanked after use.
    const std::vector<clink::CanMessage> reads = this->receivedWith(ids::ToolEepromRequest);
    ASSERT_GE(reads.size(), 2u);
    EXPECT_EQ(reads.front().data[2], 58);
    EXPECT_EQ(reads.back().data[2], 57);
    EXPECT_EQ(this->s.RundownResult.texts[0], base::fixed40(QString()));
    EXPECT_FALSE(this->busy.busy());
}

TYPED_TEST(CalibrationOnEachLink, ManualCalibrationRefusesZeroAndValuesTooLargeForTheCommand) {
    sim::ControllerModel::RundownRecord kgm = servicetest::CalibrationRundown;
    kgm[15] = 4; // kg-m: 10000 x 10 x 86.8 does not fit the command's two bytes
    const QStringList lines = this->calibrateManually(kgm, {0, 10000, 12.5});
    EXPECT_TRUE(lines.contains("Value Must Be Greater Than 0"));
    EXPECT_TRUE(lines.contains("New Value: 8680000"));
    EXPECT_EQ(lines.last(), "MANUAL CALIBRATION - COMPLETED");
    EXPECT_TRUE(lines.contains("New Value: 10850"));
    EXPECT_EQ(this->messages(), QStringList{"New Value Too Large - Enter A Smaller Torque"});
    const std::vector<clink::CanMessage> sent = this->calibrationCommands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(this->model.calibrationValues, std::vector<int>{10850});
}

TYPED_TEST(CalibrationOnEachLink, ManualCalibrationRoundsAHalfToTheEvenValue) {
    sim::ControllerModel::RundownRecord kgcm = servicetest::CalibrationRundown;
    kgcm[15] = 3; // kg-cm: 12.5 x 10 x 0.868 is 108.5, sent as 108
    const QStringList lines = this->calibrateManually(kgcm, {12.5});
    EXPECT_TRUE(lines.contains("New Value: 108.5"));
    EXPECT_EQ(lines.last(), "MANUAL CALIBRATION - COMPLETED");
    const std::vector<clink::CanMessage> sent = this->calibrationCommands();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].data, (std::array<int, 8>{0x20, 0x01, 0x6C, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(this->model.calibrationValues, std::vector<int>{108});
}

TYPED_TEST(CalibrationFailures, ManualCalibrationStopsWhenTheMultiplierIsNotRead) {
    this->model.silentAddresses.insert(58);
    ManualCalibration calibration(this->link, this->busy);
    calibration.mnuManualCalibration_Click();
    EXPECT_EQ(this->messages(),
              (QStringList{"Tool Eeprom Data Not Received", "Tool Data Not Rx - Transfer Aborted"}));
    EXPECT_EQ(this->dialogs.messages[0].caption, "Receive Error");
    EXPECT_EQ(this->dialogs.messages[1].caption, "Find Multiplier");
    for (const clink::CanMessage& m : this->receivedWith(ids::ToolEepromRequest))
        EXPECT_NE(m.data[2], 57);
    EXPECT_TRUE(calibration.lines().isEmpty());
    EXPECT_FALSE(calibration.frameEnabled());
    EXPECT_EQ(calibration.frameCaption(), "Calibration");
    EXPECT_FALSE(calibration.menuEnabled());
    EXPECT_EQ(this->model.countReceived(ids::StatusRequest), 0);
}

TYPED_TEST(CalibrationOnEachLink, ManualCalibrationCancelledThenRunAgain) {
    ManualCalibration calibration(this->link, this->busy);
    // Exit while the value is awaited: the run ends silently, the menu is on again, the list empty.
    bool exited = false;
    const auto exitAtEntry =
        QObject::connect(&calibration, &ManualCalibration::stateChanged, &calibration, [&] {
            if (calibration.awaitingValue() && !exited) {
                exited = true;
                EXPECT_FALSE(calibration.mnuExit_Click());
            }
        });
    const auto rundownAsked =
        QObject::connect(&calibration, &ManualCalibration::linesChanged, &calibration, [&] {
            if (calibration.lines().value(calibration.lines().size() - 1) ==
                "Step 2: Please Run Controller To Final Tq")
                this->reportRundown(servicetest::CalibrationRundown);
        });
    calibration.mnuManualCalibration_Click();
    QObject::disconnect(exitAtEntry);
    QObject::disconnect(rundownAsked);
    EXPECT_TRUE(exited);
    EXPECT_TRUE(calibration.menuEnabled());
    EXPECT_TRUE(calibration.lines().isEmpty());
    EXPECT_TRUE(this->receivedWith(ids::CalibrationRequest).empty());

    // The next run in the same window is not ended by that cancel.
    const QStringList lines = this->calibrateManually(servicetest::CalibrationRundown, {100}, &calibration);
    EXPECT_EQ(lines.last(), "MANUAL CALIBRATION - COMPLETED");
    EXPECT_EQ(this->calibrationCommands().size(), 1u);
    // The menu stays off after a run; Exit then cancels nothing but turns it on, and the next Exit closes.
    EXPECT_FALSE(calibration.menuEnabled());
    EXPECT_FALSE(calibration.mnuExit_Click());
    EXPECT_TRUE(calibration.menuEnabled());
    EXPECT_TRUE(calibration.mnuExit_Click());
}

} // namespace

namespace {

// A button calibration whose Run Test steps run the given action first.
void runSteps(ButtonCalibration& calibration, const std::function<void()>& beforeEachStep) {
    QObject::connect(&calibration, &ButtonCalibration::buttonsChanged, &calibration,
                     [&calibration, beforeEachStep] {
                         if (!calibration.runTestEnabled())
                             return;
                         beforeEachStep();
                         calibration.BtnCal_Click(ButtonCalibration::RunTestButton);
                     });
}

class ButtonsUsb : public calibtest::Calibration<testsupport::UsbFixture> {
protected:
    int sensorFramesWritten() const {
        int n = 0;
        for (const auto& f : device.frames)
            n += f.message.id == ButtonSensors::SensorFrames && sim::isZeroData(f.message) ? 1 : 0;
        return n;
    }
};

TEST_F(ButtonsUsb, RepliesThatTimedOutAreAskedForAgainAndNeverBecomeReadings) {
    ButtonCalibration calibration(link, busy);
    int step = 0;
    int firstStepFrames = 0;
    runSteps(calibration, [&] {
        model.buttonSensors = ++step == 1 ? Sensors{100, 900, 100, 100} : Sensors{100, 1100, 100, 100};
        if (step == 2)
            firstStepFrames = sensorFramesWritten();
        device.lateReply = 3; // the filter frame's answer, then two readings' first tries come too late
    });
    dialogs.okCancelAnswers.enqueue(true);
    calibration.BtnCal_Click(ButtonCalibration::TriggerButton);
    // Trigger: released 900, pressed 1100 -> 1000 +- 10; a blank reply (0x2020) would have been the minimum.
    EXPECT_EQ(calibration.lines().last(), "Transfer Completed Successfully!");
    EXPECT_TRUE(calibration.lines().contains("TRIG (ON): Min Reading: 1100"));
    EXPECT_EQ(model.toolEeprom[11], 1010 >> 8);
    EXPECT_EQ(model.toolEeprom[12], 1010 & 0xFF);
    EXPECT_EQ(model.toolEeprom[14], 990 & 0xFF);
    // Each step: the filter frame and 100 readings, two of them asked for twice.
    EXPECT_EQ(firstStepFrames, 1 + 100 + 2);
    EXPECT_EQ(sensorFramesWritten(), 2 * (1 + 100 + 2));
}

TEST_F(ButtonsUsb, IncompleteRepliesEndTheStepAfterTheUsualTries) {
    ButtonCalibration calibration(link, busy);
    runSteps(calibration, [&] { device.replyLength = 12; });
    calibration.BtnCal_Click(ButtonCalibration::CwButton);
    EXPECT_EQ(messages(), QStringList{"Unable To Receive Values"});
    EXPECT_EQ(sensorFramesWritten(), 1 + clink::USB::UsualTries);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(ButtonsUsb, ClosingTheProgramEndsTheWaitsForTheUser) {
    ButtonCalibration buttons(link, busy);
    QObject::connect(&buttons, &ButtonCalibration::buttonsChanged, &buttons, [&] {
        if (buttons.runTestEnabled())
            pump.stop();
    });
    buttons.BtnCal_Click(ButtonCalibration::CwButton);
    EXPECT_FALSE(buttons.running());
    EXPECT_EQ(buttons.lines().size(), 1);

    ManualCalibration manual(link, busy);
    manual.mnuManualCalibration_Click(); // the rundown never comes: the wait ends with the pump
    EXPECT_FALSE(manual.running());
    EXPECT_TRUE(dialogs.messages.empty()) << messages().join(" | ").toStdString();
    EXPECT_TRUE(receivedWith(ids::CalibrationRequest).empty());
}

class ButtonsPp : public calibtest::Calibration<testsupport::PpFixture> {};

TEST_F(ButtonsPp, ASilentToolIsPolledTwoThousandTimesWithoutAYield) {
    model.noReply.insert(ids::ToolEepromRequest); // no stream
    clock.stepPerReading = 0;                     // the polls take no time: the silence cap stays far away
    ButtonCalibration calibration(link, busy);
    runSteps(calibration, [&] { chip.clearCounters(); });
    calibration.BtnCal_Click(ButtonCalibration::CwButton);
    EXPECT_EQ(messages(), QStringList{"Unable To Receive Values"});
    EXPECT_EQ(chip.intfReads, ButtonSensors::PpPolls);
    EXPECT_EQ(chip.filterId(), ButtonSensors::SensorFrames);
}

TEST_F(ButtonsPp, WithoutTheDongleTheStepSaysSoTwice) {
    ButtonCalibration calibration(link, busy);
    runSteps(calibration, [&] { chip.dongleAbsent = true; });
    calibration.BtnCal_Click(ButtonCalibration::CcwButton);
    EXPECT_EQ(messages(), (QStringList{"Unable To Configure Candongle", "Unable To Receive Values"}));
}

} // namespace
