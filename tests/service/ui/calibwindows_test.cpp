// The calibration windows opened from the main window's menus against the stand-in: the DSP parameter
// editor with its selections, lock and write; the button calibration driven by its buttons; the tube-nut
// fields; the manual calibration's menu, frame and list; and closing a window while its session waits.
#include "app/ui/windowregistry.h"
#include "controls/ui/numedit.h"
#include "service/buttonsensors.h"
#include "service/servicemodule.h"
#include "service/ui/formcalibration.h"
#include "service/ui/frmcalbuttons.h"
#include "service/ui/frmdspparameters.h"
#include "service/ui/frmtubenut.h"
#include "service/ui/installwindows.h"
#include "tests/app/ui/tooldspfixture.h"
#include "tests/link/service_support.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <numeric>

namespace {

using apptest::Link;
using namespace service;
namespace ids = clink::ids;

class CalibWindows : public apptest::ToolDspFixture {
protected:
    CalibWindows() {
        service::installWindows(ctx, module);
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString&, QWidget* window) { lastOpened = window; });
    }
    template <class W> W* opened() { return qobject_cast<W*>(lastOpened.data()); }
    // Tool > Write > Tube Nut with the main window shown: the tube-nut window as the user sees it.
    frmTubeNut* showTubeNut() {
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        trigger("mnuWriteTubeNut");
        frmTubeNut* w = opened<frmTubeNut>();
        if (w) {
            EXPECT_TRUE(w->isVisible());
            QCoreApplication::processEvents();
        }
        return w;
    }
    // Tool > Calibrate > Tool on link with the main window shown, and the controls the user reaches for
    // while the manual calibration runs.
    struct CalibrationWindow {
        QPointer<FormCalibration> window;
        QMenuBar* bar = nullptr;
        QAction* start = nullptr;
        QAction* exit = nullptr;
        QListWidget* list = nullptr;
    };
    CalibrationWindow showCalibration(Link link) {
        connect(link);
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
        trigger("mnuCalibrateTool");
        CalibrationWindow c;
        c.window = opened<FormCalibration>();
        if (c.window.isNull())
            return c;
        c.bar = c.window->findChild<QMenuBar*>();
        c.start = child<QAction>(c.window, "mnuManualCalibration");
        c.exit = child<QAction>(c.window, "mnuExit");
        c.list = child<QListWidget>(c.window, "List1");
        return c;
    }
    // Runs the manual calibration until the user's Exit ends it (or, should the click be lost, a safety stop
    // so that the test reports instead of hanging): the run ended quietly, sent no value, kept the window.
    void runUntilExit(const CalibrationWindow& c) {
        QTimer::singleShot(5000, &main, [&] { ctx.pump.stop(); });
        c.start->trigger();
        EXPECT_FALSE(ctx.pump.stopped()); // the Exit ended the run, not the safety stop
        EXPECT_FALSE(c.window->calibration().running());
        EXPECT_FALSE(ctx.busy.busy());
        EXPECT_TRUE(c.start->isEnabled());
        EXPECT_EQ(c.list->count(), 0);
        EXPECT_TRUE(dialogs->messages.empty());
        EXPECT_TRUE(model.calibrationValues.empty());
        EXPECT_FALSE(c.window.isNull());
    }
    // Types a number into a field as the user does and commits it with Enter.
    static void typeInto(controls::NumEdit* field, const char* text) {
        field->setFocus();
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
        QTest::keyClick(field, Qt::Key_Return);
    }
    void setWord(int address, int value) {
        model.dspBytes[size_t(address)] = uint8_t(value & 0xFF);
        model.dspBytes[size_t(address + 1)] = uint8_t(value >> 8);
    }

    ServiceModule module{
        ctx, std::make_unique<QSettings>(folder.file(QStringLiteral("user.ini")), QSettings::IniFormat)};
    QPointer<QWidget> lastOpened;
};

