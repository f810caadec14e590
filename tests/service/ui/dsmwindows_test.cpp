// The DSM terminal and the match file builder as windows: opened by the main window's launchers, their
// menus and rows, keys and screen over a pseudo-terminal, a transfer that turns the commands off and is
// cancelled by closing the window, and a scan that reaches the selected row.
#include "app/commands/launchers.h"
#include "app/ui/frmmain.h"
#include "service/servicemodule.h"
#include "service/ui/dsmterm.h"
#include "service/ui/frmmatch.h"
#include "service/ui/installwindows.h"
#include "service/ui/terminalview.h"
#include "sim/serial/barcodescanner.h"
#include "tests/support/ptypair.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

namespace {

using namespace service;

class DsmWindows : public apptest::AppFixture {
protected:
    DsmWindows() {
        module.serialDevices.setDsmPort(dsmLine.portPath());
        module.serialDevices.setScannerPort(readerLine.portPath());
        service::installWindows(ctx, module);
    }
    app::WindowLaunchers& launchers() { return *main.group<app::WindowLaunchers>(); }
    template <class W> W* opened(const QString& title) {
        for (QMdiSubWindow* frame : main.mdiArea()->subWindowList()) {
            if (frame->widget()->windowTitle() == title)
                return qobject_cast<W*>(frame->widget());
        }
        return nullptr;
    }
    template <class W> W* child(QWidget* window, const char* name) {
        return window->findChild<W*>(QLatin1String(name));
    }

    testsupport::PtyPair dsmLine;
    testsupport::PtyPair readerLine;
    ServiceModule module{
        ctx, std::make_unique<QSettings>(folder.file(QStringLiteral("user.ini")), QSettings::IniFormat)};
    app::FrmMain main{ctx};
};

TEST_F(DsmWindows, LaunchersOpenNewWindowsWithTheirMenusAndRows) {
    launchers().mnuTerminal_Click();
    launchers().mnuTerminal_Click();
    EXPECT_FALSE(main.Bar1()->isVisibleTo(&main));
    auto* term = opened<DsmTerm>(QStringLiteral("Dsm Terminal"));
    ASSERT_NE(term, nullptr);
    int terminals = 0;
    for (QMdiSubWindow* frame : main.mdiArea()->subWindowList())
        terminals += qobject_cast<DsmTerm*>(frame->widget()) ? 1 : 0;
    EXPECT_EQ(terminals, 2);
    for (const char* name : {"mnuFIle", "mnuFileSend", "sndNewMAtch", "SndNewPgrm", "mnuFileReceive",
                             "mnuFile01", "mnuFileExit", "mnuConnection", "mnuConnectionConnect",
                             "mnuConnectionDisconnect", "mnuConnection00", "mnuConnectionProperties"})
        EXPECT_NE(child<QAction>(term, name), nullptr) << name;
    EXPECT_EQ(child<QAction>(term, "mnuFileReceive")->text(), "&Receive Rundown Data");
    EXPECT_TRUE(term->session().portOpen());

    launchers().mnuBuildMatch_Click();
    auto* match = opened<FrmMatch>(QStringLiteral("Dsm Match File Builder"));
    ASSERT_NE(match, nullptr);
    EXPECT_EQ(child<QLineEdit>(match, "Barcode_0")->text(),
              "078*******801*************************************");
    EXPECT_TRUE(child<QLineEdit>(match, "Barcode_0")->isReadOnly());
    EXPECT_EQ(child<QSpinBox>(match, "CWPset_0")->value(), 2);
    EXPECT_EQ(child<QLineEdit>(match, "Barcode_10")->text(), QString(50, u'*'));
    EXPECT_EQ(child<QSpinBox>(match, "CWPset_10")->maximum(), 9);
    EXPECT_TRUE(child<QRadioButton>(match, "Option1_1")->isChecked());
    for (const char* name : {"mnuFle", "mnuNew", "mnuSaveFile", "mnuloadFile", "mnusep1", "mnuExit"})
        EXPECT_NE(child<QAction>(match, name), nullptr) << name;
    EXPECT_TRUE(child<QLabel>(match, "lblReader")->text().isEmpty());
    // The second terminal found the DSM's port taken by the first.
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Can't open the communications port!"});
}

TEST_F(DsmWindows, KeysGoToTheDsmAndItsAnswerIsShown) {
    launchers().mnuTerminal_Click();
    auto* term = opened<DsmTerm>(QStringLiteral("Dsm Terminal"));
    ASSERT_NE(term, nullptr);
    auto* screen = child<TerminalView>(term, "SaxComm");
    QTest::keyClicks(screen, QStringLiteral("q "));
    QTest::keyClick(screen, Qt::Key_Return);
    EXPECT_EQ(dsmLine.read(3), "q \r");
    ASSERT_TRUE(dsmLine.write("\r\nDSM> "));
    ASSERT_TRUE(waitFor([&] { return screen->toPlainText() == "\nDSM> "; }));

    // Properties: another device, kept for the next terminal.
    testsupport::PtyPair other;
    term->askProperties = [&](const PortProperties& current) -> std::optional<PortProperties> {
        EXPECT_EQ(current.device, dsmLine.portPath());
        return PortProperties{other.portPath(), current.settings};
    };
    child<QAction>(term, "mnuConnectionProperties")->trigger();
    QTest::keyClicks(screen, QStringLiteral("x"));
    EXPECT_EQ(other.read(1), "x");
    EXPECT_EQ(module.serialDevices.dsmPort(), other.portPath());
    child<QAction>(term, "mnuConnectionDisconnect")->trigger();
    EXPECT_FALSE(term->session().portOpen());
}

TEST_F(DsmWindows, ATransferTurnsTheCommandsOffAndClosingTheWindowCancelsIt) {
    launchers().mnuTerminal_Click();
    QPointer<DsmTerm> term = opened<DsmTerm>(QStringLiteral("Dsm Terminal"));
    ASSERT_FALSE(term.isNull());
    ASSERT_TRUE(folder.write(QStringLiteral("dsm.exe"), QByteArray(300, 'p')));
    dialogs->yesNoAnswers.enqueue(true);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("dsm.exe")));

    // No DSM answers on the line: the transfer waits, and the window is closed meanwhile.
    bool checked = false;
    QTimer::singleShot(20, term, [&] {
        checked = true;
        EXPECT_TRUE(term->session().transferring());
        for (const char* name : {"mnuFileSend", "mnuFileReceive", "mnuFileExit", "mnuConnectionConnect",
                                 "mnuConnectionDisconnect", "mnuConnectionProperties"})
            EXPECT_FALSE(child<QAction>(term, name)->isEnabled()) << name;
        EXPECT_TRUE(child<QPushButton>(term, "cmdCancel")->isVisibleTo(term));
        // Keys typed now do not reach the DSM.
        QTest::keyClicks(child<TerminalView>(term, "SaxComm"), QStringLiteral("zz"));
        app::closeWindow(term);
        EXPECT_FALSE(term.isNull());
    });
    term->SndNewPgrm_Click();
    EXPECT_TRUE(checked);
    ASSERT_TRUE(waitFor([&] { return term.isNull(); }));
    // Nothing is reported for a window that is closing; the DSM was returned to its work.
    EXPECT_TRUE(dialogs->messages.empty());
    const QByteArray sent = dsmLine.read(1000, 300);
    EXPECT_TRUE(sent.startsWith("q ")) << sent.toStdString();
    EXPECT_TRUE(sent.endsWith("dsm\r")) << sent.toStdString();
    EXPECT_FALSE(sent.contains("zz"));
}

