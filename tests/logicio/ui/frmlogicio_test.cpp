// Both logic I/O editor windows over the stand-in: opened through the registry and the chooser with their
// captions, menus, lists and rung list; a scripted edit session with its codes, texts, summaries and list
// captions; New; Save against the golden file; damaged files opened; the receive of a version 2
// controller; one editor's opening seen in the other; the batch counting and converter windows.
#include "app/ui/frmmain.h"
#include "ladder/plcnoderecord.h"
#include "logicio/batchcounting.h"
#include "logicio/logicfile.h"
#include "logicio/logicmodule.h"
#include "logicio/ui/frmbatchcounting.h"
#include "logicio/ui/frmconvert.h"
#include "logicio/ui/frmlogicio.h"
#include "logicio/ui/installwindows.h"
#include "logicio/ui/limitnumedit.h"
#include "tests/logicio/logicfixture.h"
#include "tests/logicio/transferfixture.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace logicio;
using base::MessageIcon;
namespace codes = clink::codes;

namespace {

class LogicWindow : public apptest::AppFixture {
protected:
    LogicWindow() { logicio::installWindows(ctx, module); }
    ~LogicWindow() override {
        delete v2.data();
        delete v3.data();
    }

    frmLogicIo* open(LogicVariant variant) {
        const QString& name =
            variant == LogicVariant::Version3 ? app::wnd::frmLogicIoB : app::wnd::frmLogicIo;
        auto* window = qobject_cast<frmLogicIo*>(ctx.windows.open(name));
        (variant == LogicVariant::Version3 ? v3 : v2) = window;
        return window;
    }
    template <typename T> static T* child(QWidget* w, const QString& name) { return w->findChild<T*>(name); }
    static QAction* action(QWidget* w, const char* name) {
        return w->findChild<QAction*>(QString::fromLatin1(name));
    }
    static QComboBox* list(QWidget* w, int k) {
        return child<QComboBox>(w, QStringLiteral("Combo1_%1").arg(k));
    }
    static QGroupBox* frame(QWidget* w, int f) {
        return child<QGroupBox>(w, QStringLiteral("Frame1_%1").arg(f));
    }
    static QTreeWidget* rungList(QWidget* w) {
        return child<QTreeWidget>(w, QStringLiteral("SmartOptionList"));
    }
    // Item 1..60 of the rung list: "Rung n" at 3n-2, its input summary at 3n-1, its output summary at 3n.
    static QTreeWidgetItem* item(QWidget* w, int position) {
        QTreeWidgetItem* header = rungList(w)->topLevelItem((position - 1) / 3);
        const int sub = (position - 1) % 3;
        return sub == 0 ? header : header->child(sub - 1);
    }
    static QString caption(QWidget* w, int position) { return item(w, position)->text(0); }
    // The user clicks an item of the rung list.
    static void click(QWidget* w, int position) { apptest::clickItem(rungList(w), item(w, position)); }
    // The user picks entry position of list k (with the value the prompt is answered with, if any).
    void choose(QWidget* w, int k, int position, std::optional<double> value = std::nullopt) {
        if (value)
            valueEntry->answers.enqueue(
                {.edit = [v = *value](app::ValueEntryForm& f) { f.value.setValue(v); }});
        QComboBox* combo = list(w, k);
        combo->setCurrentIndex(position);
        emit combo->activated(position);
    }
    static QStringList menuTexts(const QList<QAction*>& actions) {
        QStringList texts;
        for (QAction* a : actions)
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }
    QString path(const QString& name) const { return folder.file(name); }
    LogicRung& rung(int r) { return module.rungs()[r]; }

    logicio::LogicModule module{ctx};
    QPointer<frmLogicIo> v2;
    QPointer<frmLogicIo> v3;
};

} // namespace