TEST_F(CalibWindows, DspEditorShowsTheBlockLocksFiveRowsAndWritesOne) {
    connect(Link::Usb);
    setWord(88, 0x39);
    setWord(78, 7);
    setWord(108, 5);
    setWord(92, 3);
    setWord(30, 0x210);
    trigger("mnuWriteDspParameters");
    auto* w = opened<FrmDspParameters>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "  Brenstal - Dsp Parameters");
    auto* tabs = child<QTabWidget>(w, "SSTab1");
    ASSERT_EQ(tabs->count(), 12);
    EXPECT_EQ(tabs->tabText(0), "Tool Button Positions");
    EXPECT_EQ(tabs->tabText(7), " Adaptive Control");
    EXPECT_EQ(tabs->tabText(11), "Tube Nut");
    EXPECT_EQ(child<QGroupBox>(w, "FrameDspSelections_8")->title(), "Can ");

    EXPECT_TRUE(child<QRadioButton>(w, "Optcw_1")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(w, "Optcen_2")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(w, "Optccw_3")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(w, "OptionRBR_2")->isChecked());
    EXPECT_EQ(child<QRadioButton>(w, "OptionRBR_2")->text(), "Rundown - Backoff");
    EXPECT_TRUE(child<QRadioButton>(w, "OptMultiple_0")->isChecked());
    for (QRadioButton* option : w->findChildren<QRadioButton*>(QRegularExpression("^OptionAdaptive_")))
        EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();
    EXPECT_EQ(child<controls::NumEdit>(w, "CwDspParameters_30")->value(), 0x210);

    // Level 1: exactly the five locked rows are off.
    QStringList off;
    for (auto* field : w->findChildren<controls::NumEdit*>())
        if (!field->isEnabled())
            off << field->objectName();
    for (auto* button : w->findChildren<QPushButton*>())
        if (!button->isEnabled())
            off << button->objectName();
    off.sort();
    EXPECT_EQ(off, (QStringList{"BtnWriteParameter_10", "BtnWriteParameter_24", "BtnWriteParameter_64",
                                "BtnWriteParameter_8", "BtnWriteParameter_82", "CwDspParameters_10",
                                "CwDspParameters_24", "CwDspParameters_64", "CwDspParameters_8",
                                "CwDspParameters_82"}));

    child<controls::NumEdit>(w, "CwDspParameters_30")->setValue(500);
    child<QPushButton>(w, "BtnWriteParameter_30")->click();
    EXPECT_EQ(model.dspBytes[30], 500 & 0xFF);
    EXPECT_EQ(model.dspBytes[31], 500 >> 8);
    EXPECT_EQ(messages(), QStringList{"Data Points Value Written Successfully"});
    EXPECT_TRUE(tabs->isEnabled());

    child<QRadioButton>(w, "Optccw_0")->click();
    child<QPushButton>(w, "BtnWriteParameter_0")->click();
    EXPECT_EQ(model.dspBytes[88], 1 + 4 * 2);
    EXPECT_EQ(messages().last(), "Button Value Written Successfully");
}

TEST_F(CalibWindows, DspEditorAtServiceLevelLocksNothing) {
    connect(Link::Usb);
    ctx.palverin.access.AccessLevel = app::ServiceLevel;
    trigger("mnuWriteDspParameters");
    auto* w = opened<FrmDspParameters>();
    ASSERT_NE(w, nullptr);
    for (auto* button : w->findChildren<QPushButton*>())
        EXPECT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    EXPECT_EQ(w->findChildren<QPushButton*>().size(), 31); // one per row, the button positions' included
}