TEST_F(DsmWindows, AScanFillsTheSelectedRowAndTheRowsAreSaved) {
    launchers().mnuBuildMatch_Click();
    auto* match = opened<FrmMatch>(QStringLiteral("Dsm Match File Builder"));
    ASSERT_NE(match, nullptr);
    child<QRadioButton>(match, "Option1_3")->click();
    sim::BarcodeScanner scanner;
    scanner.toProgram = [&](const QByteArray& bytes) { readerLine.write(bytes); };
    scanner.scan("ABC");
    ASSERT_TRUE(waitFor([&] { return match->editor().row(3).barcode.startsWith(QStringLiteral("ABC")); }));
    EXPECT_EQ(match->editor().row(3).barcode, QStringLiteral("ABC\r") + QString(46, u'*'));
    EXPECT_TRUE(child<QLineEdit>(match, "Barcode_3")->text().startsWith(QStringLiteral("ABC")));

    auto* row1 = child<QLineEdit>(match, "Barcode_1");
    row1->clear();
    QTest::keyClicks(row1, QStringLiteral("0789AF"));
    child<QSpinBox>(match, "CWPset_1")->setValue(4);
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("match.txt")));
    child<QAction>(match, "mnuSaveFile")->trigger();
    const QByteArray file = folder.read(QStringLiteral("match.txt"));
    ASSERT_EQ(file.size(), MatchFileSize);
    EXPECT_EQ(file.mid(RecordWidth, RecordWidth), QByteArray("0789AF") + QByteArray(44, ' ') + "4");
    EXPECT_EQ(file.mid(3 * RecordWidth, RecordWidth), QByteArray("ABC\r") + QByteArray(46, '*') + "0");

    child<QAction>(match, "mnuNew")->trigger();
    EXPECT_EQ(row1->text(), QString(50, u'*'));
    EXPECT_EQ(child<QSpinBox>(match, "CWPset_1")->value(), 0);
}

TEST_F(DsmWindows, AReaderThatCannotOpenIsNoticedInTheWindow) {
    module.serialDevices.setScannerPort(QStringLiteral("/dev/palverin-no-reader"));
    launchers().mnuBuildMatch_Click();
    auto* match = opened<FrmMatch>(QStringLiteral("Dsm Match File Builder"));
    ASSERT_NE(match, nullptr);
    EXPECT_TRUE(child<QLabel>(match, "lblReader")
                    ->text()
                    .startsWith(QStringLiteral("Barcode reader not available on /dev/palverin-no-reader")));
    EXPECT_TRUE(dialogs->messages.empty());
}

} // namespace
