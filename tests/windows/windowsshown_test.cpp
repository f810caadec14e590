// Every window of the program opened through its launcher (a menu of the main window, or the window that
// opens it), shown offscreen at the main window's default size of 1024 x 720 with the event loop running:
// its caption and opening state (current item, enabled frames, current tab), and a layout a technician can
// read (nothing squeezed below its minimum, every tab in view, lists as wide as their lines, no scroll bar
// on one line, nothing overlapping, no window larger than its work area). Each window leaves a screenshot
// under the build folder (windows_shown/<name>.png) for a person to look at.
#include "app/ui/elidedlabel.h"
#include "app/ui/frmoutput.h"
#include "app/ui/frmvalue.h"
#include "app/ui/textviewer.h"
#include "app/ui/workarea.h"
#include "ladder/laddereditor.h"
#include "ladder/laddertransfer.h"
#include "link/commandcodes.h"
#include "logicio/ladderconverter.h"
#include "logicio/logicimage.h"
#include "logicio/logicversion.h"
#include "logicio/ui/frmlogicio.h"
#include "monitor/runscreenlog.h"
#include "service/collectselection.h"
#include "service/ui/frmcollectsettings.h"
#include "tests/logicio/transferfixture.h"
#include "tests/monitor/statsfixture.h"
#include "tests/windows/shownfixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>

using shown::caption;
using shown::ShownWindows;

