// The ladder editor window over the stand-in: opened through the registry with its caption, menus and
// controls; rungs added, elements placed from the group lists by mouse and keyboard (the right side only), a
// preset typed that renames the nodes showing it; Save As writing the known file, Open reading it back,
// a cancelled Open keeping the project; the rung limit; a send under the busy state with its trace in its
// own list; Open and Receive emptying the element list and showing the first rung; the window's place kept
// when it closes (closed during a receive it goes at once: the shown-window tests).
#include "app/ui/windowregistry.h"
#include "ladder/laddermodule.h"
#include "ladder/laddertransfer.h"
#include "ladder/laddertreemodel.h"
#include "ladder/plcnoderecord.h"
#include "ladder/ui/frmplcio.h"
#include "ladder/ui/installwindows.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>

using ladder::frmPLCIO;

namespace {

QByteArray golden(const QString& name) {
    QFile file(QStringLiteral(PALVERIN_GOLDEN_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LadderWindow : public apptest::AppFixture {
protected:
    LadderWindow() { ladder::installWindows(ctx, module); }
    ~LadderWindow() override { delete window.data(); }

    void open() {
        window = qobject_cast<frmPLCIO*>(ctx.windows.open(app::wnd::frmPLCIO));
        ASSERT_TRUE(window);
    }
    template <typename T> T* child(const QString& name) const { return window->findChild<T*>(name); }
    QAction* action(const char* name) const { return child<QAction>(QString::fromLatin1(name)); }
    QTreeView* tree() const { return child<QTreeView>(QStringLiteral("TreeView1")); }
    QListWidget* list(const char* name) const { return child<QListWidget>(QString::fromLatin1(name)); }
    ladder::LadderEditor& editor() { return module.editor(); }

    // The tree's row of a node of the session's tree.
    QModelIndex item(int node) const {
        return static_cast<const ladder::LadderTreeModel*>(tree()->model())->indexOf(node);
    }
    // The user clicks a node of the tree.
    void select(int node) { apptest::clickIndex(tree(), item(node)); }
    // Presses a group button, then activates entry row of the element list with the keyboard.
    void place(const char* button, int row) {
        QTest::mouseClick(child<QPushButton>(QString::fromLatin1(button)), Qt::LeftButton);
        list("List1")->setFocus();
        list("List1")->setCurrentRow(row);
        QTest::keyClick(list("List1"), Qt::Key_Return);
    }
    // Types a value into a preset as the user does.
    void type(QAbstractSpinBox* box, const QString& value) {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, value);
    }
    // The texts of the rows, from the top down as the tree shows them.
    QStringList itemTexts() const {
        QStringList texts;
        for (QModelIndex row = tree()->model()->index(0, 0); row.isValid(); row = tree()->indexBelow(row))
            texts << row.data().toString().trimmed();
        return texts;
    }

    QTemporaryDir settingsDir;
    ladder::LadderModule module{
        ctx,
        std::make_unique<QSettings>(settingsDir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat)};
    QPointer<frmPLCIO> window;
};

} // namespace

TEST_F(LadderWindow, OpensWithItsCaptionMenusAndControls) {
    useEthernet(refusedPort()); // chosen but not connected
    open();
    EXPECT_EQ(window->windowTitle(), " Brenstal  - Logic I/O");
    EXPECT_EQ(dialogs->messageTexts(), QStringList{QStringLiteral("Cannot connect using ethernet")});
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::Critical);
    QStringList menus;
    for (QAction* a : window->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Transfer", "&Rung"}));
    QStringList file;
    for (QAction* a : child<QMenu>(QStringLiteral("mnuFIle"))->actions())
        file << a->text();
    EXPECT_EQ(file, (QStringList{"&Open Project", "&New Project", "", "&Save", "&Save As...", "", "&Print",
                                 "", "&Exit"}));
    EXPECT_EQ(action("mnuSetDefaults")->text(), "&Reset To Factory Defaults");
    EXPECT_EQ(action("mnuDeleteRung")->text(), "Delete");
    EXPECT_FALSE(action("mnuSave")->isEnabled());
    EXPECT_FALSE(action("mnuSaveAs")->isEnabled());
    EXPECT_EQ(child<QLabel>(QStringLiteral("sbPanel1"))->text(), "New Project Started");
    EXPECT_EQ(itemTexts(), QStringList{"Brenstal - Logic I/O"});
    EXPECT_EQ(child<QPushButton>(QStringLiteral("btn_In_Counter"))->text(), "Counter");
    EXPECT_EQ(child<QPushButton>(QStringLiteral("Btn_OutMultiple"))->text(), "Multiple");
    EXPECT_EQ(child<QSpinBox>(QStringLiteral("cwCounter3"))->maximum(), 99);
    EXPECT_EQ(child<QSpinBox>(QStringLiteral("cwCounter4"))->maximum(), 255);
    auto* timer = child<QDoubleSpinBox>(QStringLiteral("cwTimer1"));
    EXPECT_EQ(timer->suffix(), " Sec");
    EXPECT_EQ(timer->maximum(), 240);
    EXPECT_FALSE(child<QGroupBox>(QStringLiteral("frmInput"))->isEnabled());
    EXPECT_FALSE(child<QProgressBar>(QStringLiteral("Pb1"))->isVisible());
    // A shared window: the chooser's "Logic 2001" and the Logic I/O menu show this one again.
    EXPECT_EQ(ctx.windows.open(app::wnd::frmPLCIO), window.data());
}

TEST_F(LadderWindow, RungsElementsAndATypedPresetThatRenamesItsNodes) {
    open();
    action("mnuAddRung")->trigger();
    action("mnuAddRung")->trigger();
    EXPECT_FALSE(action("mnuSave")->isEnabled());
    const ladder::LadderProgram& p = editor().program();

    // The inputs node by keyboard: its frame only, the captions of the inputs.
    select(0);
    tree()->setFocus();
    QTest::keyClick(tree(), Qt::Key_Down); // rung 1
    QTest::keyClick(tree(), Qt::Key_Down); // inputs 1
    EXPECT_EQ(window->currentNode(), p.inputsNode(1));
    EXPECT_TRUE(child<QGroupBox>(QStringLiteral("frmInput"))->isEnabled());
    EXPECT_FALSE(child<QGroupBox>(QStringLiteral("frmOut"))->isEnabled());
    EXPECT_EQ(child<QLabel>(QStringLiteral("lbl1"))->text(), "Logic Inputs Available");
    EXPECT_EQ(window->windowTitle().trimmed(), "Inputs");
    QTest::mouseClick(child<QPushButton>(QStringLiteral("btn_In_Counter")), Qt::LeftButton);
    EXPECT_EQ(list("List1")->count(), 8);
    // Down to the outputs node with the input group still shown: nothing of it lands under the outputs.
    QTest::keyClick(tree(), Qt::Key_Down);
    EXPECT_EQ(window->currentNode(), p.outputsNode(1));
    EXPECT_EQ(list("List1")->count(), 0);
    EXPECT_FALSE(editor().canPlace(p.outputsNode(1)));
    QTest::keyClick(list("List1"), Qt::Key_Return);
    EXPECT_EQ(editor().tree().childCount(p.outputsNode(1)), 0);

    // Counter 1 under both rungs' inputs: the second key gets a digit; both Save menus come on.
    select(p.inputsNode(1));
    place("btn_In_Counter", 0);
    select(p.inputsNode(2));
    place("btn_In_Counter", 0);
    EXPECT_TRUE(action("mnuSave")->isEnabled());
    EXPECT_TRUE(action("mnuSaveAs")->isEnabled());
    EXPECT_EQ(list("List2")->count(), 1) << "where-used before the second placement";
    const int first = editor().tree().children(p.inputsNode(1)).front();
    const int second = editor().tree().children(p.inputsNode(2)).front();
    EXPECT_EQ(editor().tree().node(second).key, "Counter 1 = 11");

    // Typing counter 1's preset renames both: clean texts, the second key suffixed.
    type(child<QSpinBox>(QStringLiteral("cwCounter1")), QStringLiteral("6"));
    EXPECT_EQ(editor().presets().cwCounter(1), 6);
    EXPECT_EQ(item(first).data(), "Counter 1 = 6");
    EXPECT_EQ(item(second).data(), "Counter 1 = 6");
    EXPECT_EQ(editor().tree().node(first).key, "Counter 1 = 6");
    EXPECT_EQ(editor().tree().node(second).key, "Counter 1 = 6 1");

    // An element node: both frames off, the element list empty; Delete removes it, a rung stays.
    select(first);
    EXPECT_FALSE(child<QGroupBox>(QStringLiteral("frmInput"))->isEnabled());
    EXPECT_FALSE(child<QGroupBox>(QStringLiteral("frmOut"))->isEnabled());
    EXPECT_EQ(list("List1")->count(), 0);
    action("mnuDeleteRung")->trigger();
    EXPECT_EQ(editor().tree().childCount(p.inputsNode(1)), 0);
    select(editor().tree().find(ladder::rungKey(2)));
    action("mnuDeleteRung")->trigger();
    EXPECT_EQ(editor().RungCount(), 2);

    // A double-click on a rung renames it; the key stays.
    dialogs->textAnswers.enqueue(QStringLiteral("Clamp"));
    const int rung2 = editor().tree().find(ladder::rungKey(2));
    const QPoint at = tree()->visualRect(item(rung2)).center();
    ASSERT_FALSE(tree()->visualRect(item(rung2)).isEmpty());
    QTest::mouseClick(tree()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(tree()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(item(rung2).data(), "Clamp");
    EXPECT_EQ(editor().tree().node(rung2).key, ladder::rungKey(2));

    // Rungs up to 30, then the warning, and again.
    for (int n = 3; n <= 32; ++n)
        action("mnuAddRung")->trigger();
    EXPECT_EQ(editor().RungCount(), 30);
    EXPECT_EQ(dialogs->messageTexts(),
              (QStringList{"Maximum Number Of Rungs = 30", "Maximum Number Of Rungs = 30"}));
    EXPECT_EQ(dialogs->messages[0].caption, "Plc - Warning");
}

TEST_F(LadderWindow, SaveAsWritesTheKnownFileOpenReadsItBackAndACancelledOpenKeepsTheProject) {
    open();
    action("mnuAddRung")->trigger();
    type(child<QSpinBox>(QStringLiteral("cwCounter3")), QStringLiteral("12"));
    const ladder::LadderProgram& p = editor().program();
    select(p.inputsNode(1));
    place("btn_In_Counter", 2);
    select(p.outputsNode(1));
    place("btn_Out_SwPset", 2);

    const QString path = folder.file(QStringLiteral("one.Plc"));
    dialogs->fileNames.enqueue(path);
    action("mnuSaveAs")->trigger();
    EXPECT_EQ(folder.read(QStringLiteral("one.Plc")), golden(QStringLiteral("one_rung_counter.Plc")));
    EXPECT_EQ(child<QLabel>(QStringLiteral("sbPanel1"))->text(), "File Loaded: " + path);

    // Cancelling Open keeps everything.
    const QStringList shown = itemTexts();
    dialogs->fileNames.enqueue(QString());
    action("mnuOpen")->trigger();
    EXPECT_EQ(itemTexts(), shown);
    EXPECT_TRUE(dialogs->asked.empty());

    action("mnuNewProject")->trigger();
    EXPECT_EQ(itemTexts(), QStringList{"Brenstal - Logic I/O"});
    EXPECT_EQ(child<QSpinBox>(QStringLiteral("cwCounter3"))->value(), 1);
    dialogs->fileNames.enqueue(path);
    action("mnuOpen")->trigger();
    EXPECT_EQ(itemTexts(), shown);
    EXPECT_EQ(child<QSpinBox>(QStringLiteral("cwCounter3"))->value(), 12);
    EXPECT_FALSE(action("mnuSave")->isEnabled());
    EXPECT_TRUE(action("mnuSaveAs")->isEnabled());
    EXPECT_EQ(dialogs->messageTexts().back(), "File Opened Successfully");
    EXPECT_TRUE(dialogs->asked.empty()) << "a new project has nothing to lose";

    // A file nested 30,000 deep, each node the child of the one before: refused at its first node under an
    // element, the project kept.
    QByteArray deep;
    QString parent = QStringLiteral("Start");
    for (int n = 0; n < 30000; ++n) {
        const QString key = QStringLiteral("N%1").arg(n);
        deep += ladder::PlcNodeRecord{parent, key, key, QStringLiteral("1"), QStringLiteral("0")}.encode();
        parent = key;
    }
    ASSERT_TRUE(folder.write(QStringLiteral("deep.Plc"), deep));
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("deep.Plc")));
    action("mnuOpen")->trigger();
    EXPECT_EQ(dialogs->messageTexts().back(), "File is damaged (record 4)");
    EXPECT_EQ(itemTexts(), shown);
}

TEST_F(LadderWindow, ASendRunsBusyAndAFailedOneLeavesItsTraceInItsOwnList) {
    connectEthernet();
    model.verMajor = 3;
    open();
    std::vector<bool> busy;
    ctx.busy.setOnChange([&](bool b) { busy.push_back(b); });
    action("mnuAddRung")->trigger();
    select(editor().program().inputsNode(1));
    place("btn_In_InOn", 0);

    model.unacknowledgedLadderFrames = {{1, 1}};
    dialogs->yesNoAnswers.enqueue(true);
    action("mnuSend")->trigger();
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(dialogs->messageTexts().back(), "Logic I/O Not Sent");
    auto* trace = list("lstTrace");
    EXPECT_FALSE(trace->isHidden());
    EXPECT_EQ(trace->count(), 2 + 3 + 651); // counts, the rung's lists and codes, every slot
    EXPECT_TRUE(trace->item(0)->text().startsWith("Number of Nodes = 5"));
    EXPECT_FALSE(child<QProgressBar>(QStringLiteral("Pb1"))->isHidden());
    EXPECT_EQ(list("List1")->count(), 12) << "the element list is not the trace";

    model.unacknowledgedLadderFrames.clear();
    dialogs->yesNoAnswers.enqueue(true);
    action("mnuSend")->trigger();
    EXPECT_EQ(dialogs->messageTexts().back(), "Parameter Sent and Restarted Successfully");
    EXPECT_EQ(model.ladderSlots[0], 1);
    EXPECT_EQ(model.ladderSlots[1], 1);
    EXPECT_TRUE(trace->isHidden());
    EXPECT_TRUE(child<QProgressBar>(QStringLiteral("Pb1"))->isHidden());

    // A receive driven from outside the window (as the settings collection runs it) shows in it.
    dialogs->yesNoAnswers.enqueue(true);
    EXPECT_TRUE(ladder::LadderTransfer(ctx, editor()).receive().ok());
    EXPECT_EQ(itemTexts(),
              (QStringList{"Brenstal - Logic I/O", "Rung 1", "Inputs 1", "Input 1 On", "Outputs 1"}));
    EXPECT_EQ(child<QLabel>(QStringLiteral("sbPanel1"))->text(), "New Project Started");

    // The controller's factory defaults leave a new project.
    dialogs->yesNoAnswers.enqueue(true);
    action("mnuSetDefaults")->trigger();
    EXPECT_EQ(dialogs->messageTexts().back(), "Logic Reset Successfully");
    EXPECT_EQ(itemTexts(), QStringList{"Brenstal - Logic I/O"});
}

TEST_F(LadderWindow, OpenAndReceiveEmptyTheElementListAndShowTheFirstRung) {
    connectEthernet();
    model.verMajor = 3;
    open();
    window->resize(900, 500);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    for (int n = 1; n <= 30; ++n)
        action("mnuAddRung")->trigger();
    const QString path = folder.file(QStringLiteral("thirty.Plc"));
    ASSERT_TRUE(editor().writeProject(path));

    const auto firstRungShown = [this] {
        QCoreApplication::processEvents();
        const QModelIndex first = tree()->model()->index(0, 0, tree()->model()->index(0, 0));
        return first.isValid() && tree()->viewport()->rect().intersects(tree()->visualRect(first));
    };
    // The last rung's inputs picked and a group listed: the tree shows its bottom.
    const auto pickLastInputs = [&] {
        select(editor().program().inputsNode(30));
        QTest::mouseClick(child<QPushButton>(QStringLiteral("btn_In_Counter")), Qt::LeftButton);
        tree()->scrollToBottom();
        EXPECT_EQ(list("List1")->count(), 8);
        EXPECT_FALSE(firstRungShown());
    };

    pickLastInputs();
    dialogs->fileNames.enqueue(path);
    dialogs->yesNoAnswers.enqueue(true);
    action("mnuOpen")->trigger();
    EXPECT_EQ(dialogs->messageTexts().back(), "File Opened Successfully");
    EXPECT_EQ(editor().RungCount(), 30);
    EXPECT_EQ(list("List1")->count(), 0);
    EXPECT_TRUE(editor().elementList().isEmpty());
    EXPECT_FALSE(editor().canPlace(editor().program().inputsNode(1))) << "no group is shown any more";
    EXPECT_TRUE(firstRungShown());

    // The controller holds thirty empty rungs.
    model.ladderSlots = {};
    model.ladderSlots[0] = 30;
    pickLastInputs();
    dialogs->yesNoAnswers.enqueue(true);
    action("mnuReceive")->trigger();
    EXPECT_EQ(dialogs->messageTexts().back(), "Logic I/O Transfer Completed");
    EXPECT_EQ(editor().RungCount(), 30);
    EXPECT_EQ(list("List1")->count(), 0);
    EXPECT_TRUE(firstRungShown());
}

TEST_F(LadderWindow, ClosingKeepsThePlace) {
    open();
    window->setGeometry(40, 60, 1400, 1000);
    const QRect place = window->geometry();
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window.isNull()) << "deleted on close";
    QSettings& store = module.settings();
    store.sync();
    EXPECT_EQ(place.left(), 40);
    EXPECT_EQ(store.value(QStringLiteral("Settings/MainLeft")).toString(), "40");
    EXPECT_EQ(store.value(QStringLiteral("Settings/MainTop")).toString(), QString::number(place.top()));
    EXPECT_EQ(store.value(QStringLiteral("Settings/MainWidth")).toString(), QString::number(place.width()));
    EXPECT_EQ(store.value(QStringLiteral("Settings/MainHeight")).toString(), QString::number(place.height()));
}
