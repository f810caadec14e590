// The output window: lines in order, saved byte for byte with CR LF, the overwrite question, and a failed
// write that keeps both the old file and the window's lines.
#include "app/ui/frmoutput.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>

namespace {

class OutputWindow : public apptest::AppFixture {
protected:
    app::FrmOutput window{*dialogs};
    void save() { window.findChild<QAction*>(QStringLiteral("mnuSave"))->trigger(); }
};

TEST_F(OutputWindow, ThreeLinesSaveAsExactBytes) {
    window.ListAddItem(QStringLiteral("--------- SYSTEM INFORMATION --------"));
    window.ListAddItem(
        QStringLiteral("Torque: 12.5 \u00b0 ")); // a Windows-1252 character and a trailing blank
    window.ListAddItem(QString());
    EXPECT_EQ(window.lines().size(), 3);
    const QString path = folder.file(QStringLiteral("report.txt"));
    dialogs->fileNames.enqueue(path);
    save();
    EXPECT_EQ(folder.read(QStringLiteral("report.txt")),
              QByteArray("--------- SYSTEM INFORMATION --------\r\nTorque: 12.5 \xb0 \r\n\r\n"));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "File Saved Successfully");
    EXPECT_EQ(dialogs->messages[0].caption, "Palverin2006");
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::Information);
}

TEST_F(OutputWindow, EmptyListSavesAnEmptyFile) {
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("empty.txt")));
    save();
    EXPECT_TRUE(QFile::exists(folder.file(QStringLiteral("empty.txt"))));
    EXPECT_EQ(folder.read(QStringLiteral("empty.txt")), QByteArray());
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"File Saved Successfully"});
}

TEST_F(OutputWindow, OverwriteNoKeepsTheFileAndYesReplacesIt) {
    ASSERT_TRUE(folder.write(QStringLiteral("old.txt"), "old content that is longer\r\n"));
    window.ListAddItem(QStringLiteral("new"));
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("old.txt")));
    dialogs->yesNoAnswers.enqueue(false);
    save();
    EXPECT_EQ(dialogs->questions, QStringList{"File Exists, Overwrite ?"});
    EXPECT_EQ(dialogs->asked[0].icon, base::MessageIcon::None);
    EXPECT_EQ(folder.read(QStringLiteral("old.txt")), QByteArray("old content that is longer\r\n"));
    EXPECT_TRUE(dialogs->messages.empty());

    dialogs->fileNames.enqueue(folder.file(QStringLiteral("old.txt")));
    dialogs->yesNoAnswers.enqueue(true);
    save();
    EXPECT_EQ(folder.read(QStringLiteral("old.txt")), QByteArray("new\r\n"));
}

TEST_F(OutputWindow, CancelledDialogWritesNothing) {
    window.ListAddItem(QStringLiteral("x"));
    dialogs->fileNames.enqueue(QString());
    save();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(OutputWindow, MenuAndCaption) {
    EXPECT_EQ(window.windowTitle(), " Brenstal");
    QStringList captions;
    for (const char* name : {"mnuSave", "mnuPrint", "mnuExit"})
        captions << window.findChild<QAction*>(QString::fromLatin1(name))->text();
    EXPECT_EQ(captions, (QStringList{"&Save", "&Print", "&Exit"}));
    // Print has no action.
    window.findChild<QAction*>(QStringLiteral("mnuPrint"))->trigger();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(dialogs->printedPages.empty());
}

} // namespace