namespace {

// A window opened from a menu of the main window, and its caption.
struct Launched {
    const char* menu;
    const char* window;
    QString caption;
    // The controller type the stand-in reports (it decides the logic editor, and the calibration needs 4).
    int controllerType = 4;
    // The screenshot's name when one window opens in more than one way.
    const char* shot = nullptr;
};

void PrintTo(const Launched& l, std::ostream* os) {
    *os << (l.shot ? l.shot : l.window);
}

class EachWindow : public ShownWindows, public ::testing::WithParamInterface<Launched> {};

TEST_P(EachWindow, OpensShownWithItsCaptionAndALayoutThatFits) {
    const Launched& l = GetParam();
    model.verMajor = l.controllerType;
    QWidget* window = shownWindow(l.menu, QString::fromLatin1(l.window));
    ASSERT_TRUE(window);
    EXPECT_EQ(caption(*window), l.caption);
    EXPECT_TRUE(window->isEnabled());
    // A tabbed window opens on its first tab.
    for (const QTabWidget* tabs : window->findChildren<QTabWidget*>())
        EXPECT_EQ(tabs->currentIndex(), 0) << tabs->objectName().toStdString();
    expectLaidOut(*window, QString::fromLatin1(l.shot ? l.shot : l.window));
    EXPECT_EQ(dialogs->messageTexts(), QStringList()) << l.menu;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(MainMenus, EachWindow, ::testing::Values(
    Launched{"mnuCont_Conn", "frmSetConnection", "Set Controller Connection"},
    Launched{"mnuReadToolEepromLocation", "frmValue2", " Brenstal"},
    Launched{"mnuMonitorButtons", "FrmMonitorButtons", "Brenstal - Monitor Buttons"},
    Launched{"mnuWriteTubeNut", "frmTubeNut", "Brenstal - Tube Nut Parameters"},
    Launched{"mnuLedstates", "ToolLed", "Tool Leds"},
    Launched{"mnuCalToolButtons", "frmCalButtons", "Brenstal - Calibrate Tool Buttons"},
    Launched{"mnuCalibrateTool", "FormCalibration", " Brenstal - Calibration"},
    Launched{"mnuWriteDspParameters", "FrmDspParameters", "  Brenstal - Dsp Parameters"},
    Launched{"mnuTestSocketTray", "FrmTestSocketTray", "Brenstal - Test Socket Tray"},
    Launched{"mnuNsmRundowns", "frmLogData",
             "Nsm Rundown Data (RS-232)" + QString(73, u' ') + "Log File: C:\\FinalData.txt"},
    Launched{"mnuNsmWriteSettings", "FormNsm", "Brenstal Nsm Settings"},
    Launched{"mnuCollectSettings", "FrmCollectSettings", "Collect All Settings"},
    Launched{"mnuFaultCodes", "FrmMonitor", "Brenstal - Monitor Faults", 4, "FrmMonitorFaults"},
    Launched{"mnuMonitorRundowns", "FrmMonitor", "Brenstal - Monitor Rundowns", 4, "FrmMonitorRundowns"},
    Launched{"mnuResetAll", "frmResetAll", "Reset All"},
    Launched{"mnuSerialOut", "frmSerialOut", "Serial Out"},
    Launched{"mnuPlotforge", "frmGraph", " Brenstal - Plotforge"},
    Launched{"mnuPset", "frmPset", " Brenstal - Parameter Sets"},
    Launched{"mnuTerminal", "DsmTerm", "Dsm Terminal"},
    Launched{"mnuBuildMatch", "frmMatch", "Dsm Match File Builder"},
    Launched{"mnuStats", "frmStats", "  Brenstal - Stats"},
    Launched{"mnuLumenquest", "frmRunScreen1", "Lumenquest"},
    Launched{"mnuLogicIo", "frmPLCIO", " Brenstal  - Logic I/O", 3},
    Launched{"mnuLogicIo", "frmLogicIo", "Brenstal Logic I/O Ver. 2", 4},
    Launched{"mnuLogicIo", "frmLogicIoB", "Brenstal Logic I/O Ver. 3", 5}));
// clang-format on

// From a fresh program folder (on the parallel port, which is not open here) the connection window is
// switched from each link to each other: every control keeps its size (the address and port fields on
// Ethernet, the result text whole) inside the MDI area, and back on the parallel port no other link's result
// stands.
TEST_F(ShownWindows, ConnectionWindowFitsItsContentsAfterEachLinkSwitch) {
    useUsb();
    useParallelPort();
    const char* links[] = {"Parallel", "Ethernet", "Usb"};
    for (int pair = 0; pair < 6; ++pair) {
        const int from = pair / 2;
        const int to = (from + 1 + pair % 2) % 3;
        const testsupport::TempProgramFolder fresh;
        ctx.palverin.LoadIniFiles();
        QWidget* w = shownWindow("mnuCont_Conn", app::wnd::frmSetConnection);
        ASSERT_TRUE(w);
        // The stand-in's address at a port nobody listens on: the longest result text.
        child<QLineEdit>(w, "txtConnName")->setText(QStringLiteral("127.0.0.1"));
        s.ControllerIpPort = QString::number(refusedPort());
        for (const int link : {from, to}) {
            child<QComboBox>(w, "cboConnType")->setCurrentIndex(link);
            emit child<QComboBox>(w, "cboConnType")->activated(link);
            settle();
        }
        EXPECT_EQ(child<QLineEdit>(w, "txtIPPort")->isVisible(), to == 1);
        if (to == 0) {
            EXPECT_EQ(child<QLabel>(w, "lblSettings")->text(), QString()) << links[from];
        }
        expectLaidOut(*w, QStringLiteral("frmSetConnection_%1_to_%2").arg(links[from], links[to]));
        app::closeWindow(w);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    ctx.link.usb.setDevice(ctx.link.ftdi);
}

// Both rung-table editors open on rung 0 with their frames disabled although the rung list takes the focus
// (a plain list would make its first item current then); the user's first pick, by key or mouse, chooses.
TEST_F(ShownWindows, RungEditorsOpenOnRungZeroUntilTheUserPicksARung) {
    for (const auto& [type, name] :
         {std::pair{4, app::wnd::frmLogicIo}, std::pair{5, app::wnd::frmLogicIoB}}) {
        SCOPED_TRACE(name.toStdString());
        model.verMajor = type;
        auto* w = qobject_cast<logicio::frmLogicIo*>(shownWindow("mnuLogicIo", name));
        ASSERT_TRUE(w);
        auto* rungs = child<QTreeWidget>(w, "SmartOptionList");
        EXPECT_EQ(QApplication::focusWidget(), rungs);
        EXPECT_EQ(rungs->currentItem(), nullptr);
        EXPECT_EQ(w->editor().CurrentRung(), 0);
        for (const char* frame : {"Frame1_0", "Frame1_1"})
            EXPECT_FALSE(child<QGroupBox>(w, frame)->isEnabled()) << frame;
        EXPECT_EQ(child<QGroupBox>(w, "Frame1_0")->title(), "Rung 0 Inputs");
        EXPECT_EQ(child<QGroupBox>(w, "Frame1_1")->title(), "Rung 0 Outputs");
        EXPECT_EQ(child<QComboBox>(w, "Combo1_0")->currentIndex(), -1);
        expectLaidOut(*w, name + QStringLiteral("_opened"));

        // Down arrow: the first item, "Rung 1", picked by the user.
        QTest::keyClick(rungs, Qt::Key_Down);
        EXPECT_EQ(w->editor().CurrentRung(), 1);
        EXPECT_TRUE(child<QGroupBox>(w, "Frame1_0")->isEnabled());
        EXPECT_EQ(child<QGroupBox>(w, "Frame1_1")->title(), "Rung 1 Outputs");
        // A click on rung 3's input item changes nothing; a click on "Rung 3" chooses it.
        apptest::clickItem(rungs, rungs->topLevelItem(2)->child(0));
        EXPECT_EQ(w->editor().CurrentRung(), 1);
        apptest::clickItem(rungs, rungs->topLevelItem(2));
        EXPECT_EQ(w->editor().CurrentRung(), 3);
        EXPECT_EQ(child<QGroupBox>(w, "Frame1_0")->title(), "Rung 3 Inputs");
        app::closeWindow(w);
        settle();
    }
    EXPECT_TRUE(dialogs->messages.empty());
}

// The ladder editor keeps its caption while the tree has the focus and nothing is picked; the user's pick of
// a node names the window after it.
TEST_F(ShownWindows, LadderEditorKeepsItsCaptionUntilTheUserPicksANode) {
    model.verMajor = 3;
    QWidget* w = shownWindow("mnuLogicIo", app::wnd::frmPLCIO);
    ASSERT_TRUE(w);
    auto* tree = child<QTreeView>(w, "TreeView1");
    EXPECT_EQ(QApplication::focusWidget(), tree);
    EXPECT_FALSE(tree->currentIndex().isValid());
    EXPECT_EQ(caption(*w), " Brenstal  - Logic I/O");
    EXPECT_FALSE(child<QGroupBox>(w, "frmInput")->isEnabled());
    EXPECT_FALSE(child<QGroupBox>(w, "frmOut")->isEnabled());
    EXPECT_EQ(child<QListWidget>(w, "List1")->count(), 0);
    apptest::clickIndex(tree, tree->model()->index(0, 0));
    EXPECT_EQ(tree->currentIndex(), tree->model()->index(0, 0));
    EXPECT_NE(caption(*w), " Brenstal  - Logic I/O");
}

// The ladder editor closed a third of the way through a receive from a controller that holds its answers, by
// its close box while a block's answer is awaited, then by Exit as a block's turn comes (between two
// exchanges): meanwhile only those are live, the close ends the receive at once and quietly with nothing of
// the program in the editor, and the link serves the editor opened again.
TEST_F(ShownWindows, LadderEditorClosedDuringAReceive) {
    constexpr int Third = ladder::LastReceiveBlock / 3;
    model.verMajor = 3;
    model.ladderSlots = {};
    model.ladderSlots[0] = 30; // thirty empty rungs
    dongle.replyDelay = 20;
    for (const bool betweenBlocks : {false, true}) {
        QPointer<QWidget> w = shownWindow("mnuLogicIo", app::wnd::frmPLCIO);
        ASSERT_TRUE(w);
        bool onlyClosable = false;
        QObject::connect(child<QProgressBar>(w, "Pb1"), &QProgressBar::valueChanged, w, [&](int block) {
            if (block != Third)
                return;
            onlyClosable = app::frameOf(*w).isEnabled() && child<QAction>(w, "mnuExit")->isEnabled() &&
                           !child<QAction>(w, "mnuOpen")->isEnabled() &&
                           !child<QTreeView>(w, "TreeView1")->isEnabled();
            expectLaidOut(*w, QStringLiteral("frmPLCIO_receive"));
            if (betweenBlocks)
                child<QAction>(w, "mnuExit")->trigger();
            else
                dongle.armOnAccept(clink::ids::CommandReply, [&] { app::frameOf(*w).close(); });
        });
        child<QAction>(w, "mnuReceive")->trigger();
        settle();
        EXPECT_TRUE(onlyClosable);
        EXPECT_FALSE(w);
        EXPECT_FALSE(ctx.busy.busy());
        EXPECT_EQ(dialogs->messageTexts(), QStringList());
        EXPECT_LE(received(clink::ids::CommandRequest, clink::codes::LogicBlockRequest).back().data[1],
                  Third);
        EXPECT_EQ(ladderModule.editor().tree().count(), 1);
    }
    dongle.replyDelay = 0;
    QWidget* w = shownWindow("mnuLogicIo", app::wnd::frmPLCIO);
    ASSERT_TRUE(w);
    child<QAction>(w, "mnuReceive")->trigger();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Logic I/O Transfer Completed"});
    EXPECT_EQ(ladderModule.editor().RungCount(), 30);
}

// Without a controller type that names an editor the chooser opens.
TEST_F(ShownWindows, LogicEditorChooser) {
    model.verMajor = 2;
    QWidget* w = shownWindow("mnuLogicIo", app::wnd::frmMaybe);
    ASSERT_TRUE(w);
    EXPECT_EQ(caption(*w), " Brenstal");
    expectLaidOut(*w, app::wnd::frmMaybe);
}

// A controller above type 5 names no editor: the chooser opens, its "Logic 2006" opens the batch editor, and
// a receive shows the batch actions by their names.
TEST_F(ShownWindows, ControllerAboveType5ThroughTheChooserToTheBatchEditor) {
    logicio::LogicRungs program;
    program.ClearRungs();
    program[1].In1 = logicio::codeWord(1, 0);
    program[1].Out1 = logicio::codeWord(105, 0);
    program[1].Out2 = logicio::codeWord(106, 0);
    program[1].Out3 = logicio::codeWord(107, 0);
    program[1].Out4 = logicio::codeWord(108, 0);
    const logicio::LogicVersion& batch = logicio::logicVersion(logicio::LogicVariant::Version3);
    model.storeLogicWords(logictest::imageWords(logicio::EncodeLogic(program), batch.encodedWords));
    model.verMajor = 6;
    QWidget* chooser = shownWindow("mnuLogicIo", app::wnd::frmMaybe);
    ASSERT_TRUE(chooser);
    auto* choice = child<QPushButton>(chooser, "cmdChoice_2");
    ASSERT_EQ(choice->text(), "Logic 2006");
    choice->click();
    auto* w = qobject_cast<logicio::frmLogicIo*>(shownWindow(app::wnd::frmLogicIoB));
    ASSERT_TRUE(w);
    EXPECT_EQ(caption(*w), batch.caption);
    EXPECT_EQ(w->editor().CurrentRung(), 0);
    dialogs->yesNoAnswers.enqueue(true);
    child<QAction>(w, "mnuRx")->trigger();
    settle();
    const QTreeWidgetItem* rung1 = child<QTreeWidget>(w, "SmartOptionList")->topLevelItem(0);
    ASSERT_TRUE(rung1);
    ASSERT_EQ(rung1->childCount(), 2);
    const QString outputs = rung1->child(1)->text(0);
    qsizetype at = 0;
    for (const char* action : {"Run To Threshold", "Run To Final", "Next Batch", "Reset/Prev Batch"}) {
        at = outputs.indexOf(QLatin1String(action), at);
        EXPECT_GE(at, 0) << action << " in " << outputs.toStdString();
    }
    expectLaidOut(*w, QStringLiteral("frmLogicIoB_type6"));
    EXPECT_EQ(dialogs->questions.size(), 1);
    EXPECT_TRUE(dialogs->messages.empty());
}

// A report opens at the top left of the MDI area with its caption, wide enough for its lines.
TEST_F(ShownWindows, ReportWindowOpensTopLeft) {
    trigger("mnuReadSystemStatus");
    const QList<QMdiSubWindow*> frames = main->mdiArea()->subWindowList();
    ASSERT_EQ(frames.size(), 1);
    QWidget* report = frames.first()->widget();
    ASSERT_TRUE(qobject_cast<app::FrmOutput*>(report));
    EXPECT_EQ(caption(*report), " Brenstal");
    EXPECT_EQ(frames.first()->pos(), QPoint(0, 0));
    expectLaidOut(*report, QStringLiteral("FrmOutput"));
}

// The modal windows: shown while they run, each checked before it closes.
TEST_F(ShownWindows, ModalWindowsOfTheMainMenus) {
    QStringList checked;
    const auto look = [&](const QString& name, const QString& title) {
        onModal(name, [&, name, title](QWidget* w) {
            checked << name;
            EXPECT_TRUE(w->isVisible()) << name.toStdString();
            EXPECT_EQ(caption(*w), title);
            expectLaidOut(*w, name);
        });
    };
    look(app::wnd::frmPassword, QStringLiteral(" Brenstal -Palverin"));
    look(app::wnd::formNewPword, QStringLiteral(" Brenstal "));
    look(app::wnd::frmTestTool, QStringLiteral("Test Tool Cycle Counter"));
    trigger("mnuLogin");
    trigger("mnuChangePassword");
    trigger("mnuToolTest");
    EXPECT_EQ(checked, (QStringList{app::wnd::frmPassword, app::wnd::formNewPword, app::wnd::frmTestTool}));
}

// The windows other windows open: the Pset defaults, batch counting, the converter, the run screen's results.
TEST_F(ShownWindows, WindowsOpenedFromOtherWindows) {
    QStringList checked;
    const auto look = [&](const QString& name, const QString& title) {
        onModal(name, [&, name, title](QWidget* w) {
            checked << name;
            EXPECT_EQ(caption(*w), title);
            expectLaidOut(*w, name);
        });
    };
    look(app::wnd::frmDefaults, QStringLiteral(" Parameter Set Defaults"));
    look(app::wnd::frmBatchCounting, QStringLiteral("Batch Counting"));
    look(app::wnd::frmConvert, logicio::ConverterCaption);

    QWidget* pset = shownWindow("mnuPset", app::wnd::frmPset);
    ASSERT_TRUE(pset);
    QAction* defaults = nullptr;
    for (QAction* a : pset->findChildren<QAction*>())
        defaults = a->objectName() == QStringLiteral("mnuDefaults") ? a : defaults;
    ASSERT_TRUE(defaults);
    defaults->trigger();

    model.verMajor = 5;
    auto* v3 = qobject_cast<logicio::frmLogicIo*>(shownWindow("mnuLogicIo", app::wnd::frmLogicIoB));
    ASSERT_TRUE(v3);
    v3->mnuBatchCounting_Click();
    app::closeWindow(v3);
    model.verMajor = 4;
    auto* v2 = qobject_cast<logicio::frmLogicIo*>(shownWindow("mnuLogicIo", app::wnd::frmLogicIo));
    ASSERT_TRUE(v2);
    v2->mnuConvert_Click();
    EXPECT_EQ(checked,
              (QStringList{app::wnd::frmDefaults, app::wnd::frmBatchCounting, app::wnd::frmConvert}));

    QStringList record;
    for (int field = 0; field < monitor::RundownLogFile::Fields; ++field)
        record << QString::number(field);
    ASSERT_TRUE(monitor::RundownLogFile::append(record));
    QWidget* run = shownWindow("mnuLumenquest", app::wnd::frmRunScreen1);
    ASSERT_TRUE(run);
    child<QAction>(run, "mnuViewRundowns")->trigger();
    QWidget* results = shownWindow(app::wnd::frmResults);
    ASSERT_TRUE(results);
    EXPECT_EQ(caption(*results), "Rundown Results");
    expectLaidOut(*results, app::wnd::frmResults);
}

// After collecting the controller's rundowns the collection window's list shows their lines whole: the
// window widens for them. Closed during the next run, while the controller keeps silent, the window stays
// usable, the run ends at once and quietly (the collectors after it do not run, nothing is written), and
// the window goes once the run has ended.
TEST_F(ShownWindows, CollectionWindowAfterTheRundownsAndClosedDuringTheNextRuns) {
    QPointer<service::FrmCollectSettings> w = qobject_cast<service::FrmCollectSettings*>(
        shownWindow("mnuCollectSettings", app::wnd::FrmCollectSettings));
    ASSERT_TRUE(w);
    w->session().ChkSelection_Click(service::RundownsBox, service::BoxState::Ticked);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Cell")));
    child<QPushButton>(w, "cmdBegin")->click();
    settle();
    auto* lines = child<QListWidget>(w, "List1");
    ASSERT_GT(lines->count(), 0) << dialogs->messageTexts().join(QLatin1Char('|')).toStdString();
    expectLaidOut(*w, QStringLiteral("FrmCollectSettings_rundowns"));

    w->session().ChkSelection_Click(service::DspParmsBox, service::BoxState::Ticked);
    w->session().ChkSelection_Click(service::ToolParmsBox, service::BoxState::Ticked);
    bool usable = false;
    QObject::connect(&w->session(), &service::SettingsCollection::barChanged, w, [&](int box) {
        if (box != service::DspParmsBox || w->session().bar(box).value == 0 || !model.noReply.empty())
            return;
        usable = w->isEnabled() && child<QPushButton>(w, "cmdClose")->isEnabled() &&
                 !child<QPushButton>(w, "cmdBegin")->isEnabled();
        model.noReply.insert(clink::ids::DspReadRequest);
        dongle.armOnAccept(clink::ids::DspReply, [&] { child<QPushButton>(w, "cmdClose")->click(); });
    });
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Next")));
    child<QPushButton>(w, "cmdBegin")->click();
    settle();
    EXPECT_TRUE(usable);
    EXPECT_FALSE(w);
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_EQ(dialogs->messageTexts(), QStringList());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("NextDSPParms.txt"))));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("NextToolParms.txt"))));

    // Opened again and closed while the controller keeps the first Pset's rundowns to itself: no rundown
    // file (an empty one would read as a controller without rundowns).
    w = qobject_cast<service::FrmCollectSettings*>(
        shownWindow("mnuCollectSettings", app::wnd::FrmCollectSettings));
    ASSERT_TRUE(w);
    w->session().ChkSelection_Click(service::RundownsBox, service::BoxState::Ticked);
    model.silentRundownPsets.insert(1);
    const size_t asked = received(clink::ids::CommandRequest, clink::codes::RundownLogBlock).size();
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (w && received(clink::ids::CommandRequest, clink::codes::RundownLogBlock).size() > asked)
            child<QPushButton>(w, "cmdClose")->click();
    });
    closer.start(1);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Last")));
    child<QPushButton>(w, "cmdBegin")->click();
    settle();
    EXPECT_FALSE(w);
    EXPECT_EQ(dialogs->messageTexts(), QStringList());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("LastRundowns.txt"))));
}

