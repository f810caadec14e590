// The settings collection window: opened once from the System menu at the top left of the main window, its
// boxes, bars, list, buttons and menus; a click on a box reaching the session and a grey box ticked again;
// a run that turns the commands but Close off; the logic editor it opens and closes by name.
#include "app/commands/launchers.h"
#include "app/ui/frmmain.h"
#include "ladder/ladderimage.h"
#include "ladder/laddermodule.h"
#include "ladder/ui/installwindows.h"
#include "logicio/logicmodule.h"
#include "logicio/ui/installwindows.h"
#include "service/servicemodule.h"
#include "service/ui/frmcollectsettings.h"
#include "service/ui/installwindows.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

using namespace service;

class CollectWindow : public apptest::AppFixture {
protected:
    CollectWindow() {
        service::installWindows(ctx, module);
        logicio::installWindows(ctx, logic);
        ladder::installWindows(ctx, ladder);
        QObject::connect(&ctx.windows, &app::WindowRegistry::opened, &ctx.windows,
                         [this](const QString& name, QWidget*) { opened << name; });
    }
    ~CollectWindow() override { ctx.link.usb.setDevice(ctx.link.ftdi); }

    FrmCollectSettings* open() {
        main.group<app::WindowLaunchers>()->mnuCollectSettings_Click();
        return qobject_cast<FrmCollectSettings*>(ctx.windows.shared(app::wnd::FrmCollectSettings));
    }
    void connectUsb() {
        useUsb();
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    }

    logicio::LogicModule logic{ctx};
    ladder::LadderModule ladder{ctx};
    ServiceModule module{
        ctx, ProgramCores{.logic = logic, .ladder = ladder},
        std::make_unique<QSettings>(folder.file(QStringLiteral("user.ini")), QSettings::IniFormat)};
    app::FrmMain main{ctx};
    QStringList opened;
};

} // namespace

TEST_F(CollectWindow, OpensOnceAtTheTopLeftWithItsBoxesBarsAndCommands) {
    ASSERT_TRUE(
        folder.write(QStringLiteral("DLOAD.cfg"), QByteArray::fromHex("0000000000000000FFFF00000000")));
    FrmCollectSettings* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(open(), w);
    EXPECT_EQ(w->windowTitle(), "Collect All Settings");
    EXPECT_EQ(w->parentWidget()->pos(), QPoint(0, 0));
    EXPECT_EQ(child<QLabel>(w, "lblHeading")->text(), "Download All");
    const QStringList captions = {"Parameter Sets",       "Logic I/O",
                                  "DSP Parameters",       "Tool Parameters",
                                  "Tool Eprom Locations", "Rundowns from SCC"};
    for (int box = 0; box < CollectBoxes; ++box) {
        auto* check = child<QCheckBox>(w, QStringLiteral("ChkSelection_%1").arg(box));
        auto* bar = child<QProgressBar>(w, QStringLiteral("ProgressBar1_%1").arg(box));
        ASSERT_NE(check, nullptr);
        ASSERT_NE(bar, nullptr);
        EXPECT_NE(child<QFrame>(w, QStringLiteral("lblBlock_%1").arg(box)), nullptr);
        EXPECT_EQ(check->text(), captions[box]);
        // Box 4 is selected in DLOAD.cfg; the others' bars are hidden.
        EXPECT_EQ(check->checkState(), box == ToolEpromBox ? Qt::Checked : Qt::Unchecked);
        EXPECT_EQ(bar->isVisibleTo(w), box == ToolEpromBox);
        EXPECT_EQ(bar->maximum(), box == ToolParmsBox || box == ToolEpromBox ? 150 : 100);
        // The box and its bar share a row.
        EXPECT_EQ(bar->parentWidget(), check->parentWidget());
    }
    EXPECT_NE(child<QListWidget>(w, "List1"), nullptr);
    EXPECT_EQ(child<QPushButton>(w, "cmdBegin")->text(), "&Begin");
    EXPECT_EQ(child<QPushButton>(w, "cmdClose")->text(), "&Close");
    EXPECT_EQ(child<QPushButton>(w, "cmdSetDefault")->text(), "Set &Default");
    EXPECT_EQ(child<QAction>(w, "mnuFIle")->text(), "&File");
    EXPECT_EQ(child<QAction>(w, "mnuBegin")->text(), "&Begin");
    EXPECT_EQ(child<QAction>(w, "mnuClose")->text(), "&Close");
    EXPECT_EQ(child<QAction>(w, "mnuSettings")->text(), "&Settings");
    EXPECT_EQ(child<QAction>(w, "mnuSetDefault")->text(), "Set &Default");

    // A click ticks the box and shows its bar; Set Default remembers it.
    auto* dsp = child<QCheckBox>(w, "ChkSelection_2");
    QTest::mouseClick(dsp, Qt::LeftButton, {}, QPoint(4, dsp->height() / 2));
    EXPECT_EQ(w->session().box(DspParmsBox), BoxState::Ticked);
    EXPECT_TRUE(child<QProgressBar>(w, "ProgressBar1_2")->isVisibleTo(w));
    child<QPushButton>(w, "cmdSetDefault")->click();
    EXPECT_EQ(folder.read(QStringLiteral("DLOAD.cfg")), QByteArray::fromHex("00000000FFFF0000FFFF00000000"));

    // A grey box shows partly checked; a click ticks it again.
    w->session().ChkSelection_Click(DspParmsBox, BoxState::Grey);
    EXPECT_EQ(dsp->checkState(), Qt::PartiallyChecked);
    QTest::mouseClick(dsp, Qt::LeftButton, {}, QPoint(4, dsp->height() / 2));
    EXPECT_EQ(dsp->checkState(), Qt::Checked);
    EXPECT_EQ(w->session().box(DspParmsBox), BoxState::Ticked);

    // Close unloads it; the next opening reads DLOAD.cfg again.
    child<QPushButton>(w, "cmdClose")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ctx.windows.shared(app::wnd::FrmCollectSettings), nullptr);
}

