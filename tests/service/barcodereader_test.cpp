// The barcode reader on a pseudo-terminal: a scan fills the selected row as received, CR included, padded
// with "*"; pieces of one scan are joined while they come within the quiet gap, and scans apart stay apart.
#include "base/serial/qtserialport.h"
#include "service/matcheditor.h"
#include "sim/serial/barcodescanner.h"
#include "tests/support/ptypair.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/waitfor.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace service;
using namespace std::chrono_literals;
using testsupport::waitFor;

class ReaderOnPty : public ::testing::Test {
protected:
    // The editor with its reader on the pseudo-terminal and a quiet gap of this length.
    void openEditor(std::chrono::milliseconds gap) {
        ASSERT_TRUE(pty.isOpen());
        devices.setScannerPort(pty.portPath());
        auto reader = std::make_unique<BarcodeReader>(std::make_unique<base::QtSerialPort>(), gap);
        QObject::connect(reader.get(), &BarcodeReader::scanned,
                         [this](const QString& p) { scans.append(p); });
        editor = std::make_unique<MatchEditor>(dialogs, std::move(reader), devices);
        editor->Form_Load();
        ASSERT_TRUE(editor->readerNotice().isEmpty()) << editor->readerNotice().toStdString();
        scanner.toProgram = [this](const QByteArray& bytes) { pty.write(bytes); };
    }

    QTemporaryDir dir;
    SerialDevices devices{
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat)};
    testsupport::PtyPair pty;
    testsupport::ScriptedDialogs dialogs;
    sim::BarcodeScanner scanner;
    std::unique_ptr<MatchEditor> editor;
    QStringList scans;
};

TEST_F(ReaderOnPty, AScanFillsTheSelectedRow) {
    openEditor(BarcodeReader::QuietGap);
    editor->Option1_Click(4);
    scanner.scan("ABC");
    ASSERT_TRUE(waitFor([&] { return !scans.isEmpty(); }));
    EXPECT_EQ(editor->row(4).barcode, QStringLiteral("ABC\r") + QString(46, u'*'));
    EXPECT_EQ(editor->row(1).barcode, QString(50, u'*'));
    // The port runs at 9600 baud.
    const termios line = pty.portSettings();
    EXPECT_EQ(cfgetospeed(&line), speed_t(B9600));
}

TEST_F(ReaderOnPty, PiecesWithinTheGapAreOneScanAndScansApartStayApart) {
    // A gap long enough that a loaded machine cannot split the pieces.
    openEditor(1000ms);
    scanner.scan("0789AF0909801", 4, 20ms);
    ASSERT_TRUE(waitFor([&] { return !scans.isEmpty(); }, 5000));
    EXPECT_EQ(scans, QStringList{QStringLiteral("0789AF0909801\r") + QString(36, u'*')});
    EXPECT_EQ(editor->row(1).barcode, scans[0]);

    editor->Option1_Click(2);
    scanner.scan(QByteArray(60, '7'));
    ASSERT_TRUE(waitFor([&] { return scans.size() == 2; }, 5000));
    // A scan longer than a pattern is placed whole; the file cuts it.
    EXPECT_EQ(editor->row(2).barcode, QString(60, u'7') + u'\r');
    EXPECT_EQ(editor->row(1).barcode, scans[0]);
}

} // namespace