// A curve collected from the controller: the progress panel takes its room from the graph, so the value
// fields and the units keep their heights. Closed while the controller keeps silent, the window ends the
// collection at once and quietly: no box, nothing written, no further request, and the window goes.
TEST_F(ShownWindows, CurveWindowDuringATransferAndClosedInIt) {
    constexpr int SampledAt = 100;
    QPointer<QWidget> w = shownWindow("mnuPlotforge", app::wnd::frmGraph);
    ASSERT_TRUE(w);
    const char* fields[] = {"MinNum", "MaxNum", "MinDeg", "MaxDeg", "cwFilePoints", "Option1_1", "Option1_5"};
    auto heights = [&] {
        QList<int> h;
        for (const char* name : fields)
            h << child<QWidget>(w, name)->height();
        return h;
    };
    const QList<int> idle = heights();
    QList<int> during;
    int asked = 0;
    QObject::connect(child<QProgressBar>(w, "Bar1"), &QProgressBar::valueChanged, w, [&](int value) {
        if (value != SampledAt)
            return;
        EXPECT_TRUE(child<QFrame>(w, "frameBar")->isVisible());
        during = heights();
        expectLaidOut(*w, QStringLiteral("frmGraph_transfer"));
        model.noReply.insert(clink::ids::CurveRequest);
        asked = int(received(clink::ids::CurveRequest, clink::codes::CurveRequest).size());
        dongle.armOnAccept(clink::ids::CurveReply, [&] { child<QAction>(w, "mnuExit")->trigger(); });
    });
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("tool.dat")));
    child<QAction>(w, "mnuControllerCurve1")->trigger();
    settle();
    EXPECT_EQ(during, idle);
    EXPECT_FALSE(w);
    EXPECT_FALSE(ctx.busy.busy());
    EXPECT_EQ(dialogs->messageTexts(), QStringList());
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("tool.dat"))));
    // The window closed as the next pair's exchange began: the pair was never asked for.
    EXPECT_EQ(int(received(clink::ids::CurveRequest, clink::codes::CurveRequest).size()), asked);
}

