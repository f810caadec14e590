// The program's modal dialogs on screen: the questions with their buttons and icons, Esc as No or Cancel,
// and the read-only text viewer with its Print.
#include "app/ui/qtdialogs.h"
#include "app/ui/textviewer.h"
#include "tests/support/scripteddialogs.h"

#include <QAbstractButton>
#include <QApplication>
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
    EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
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