TEST_F(LogicWindow, BothEditorsOpenWithTheirCaptionsMenusListsAndAClearedRungList) {
    frmLogicIo* w = open(LogicVariant::Version3);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->objectName(), "frmLogicIoB");
    EXPECT_EQ(w->windowTitle(), "Brenstal Logic I/O Ver. 3");
    EXPECT_EQ(menuTexts(w->menuBar()->actions()), (QStringList{"&File", "Transfer", "&BatchCounting"}));
    EXPECT_EQ(menuTexts(child<QMenu>(w, "mnuFile")->actions()),
              (QStringList{"&New", "&Save", "&Open", "&Print", "&Exit"}));
    EXPECT_EQ(menuTexts(child<QMenu>(w, "mnuTransfer")->actions()),
              (QStringList{"&Send", "&Receive", "&Reset To Factory Defaults"}));
    for (QAction* a : w->findChildren<QAction*>())
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_EQ(child<QProgressBar>(w, "Pb1")->maximum(), 700);
    EXPECT_EQ(child<QProgressBar>(w, "Pb1")->value(), 0);

    // Lists: conditions, operators, the 109 version 3 actions; nothing chosen, both frames off at rung 0.
    EXPECT_EQ(list(w, 0)->count(), 89);
    EXPECT_EQ(list(w, 6)->itemText(88), ConditionText(88));
    EXPECT_EQ(list(w, 3)->count(), 2);
    EXPECT_EQ(list(w, 3)->itemText(1), "OR");
    EXPECT_EQ(list(w, 10)->count(), 109);
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(list(w, k)->currentIndex(), -1);
    EXPECT_FALSE(frame(w, 0)->isEnabled());
    EXPECT_FALSE(frame(w, 1)->isEnabled());
    EXPECT_EQ(frame(w, 0)->title(), "Rung 0 Inputs");
    EXPECT_EQ(frame(w, 1)->title(), "Rung 0 Outputs");

    // The rung list: 20 "Rung n" items, each with its input and output items keyed "nIN" and "nOUT".
    QTreeWidget* rungs = rungList(w);
    EXPECT_EQ(rungs->headerItem()->text(0), "Brenstal Logic Rungs");
    ASSERT_EQ(rungs->topLevelItemCount(), 20);
    for (int r = 1; r <= 20; ++r) {
        EXPECT_EQ(caption(w, 3 * r - 2), QStringLiteral("Rung %1").arg(r));
        EXPECT_EQ(caption(w, 3 * r - 1), "Input ->");
        EXPECT_EQ(caption(w, 3 * r), "Output ->");
        EXPECT_EQ(item(w, 3 * r)->data(0, Qt::UserRole + 1).toString(), QStringLiteral("%1OUT").arg(r));
    }

    // Version 2: 105 actions with its own spelling of code 78; Find and Convert greyed and inert.
    frmLogicIo* two = open(LogicVariant::Version2);
    ASSERT_TRUE(two);
    EXPECT_EQ(two->objectName(), "frmLogicIo");
    EXPECT_EQ(two->windowTitle(), "Brenstal Logic I/O Ver. 2");
    EXPECT_EQ(menuTexts(two->menuBar()->actions()), (QStringList{"&File", "Transfer", "Convert"}));
    EXPECT_EQ(menuTexts(child<QMenu>(two, "mnuFile")->actions()),
              (QStringList{"&New", "-", "&Save", "&Open", "-", "Find", "&Print", "-", "&Exit"}));
    EXPECT_EQ(menuTexts(child<QMenu>(two, "mnuTransfer")->actions()),
              (QStringList{"&Send", "&Receive", "-", "&Reset To Factory Defaults"}));
    EXPECT_EQ(child<QProgressBar>(two, "Pb1")->maximum(), 650);
    for (int k = 7; k <= 10; ++k)
        EXPECT_EQ(list(two, k)->count(), 105);
    EXPECT_EQ(list(two, 7)->itemText(78), "Display Roatry Torque On 2nd Display");
    EXPECT_FALSE(action(two, "mnuConvert")->isEnabled());
    EXPECT_FALSE(action(two, "mnufind")->isEnabled());
    QStringList modal;
    ctx.windows.setModalRunner([&](QWidget* m) { modal << m->objectName(); });
    action(two, "mnuConvert")->trigger();
    action(two, "mnufind")->trigger();
    EXPECT_TRUE(modal.isEmpty());
}