// The value-entry dialog (on each of its panels) and the text viewer run modally over the main window while a
// command holds the program busy: each is looked at while it runs, with the arrow over it, then closed as
// the user closes it (Esc), and the busy pointer comes back.
TEST_F(ShownWindows, ValueEntryDialogAndTextViewer) {
    const base::BusyGuard command(ctx.busy);
    QStringList seen;
    QList<Qt::CursorShape> pointers;
    const auto pointer = [&](QWidget*) { pointers << testsupport::pointerShown(); };
    app::QtValueEntryPrompt prompt;
    const std::pair<const char*, std::function<void(app::ValueEntryForm&)>> panels[] = {
        {"frmValue", [](app::ValueEntryForm& f) { f.LblCaption(QStringLiteral("Counter 1 = ")); }},
        {"frmValue_logger", [](app::ValueEntryForm& f) { f.SetframeLogger(true); }},
        {"frmValue_eeprom",
         [](app::ValueEntryForm& f) {
             f.SetFrameEeprom(true);
             f.SetLblEeprom(QStringLiteral("Write Tool Eeprom"));
         }},
    };
    for (const auto& [name, prepare] : panels) {
        app::ValueEntryForm form;
        prepare(form);
        onNextModal(QString::fromLatin1(name), seen, pointer);
        EXPECT_EQ(prompt.ask(form), app::ValueButton::Cancel) << name;
        EXPECT_EQ(testsupport::pointerShown(), Qt::WaitCursor);
    }
    app::QtTextViewer viewer(*dialogs);
    onNextModal(QStringLiteral("TextViewer"), seen, pointer);
    viewer.show(QStringLiteral("Default.txt"), base::TextLines("Company : Brenstal\nType    : Logic I/O\n"));
    EXPECT_EQ(seen, (QStringList{"frmValue: Brenstal", "frmValue_logger: Brenstal",
                                 "frmValue_eeprom: Brenstal", "TextViewer:Default.txt"}));
    EXPECT_EQ(pointers, QList<Qt::CursorShape>(seen.size(), Qt::ArrowCursor));
}

