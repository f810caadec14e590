// The program's modal dialogs on screen: the questions with their buttons and icons, Esc as No or Cancel,
// and the read-only text viewer with its Print.
#include "app/ui/captionfit.h"
#include "app/ui/cursors.h"
#include "app/ui/qtdialogs.h"
#include "app/ui/textlinesview.h"
#include "app/ui/textviewer.h"
#include "base/cp1252.h"
#include "base/shownline.h"
#include "base/textprintout.h"
#include "tests/support/scripteddialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDeadlineTimer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace Qt::StringLiterals;

// Runs answer on the modal dialog that the next call opens, once it shows (a message box, when box is set).
void whenModal(std::function<void(QWidget*)> answer, bool box = false,
               QDeadlineTimer shown = QDeadlineTimer(5000)) {
    QTimer::singleShot(0, [answer = std::move(answer), box, shown] {
        QWidget* modal = QApplication::activeModalWidget();
        if ((!modal || (box && !qobject_cast<QMessageBox*>(modal))) && !shown.hasExpired())
            return whenModal(answer, box, shown);
        ASSERT_NE(modal, nullptr);
        answer(modal);
    });
}

struct Shown {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString text;
    QString caption;
    QMessageBox::StandardButtons buttons;
};

// Records the message box, then presses the button (or Esc when button is NoButton).
std::function<void(QWidget*)> boxAnswer(Shown& shown, QMessageBox::StandardButton button) {
    return [&shown, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = {box->icon(), box->text(), box->windowTitle(), box->standardButtons()};
        if (button == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(button)->click();
    };
}

void answerBox(Shown& shown, QMessageBox::StandardButton button) {
    whenModal(boxAnswer(shown, button));
}

TEST(QtDialogsBoxes, OkCancelQuestionWithoutIconAndEscapeAsCancel) {
    app::QtDialogs qt;
    base::Dialogs& dialogs = qt;
    Shown shown;
    answerBox(shown, QMessageBox::Ok);
    EXPECT_TRUE(dialogs.askOkCancel(QStringLiteral("This file already exists. - Overwrite File ?"),
                                    QStringLiteral("File Exists Warning")));
    EXPECT_EQ(shown.text, "This file already exists. - Overwrite File ?");
    EXPECT_EQ(shown.caption, "File Exists Warning");
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.buttons, QMessageBox::Ok | QMessageBox::Cancel);

    answerBox(shown, QMessageBox::NoButton);
    EXPECT_FALSE(dialogs.askOkCancel(QStringLiteral("Overwrite ?"), QStringLiteral("Warning"),
                                     base::MessageIcon::Exclamation));
    EXPECT_EQ(shown.icon, QMessageBox::Warning);
}

TEST(QtDialogsBoxes, YesNoQuestionShowsTheQuestionMarkUnlessToldOtherwise) {
    app::QtDialogs qt;
    base::Dialogs& dialogs = qt;
    Shown shown;
    answerBox(shown, QMessageBox::Yes);
    EXPECT_TRUE(dialogs.askYesNo(QStringLiteral("Is The Tool A Pistol ?")));
    EXPECT_EQ(shown.icon, QMessageBox::Question);
    EXPECT_EQ(shown.caption, base::ProgramTitle);
    EXPECT_EQ(shown.buttons, QMessageBox::Yes | QMessageBox::No);

    answerBox(shown, QMessageBox::NoButton);
    EXPECT_FALSE(dialogs.askYesNoWithoutIcon(QStringLiteral("Send Logic ?"), QStringLiteral("Logic")));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.caption, "Logic");
}