TEST_F(LogicWindow, AnEditSessionStoresCodesAndTextsAndShowsTheSummaries) {
    frmLogicIo* w = open(LogicVariant::Version3);
    click(w, 19); // "Rung 7"
    EXPECT_EQ(w->editor().CurrentRung(), 7);
    EXPECT_TRUE(frame(w, 0)->isEnabled());
    EXPECT_EQ(frame(w, 0)->title(), "Rung 7 Inputs");
    EXPECT_EQ(frame(w, 1)->title(), "Rung 7 Outputs");
    EXPECT_EQ(list(w, 0)->currentIndex(), 0);
    EXPECT_EQ(list(w, 1)->currentIndex(), 0);

    choose(w, 0, 33, 200);  // "Counter 1 = " 200
    choose(w, 3, 1);        // OR before condition 3
    choose(w, 4, 2);        // "Input 2 On"; condition 2 stays empty
    choose(w, 10, 73, 240); // "Timer 3 Start" 240 s
    choose(w, 7, 45);       // an action without a value
    ASSERT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(valueEntry->shown[0].prompt, "Counter 1 = ");
    EXPECT_EQ(valueEntry->shown[0].value.maximum, 255);
    EXPECT_EQ(valueEntry->shown[1].prompt, "Timer 3 Start");
    EXPECT_EQ(valueEntry->shown[1].value.maximum, 240);

    const LogicRung& r7 = rung(7);
    EXPECT_EQ(r7.In1, 8648);
    EXPECT_EQ(r7.In1Text, "Counter 1 =  200");
    EXPECT_EQ(r7.In2, 0);
    EXPECT_EQ(r7.Op2, 1);
    EXPECT_EQ(r7.Op2Text, "OR");
    EXPECT_EQ(r7.In3, 512);
    EXPECT_EQ(r7.Out4, 18928);
    EXPECT_EQ(r7.Out4Text, "Timer 3 Start  (240 Sec)");
    EXPECT_EQ(r7.Out1, codeWord(45, 0));
    const QString out1 = ActionText(LogicVariant::Version3, 45);
    // The edit form: four blanks before an operator; the empty condition 2 drops out with its operator.
    EXPECT_EQ(caption(w, 20), "Input  -> Counter 1 =  200    OR  Input 2 On");
    EXPECT_EQ(caption(w, 21), "Output -> " + out1 + "    Timer 3 Start  (240 Sec)");
    EXPECT_EQ(caption(w, 20), r7.InputSummary);

    // A click on a summary item changes nothing; another rung and back shows rung 7's entries again
    // without storing or asking anything.
    click(w, 20);
    EXPECT_EQ(w->editor().CurrentRung(), 7);
    click(w, 7);
    EXPECT_EQ(w->editor().CurrentRung(), 3);
    EXPECT_EQ(list(w, 0)->currentIndex(), 0);
    click(w, 19);
    EXPECT_EQ(list(w, 0)->currentIndex(), 33);
    EXPECT_EQ(list(w, 0)->currentText(), "Counter 1 = ");
    EXPECT_EQ(list(w, 3)->currentIndex(), 1);
    EXPECT_EQ(list(w, 10)->currentIndex(), 73);
    EXPECT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(r7.In1, 8648);
    EXPECT_FALSE(w->Refreshing());

    // Refreshed: two blanks before an operator. Then the empty entry empties condition 3.
    w->RefreshRung(7);
    EXPECT_EQ(caption(w, 20), "Input  -> Counter 1 =  200  OR  Input 2 On");
    choose(w, 4, 0);
    EXPECT_EQ(r7.In3, 0);
    EXPECT_EQ(r7.In3Text, "");
    EXPECT_EQ(caption(w, 20), "Input  -> Counter 1 =  200");
    EXPECT_EQ(caption(w, 23), "Input ->") << "rung 8 untouched";

    // New: every rung cleared and refreshed, rung 20 current and highlighted in the list.
    w->findChild<QAction*>(QStringLiteral("mnuNew"))->trigger();
    EXPECT_EQ(w->editor().CurrentRung(), 20);
    EXPECT_EQ(frame(w, 1)->title(), "Rung 20 Outputs");
    EXPECT_EQ(rungList(w)->currentItem(), item(w, 58));
    EXPECT_EQ(caption(w, 20), "Input  -> ");
    EXPECT_EQ(caption(w, 60), "Output -> ");
    EXPECT_EQ(list(w, 0)->currentIndex(), 0);
}