// The main window at its default size, and the port dialog the DSM terminal runs itself: it opens on the
// terminal's port and line, and Esc keeps them.
TEST_F(ShownWindows, MainWindowAndTheTerminalsPortDialog) {
    EXPECT_EQ(main->size(), QSize(1024, 720));
    expectLaidOut(*main, QStringLiteral("FrmMain"));

    const QString port = folder.file(QStringLiteral("dsm-line"));
    serviceModule.serialDevices.setDsmPort(port);
    QWidget* term = shownWindow("mnuTerminal", app::wnd::DsmTerm);
    ASSERT_TRUE(term);
    QStringList seen;
    onNextModal(QStringLiteral("PortProperties"), seen, [&](QWidget* w) {
        auto* device = child<QComboBox>(w, "cboPort");
        EXPECT_EQ(device->currentText(), port);
        // The whole path in view.
        const QLineEdit* field = device->lineEdit();
        ASSERT_TRUE(field);
        EXPECT_LE(field->fontMetrics().horizontalAdvance(port), field->contentsRect().width())
            << field->width();
        EXPECT_EQ(child<QComboBox>(w, "cboBaud")->currentText(), "38400");
        EXPECT_EQ(child<QComboBox>(w, "cboParity")->currentText(), "None");
        EXPECT_FALSE(child<QComboBox>(w, "cboFlow")->isEnabled());
    });
    child<QAction>(term, "mnuConnectionProperties")->trigger();
    EXPECT_EQ(seen, QStringList{"PortProperties:Properties"});
    EXPECT_EQ(serviceModule.serialDevices.dsmPort(), port);
}