TEST(QtDialogsBoxes, ABoxShowsTheArrowDuringTheBusyCursorAndIsAsWideAsItsCaption) {
    app::QtDialogs qt;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Qt::CursorShape during = Qt::WaitCursor;
    int width = 0;
    int needed = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        during = QApplication::overrideCursor()->shape();
        width = box->width();
        needed = app::captionWidth(*box);
        box->button(QMessageBox::Ok)->click();
    });
    qt.message(QStringLiteral("Ok"), QStringLiteral("SEND NEW PARAMETER SET(S) TO CONTROLLER"),
               base::MessageIcon::None);
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_GE(width, needed);
    // The busy cursor is back once the box is answered.
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(StoppableDialogs, NothingIsShownOnceTheProgramCloses) {
    testsupport::ScriptedDialogs scripted;
    base::QtEventPump pump;
    base::StoppableDialogs dialogs(scripted, pump);
    EXPECT_EQ(&dialogs.shown(), &scripted);
    scripted.yesNoAnswers << true << true;
    dialogs.message(QStringLiteral("Shown"), base::ProgramTitle, base::MessageIcon::None);
    EXPECT_TRUE(dialogs.askYesNo(QStringLiteral("Asked ?"), base::ProgramTitle, base::MessageIcon::None));
    pump.stop();
    dialogs.message(QStringLiteral("Not shown"), base::ProgramTitle, base::MessageIcon::Critical);
    EXPECT_FALSE(
        dialogs.askYesNo(QStringLiteral("Not asked ?"), base::ProgramTitle, base::MessageIcon::None));
    EXPECT_FALSE(
        dialogs.askOkCancel(QStringLiteral("Not asked ?"), base::ProgramTitle, base::MessageIcon::None));
    EXPECT_TRUE(dialogs.openFileName(QStringLiteral("Open"), QString()).isEmpty());
    EXPECT_TRUE(dialogs.saveFileName(QStringLiteral("Save"), QString(), QString()).isEmpty());
    QString value = QStringLiteral("kept");
    EXPECT_FALSE(dialogs.inputText(QStringLiteral("Value"), base::ProgramTitle, value));
    EXPECT_EQ(value, "kept");
    EXPECT_EQ(scripted.messageTexts(), QStringList{"Shown"});
    EXPECT_EQ(scripted.questions, QStringList{"Asked ?"});
    EXPECT_EQ(scripted.yesNoAnswers.size(), 1); // the second answer was never asked for
}

TEST(ScriptedQuestions, RecordCaptionAndIconAndAnswerFromTheirOwnQueues) {
    testsupport::ScriptedDialogs dialogs;
    dialogs.okCancelAnswers.enqueue(true);
    dialogs.yesNoAnswers.enqueue(false);
    base::Dialogs& seam = dialogs;
    EXPECT_TRUE(seam.askOkCancel(QStringLiteral("Overwrite ?"), QStringLiteral("File Exists Warning")));
    EXPECT_FALSE(seam.askYesNoWithoutIcon(QStringLiteral("Send ?")));
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].caption, "File Exists Warning");
    EXPECT_EQ(dialogs.asked[0].icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs.asked[1].caption, base::ProgramTitle);
    EXPECT_EQ(dialogs.asked[1].icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs.questions, (QStringList{"Overwrite ?", "Send ?"}));
    EXPECT_TRUE(seam.printerAvailable());
    dialogs.printerPresent = false;
    EXPECT_FALSE(seam.printerAvailable());
}

