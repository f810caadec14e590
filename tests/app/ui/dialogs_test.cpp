// The program's modal dialogs on screen: the questions with their buttons and icons, Esc as No or Cancel,
// and the read-only text viewer with its Print.
#include "app/ui/captionfit.h"
#include "app/ui/qtdialogs.h"
#include "app/ui/textviewer.h"
#include "tests/support/scripteddialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetricsF>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs answer on the modal dialog that the next call opens.
void whenModal(std::function<void(QWidget*)> answer) {
    QTimer::singleShot(0, [answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
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
void answerBox(Shown& shown, QMessageBox::StandardButton button) {
    whenModal([&shown, button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = {box->icon(), box->text(), box->windowTitle(), box->standardButtons()};
        if (button == QMessageBox::NoButton)
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->button(button)->click();
    });
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

TEST(TextViewer, ShowsTheTextReadOnlyInAFixedFontAndPrintsIt) {
    testsupport::ScriptedDialogs dialogs;
    const QString text = QStringLiteral("Pset  Torque  Angle\r\n   1   12.50    180\r\n");
    app::TextViewerDialog viewer(dialogs, QStringLiteral("Pset_RundownData.txt"), text);
    EXPECT_EQ(viewer.objectName(), "TextViewer");
    EXPECT_EQ(viewer.windowTitle(), "Pset_RundownData.txt");
    EXPECT_TRUE(viewer.isModal());
    auto* view = viewer.findChild<QPlainTextEdit*>(QStringLiteral("txtView"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isReadOnly());
    // What a reader sees: narrow and wide glyphs take the same room, so report columns stay aligned.
    // (Some monospace fonts do not set the fixed-pitch flag, so the flag itself proves nothing.)
    const QFontMetricsF metrics(view->font());
    const qreal wide = metrics.horizontalAdvance(QLatin1Char('W'));
    EXPECT_GT(wide, 0.0);
    for (const QChar narrow : QStringLiteral("il.1 |"))
        EXPECT_EQ(metrics.horizontalAdvance(narrow), wide) << "glyph '" << QString(narrow).toStdString() << "'";
    EXPECT_EQ(metrics.horizontalAdvance(QStringLiteral("   1   12.50    180")),
              metrics.horizontalAdvance(QStringLiteral("Pset  Torque  Angle")));
    EXPECT_EQ(viewer.text(), QStringLiteral("Pset  Torque  Angle\n   1   12.50    180\n"));

    viewer.findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    ASSERT_EQ(dialogs.printed.size(), 1);
    EXPECT_EQ(dialogs.printed[0], viewer.text());
}

TEST(TextViewer, TheSeamShowsTheViewerUntilItIsClosed) {
    testsupport::ScriptedDialogs dialogs;
    app::QtTextViewer seam(dialogs);
    QString shownTitle;
    QString shownText;
    whenModal([&](QWidget* modal) {
        auto* viewer = qobject_cast<app::TextViewerDialog*>(modal);
        ASSERT_NE(viewer, nullptr);
        shownTitle = viewer->windowTitle();
        shownText = viewer->text();
        viewer->findChild<QPushButton*>(QStringLiteral("cmdClose"))->click();
    });
    seam.show(QStringLiteral("Log"), QStringLiteral("line 1\nline 2"));
    EXPECT_EQ(shownTitle, "Log");
    EXPECT_EQ(shownText, "line 1\nline 2");
    EXPECT_TRUE(dialogs.printed.isEmpty());
}

} // namespace