// A report loaded from a folder with a name longer than the window is wide: the file label gives up the
// middle of the path, so the file's name stays in view, and its tooltip shows the whole path; the window
// neither widens nor squeezes its charts for it.
TEST_F(ShownWindows, StatisticsWindowAfterALongFileName) {
    QWidget* w = shownWindow("mnuStats", app::wnd::frmStats);
    ASSERT_TRUE(w);
    const QSize opened = app::frameOf(*w).size();
    const QString folders = QStringLiteral("Rundown reports of line 4 station 12 second shift/") +
                            QStringLiteral("Week 23 torque audit of the gearbox cover bolts/").repeated(3);
    const QString name = folders + QStringLiteral("run.txt");
    ASSERT_TRUE(QDir(folder.path()).mkpath(folders));
    ASSERT_TRUE(folder.write(name, statstest::threeRundownReport()));
    dialogs->fileNames.enqueue(folder.file(name));
    child<QAction>(w, "mnuloadFile")->trigger();
    settle();
    auto* file = child<app::ElidedLabel>(w, "lblStats12");
    ASSERT_TRUE(file);
    const QString whole = QStringLiteral("File: ") + folder.file(name);
    EXPECT_EQ(file->toolTip(), whole);
    EXPECT_TRUE(file->shownText().startsWith(QStringLiteral("File: "))) << file->shownText().toStdString();
    EXPECT_TRUE(file->shownText().endsWith(QStringLiteral("/run.txt"))) << file->shownText().toStdString();
    EXPECT_LT(file->shownText().size(), whole.size());
    EXPECT_EQ(app::frameOf(*w).size(), opened);
    expectLaidOut(*w, QStringLiteral("frmStats_loaded"));
    EXPECT_TRUE(dialogs->messages.empty());
}

} // namespace