TEST_F(CalibWindows, ButtonCalibrationFromItsButtons) {
    connect(Link::ParallelPort);
    ASSERT_TRUE(ctx.link.dataTx.ConfigureCanDongle(ids::ToolEepromReply)); // as an earlier command left it
    trigger("mnuCalToolButtons");
    auto* w = opened<frmCalButtons>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Brenstal - Calibrate Tool Buttons");
    auto* runTest = child<QPushButton>(w, "BtnCal_6");
    auto* cw = child<QPushButton>(w, "BtnCal_2");
    EXPECT_EQ(runTest->text(), "Run Test");
    EXPECT_EQ(child<QPushButton>(w, "BtnCal_1")->text(), "Cal Trigger");
    EXPECT_FALSE(runTest->isEnabled());
    EXPECT_TRUE(cw->isEnabled());

    QList<int> bar;
    QObject::connect(child<QProgressBar>(w, "Bar1"), &QProgressBar::valueChanged, w,
                     [&](int v) { bar << v; });
    int steps = 0;
    QObject::connect(&w->calibration(), &ButtonCalibration::buttonsChanged, w, [&] {
        if (!runTest->isEnabled())
            return;
        ++steps;
        EXPECT_FALSE(cw->isEnabled());
        EXPECT_FALSE(child<QPushButton>(w, "BtnCal_4")->isEnabled());
        model.buttonSensors.cw = steps == 1 ? 500 : 1500;
        runTest->click();
    });
    dialogs->okCancelAnswers.enqueue(true);
    cw->click();
    EXPECT_EQ(steps, 2);
    // The bar moved with the 50 button-test requests first, then with the readings.
    QList<int> requests(ButtonSensors::RequestSends + 1);
    std::iota(requests.begin(), requests.end(), 0);
    EXPECT_EQ(bar.mid(0, requests.size()), requests);
    EXPECT_EQ(model.toolEeprom[7], 0x03);
    EXPECT_EQ(model.toolEeprom[8], 0xF2);
    EXPECT_EQ(model.toolEeprom[9], 0x03);
    EXPECT_EQ(model.toolEeprom[10], 0xDE);
    const QStringList shown = items(child<QListWidget>(w, "List1"));
    EXPECT_EQ(shown.last(), "Transfer Completed Successfully!");
    EXPECT_TRUE(shown.contains("New Values For CW -> Upper: 1010 Lower: 990"));
    EXPECT_TRUE(cw->isEnabled());
    EXPECT_FALSE(runTest->isEnabled());
}

TEST_F(CalibWindows, ClosingTheButtonCalibrationWhileAStepWaitsEndsItQuietly) {
    connect(Link::Usb);
    trigger("mnuCalToolButtons");
    QPointer<frmCalButtons> w = opened<frmCalButtons>();
    ASSERT_FALSE(w.isNull());
    bool closed = false;
    QObject::connect(&w->calibration(), &ButtonCalibration::buttonsChanged, w.data(), [&] {
        if (!w->calibration().runTestEnabled() || closed)
            return;
        closed = true;
        app::closeWindow(w);
        EXPECT_FALSE(w.isNull()); // it closes once the calibration has ended
    });
    child<QPushButton>(w, "BtnCal_1")->click();
    EXPECT_TRUE(closed);
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->asked.empty());
    EXPECT_EQ(model.countReceived(ids::ToolEepromRequest, 0x60), 0);
}

TEST_F(CalibWindows, TubeNutFieldsShowTheToolAndWriteOne) {
    connect(Link::Usb);
    model.toolEeprom[53] = 10;
    model.toolEeprom[54] = 20;
    model.toolEeprom[55] = 30;
    frmTubeNut* w = showTubeNut();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Brenstal - Tube Nut Parameters");
    EXPECT_EQ(child<QLabel>(w, "Label1_54")->text(), "Open Loop (inlb)");
    auto* safety = child<controls::NumEdit>(w, "CwDspParameters_55");
    EXPECT_EQ(child<controls::NumEdit>(w, "CwDspParameters_53")->value(), 10);
    EXPECT_EQ(child<controls::NumEdit>(w, "CwDspParameters_54")->value(), 20);
    EXPECT_EQ(safety->value(), 30);
    EXPECT_EQ(safety->maximum(), 255);
    typeInto(safety, "99");
    child<QPushButton>(w, "BtnWriteParameter_55")->click();
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{55, 99}}));
    EXPECT_EQ(model.toolEeprom[55], 99);
    EXPECT_EQ(messages(), QStringList{"Data Written To Eeprom"});
}

