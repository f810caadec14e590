// The login and new-password windows over the login logic.
#include "app/programcore.h"
#include "app/ui/formnewpword.h"
#include "app/ui/frmpassword.h"
#include "link/linkstate.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace app;

namespace {

class LoginWindowsTest : public ::testing::Test {
protected:
    void SetUp() override { main.LoadIniFiles(); }
    testsupport::TempProgramFolder home;
    testsupport::ScriptedDialogs dialogs;
    clink::LinkState link;
    ProgramCore main{link, dialogs};
};

} // namespace

TEST_F(LoginWindowsTest, TheEnterKeyInThePasswordBoxLogsIn) {
    frmPassword window(main.login);
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Brenstal -Palverin"));
    auto* box = window.findChild<QLineEdit*>(QStringLiteral("txtPword"));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    window.show();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("6482"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(main.access.AccessLevel, ServiceLevel);
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(window.isVisible());

    // A wrong entry: one message, the level stays, the window closes all the same.
    frmPassword again(main.login);
    again.show();
    auto* box2 = again.findChild<QLineEdit*>(QStringLiteral("txtPword"));
    box2->setFocus();
    QTest::keyClicks(box2, QStringLiteral("nope"));
    QTest::keyClick(box2, Qt::Key_Enter);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{PasswordIncorrectText});
    EXPECT_EQ(main.access.AccessLevel, ServiceLevel);
    EXPECT_EQ(again.result(), QDialog::Accepted);
}

TEST_F(LoginWindowsTest, TheNewPasswordWindowShowsAndStoresThePassword) {
    formNewPword window(main.login, main.settings);
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Brenstal "));
    auto* current = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* fresh = window.findChild<QLineEdit*>(QStringLiteral("Text2"));
    ASSERT_TRUE(current && fresh);
    window.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return current->text() == QStringLiteral("7395"); }, 5000));

    fresh->setText(QStringLiteral("Neu9"));
    dialogs.yesNoAnswers.enqueue(false);
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(main.settings.Password, QStringLiteral("7395"));

    dialogs.yesNoAnswers.enqueue(true);
    window.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(main.settings.Password, QStringLiteral("Neu9"));
    clink::LinkState otherLink;
    ProgramCore restarted(otherLink, dialogs);
    restarted.LoadIniFiles();
    EXPECT_EQ(restarted.settings.Password, QStringLiteral("Neu9"));

    formNewPword exitOnly(main.login, main.settings);
    exitOnly.show();
    exitOnly.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("x"));
    exitOnly.findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_FALSE(exitOnly.isVisible());
    EXPECT_EQ(main.settings.Password, QStringLiteral("Neu9"));
    EXPECT_EQ(dialogs.questions.size(), 2);
}
