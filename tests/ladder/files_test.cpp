// The editor's File menu: Open picks and reads the file before it asks to replace the project (a cancelled
// dialog, a missing or damaged file, or No keep the project whole), Save of a new project is Save As, Save of
// a loaded file and Save As and Print ask before they overwrite, and Print writes the rung printout.
#include "ladder/laddereditor.h"
#include "ladder/ladderfiles.h"
#include "ladder/laddertransfer.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

using namespace ladder;
using base::MessageIcon;

namespace {

class LadderFilesTest : public ::testing::Test {
protected:
    // One rung with counter 3 at 12 under its inputs.
    void oneRung() {
        editor.addRung();
        editor.setCounterPreset(3, 12);
        const int inputs = editor.program().inputsNode(1);
        editor.selectNode(inputs);
        editor.showGroup(3);
        ASSERT_TRUE(editor.placeElement(inputs, 2));
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScriptedDialogs dialogs;
    LadderEditor editor{dialogs};
    LadderFiles files{dialogs, editor};
};

} // namespace

TEST_F(LadderFilesTest, OpenChecksTheFileBeforeItAsksAndKeepsTheProjectUnlessTold) {
    oneRung();
    const QString path = folder.file(QStringLiteral("saved.Plc"));
    ASSERT_TRUE(editor.writeProject(path));
    editor.addRung();
    const LadderProgram current = editor.program();

    // Cancelled dialog, missing file, damaged file: no question, the project stays.
    dialogs.fileNames << QString() << folder.file(QStringLiteral("none.Plc"))
                      << folder.file(QStringLiteral("bad.Plc"));
    folder.write(QStringLiteral("bad.Plc"), QByteArray(114, 'x'));
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(files.mnuOpen_Click());
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{QStringLiteral("File does not exists"),
                                                   QStringLiteral("File is damaged (record 1)")}));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("File Error"));
    EXPECT_EQ(dialogs.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(editor.program(), current);

    // A good file: the question, then No keeps the project, Yes replaces it.
    dialogs.messages.clear();
    dialogs.fileNames << path << path;
    dialogs.yesNoAnswers << false << true;
    EXPECT_FALSE(files.mnuOpen_Click());
    EXPECT_EQ(editor.program(), current);
    EXPECT_TRUE(files.mnuOpen_Click());
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text, ReceiveQuestion);
    EXPECT_EQ(dialogs.asked[0].caption, QStringLiteral("RECEIVE LOGIC I/O FROM CONTROLLER"));
    EXPECT_EQ(dialogs.asked[0].icon, MessageIcon::None);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("File Opened Successfully")});
    EXPECT_EQ(editor.RungCount(), 1);
    EXPECT_EQ(editor.presets().cwCounter(3), 12);
    EXPECT_EQ(editor.statusText(), QStringLiteral("File Loaded: ") + path);
    EXPECT_EQ(editor.saveMenus(), (SaveMenus{false, true}));
}

TEST_F(LadderFilesTest, SaveOfANewProjectAsksForANameAndOverwritingIsAskedEveryTime) {
    oneRung();
    const QString path = folder.file(QStringLiteral("one.Plc"));
    // A new project: Save is Save As; a cancelled dialog writes nothing.
    dialogs.fileNames << QString() << path;
    EXPECT_FALSE(files.mnuSave_Click());
    EXPECT_TRUE(files.mnuSave_Click());
    const QByteArray written = folder.read(QStringLiteral("one.Plc"));
    EXPECT_EQ(written.size(), 4 * 114);
    EXPECT_EQ(editor.statusText(), QStringLiteral("File Loaded: ") + path);
    EXPECT_EQ(editor.CurrentFileName(), path);
    EXPECT_TRUE(dialogs.asked.empty());

    // The loaded file exists: Save asks; Cancel leaves the file as it was, OK writes the change.
    editor.addRung();
    dialogs.okCancelAnswers << false << true;
    EXPECT_FALSE(files.mnuSave_Click());
    EXPECT_EQ(folder.read(QStringLiteral("one.Plc")), written);
    EXPECT_TRUE(files.mnuSave_Click());
    EXPECT_EQ(folder.read(QStringLiteral("one.Plc")).size(), 7 * 114);
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].text, QStringLiteral("This file already exists. - Overwrite File ?"));
    EXPECT_EQ(dialogs.asked[0].caption, QStringLiteral("File Exists Warning"));

    // Save As onto an existing file asks the same; Cancel keeps the name and the status.
    dialogs.fileNames << folder.file(QStringLiteral("one.Plc"));
    dialogs.okCancelAnswers << false;
    editor.saveAs(folder.file(QStringLiteral("two.Plc")));
    EXPECT_FALSE(files.mnuSaveAs_Click());
    EXPECT_EQ(editor.CurrentFileName(), folder.file(QStringLiteral("two.Plc")));
}

TEST_F(LadderFilesTest, PrintWritesTheRungPrintoutAfterTheOverwriteQuestion) {
    editor.newProject();
    editor.addRung();
    const QString path = folder.file(QStringLiteral("rungs.Txt"));
    dialogs.fileNames << path << path;
    dialogs.okCancelAnswers << false;
    EXPECT_TRUE(files.mnuPrint_Click());
    const QByteArray root = "Brenstal - Logic I/O" + QByteArray(10, ' ');
    const QByteArray expected = root + "\r\n" + root + "\\Rung 1" + QByteArray(24, ' ') + "\r\n";
    EXPECT_TRUE(folder.read(QStringLiteral("rungs.Txt")).startsWith(expected));
    EXPECT_EQ(folder.read(QStringLiteral("rungs.Txt")).count("\r\n"), 4);
    editor.addRung();
    EXPECT_FALSE(files.mnuPrint_Click());
    EXPECT_EQ(folder.read(QStringLiteral("rungs.Txt")).count("\r\n"), 4) << "Cancel keeps the old printout";
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("This file already exists. - Overwrite File ?")});
}