TEST_F(CollectWindow, ARunTurnsTheCommandsOffAndDrivesTheProgramEditorsByName) {
    connectUsb();
    FrmCollectSettings* w = open();
    ASSERT_NE(w, nullptr);
    w->session().ChkSelection_Click(LogicIoBox, BoxState::Ticked);
    w->session().ChkSelection_Click(DspParmsBox, BoxState::Ticked);
    // While the collectors run: the buttons, menus and boxes are off but Close (which would cancel the run);
    // the program is busy, with this window alone usable.
    bool checked = false;
    QObject::connect(&w->session(), &SettingsCollection::barChanged, w, [&](int box) {
        if (checked || box != DspParmsBox)
            return;
        checked = true;
        EXPECT_FALSE(child<QPushButton>(w, "cmdBegin")->isEnabled());
        EXPECT_TRUE(child<QPushButton>(w, "cmdClose")->isEnabled());
        EXPECT_TRUE(child<QAction>(w, "mnuClose")->isEnabled());
        EXPECT_FALSE(child<QPushButton>(w, "cmdSetDefault")->isEnabled());
        EXPECT_FALSE(child<QAction>(w, "mnuBegin")->isEnabled());
        EXPECT_FALSE(child<QCheckBox>(w, "ChkSelection_0")->isEnabled());
        EXPECT_TRUE(w->isEnabled());
        EXPECT_EQ(ctx.busy.usableWindow(), w);
    });
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Cell")));
    dialogs->yesNoAnswers.enqueue(true);
    child<QPushButton>(w, "cmdBegin")->click();
    EXPECT_TRUE(checked);
    ASSERT_TRUE(dialogs->messages.empty()) << dialogs->messages[0].text.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("Cell.LIO")).size(), 27520);
    EXPECT_EQ(folder.read(QStringLiteral("CellDSPParms.txt")).count("\r\n"), 65);
    // The logic editor was shown by name and closed once its file was written.
    EXPECT_TRUE(opened.contains(QStringLiteral("frmLogicIo")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ctx.windows.shared(app::wnd::frmLogicIo), nullptr);
    // The boxes show their result; the list the last report; the commands are back.
    EXPECT_EQ(child<QCheckBox>(w, "ChkSelection_1")->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(child<QCheckBox>(w, "ChkSelection_2")->checkState(), Qt::PartiallyChecked);
    EXPECT_EQ(child<QProgressBar>(w, "ProgressBar1_2")->value(), 100);
    EXPECT_EQ(child<QListWidget>(w, "List1")->count(), 65);
    EXPECT_TRUE(child<QPushButton>(w, "cmdBegin")->isEnabled());
    EXPECT_TRUE(w->isEnabled());

    // A ladder controller: its program goes through the ladder editor, shown and closed again.
    model.verMajor = sim::ControllerModel::LadderControllerType;
    model.ladderSlots = {};
    model.ladderSlots[0] = 1;
    model.ladderSlots[ladder::inputSlot(1)] = 1;
    model.ladderSlots[ladder::outputSlot(1)] = 16;
    w->session().ChkSelection_Click(LogicIoBox, BoxState::Ticked);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("Cell")));
    child<QPushButton>(w, "cmdBegin")->click();
    EXPECT_EQ(dialogs->messages.size(), 1u); // the rebuild's "Logic I/O Transfer Completed"
    EXPECT_TRUE(opened.contains(QStringLiteral("frmPLCIO")));
    EXPECT_EQ(folder.read(QStringLiteral("Cell.PLC")).size(), 5 * 114);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ctx.windows.shared(app::wnd::frmPLCIO), nullptr);
    EXPECT_TRUE(w->close());
}