TEST_F(CalibWindows, TubeNutWritesOnlyWhatWasReadOrTypedAfterAFailedRead) {
    connect(Link::Usb);
    model.toolEeprom[53] = 77;
    model.toolEeprom[54] = 20;
    model.toolEeprom[55] = 30;
    model.silentAddresses.insert(53);
    frmTubeNut* w = showTubeNut();
    ASSERT_NE(w, nullptr);
    model.silentAddresses.clear();
    EXPECT_EQ(messages(), QStringList{"Tube Nut Data Not Received"});
    for (int location : TubeNutSettings::Locations)
        EXPECT_TRUE(child<controls::NumEdit>(w, QStringLiteral("CwDspParameters_%1").arg(location))
                        ->text()
                        .isEmpty());

    // Write on an empty field: nothing goes to the tool, the box says which value was not written.
    auto* home = child<controls::NumEdit>(w, "CwDspParameters_53");
    home->setFocus();
    child<QPushButton>(w, "BtnWriteParameter_53")->setFocus(); // left without typing
    child<QPushButton>(w, "BtnWriteParameter_53")->click();
    EXPECT_TRUE(home->text().isEmpty());
    EXPECT_TRUE(toolWrites().empty());
    EXPECT_EQ(model.toolEeprom[53], 77);
    EXPECT_EQ(messages().last(), "No Value For Home (inlb) - Data Not Written To Eeprom");
    EXPECT_EQ(lastIcon(), base::MessageIcon::Critical);

    // 0 typed into an empty field is a value entered: it is written, and nothing else.
    typeInto(child<controls::NumEdit>(w, "CwDspParameters_55"), "0");
    child<QPushButton>(w, "BtnWriteParameter_55")->click();
    EXPECT_EQ(toolWrites(), (std::vector<std::pair<int, int>>{{55, 0}}));
    EXPECT_EQ(model.toolEeprom[55], 0);
    EXPECT_EQ(model.toolEeprom[53], 77);
    EXPECT_EQ(model.toolEeprom[54], 20);
    EXPECT_EQ(messages().last(), "Data Written To Eeprom");
}

class ManualCalibrationWindow : public CalibWindows {
protected:
    void SetUp() override {
        connect(Link::Usb);
        model.rundown = servicetest::CalibrationRundown; // in Nm
        trigger("mnuCalibrateTool");
        w = opened<FormCalibration>();
        ASSERT_FALSE(w.isNull());
        menu = child<QAction>(w, "mnuManualCalibration");
        exitMenu = child<QAction>(w, "mnuExit");
        frame = child<QGroupBox>(w, "frameManualCal");
        list = child<QListWidget>(w, "List1");
    }
    // When the calibration asks for the torque, runs this.
    void whenAsked(const std::function<void()>& action) {
        QObject::connect(&w->calibration(), &ManualCalibration::stateChanged, w.data(), [this, action] {
            if (w->calibration().awaitingValue())
                action();
        });
        // The rundown comes when the calibration waits for it.
        model.armRundown(2);
    }

    QPointer<FormCalibration> w;
    QAction* menu = nullptr;
    QAction* exitMenu = nullptr;
    QGroupBox* frame = nullptr;
    QListWidget* list = nullptr;
};

TEST_F(ManualCalibrationWindow, EnterSendsTheValueAndTheMenuStaysOff) {
    EXPECT_EQ(w->windowTitle(), " Brenstal - Calibration");
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_FALSE(frame->isEnabled());
    EXPECT_EQ(frame->title(), "Calibration");
    auto* value = child<controls::NumEdit>(w, "CWCalValue");
    EXPECT_EQ(value->maximum(), 10000);
    bool asked = false;
    whenAsked([&] {
        if (asked)
            return;
        asked = true;
        EXPECT_TRUE(frame->isEnabled());
        EXPECT_EQ(frame->title(), "Manual Calibration - New Tq Value");
        EXPECT_FALSE(menu->isEnabled());
        value->setValue(100);
        child<QPushButton>(w, "btnManualCal")->click();
    });
    menu->trigger();
    EXPECT_TRUE(asked);
    EXPECT_EQ(model.calibrationValues, std::vector<int>{8851});
    EXPECT_EQ(items(list).last(), "MANUAL CALIBRATION - COMPLETED");
    EXPECT_TRUE(items(list).contains("New Value: 8851"));
    EXPECT_FALSE(menu->isEnabled());

    // Exit after a run: the menu comes back and the list is cleared; the next Exit closes the window.
    exitMenu->trigger();
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(w.isNull());
    exitMenu->trigger();
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
}

