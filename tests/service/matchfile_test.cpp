// The match file against golden files (1022 bytes, the Pset character, trailing blanks), reading back, a
// file shorter than its rows, and the editor's New, Save and Load with their messages.
#include "service/matcheditor.h"
#include "service/matchfile.h"
#include "tests/support/memoryserialport.h"
#include "tests/support/scripteddialogs.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace service;
using base::MessageIcon;

QByteArray golden(const char* name) {
    QFile file(QStringLiteral(PALVERIN_GOLDEN_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

MatchRows rowsOf(const QString& barcode, int pset) {
    MatchRows rows;
    rows.fill({barcode, pset});
    return rows;
}

TEST(MatchFile, WritesTheGoldenLayout) {
    const QByteArray abc = golden("match_abc_pset3.txt");
    ASSERT_EQ(abc.size(), MatchFileSize);
    EXPECT_EQ(writeMatchFile(rowsOf(QStringLiteral("abc"), 3)), abc);
    MatchRows fresh;
    fresh.fill(emptyMatchRow());
    EXPECT_EQ(writeMatchFile(fresh), golden("match_new.txt"));

    // Pset 10 keeps its first character; a long pattern is cut at 50; a character Windows-1252 has not
    // becomes "?" and the record keeps its width.
    MatchRows rows = rowsOf(QString(), 0);
    rows[0] = {QStringLiteral("0789AF0909801"), 10};
    rows[1] = {QString(60, u'x'), 7};
    rows[2] = {QStringLiteral("\u00e9\u4e2d"), 1};
    const QByteArray bytes = writeMatchFile(rows);
    ASSERT_EQ(bytes.size(), MatchFileSize);
    EXPECT_EQ(bytes.mid(RecordWidth, RecordWidth), QByteArray("0789AF0909801") + QByteArray(37, ' ') + "1");
    EXPECT_EQ(bytes.mid(2 * RecordWidth, RecordWidth), QByteArray(50, 'x') + "7");
    EXPECT_EQ(bytes.mid(3 * RecordWidth, RecordWidth), QByteArray("\xe9?") + QByteArray(48, ' ') + "1");
    EXPECT_EQ(bytes.mid(4 * RecordWidth, RecordWidth), QByteArray(50, ' ') + "0");
    EXPECT_TRUE(bytes.endsWith("0\r\n"));
}

TEST(MatchFile, ReadsTheRowsBackWithTheirTrailingBlanks) {
    const MatchFileContent content = readMatchFile(golden("match_abc_pset3.txt"));
    EXPECT_TRUE(content.complete);
    for (const MatchRow& row : content.rows) {
        EXPECT_EQ(row.barcode, QStringLiteral("abc") + QString(47, u' '));
        EXPECT_EQ(row.pset, 3);
    }
    EXPECT_EQ(writeMatchFile(content.rows), golden("match_abc_pset3.txt"));

    // The first record is not a row; a Pset character that is no digit reads as 0.
    QByteArray bytes = golden("match_new.txt");
    bytes.replace(0, 5, "ABCDE");
    bytes[2 * RecordWidth - 1] = 'x';
    bytes[3 * RecordWidth - 1] = '8';
    const MatchFileContent read = readMatchFile(bytes);
    EXPECT_EQ(read.rows[0].barcode, QString(50, u'*'));
    EXPECT_EQ(read.rows[0].pset, 0);
    EXPECT_EQ(read.rows[1].pset, 8);

    // A file that ends inside row 2: row 1 whole, row 2 as far as it goes, the others empty.
    const MatchFileContent shortFile =
        readMatchFile(golden("match_abc_pset3.txt").left(2 * RecordWidth + 10));
    EXPECT_FALSE(shortFile.complete);
    EXPECT_EQ(shortFile.rows[0].pset, 3);
    EXPECT_EQ(shortFile.rows[1].barcode, QStringLiteral("abc       "));
    EXPECT_EQ(shortFile.rows[1].pset, 0);
    EXPECT_EQ(shortFile.rows[9].barcode, QString());
}

class MatchEditorTest : public ::testing::Test {
protected:
    MatchEditorTest()
        : devices(
              std::make_unique<QSettings>(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat)) {
        auto port = std::make_unique<testsupport::MemorySerialPort>();
        reader = port.get();
        editor =
            std::make_unique<MatchEditor>(dialogs, std::make_unique<BarcodeReader>(std::move(port)), devices);
    }
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QByteArray read(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    testsupport::ScriptedDialogs dialogs;
    SerialDevices devices;
    testsupport::MemorySerialPort* reader = nullptr;
    std::unique_ptr<MatchEditor> editor;
};

TEST_F(MatchEditorTest, NewSaveAndLoadGoThroughTheMatchFile) {
    devices.setScannerPort(QStringLiteral("/dev/ttyUSB1"));
    editor->Form_Load();
    EXPECT_EQ(reader->openedName, "/dev/ttyUSB1");
    EXPECT_EQ(reader->openedSettings.baudRate, 9600);
    EXPECT_TRUE(editor->readerNotice().isEmpty());

    // The window opens with asterisk rows: saved, that is the "New" file.
    dialogs.fileNames.enqueue(path("new.txt"));
    editor->mnuSaveFile_Click();
    EXPECT_EQ(read("new.txt"), golden("match_new.txt"));
    EXPECT_EQ(editor->MatchFileName(), path("new.txt"));

    for (int row = 1; row <= MatchRowCount; ++row) {
        editor->setBarcode(row, QStringLiteral("abc"));
        editor->setPset(row, 3);
    }
    dialogs.fileNames.enqueue(path("abc.txt"));
    editor->mnuSaveFile_Click();
    EXPECT_EQ(read("abc.txt"), golden("match_abc_pset3.txt"));

    // A cancelled save writes nothing and says nothing.
    dialogs.fileNames.enqueue(QString());
    editor->mnuSaveFile_Click();

    editor->mnuNew_Click();
    EXPECT_EQ(editor->row(5).barcode, QString(50, u'*'));
    EXPECT_EQ(editor->row(5).pset, 0);
    std::vector<int> changed;
    QObject::connect(editor.get(), &MatchEditor::rowChanged, [&](int row) { changed.push_back(row); });
    dialogs.fileNames.enqueue(path("abc.txt"));
    editor->mnuloadFile_Click();
    EXPECT_EQ(changed.size(), size_t(MatchRowCount));
    EXPECT_EQ(editor->row(10).barcode, QStringLiteral("abc") + QString(47, u' '));
    EXPECT_EQ(editor->row(10).pset, 3);
    EXPECT_TRUE(dialogs.messages.empty());

    // Psets stay single digits.
    editor->setPset(2, 10);
    EXPECT_EQ(editor->row(2).pset, MatchEditor::MaxPset);
    editor->setPset(2, -1);
    EXPECT_EQ(editor->row(2).pset, 0);
}

TEST_F(MatchEditorTest, AMissingOrShortFileIsReported) {
    editor->setBarcode(1, QStringLiteral("keep"));
    dialogs.fileNames.enqueue(path("absent.txt"));
    editor->mnuloadFile_Click();
    dialogs.fileNames.enqueue(QString());
    editor->mnuloadFile_Click();
    ASSERT_EQ(dialogs.messages.size(), 2u);
    for (const auto& m : dialogs.messages) {
        EXPECT_EQ(m.text, "File does not exists");
        EXPECT_EQ(m.caption, "File Error");
        EXPECT_EQ(m.icon, MessageIcon::Critical);
    }
    EXPECT_EQ(editor->row(1).barcode, "keep");

    // Three records: the first and rows 1 and 2 load, the rest are emptied.
    QFile shortFile(path("short.txt"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(golden("match_abc_pset3.txt").left(3 * RecordWidth));
    shortFile.close();
    dialogs.fileNames.enqueue(path("short.txt"));
    editor->mnuloadFile_Click();
    ASSERT_EQ(dialogs.messages.size(), 3u);
    EXPECT_EQ(dialogs.messages[2].text, "Match File Too Short - Rows Not In The File Are Left Empty");
    EXPECT_EQ(dialogs.messages[2].caption, "File Error");
    EXPECT_EQ(dialogs.messages[2].icon, MessageIcon::Exclamation);
    EXPECT_EQ(editor->row(2).pset, 3);
    EXPECT_EQ(editor->row(3).barcode, QString());
    EXPECT_EQ(editor->row(3).pset, 0);
    // The short file itself is left as it was.
    EXPECT_EQ(read("short.txt").size(), 3 * RecordWidth);
}

TEST_F(MatchEditorTest, ScansGoToTheSelectedRowAndAMissingReaderIsNoticed) {
    reader->openable = false;
    devices.setScannerPort(QStringLiteral("/dev/ttyS9"));
    editor->Form_Load();
    EXPECT_EQ(editor->readerNotice(), "Barcode reader not available on /dev/ttyS9: No such device");

    EXPECT_EQ(editor->SelectedRow(), 1);
    editor->Option1_Click(7);
    editor->Option1_Click(11);
    EXPECT_EQ(editor->SelectedRow(), 7);
    editor->placeScan(scanPattern(QStringLiteral("ABC\r")));
    EXPECT_EQ(editor->row(7).barcode, QStringLiteral("ABC\r") + QString(46, u'*'));
    EXPECT_EQ(scanPattern(QString(55, u'9')), QString(55, u'9'));
    EXPECT_EQ(editor->row(1).barcode, QString(50, u'*'));
}

} // namespace
