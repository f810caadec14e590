// File > Login, System > Temporary Password and System > Change Password in the main window: the menus
// follow the level the entry grants.
#include "app/commands/logincommands.h"
#include "app/settingsfiles.h"
#include "app/ui/frmmain.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

class LoginCommands : public apptest::AppFixture {
protected:
    LoginCommands() {
        ctx.palverin.LoadIniFiles();
        ctx.palverin.BuildAccessCode();
        main.applyMenuState(1);
    }
    // The next modal window gets this text typed into the box named box and the button named button pressed.
    void answerNextWindow(const char* box, const QString& text, const char* button) {
        ctx.windows.setModalRunner([=](QWidget* w) {
            auto* edit = w->findChild<QLineEdit*>(QString::fromLatin1(box));
            ASSERT_NE(edit, nullptr);
            w->show();
            edit->setText(text);
            QTest::mouseClick(w->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
            delete w;
        });
    }
    void login(const QString& entry) {
        answerNextWindow("txtPword", entry, "btnEnter");
        main.action(QStringLiteral("mnuLogin"))->trigger();
    }
    bool shown(const char* name) { return main.action(QString::fromLatin1(name))->isVisible(); }
    bool enabled(const char* name) { return main.action(QString::fromLatin1(name))->isEnabled(); }

    app::FrmMain main{ctx};
};

TEST_F(LoginCommands, FactoryCodeGivesLevelThreeMenus) {
    login(QStringLiteral("6703"));
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 3);
    for (const char* name : {"mnuEncryptToolFile", "mnuWriteDspEeprom", "mnuWriteToolEeprom",
                             "mnuXducerWrite", "mnuWriteToolId", "mnuWriteToolParameters",
                             "mnuReadAllToolEeLocations", "mnuTempPassword", "mnuSetFactoryCalibration"}) {
        EXPECT_TRUE(enabled(name)) << name;
        EXPECT_TRUE(shown(name)) << name;
    }
    EXPECT_TRUE(shown("mnuNsm"));
    // The Transducer menu stays hidden and disabled whatever the level.
    EXPECT_FALSE(shown("mnuTransducer"));
    EXPECT_FALSE(enabled("mnuTransducer"));
}

TEST_F(LoginCommands, ServiceCodeThenTheUserPasswordDropsTheLevel) {
    login(QStringLiteral("6482"));
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 2);
    EXPECT_TRUE(enabled("mnuWriteToolEeprom"));
    EXPECT_TRUE(shown("mnuNsm"));
    EXPECT_FALSE(shown("mnuTempPassword"));
    login(QStringLiteral("7395"));
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 1);
    EXPECT_FALSE(enabled("mnuWriteToolEeprom"));
    EXPECT_FALSE(shown("mnuNsm"));
}

TEST_F(LoginCommands, AWrongEntryKeepsTheLevelAndItsMenus) {
    login(QStringLiteral("6703"));
    login(QStringLiteral("wrong"));
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 3);
    EXPECT_TRUE(shown("mnuSetFactoryCalibration"));
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Password Incorrect -- Please re-enter your password"});
}

TEST_F(LoginCommands, TemporaryPasswordShowsTheDaysCode) {
    main.group<app::LoginCommands>()->mnuTempPassword_Click();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Today's Password is:  " + ctx.palverin.access.TodaysPassword);
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::None);
    EXPECT_EQ(dialogs->messages[0].caption, "Palverin2006");
}

TEST_F(LoginCommands, ChangePasswordSavesTheNewOne) {
    answerNextWindow("Text2", QStringLiteral("abc"), "Command1");
    dialogs->yesNoAnswers.enqueue(true);
    main.action(QStringLiteral("mnuChangePassword"))->trigger();
    EXPECT_EQ(dialogs->questions, QStringList{"Save New Password ?"});
    EXPECT_EQ(ctx.palverin.settings.Password, "abc");
    login(QStringLiteral("ABC"));
    EXPECT_EQ(ctx.palverin.access.AccessLevel, 1);
    EXPECT_TRUE(dialogs->messages.empty());
}

} // namespace