TEST_F(ManualCalibrationWindow, ClosingWhileTheTorqueIsAskedForEndsTheRunFirst) {
    bool closed = false;
    whenAsked([&] {
        if (closed)
            return;
        closed = true;
        app::closeWindow(w);
        EXPECT_FALSE(w.isNull());
    });
    menu->trigger();
    EXPECT_TRUE(closed);
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
    EXPECT_TRUE(model.calibrationValues.empty());
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(CalibWindows, ExitWhileTheManualCalibrationWaitsForTheRundownEndsTheWaitAndTheRun) {
    // Over Ethernet each look for the final torque waits seconds for the controller's report; this one
    // never comes. The window stays usable meanwhile (the rest of the program is busy), and its Exit ends
    // the look at once and the run at its next check, quietly.
    const CalibrationWindow shown = showCalibration(Link::Ethernet);
    const auto& [w, bar, start, exitMenu, list] = shown;
    ASSERT_FALSE(w.isNull());
    ASSERT_NE(bar, nullptr);

    bool clicked = false;
    bool windowUsable = false;
    bool programBusy = false;
    QStringList linesAtClick;
    // The user clicks Exit while the first look waits (from the wait's own event loop).
    dongle.armOnAccept(ids::RunData, [&] {
        QTimer::singleShot(0, w.data(), [&] {
            clicked = true;
            windowUsable = w->isEnabled() && bar->isEnabled();
            programBusy = ctx.busy.busy() && !main.menuBar()->isEnabled();
            linesAtClick = items(list);
            QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(exitMenu).center());
        });
    });
    runUntilExit(shown);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(windowUsable);
    EXPECT_TRUE(programBusy);
    EXPECT_EQ(linesAtClick.last(), "Step 2: Please Run Controller To Final Tq");
    // One look only: the run ended at the check after it; nothing was sent to the tool.
    const auto looks =
        std::count_if(dongle.frames.begin(), dongle.frames.end(),
                      [](const sim::TcpDongle::Received& r) { return r.accept == ids::RunData; });
    EXPECT_EQ(looks, 1);
}

// On USB and the parallel port each look for the final torque is short (a few frames, a count of chip
// reads) and the looks follow one another until the rundown comes; this one never comes. Exit clicked
// while a look holds the program busy ends that look at once and the run at its next check: nothing more
// goes to the controller.
class CalibWindowsOnLink : public CalibWindows, public ::testing::WithParamInterface<Link> {
protected:
    // Frames the PC has sent on the link under test.
    size_t framesSent() const {
        return GetParam() == Link::Usb ? ftdi.frames.size() : chip.transmitted.size();
    }
};

TEST_P(CalibWindowsOnLink, ExitWhileTheManualCalibrationLooksForTheRundownEndsTheLookAndTheRun) {
    const CalibrationWindow shown = showCalibration(GetParam());
    const auto& [w, bar, start, exitMenu, list] = shown;
    ASSERT_FALSE(w.isNull());
    ASSERT_NE(bar, nullptr);

    bool clicked = false;
    bool windowUsable = false;
    size_t framesAtClick = 0;
    int looksSeen = 0;
    // The user clicks Exit during the third look (from the look's own event loop): the program is busy
    // then, with this window usable.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, w.data(), [&] {
        if (clicked || !ctx.busy.busy() || ctx.busy.usableWindow() != w.data() ||
            items(list).last() != "Step 2: Please Run Controller To Final Tq" || ++looksSeen < 3)
            return;
        clicked = true;
        windowUsable = w->isEnabled() && bar->isEnabled() && !main.menuBar()->isEnabled();
        framesAtClick = framesSent();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(exitMenu).center());
    });
    watch.start(0);
    runUntilExit(shown);
    watch.stop();
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(windowUsable);
    EXPECT_EQ(framesSent(), framesAtClick);
}

INSTANTIATE_TEST_SUITE_P(Links, CalibWindowsOnLink, ::testing::Values(Link::Usb, Link::ParallelPort),
                         testsupport::linkName);

} // namespace