TEST_F(LogicWindow, SaveWritesTheGoldenFileInBothEditors) {
    for (const LogicVariant variant : {LogicVariant::Version2, LogicVariant::Version3}) {
        frmLogicIo* w = open(variant);
        action(w, "mnuNew")->trigger();
        click(w, 1);
        choose(w, 0, 33, 5);
        choose(w, 1, 1);
        choose(w, 2, 2);
        choose(w, 7, 72, 30);
        w->RefreshRung(1);
        click(w, 58);
        choose(w, 0, 62);
        w->RefreshRung(20);
        const QString name =
            variant == LogicVariant::Version3 ? QStringLiteral("Line1.Bio") : QStringLiteral("Line1.Lio");
        dialogs->fileNames.enqueue(path(name));
        action(w, "mnuSave")->trigger();
        EXPECT_EQ(folder.read(name), logictest::goldenProgramFile()) << name.toStdString();
        EXPECT_EQ(w->editor().FileName(), path(name));
    }
    EXPECT_EQ(folder.read(QStringLiteral("Line1B.Aio")), QByteArray(112, '\0'));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->asked.empty());
}

TEST_F(LogicWindow, DamagedFilesNeitherCrashNorLockTheEditor) {
    frmLogicIo* w = open(LogicVariant::Version2);
    // Rung 2 with codes no list holds: condition entry 120, operator 5, action entry 200.
    LogicRungs odd;
    odd[2].In1 = codeWord(120, 3);
    odd[2].In1Text = QStringLiteral("kept");
    odd[2].Op1 = 5;
    odd[2].Out1 = codeWord(200, 0);
    ASSERT_TRUE(writeLogicFile(path(QStringLiteral("Odd.Lio")), odd));
    ASSERT_TRUE(folder.write(QStringLiteral("Short.Lio"), logictest::newProgramFile().left(27519)));

    // Cancelled: nothing happens.
    dialogs->fileNames.enqueue(QString());
    action(w, "mnuLoad")->trigger();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(w->editor().CurrentRung(), 0);

    dialogs->fileNames.enqueue(path(QStringLiteral("Odd.Lio")));
    action(w, "mnuLoad")->trigger();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "File Open Successful");
    EXPECT_EQ(dialogs->messages[0].caption, "Open Logic I/O");
    EXPECT_EQ(dialogs->messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(w->editor().CurrentRung(), 20);
    EXPECT_EQ(rungList(w)->currentItem(), item(w, 58));
    EXPECT_EQ(caption(w, 5), "Input  -> kept");

    click(w, 4); // "Rung 2"
    EXPECT_TRUE(frame(w, 0)->isEnabled());
    EXPECT_EQ(list(w, 0)->currentIndex(), -1);
    EXPECT_EQ(list(w, 1)->currentIndex(), -1);
    EXPECT_EQ(list(w, 7)->currentIndex(), -1);
    EXPECT_EQ(list(w, 2)->currentIndex(), 0);
    EXPECT_EQ(rung(2).In1, codeWord(120, 3)) << "shown without an entry, kept as it was";
    EXPECT_EQ(rung(2).Op1, 5);
    choose(w, 0, 2);
    EXPECT_EQ(rung(2).In1, 512);
    EXPECT_EQ(list(w, 0)->currentIndex(), 2);

    // A file shorter than 20 records: the box, and the rungs as they were.
    const LogicRungs before = module.rungs();
    dialogs->fileNames.enqueue(path(QStringLiteral("Short.Lio")));
    action(w, "mnuLoad")->trigger();
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[1].text, "Invalid OR Corrupt File\n" + path(QStringLiteral("Short.Lio")));
    EXPECT_EQ(dialogs->messages[1].icon, MessageIcon::Critical);
    EXPECT_TRUE(module.rungs() == before);
    choose(w, 1, 1);
    EXPECT_EQ(rung(2).Op1, 1);
}