TEST(TextViewer, ShowsTheLinesInAFixedFontToSelectCopyAndPrint) {
    testsupport::ScriptedDialogs dialogs;
    const QByteArray bytes = "Pset  Torque  Angle\r\n   1   12.50    180\r\n\tx\r\n";
    app::TextViewerDialog viewer(dialogs, QStringLiteral("Pset_RundownData.txt"), base::TextLines(bytes));
    EXPECT_EQ(viewer.objectName(), "TextViewer");
    EXPECT_EQ(viewer.windowTitle(), "Pset_RundownData.txt");
    EXPECT_TRUE(viewer.isModal());
    auto* view = viewer.findChild<app::TextLinesView*>(QStringLiteral("txtView"));
    ASSERT_NE(view, nullptr);
    // What a reader sees: narrow and wide glyphs take the same room, so report columns stay aligned.
    // (Some monospace fonts do not set the fixed-pitch flag, so the flag itself proves nothing.)
    const QFontMetricsF metrics(view->font());
    const qreal wide = metrics.horizontalAdvance(QLatin1Char('W'));
    EXPECT_GT(wide, 0.0);
    for (const QChar narrow : QStringLiteral("il.1 |"))
        EXPECT_EQ(metrics.horizontalAdvance(narrow), wide)
            << "glyph '" << QString(narrow).toStdString() << "'";
    EXPECT_EQ(viewer.text(), QStringLiteral("Pset  Torque  Angle\n   1   12.50    180\n\tx"));
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));

    // A drag from column 6 of the first line to column 5 of the second selects what lies between; all the
    // lines copy with the tab as the blanks it shows.
    const QFontMetrics shown(view->font());
    const auto at = [&](int column, int line) {
        return QPoint(column * shown.horizontalAdvance(QLatin1Char('M')) + 1,
                      line * shown.lineSpacing() + shown.lineSpacing() / 2);
    };
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, at(6, 0));
    QTest::mouseMove(view->viewport(), at(5, 1));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at(5, 1));
    EXPECT_EQ(view->selectedText(), QStringLiteral("Torque  Angle\n   1 "));
    QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("Pset  Torque  Angle\n   1   12.50    180\n        x"));

    // Print asks for the printer first: Cancel paints nothing; a printer chosen gets the page.
    auto* print = viewer.findChild<QPushButton*>(QStringLiteral("cmdPrint"));
    dialogs.printerChosen = false;
    print->click();
    EXPECT_TRUE(dialogs.printedPages.empty());
    dialogs.printerChosen = true;
    print->click();
    EXPECT_EQ(dialogs.printedPages, std::vector<int>{1});

    // A file of a million empty lines scrolls line by line to its last.
    app::TextViewerDialog large(dialogs, QStringLiteral("FinalData.txt"),
                                base::TextLines(QByteArray(1 << 20, '\n')));
    large.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&large));
    auto* lines = large.findChild<app::TextLinesView*>(QStringLiteral("txtView"));
    const QScrollBar* bar = lines->verticalScrollBar();
    EXPECT_EQ(bar->maximum() + bar->pageStep(), 1 << 20);
}

