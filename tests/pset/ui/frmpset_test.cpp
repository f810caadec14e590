// The Parameter Sets window and the defaults window over the stand-in: opened through the registry with
// their captions, menus and controls; an edit stored by the update cycle; the strategy layouts; the
// percent; save and load; the curve preview and its cursors; the defaults saved or not; the reset offered
// by a bad status; the serial number; menus off while a send runs.
#include "app/linescrambler.h"
#include "app/settingsfiles.h"
#include "controls/ui/chartwidget.h"
#include "pset/psetmodule.h"
#include "pset/ui/frmdefaults.h"
#include "pset/ui/frmpset.h"
#include "pset/ui/installwindows.h"
#include "pset/ui/numbertextedit.h"
#include "tests/pset/psetgolden.h"
#include "tests/pset/ui/psetwindow.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>

using app::PsetField;
using controls::ChartWidget;
using pset::NumberTextEdit;
namespace codes = clink::codes;

using psetuitest::PsetWindow;

TEST_F(PsetWindow, OpensWithItsCaptionMenusAndControlsAndReadsTheControllersPsets) {
    model.psetCount = 3;
    model.currentPset = 2;
    openOnUsb();
    EXPECT_EQ(window->windowTitle(), " Brenstal - Parameter Sets");
    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Project", "&Strategy", "Defaults", "File &Transfer"}));
    QStringList strategies;
    for (QAction* a : child<QMenu>("mnuStrategyMain")->actions())
        strategies << a->text();
    EXPECT_EQ(strategies,
              (QStringList{"Torque Control", "Torque Control / Angle Monitor",
                           "Torque Monitor / Angle Control", "Torque Control / Angle Control",
                           "Rev Torque Control / Angle Control", "Rev Torque Monitor / Angle Control",
                           "Rev Torque Control / Angle Monitor", "Rev Torque Control"}));
    for (const char* name :
         {"mnuNewPset", "mnuExit", "mnuAddPset", "mnuRemovePset", "mnuCurveAdd", "mnuDefaults",
          "mnuReceiveData", "mnuResetPsets", "mnuClrRun", "mnuSerialNumber"})
        EXPECT_NE(action(name), nullptr) << name;
    EXPECT_EQ(action("mnuResetPsets")->text(), "Reset To Factory &Defaults");
    EXPECT_EQ(child<QMenu>("mnuProject")->title(), "&Project");
    EXPECT_EQ(child<QMenu>("mnuPsets")->title(), "&ParameterSets");

    // No project: Load usable; Save, Project, Strategy, Send, the editors and the graph greyed; the
    // Send button usable.
    EXPECT_TRUE(action("mnuLoad")->isEnabled());
    EXPECT_FALSE(action("mnuSave")->isEnabled());
    EXPECT_FALSE(child<QMenu>("mnuProject")->menuAction()->isEnabled());
    EXPECT_FALSE(child<QMenu>("mnuStrategyMain")->menuAction()->isEnabled());
    EXPECT_FALSE(action("mnuSendData")->isEnabled());
    EXPECT_FALSE(child<QGroupBox>("framepset")->isEnabled());
    EXPECT_FALSE(graph()->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmdSend")->isEnabled());
    EXPECT_EQ(child<QLabel>("lblNumOfPsets")->text(), "Number Of Psets: 0");
    EXPECT_EQ(edit("neCurrentPset")->value(), 0);
    EXPECT_EQ(edit("neAngleHi")->suffix(), " Deg");
    EXPECT_EQ(graph()->axisCaption(ChartWidget::YAxis), "Torque");
    QStringList cursors;
    for (int k = 1; k <= graph()->cursorCount(); ++k)
        cursors << graph()->cursorName(k);
    EXPECT_EQ(cursors, (QStringList{"Targets", "HiLimits", "LoLimits", "DownShift", "Threshold",
                                    "CycleComplete", "AngleTarget", "AngleHi", "AngleLo"}));

    // The controller's Psets, and its current one once Timer1 has ticked.
    auto* list = child<QComboBox>("cboList2");
    EXPECT_EQ(list->count(), 3);
    EXPECT_EQ(list->itemText(2), "3");
    auto* current = child<QLineEdit>("txtPset");
    ASSERT_TRUE(waitFor([&] { return current->text() == "2"; }));
    // Choosing a Pset there selects it in the controller and reads the status again.
    model.currentPset = 1;
    list->setCurrentIndex(0);
    emit list->textActivated(QStringLiteral("1"));
    ASSERT_TRUE(waitFor([&] { return current->text() == "1"; }));
    EXPECT_TRUE(dialogs->messages.empty());
}

TEST_F(PsetWindow, AnEditReachesTheRecordAfterTheCycleAndStrategiesLayOutTheAngles) {
    openOnUsb();
    newProject();
    EXPECT_EQ(edit("neCurrentPset")->value(), 1);
    EXPECT_TRUE(child<QGroupBox>("framepset")->isEnabled());
    EXPECT_EQ(child<QLabel>("lblStrategy")->text(), "Strategy: Torque Control");
    EXPECT_EQ(child<QLabel>("lblUnits")->text(), "Units: Nm");
    EXPECT_EQ(child<QLabel>("lblNumOfPsets")->text(), "Number Of Psets: 1         ");

    // Strategy 1 (a new project's): the angles of 2, 3 and 1 are zeroed in the record, their editors
    // and cursors off.
    for (const char* name : {"neAngleTarget", "neAngleHi", "neAngleLo"}) {
        EXPECT_FALSE(edit(name)->isEnabled()) << name;
        EXPECT_EQ(edit(name)->value(), 0) << name;
    }
    EXPECT_EQ(text(1, PsetField::AngleTarget), "0");
    EXPECT_EQ(text(1, PsetField::AngleHi), "0");
    EXPECT_EQ(text(1, PsetField::AngleLo), "0");
    EXPECT_FALSE(graph()->cursorVisible(8));
    EXPECT_TRUE(action("mnuStrategy1")->isChecked());

    // The user types a target: after the 50 ms cycle the record holds it.
    type(edit("neTqTarget"), QStringLiteral("55.5"));
    EXPECT_TRUE(window->cycle().EditInProgress());
    ASSERT_TRUE(settled());
    EXPECT_EQ(text(1, PsetField::TqTarget), "55.5");
    EXPECT_FALSE(window->cycle().EditInProgress());
    EXPECT_TRUE(window->cycle().TargetEdited());

    // All angles in use, then only the limits: the target alone is zeroed.
    action("mnuStrategy4")->trigger();
    EXPECT_EQ(text(1, PsetField::Strategy), "4");
    EXPECT_TRUE(edit("neAngleTarget")->isEnabled());
    EXPECT_TRUE(graph()->cursorVisible(7));
    type(edit("neAngleTarget"), QStringLiteral("30"));
    type(edit("neAngleHi"), QStringLiteral("40"));
    ASSERT_TRUE(settled());
    action("mnuStrategy2")->trigger();
    EXPECT_FALSE(action("mnuStrategy4")->isChecked());
    EXPECT_EQ(child<QLabel>("lblStrategy")->text(), "Strategy: Torque Control / Angle Monitor");
    ASSERT_TRUE(settled());
    EXPECT_EQ(text(1, PsetField::AngleTarget), "0");
    EXPECT_EQ(text(1, PsetField::AngleHi), "40");
    EXPECT_FALSE(edit("neAngleTarget")->isEnabled());
    EXPECT_TRUE(edit("neAngleHi")->isEnabled());
    EXPECT_FALSE(graph()->cursorVisible(7));
    EXPECT_TRUE(graph()->cursorVisible(8));

    // A check box writes the shown Pset.
    QTest::mouseClick(child<QCheckBox>("chkErgo"), Qt::LeftButton);
    EXPECT_EQ(text(1, PsetField::Ergo), "1");
    EXPECT_TRUE(dialogs->messages.empty());

    // Closed before the cycle ran: the edit is kept all the same.
    type(edit("neDownShift"), QStringLiteral("70"));
    ASSERT_TRUE(window->cycle().pending());
    delete window.data();
    EXPECT_EQ(text(1, PsetField::RpmDownshift), "70");
}

TEST_F(PsetWindow, ClosingStopsTheStatusReadAndTheNewProjectTimer) {
    openOnUsb();
    ASSERT_TRUE(window->session().statusReadPending());
    // A controller that stops answering after the window is gone is not asked again.
    model.noReply.insert(clink::ids::StatusRequest);
    const int requests = model.countReceived(clink::ids::StatusRequest);
    action("mnuNewPset")->trigger();
    ASSERT_TRUE(window->session().newProjectPending());
    delete window.data();
    QTest::qWait(3 * pset::PsetEditorSession::NewProjectDelayMs);
    EXPECT_EQ(model.countReceived(clink::ids::StatusRequest), requests);
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
}

TEST_F(PsetWindow, ClosedWhileTheStatusReadReportsItsFailureTheWindowGoesOnceTheReadHasReturned) {
    openOnUsb();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(waitFor([&] { return !window->session().statusReadPending(); }));
    // The user picks Pset 2: Timer1 reads the status after it, and gets no answer; the user closes the
    // window while its box is up.
    emit child<QComboBox>("cboList2")->textActivated(QStringLiteral("2"));
    ASSERT_TRUE(window->session().statusReadPending());
    EXPECT_EQ(model.currentPset, 2);
    model.noReply.insert(clink::ids::StatusRequest);
    bool closeAsked = false;
    bool stillShown = false;
    dialogs->onMessage = [&](const testsupport::ScriptedDialogs::Message&) {
        closeAsked = true;
        EXPECT_TRUE(window->session().waiting());
        app::closeWindow(window);
        stillShown = !window.isNull() && window->isVisible();
    };
    ASSERT_TRUE(waitFor([&] { return closeAsked; }));
    EXPECT_TRUE(stillShown);
    ASSERT_TRUE(waitFor([&] { return window.isNull(); }));
    dialogs->onMessage = nullptr;
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"System Status Not Received"});
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(PsetWindow, SymmetricLimitsShowThePercentAndThePercentSetsTheLimits) {
    openOnUsb();
    newProject();
    action("mnuAddPset")->trigger();
    ASSERT_TRUE(settled());
    auto* percent = edit("NeTqPer");
    table()[1].setText(PsetField::TqTarget, QStringLiteral("100"));
    table()[1].setText(PsetField::TqHi, QStringLiteral("110"));
    table()[1].setText(PsetField::TqLo, QStringLiteral("90"));
    type(edit("neCurrentPset"), QStringLiteral("1"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(percent->value(), 10);
    EXPECT_EQ(percent->text(), "10");
    EXPECT_EQ(text(1, PsetField::TqPercent), "10");

    // 120/90 leaves the percent as it was.
    type(edit("neTqHi"), QStringLiteral("120"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(text(1, PsetField::TqHi), "120");
    EXPECT_EQ(percent->value(), 10);

    // The user's percent sets the limits around the target.
    type(percent, QStringLiteral("12.5"));
    EXPECT_TRUE(window->cycle().PercentEdited());
    EXPECT_EQ(edit("neTqHi")->value(), 112.5);
    ASSERT_TRUE(settled());
    EXPECT_EQ(text(1, PsetField::TqHi), "112.5");
    EXPECT_EQ(text(1, PsetField::TqLo), "87.5");
    EXPECT_EQ(text(1, PsetField::TqPercent), "12.5");
    EXPECT_FALSE(window->cycle().PercentEdited());
}

TEST_F(PsetWindow, SaveWritesTheGoldenFileAndALoadWithAMissingCurveStillShowsPsetOne) {
    openOnUsb();
    newProject();
    action("mnuAddPset")->trigger();
    action("mnuAddPset")->trigger();
    ASSERT_TRUE(settled());
    psettest::typeGoldenValues(table(), ctx.palverin.settings.PsetDefaults);
    type(edit("neCurrentPset"), QStringLiteral("2"));
    ASSERT_TRUE(settled());
    EXPECT_EQ(edit("neTqTarget")->value(), 300);

    const QString file = folder.file(QStringLiteral("golden.Pst"));
    dialogs->fileNames.enqueue(file);
    action("mnuSave")->trigger();
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Successful - Data Stored"});
    const QByteArray saved = folder.read(QStringLiteral("golden.Pst"));
    const QByteArray golden = psettest::goldenProjectImage();
    ASSERT_EQ(saved.size(), golden.size());
    for (qsizetype i = 0; i < saved.size(); i += app::PsetRecord::FieldWidth)
        EXPECT_EQ(saved.mid(i, app::PsetRecord::FieldWidth), golden.mid(i, app::PsetRecord::FieldWidth))
            << "record " << i / app::PsetRecord::Bytes + 1 << " offset " << i % app::PsetRecord::Bytes;

    // The same project naming a curve file that is gone.
    QByteArray image = psettest::goldenProjectImage();
    const QByteArray missing = folder.file(QStringLiteral("gone.dat")).toLatin1();
    image.replace(170, 40, missing.leftJustified(40, ' ', true));
    ASSERT_TRUE(folder.write(QStringLiteral("curve.Pst"), image));
    action("mnuNewPset")->trigger();
    ASSERT_TRUE(settled());
    dialogs->messages.clear();
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("curve.Pst")));
    action("mnuLoad")->trigger();
    EXPECT_EQ(dialogs->messageTexts(), (QStringList{"Curve File Does Not Exist", "Parameters Loaded"}));
    EXPECT_EQ(edit("neCurrentPset")->value(), 1);
    EXPECT_EQ(edit("neTqTarget")->value(), 12.5);
    EXPECT_EQ(edit("neTqHi")->value(), 13.75);
    EXPECT_TRUE(child<QGroupBox>("framepset")->isEnabled());
    EXPECT_TRUE(action("mnuSave")->isEnabled());
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_EQ(child<QLabel>("lblNumOfPsets")->text(), "Number Of Psets: 3         ");
}

TEST_F(PsetWindow, ACurveSetsTheAxesAndPanelsAndDraggedCursorsSetTheLimits) {
    openOnUsb();
    newProject();
    table()[1].setText(PsetField::Units, QStringLiteral("1"));
    // 500 samples rising to 240 lb-in and staying there.
    QByteArray bytes = "10\r\n";
    for (int i = 1; i < 10; ++i)
        bytes += "0\r\n";
    for (int i = 0; i < 500; ++i)
        bytes += QByteArray::number(i < 250 ? i * 2400 / 249 : 2400) + "\r\n";
    ASSERT_TRUE(folder.write(QStringLiteral("ref.dat"), bytes));
    const QString path = folder.file(QStringLiteral("ref.dat"));
    if (path.size() > app::PsetRecord::CurveFileWidth)
        GTEST_SKIP() << "temporary folder path too long for a Pset file";
    dialogs->fileNames.enqueue(path);
    action("mnuCurveAdd")->trigger();
    EXPECT_EQ(text(1, PsetField::CurveFile), path);
    EXPECT_EQ(graph()->axisMinimum(ChartWidget::XAxis), 0);
    EXPECT_EQ(graph()->axisMaximum(ChartWidget::XAxis), 510);
    EXPECT_EQ(graph()->axisMinimum(ChartWidget::YAxis), -5);
    EXPECT_EQ(graph()->axisMaximum(ChartWidget::YAxis), 250);
    EXPECT_EQ(graph()->plotData(1).size(), 500);
    EXPECT_EQ(panels(), (QStringList{"Current Plot: " + path, "Max Torque: 240", "Min Torque: 0"}));
    ASSERT_TRUE(settled());

    // Dragging the low-limit cursor with the mouse sets the low limit.
    window->resize(900, 600);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    graph()->setCursorY(3, 100);
    const QPoint from = graph()->mapToViewport({250, 100}).toPoint();
    const QPoint to = graph()->mapToViewport({250, 60}).toPoint();
    QTest::mousePress(graph()->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(graph()->viewport(), to);
    QTest::mouseRelease(graph()->viewport(), Qt::LeftButton, {}, to);
    const double dragged = edit("neTqLo")->value();
    EXPECT_NEAR(dragged, 60, 2);
    ASSERT_TRUE(settled());
    EXPECT_EQ(table()[1].number(PsetField::TqLo), dragged);

    // A cursor below zero gives its size: -12.5 sets 12.5.
    emit graph()->cursorMoved(3, 250, -12.5);
    EXPECT_EQ(edit("neTqLo")->value(), 12.5);
    ASSERT_TRUE(settled());
    EXPECT_EQ(text(1, PsetField::TqLo), "12.5");
    // With a curve the axes stay as the curve set them.
    EXPECT_EQ(graph()->axisMaximum(ChartWidget::YAxis), 250);
}

TEST_F(PsetWindow, DefaultsWindowRunsModallyAndSavesItsUnitsOnYesOnly) {
    openOnUsb();
    QStringList modal;
    std::function<void(pset::frmDefaults*)> user;
    ctx.windows.setModalRunner([&](QWidget* w) {
        modal << w->objectName();
        auto* defaults = qobject_cast<pset::frmDefaults*>(w);
        ASSERT_NE(defaults, nullptr);
        EXPECT_EQ(defaults->windowTitle(), " Parameter Set Defaults");
        user(defaults);
    });
    const auto plainLine = [&](int line) {
        const QList<QByteArray> lines = folder.read(app::SettingsFileName).split('\n');
        return app::LineScrambler::DecodeLine(QString::fromLatin1(lines[line - 1]).trimmed()).trimmed();
    };
    ASSERT_EQ(plainLine(12), "5");
    const QByteArray before = folder.read(app::SettingsFileName);

    // No: the file's bytes stay, though the window's values were changed.
    user = [&](pset::frmDefaults* w) {
        EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("optStrategy5"))->isChecked());
        EXPECT_TRUE(w->findChild<QRadioButton*>(QStringLiteral("OptLpt0"))->isChecked());
        w->findChild<QRadioButton*>(QStringLiteral("optStrategy3"))->click();
        dialogs->yesNoAnswers.enqueue(false);
        w->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    };
    action("mnuDefaults")->trigger();
    EXPECT_EQ(dialogs->questions, QStringList{"Save Defaults To File ?"});
    EXPECT_EQ(folder.read(app::SettingsFileName), before);

    // Yes with "Kg-Cm": units code 3 in line 12.
    user = [&](pset::frmDefaults* w) {
        auto* kgcm = w->findChild<QRadioButton*>(QStringLiteral("optStrategy3"));
        EXPECT_EQ(kgcm->text(), "Kg-Cm");
        kgcm->click();
        dialogs->yesNoAnswers.enqueue(true);
        w->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    };
    ctx.windows.open(app::wnd::frmDefaults);
    EXPECT_EQ(modal, (QStringList{"frmDefaults", "frmDefaults"}));
    EXPECT_EQ(plainLine(12), "3");
    EXPECT_EQ(ctx.palverin.settings.PsetDefaults.DefaultUnits.trimmed(), "3");
    EXPECT_TRUE(dialogs->messages.empty());
}

// ---------------------------------------------------------------------------------------------------------
// Over Ethernet

class PsetWindowOnEthernet : public PsetWindow {
protected:
    void SetUp() override {
        connectEthernet();
        saveSettings();
        open();
        ASSERT_TRUE(waitFor([&] { return !window->session().statusReadPending(); }));
        dialogs->messages.clear();
    }
};

TEST_F(PsetWindowOnEthernet, AStatusThatCannotBeTakenResetsThePsetsAndClearsTheShownReport) {
    newProject();
    // The new project's zero torques fail the entry rules: the report holds the check.
    action("mnuSendData")->trigger();
    auto* list = child<QListWidget>("List1");
    ASSERT_EQ(list->count(), 1);
    EXPECT_EQ(list->item(0)->text(), "Checking Data For Errors .....");

    // The status read offers the reset through the link's hook, inside the command that read it.
    dialogs->yesNoAnswers.enqueue(true);
    {
        base::BusyGuard statusCommand(ctx.busy);
        ctx.link.offerPsetReset();
    }
    EXPECT_EQ(dialogs->questions, QStringList{"ALL CURRENT PARAMETER SETS WILL BE ERASED!! CONTINUE?"});
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(model.psetCount, 0);
}

TEST_F(PsetWindowOnEthernet, SerialNumberGoesToTheDongleAndMenusAreOffWhileASendRuns) {
    dialogs->textAnswers.enqueue(QStringLiteral("SN4711"));
    action("mnuSerialNumber")->trigger();
    ASSERT_TRUE(waitFor([&] { return !dongle.otherFrames.empty(); }));
    ASSERT_EQ(dongle.otherFrames.size(), 1u);
    EXPECT_EQ(dongle.otherFrames[0], "%CANSNSN4711NAC%");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Serial Number Sent"});
    dialogs->messages.clear();

    // A valid Pset: the send runs with the window's menus and buttons off.
    newProject();
    type(edit("neTqTarget"), QStringLiteral("100"));
    ASSERT_TRUE(settled());
    child<QPushButton>("BtnSetDefaults")->click();
    ASSERT_TRUE(settled());
    EXPECT_EQ(text(1, PsetField::TqHi), "110");
    bool menusOffWhileSending = false;
    bool sendButtonOff = false;
    QObject::connect(&window->session(), &pset::PsetEditorSession::List1Changed, window, [&] {
        const QStringList& lines = window->session().List1();
        if (!lines.isEmpty() && lines.last() == "Starting Parameter Set Transfer") {
            menusOffWhileSending = !window->menuBar()->isEnabled();
            sendButtonOff = !child<QPushButton>("cmdSend")->isEnabled();
        }
    });
    child<QPushButton>("cmdSend")->click();
    EXPECT_TRUE(menusOffWhileSending);
    EXPECT_TRUE(sendButtonOff);
    EXPECT_GE(model.countReceived(clink::ids::CommandRequest, codes::ErasePsets), 1);
    EXPECT_TRUE(window->menuBar()->isEnabled());
    EXPECT_TRUE(child<QPushButton>("cmdSend")->isEnabled());
    EXPECT_EQ(child<QListWidget>("List1")->item(child<QListWidget>("List1")->count() - 1)->text(),
              "Parameter Set Transfer Completed !");
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
}

TEST_F(PsetWindowOnEthernet, ClosedWhileASendWaitsTheWindowStaysUntilTheSendHasEndedThenGoes) {
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    newProject();
    type(edit("neTqTarget"), QStringLiteral("100"));
    ASSERT_TRUE(settled());
    child<QPushButton>("BtnSetDefaults")->click();
    ASSERT_TRUE(settled());
    // The user closes the window once the first packet is through, while the send waits on the next.
    bool closeAsked = false;
    QObject::connect(&window->session(), &pset::PsetEditorSession::List1Changed, window, [&] {
        const QStringList& lines = window->session().List1();
        if (closeAsked || lines.isEmpty() || lines.last() != "Packet 1 Sent")
            return;
        closeAsked = true;
        app::closeWindow(window);
    });
    action("mnuSendData")->trigger();
    ASSERT_TRUE(closeAsked);
    // The send went on to its end with the window whole; the window goes after the handler has returned.
    ASSERT_FALSE(window.isNull());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->session().List1().last(), "Parameter Set Transfer Completed !");
    EXPECT_EQ(model.psetCount, 1);
    EXPECT_GE(model.countReceived(clink::ids::CommandRequest, codes::PsetPacket1 + 3), 1);
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
    ASSERT_TRUE(waitFor([&] { return window.isNull(); }));
    EXPECT_FALSE(ctx.busy.busy());

    // With the editor gone the link's reset offer is still answered, by the feature itself.
    dialogs->yesNoAnswers.enqueue(false);
    ctx.link.offerPsetReset();
    EXPECT_EQ(dialogs->questions, QStringList{"ALL CURRENT PARAMETER SETS WILL BE ERASED!! CONTINUE?"});
}