TEST_F(LogicWindow, PrintShowsTheReportInTheViewer) {
    frmLogicIo* w = open(LogicVariant::Version3);
    dialogs->printerPresent = false;
    action(w, "mnuPrint")->trigger();
    ASSERT_EQ(dialogs->messageTexts(), QStringList{"No Printer Was Found"});
    EXPECT_TRUE(textViewer->shown.empty());
    dialogs->printerPresent = true;
    action(w, "mnuPrint")->trigger();
    ASSERT_EQ(textViewer->shown.size(), 1u);
    EXPECT_TRUE(
        textViewer->shown[0].text.startsWith("Company : Brenstal\nType    : Logic I/O\nFilename: \n"));
    EXPECT_EQ(folder.read(QStringLiteral("Default.txt")).count("\r\n"), 125);
}

TEST_F(LogicWindow, Version2ReceiveFetchesItsBlocksWhileTheProgramIsBusy) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.verMajor = 4;
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version2);
    model.storeLogicWords(logictest::imageWords(EncodeLogic(program), 702));
    frmLogicIo* w = open(LogicVariant::Version2);

    // While another command holds the program busy, the receive does not start.
    {
        base::BusyGuard other(ctx.busy);
        action(w, "mnuRx")->trigger();
        EXPECT_TRUE(dialogs->asked.empty());
    }
    bool busyWhenAsked = false;
    dialogs->yesNoAnswers.enqueue(true);
    QObject::connect(&module, &LogicModule::rungsChanged, w, [&] { busyWhenAsked |= ctx.busy.busy(); });
    action(w, "mnuRx")->trigger();
    EXPECT_TRUE(busyWhenAsked);
    EXPECT_FALSE(ctx.busy.busy());
    ASSERT_EQ(dialogs->questions, QStringList{ReceiveQuestion});
    EXPECT_TRUE(dialogs->messages.empty());
    int highest = 0;
    for (const clink::CanMessage& m : model.received)
        if (m.id == clink::ids::CommandRequest && m.data[0] == codes::LogicBlockRequest)
            highest = std::max(highest, m.data[1]);
    EXPECT_EQ(highest, 105);
    EXPECT_TRUE(module.rungs() == program);
    EXPECT_EQ(caption(w, 59), program[20].InputSummary);
    EXPECT_EQ(w->editor().CurrentRung(), 20);
    EXPECT_EQ(rungList(w)->currentItem(), item(w, 58));
    EXPECT_EQ(child<QProgressBar>(w, "Pb1")->maximum(), 105);
    EXPECT_EQ(child<QProgressBar>(w, "Pb1")->value(), 0);
}