TEST(TextViewer, PrintsALargeLogPageByPageOnAPdfPrinter) {
    // A line as shown and printed: each byte a column, a tab blanks to its stop, cut into rows anywhere,
    // even inside a tab's blanks; an empty line is one row. Columns from the middle are made alone.
    const auto rows = [](QByteArrayView line, qsizetype columns) {
        QStringList all;
        base::ShownLine shown(line);
        do
            all << base::fromCp1252(shown.take(shown.column() + columns));
        while (!shown.atEnd());
        return all;
    };
    EXPECT_EQ(rows("", 4), QStringList{QString()});
    EXPECT_EQ(rows("abcdefghij", 4), (QStringList{"abcd", "efgh", "ij"}));
    EXPECT_EQ(rows("a\tbc", 5), (QStringList{"a    ", "   bc"}));
    EXPECT_EQ(rows("1234567\tx", 8), (QStringList{"1234567 ", "x"}));
    EXPECT_EQ(rows("\t\tx\t", 5), (QStringList{"     ", "     ", "     ", " x   ", "    "}));
    EXPECT_EQ(rows("\x80\t\xe9", 16), QStringList{u"\u20ac       \u00e9"_s});
    EXPECT_EQ(base::ShownLine::columns("a\tbc\td", 3, 11), QStringLiteral("     bc "));
    EXPECT_EQ(base::ShownLine::width("a\tbc\td"), 17);

    // Reports and a line of a megabyte: as many pages as their rows fill, on the PDF printer.
    const QByteArray report = "Rundown Number :12\r\nSPINDLE 01:" + QByteArray(63, 'a') + "\r\n\r\n";
    constexpr int Reports = 20000;
    const qsizetype longLine = 1 << 20;
    testsupport::ScriptedDialogs dialogs;
    app::TextViewerDialog viewer(dialogs, QStringLiteral("FinalData.txt"),
                                 base::TextLines(report.repeated(Reports) + QByteArray(longLine, 'x')));
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    QPdfWriter printer(&pdf);
    printer.setResolution(testsupport::ScriptedDialogs::PrintResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QFontMetrics metrics(viewer.findChild<app::TextLinesView*>()->font(), &printer);
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qsizetype columns = page.width() / metrics.horizontalAdvance(QLatin1Char('M'));
    const qsizetype printedRows = 3 * Reports + (longLine + columns - 1) / columns;
    const qsizetype perPage = page.height() / metrics.lineSpacing();
    const int pages = int((printedRows + perPage - 1) / perPage);
    auto* print = viewer.findChild<QPushButton*>(QStringLiteral("cmdPrint"));
    print->click();
    EXPECT_EQ(dialogs.printedPages, std::vector<int>{pages});
    EXPECT_TRUE(dialogs.messages.empty());

    // Only the pages chosen are printed, and copies of them; a range past the end is cut there, and one
    // wholly past it prints nothing. Cancel stops the job after the pages printed; a printer that fails to
    // start, or to take a page, gets nothing more and the user is told at which page.
    const QString nothing = QStringLiteral("Nothing To Print - The Last Page Is %1").arg(pages);
    const QString failed = u"Printing Stopped - The Printer Failed At Page %1\r\n%2 Of %3 Pages Printed"_s;
    const struct {
        base::PrintChoice choice;
        int stopAfter;
        int failAt;
        int printed;
        QString message;
    } jobs[] = {
        {{1, 3}, 0, 0, 3, {}},
        {{pages - 1, pages + 5, 2}, 0, 0, 4, {}},
        {{pages + 1, pages + 3}, 0, 0, 0, nothing},
        {{}, 5, 0, 5, u"Printing Cancelled\r\n5 Of %1 Pages Printed"_s.arg(pages)},
        {{10, 20}, 0, 4, 3, failed.arg(13).arg(3).arg(11)},
        {{2, 3, 1, true, true}, 0, 1, 0, failed.arg(3).arg(0).arg(2)},
    };
    for (const auto& job : jobs) {
        dialogs.printedPages.clear();
        dialogs.reportedPages.clear();
        dialogs.messages.clear();
        dialogs.printChoice = job.choice;
        dialogs.stopAfterPages = job.stopAfter;
        dialogs.printerFailsAtPage = job.failAt;
        print->click();
        EXPECT_EQ(dialogs.printedPages, std::vector<int>{job.printed}) << job.choice.fromPage;
        EXPECT_EQ(dialogs.reportedPages, std::vector<int>{job.printed}) << job.choice.fromPage;
        EXPECT_EQ(dialogs.messageTexts(), job.message.isEmpty() ? QStringList() : QStringList{job.message});
    }
}

TEST(TextViewer, PrintsThePagesChosenInTheirOrderAndCopies) {
    // A printout of five pages that records the pages painted, in turn.
    struct Recorded : base::Printout {
        int layOut(const QPagedPaintDevice&) override { return 5; }
        void paintPage(int page, QPainter& painter) override {
            painted << page;
            painter.drawText(0, page, QString::number(page));
        }
        QList<int> painted;
    };
    const struct {
        base::PrintChoice choice;
        QList<int> painted;
    } jobs[] = {
        {{}, {1, 2, 3, 4, 5}},
        {{2, 4, 2, true, false}, {2, 3, 4, 2, 3, 4}},
        {{2, 4, 2, false, false}, {2, 2, 3, 3, 4, 4}},
        {{2, 4, 2, true, true}, {4, 3, 2, 4, 3, 2}},
        {{4, 9, 1, true, true}, {5, 4}},
    };
    testsupport::ScriptedDialogs dialogs;
    for (const auto& job : jobs) {
        Recorded printout;
        dialogs.printChoice = job.choice;
        EXPECT_TRUE(static_cast<base::Dialogs&>(dialogs).printPages(printout));
        EXPECT_EQ(printout.painted, job.painted);
        EXPECT_EQ(dialogs.printedPages.back(), job.painted.size());
    }

    // The program's own printer dialog: pages 2 to 3 chosen of a text of many pages print those two; a
    // whole print shows its progress with Cancel, and the windows are served while it prints.
    const base::TextLines text(QByteArray(20000, '\n'));
    QTemporaryDir folder;
    const auto choose = [](const QString& file, int from, int to, std::function<void(QWidget*)> then = {}) {
        whenModal([=](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            ASSERT_NE(dialog, nullptr);
            EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
            EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintCurrentPage));
            dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(file);
            if (from > 0) {
                dialog->findChild<QAbstractButton*>(QStringLiteral("printRange"))->click();
                dialog->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(to);
                dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(from);
            }
            dialog->accept();
            if (then)
                whenModal(then);
        });
    };
    const QString file = folder.filePath(QStringLiteral("printed.pdf"));
    const auto printedPages = [&file] {
        QFile pdf(file);
        pdf.open(QIODevice::ReadOnly);
        return int(QString::fromLatin1(pdf.readAll()).count(QRegularExpression(u"/Type\\s*/Page\\b"_s)));
    };
    app::QtDialogs qt;
    choose(file, 2, 3);
    base::TextPrintout printout(text, QFontDatabase::systemFont(QFontDatabase::FixedFont));
    EXPECT_TRUE(qt.printPages(printout));
    EXPECT_EQ(printedPages(), 2);

    // Cancelled, a print to a file says how far it went and leaves no file that looks complete.
    QString shown;
    int served = 0;
    int sheets = 0;
    Shown cancelled;
    choose(file, 0, 0, [&](QWidget* modal) {
        auto* progress = qobject_cast<QProgressDialog*>(modal);
        ASSERT_NE(progress, nullptr);
        shown = progress->labelText();
        served = progress->value();
        sheets = progress->maximum();
        progress->cancel();
        whenModal(boxAnswer(cancelled, QMessageBox::Ok), true);
    });
    EXPECT_FALSE(qt.printPages(printout));
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Printed "))) << shown.toStdString();
    EXPECT_GT(served, 0);
    EXPECT_LT(served, sheets);
    EXPECT_EQ(cancelled.text, u"Printing Cancelled\r\n%1 Of %2 Pages Printed\r\n"_s.arg(served).arg(sheets) +
                                  file + u": Incomplete File Removed"_s);
    EXPECT_FALSE(QFile::exists(file));

    // A printer that cannot start says so, for a text and for a window's image alike.
    const QString nowhere = folder.filePath(QStringLiteral("missing/printed.pdf"));
    base::ImagePrintout image(QImage(8, 8, QImage::Format_RGB32));
    for (base::Printout* job : std::initializer_list<base::Printout*>{&printout, &image}) {
        Shown box;
        choose(nowhere, 0, 0, boxAnswer(box, QMessageBox::Ok));
        EXPECT_FALSE(qt.printPages(*job));
        EXPECT_EQ(box.text, u"Printing Stopped - The Printer Failed At Page 1\r\n0 Of %1 Pages Printed"_s.arg(
                                job == &image ? 1 : sheets));
        EXPECT_EQ(box.icon, QMessageBox::Critical);
    }
}

TEST(TextViewer, TheSeamShowsTheViewerUntilItIsClosed) {
    testsupport::ScriptedDialogs dialogs;
    app::QtTextViewer seam(dialogs);
    QString shownTitle;
    QString shownText;
    Qt::CursorShape pointer = Qt::BlankCursor;
    whenModal([&](QWidget* modal) {
        auto* viewer = qobject_cast<app::TextViewerDialog*>(modal);
        ASSERT_NE(viewer, nullptr);
        shownTitle = viewer->windowTitle();
        shownText = viewer->text();
        pointer = QApplication::overrideCursor()->shape();
        viewer->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    // Opened under the hourglass of the command that read the file, it shows the ordinary pointer.
    const app::WaitCursor wait;
    seam.show(QStringLiteral("Log"), base::TextLines("line 1\nline 2"));
    EXPECT_EQ(shownTitle, "Log");
    EXPECT_EQ(shownText, "line 1\nline 2");
    EXPECT_EQ(pointer, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_TRUE(dialogs.printedPages.empty());
}

} // namespace