TEST_F(LogicWindow, ClosedWhileAReceiveWaitsTheWindowStaysUntilTheReceiveHasEndedThenGoes) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.verMajor = 4;
    const LogicRungs program = logictest::sampleProgram(LogicVariant::Version2);
    model.storeLogicWords(logictest::imageWords(EncodeLogic(program), 702));
    QPointer<frmLogicIo> w = open(LogicVariant::Version2);
    ASSERT_FALSE(w.isNull());
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    // The user closes the editor half way through the blocks; the receive works on the window's editor.
    constexpr int HalfWay = 50;
    bool closeAsked = false;
    QObject::connect(child<QProgressBar>(w, "Pb1"), &QProgressBar::valueChanged, w, [&](int value) {
        if (closeAsked || value != HalfWay)
            return;
        closeAsked = true;
        app::closeWindow(w);
    });
    dialogs->yesNoAnswers.enqueue(true);
    action(w, "mnuRx")->trigger();
    ASSERT_TRUE(closeAsked);
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messageTexts().join('|').toStdString();
    EXPECT_TRUE(module.rungs() == program);
    EXPECT_EQ(w->editor().CurrentRung(), 20);
    ASSERT_TRUE(waitFor([&] { return w.isNull(); }));
    EXPECT_FALSE(ctx.busy.busy());
}

TEST_F(LogicWindow, OpeningOneEditorClearsWhatTheOtherShows) {
    frmLogicIo* w = open(LogicVariant::Version3);
    click(w, 1);
    choose(w, 0, 2);
    EXPECT_EQ(caption(w, 2), "Input  -> Input 2 On");
    open(LogicVariant::Version2);
    EXPECT_EQ(caption(w, 2), "Input ->");
    EXPECT_EQ(list(w, 0)->currentIndex(), 0) << "rung 1 is still current in the first editor, now empty";
    EXPECT_EQ(rung(1).In1, 0);
}

TEST_F(LogicWindow, TheChooserOpensTheEditorsInTheMainWindowWhichShowTheBarAgainOnClosing) {
    app::FrmMain main(ctx);
    s.ConnectionType = clink::NoConnection;
    main.Bar1()->setVisible(false);
    QWidget* chooser = ctx.windows.open(app::wnd::frmMaybe);
    ASSERT_TRUE(chooser);
    chooser->findChild<QPushButton*>(QStringLiteral("cmdChoice_2"))->click();
    auto* editor = qobject_cast<frmLogicIo*>(ctx.windows.shared(app::wnd::frmLogicIoB));
    ASSERT_TRUE(editor);
    ASSERT_TRUE(qobject_cast<QMdiSubWindow*>(editor->parentWidget()));
    EXPECT_EQ(editor->parentWidget()->pos(), QPoint(0, 0));
    EXPECT_EQ(main.mdiArea()->activeSubWindow()->widget(), editor);
    EXPECT_FALSE(main.Bar1()->isVisible());
    QPointer<frmLogicIo> gone(editor);
    action(editor, "mnuExit")->trigger();
    ASSERT_TRUE(waitFor([&] { return gone.isNull(); }));
    EXPECT_TRUE(main.Bar1()->isVisibleTo(&main));
}

// ---------------------------------------------------------------------------------------------------------
// The batch counting window

class BatchWindow : public LogicWindow {
protected:
    // Opens the batch counting window from the version 3 editor and runs user inside it.
    void run(const std::function<void(frmBatchCounting*)>& user) {
        ctx.windows.setModalRunner([&](QWidget* w) {
            auto* batch = qobject_cast<frmBatchCounting*>(w);
            ASSERT_TRUE(batch);
            placed = batch->geometry();
            user(batch);
            batch->close();
        });
        action(editor, "mnuBatchCounting")->trigger();
    }
    static LimitNumEdit* edit(QWidget* w, const char* name) { return child<LimitNumEdit>(w, name); }
    static void chooseBatch(QWidget* w, int index) {
        auto* batches = child<QComboBox>(w, QStringLiteral("cboBatch"));
        batches->setCurrentIndex(index);
        emit batches->activated(index);
    }
    // Types a value into an editor as the user does: replace the text, then Enter.
    static void type(LimitNumEdit* number, const QString& value) {
        number->setFocus();
        number->selectAll();
        QTest::keyClicks(number, value);
        QTest::keyClick(number, Qt::Key_Return);
    }
    BatchTable& table() { return module.batchTable(); }

    frmLogicIo* editor = open(LogicVariant::Version3);
    QRect placed;
};

TEST_F(BatchWindow, OpensBelowTheMainWindowWithNothingToEditUntilABatchIsChosen) {
    editor->move(40, 30);
    run([&](frmBatchCounting* w) {
        EXPECT_EQ(w->windowTitle(), "Batch Counting");
        EXPECT_EQ(w->size(), QSize(560, 536));
        EXPECT_EQ(child<QComboBox>(w, "cboBatch")->count(), 8);
        EXPECT_EQ(child<QComboBox>(w, "cboBatch")->currentIndex(), -1);
        for (const char* hidden :
             {"chkEnable", "frameOptions", "CWNumEdit2", "CWNumEdit3", "lblNextSet", "lblRstPrev"})
            EXPECT_FALSE(child<QWidget>(w, hidden)->isVisibleTo(w)) << hidden;
        for (int i = 0; i < 4; ++i) {
            auto* number = child<LimitNumEdit>(w, QStringLiteral("CWNumEdit1_%1").arg(i));
            EXPECT_TRUE(number->isVisibleTo(w));
            EXPECT_FALSE(number->isEnabled()) << "no batch to store into";
        }
        EXPECT_EQ(child<QCheckBox>(w, "chkOption_3")->text(), "Advance Pset");
        EXPECT_EQ(child<QCheckBox>(w, "chkOption_3")->toolTip(),
                  "When batch is complete, controller will advance to next enabled batch");
        EXPECT_EQ(child<QLabel>(w, "lblNoFasteners")->text(), "Number of Fasteners");
        EXPECT_EQ(child<QPushButton>(w, "btnReturn")->text(), "Return");
        // The note flashes red first.
        QFrame* title = child<QFrame>(w, "frameTitle");
        EXPECT_EQ(title->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xFF));
        w->Timer1_Timer();
        EXPECT_EQ(title->palette().color(QPalette::Window), QColor(0xFF, 0, 0));
    });
    EXPECT_EQ(placed.topLeft(), QPoint(40 + 7, 30 + 53));
    EXPECT_EQ(table(), BatchTable());
}

TEST_F(BatchWindow, EditsStoreIntoTheChosenBatchHeldToTheirLimits) {
    run([&](frmBatchCounting* w) {
        chooseBatch(w, 2); // "Batch 3"
        EXPECT_TRUE(child<QCheckBox>(w, "chkEnable")->isVisibleTo(w));
        EXPECT_FALSE(child<QWidget>(w, "frameOptions")->isVisibleTo(w));
        child<QCheckBox>(w, "chkEnable")->click();
        EXPECT_TRUE(child<QWidget>(w, "frameOptions")->isVisibleTo(w));
        EXPECT_TRUE(child<QWidget>(w, "CWNumEdit3")->isVisibleTo(w));
        const int16_t enabled = table().word(14);
        child<QCheckBox>(w, "chkOption_3")->click();
        EXPECT_EQ(table().word(14), enabled + 16);

        LimitNumEdit* fasteners = edit(w, "CWNumEdit1_3");
        type(fasteners, QStringLiteral("150"));
        EXPECT_EQ(table().word(18), 99);
        EXPECT_EQ(fasteners->value(), 99);
        type(fasteners, QStringLiteral("0"));
        EXPECT_EQ(table().word(18), 1);
        type(edit(w, "CWNumEdit3"), QStringLiteral("13"));
        EXPECT_EQ(table().word(20), 12);

        // Batch 2 enabled and disabled again: only word 7 goes 1, then 0.
        table().setValue(2, BatchTable::BatchSize, 5);
        const BatchTable before = table();
        chooseBatch(w, 1);
        EXPECT_FALSE(child<QCheckBox>(w, "chkEnable")->isChecked());
        EXPECT_EQ(edit(w, "CWNumEdit1_3")->value(), 5) << "the chosen batch's values, even disabled";
        child<QCheckBox>(w, "chkEnable")->click();
        BatchTable expected = before;
        expected.setWord(7, 1);
        EXPECT_EQ(table(), expected);
        child<QCheckBox>(w, "chkEnable")->click();
        EXPECT_EQ(table(), before);
        EXPECT_FALSE(child<QWidget>(w, "frameOptions")->isVisibleTo(w));

        // Back to batch 3: its options and values shown again.
        chooseBatch(w, 2);
        EXPECT_TRUE(child<QCheckBox>(w, "chkOption_3")->isChecked());
        EXPECT_EQ(edit(w, "CWNumEdit3")->value(), 12);
    });
    // The table is the program's: the version 3 editor saves it beside its logic file.
    EXPECT_EQ(table().word(20), 12);
}

// ---------------------------------------------------------------------------------------------------------
// The converter

TEST_F(LogicWindow, TheConverterListsTheRungsBeforeAskingForTheNewFile) {
    // Rung 1 with its inputs and outputs nodes, then one element under each.
    std::vector<ladder::PlcNodeRecord> nodes(5);
    const QString fields[][2] = {{"Start", "Rung 1"},
                                 {"Rung 1", "Inputs 1"},
                                 {"Rung 1", "Outputs 1"},
                                 {"Inputs 1 ", "Torque Or Angle Lo"},
                                 {"Outputs 1 ", "Timer 2 Start"}};
    for (std::size_t i = 0; i < nodes.size(); ++i)
        std::tie(nodes[i].Relative, nodes[i].Key) = std::tie(fields[i][0], fields[i][1]);
    nodes[4].Value = QStringLiteral("5");
    ASSERT_TRUE(folder.write(QStringLiteral("Old.Plc"), ladder::encodePlcRecords(nodes)));

    frmConvert dialog(ctx);
    EXPECT_EQ(dialog.windowTitle(), "  Brenstal - Convert Logic I/O File   (2001 TO 2002)");
    auto* button = child<QPushButton>(&dialog, "Command1");
    EXPECT_EQ(button->text(), "Convert Logic File ");
    auto* shown = child<QListWidget>(&dialog, "List1");
    // What the list shows at each file prompt.
    QStringList prompts;
    std::vector<int> listed;
    dialogs->onFilePrompt = [&](const QString& caption) {
        prompts << caption;
        listed.push_back(shown->count());
    };
    dialogs->fileNames.enqueue(path(QStringLiteral("Old.Plc")));
    dialogs->fileNames.enqueue(path(QStringLiteral("New.Lio")));
    button->click();
    ASSERT_EQ(shown->count(), 60);
    EXPECT_EQ(shown->item(0)->text(), " ");
    EXPECT_EQ(shown->item(1)->text(), "Input 1  -> Torque Lo    OR  Angle Lo");
    EXPECT_EQ(shown->item(2)->text(), "Output 1  -> Timer 2 Start (5 Sec)");
    EXPECT_EQ(prompts, (QStringList{"Open Logic I/O File", "Save New Converted Logic I/O File"}));
    EXPECT_EQ(listed, (std::vector<int>{0, 60})) << "the rungs are listed before the new file is asked";
    LogicRungs written;
    ASSERT_EQ(readLogicFile(path(QStringLiteral("New.Lio")), written), LogicFileRead::Ok);
    EXPECT_EQ(written[1].Out1, 18437);

    // A missing ladder file: its box and an empty list.
    dialogs->fileNames.enqueue(path(QStringLiteral("None.Plc")));
    button->click();
    EXPECT_EQ(shown->count(), 0);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "File does not exists");
    EXPECT_EQ(dialogs->messages[0].caption, "File Error");
}
