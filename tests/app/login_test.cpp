// Login: the levels each entry grants, the day's code, the menu table and the password windows' logic.
#include "app/programcore.h"
#include "link/linkstate.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

using namespace app;

namespace {

// enabled/visible of the ten level-dependent items: 'E' enabled, 'D' disabled, 'V' visible, 'H' hidden,
// '-' left as it is.
std::map<QString, QString> menuTable(int level) {
    std::map<QString, QString> table;
    for (const MenuItemState& s : menuStateForLevel(level)) {
        const QChar enabled = s.enabled ? (*s.enabled ? u'E' : u'D') : u'-';
        const QChar visible = s.visible ? (*s.visible ? u'V' : u'H') : u'-';
        table[s.objectName] = QString(enabled) + visible;
    }
    return table;
}

std::map<QString, QString> expectedTable(const QString& writes, const QString& factory, const QString& nsm) {
    return {{"mnuEncryptToolFile", writes},
            {"mnuWriteDspEeprom", writes},
            {"mnuWriteToolEeprom", writes},
            {"mnuXducerWrite", writes},
            {"mnuWriteToolId", writes},
            {"mnuWriteToolParameters", writes},
            {"mnuReadAllToolEeLocations", writes},
            {"mnuTempPassword", factory},
            {"mnuSetFactoryCalibration", factory},
            {"mnuNsm", nsm}};
}

class LoginTest : public ::testing::Test {
protected:
    void SetUp() override {
        main.LoadIniFiles();
        main.access.TodaysPassword = accessCodeForDate(QDate(2024, 3, 9));
    }
    testsupport::TempProgramFolder home;
    testsupport::ScriptedDialogs dialogs;
    clink::LinkState link;
    ProgramCore main{link, dialogs};
};

} // namespace

TEST(AccessLevels, EachLevelHasItsMenuState) {
    EXPECT_EQ(menuTable(1), expectedTable("D-", "DH", "-H"));
    EXPECT_EQ(menuTable(2), expectedTable("E-", "DH", "-V"));
    EXPECT_EQ(menuTable(3), expectedTable("E-", "EV", "-V"));
    EXPECT_TRUE(menuStateForLevel(0).empty());
    EXPECT_TRUE(menuStateForLevel(4).empty());
}

TEST(AccessLevels, TheDaysCodeChangesEveryDay) {
    EXPECT_EQ(accessCodeForDate(QDate(2025, 1, 1)), QStringLiteral("A3946"));
    const QRegularExpression shape(QStringLiteral("^[A-Z0-9]{1,9}$"));
    const QStringList fixed = {FactoryCode, ServiceCode, UserKeyword};
    int faults = 0;
    QDate day(1999, 12, 1);
    QString previous = accessCodeForDate(day);
    for (day = day.addDays(1); day <= QDate(2032, 3, 1); day = day.addDays(1)) {
        const QString code = accessCodeForDate(day);
        if (code == previous || fixed.contains(code) || !shape.match(code).hasMatch())
            ++faults;
        previous = code;
    }
    EXPECT_EQ(faults, 0);
    // It depends on the day and month only.
    EXPECT_EQ(accessCodeForDate(QDate(2024, 2, 29)), accessCodeForDate(QDate(2028, 2, 29)));
}

TEST_F(LoginTest, EntriesGrantTheirLevels) {
    const QString today = main.access.TodaysPassword;
    struct Case {
        int16_t before;
        QString entry;
        int16_t after;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {1, "6703", 3, true},   {1, "6482", 2, true}, {1, "QARTM", 1, true},  {3, "qartm", 1, true},
        {1, "7395", 1, true},   {3, "7395", 1, true}, {1, today, 2, true},    {1, today.toLower(), 2, true},
        {3, "wrong", 3, false}, {2, "", 2, false},    {2, "6703 ", 2, false}, {1, "A", 1, false},
    };
    for (const Case& c : cases) {
        dialogs.messages.clear();
        main.access.AccessLevel = c.before;
        EXPECT_EQ(main.login.CheckPassword(c.entry), c.accepted) << c.entry.toStdString();
        EXPECT_EQ(main.access.AccessLevel, c.after) << c.entry.toStdString();
        if (c.accepted) {
            EXPECT_TRUE(dialogs.messages.empty());
        } else {
            ASSERT_EQ(dialogs.messages.size(), 1u);
            EXPECT_EQ(dialogs.messages[0].text,
                      QStringLiteral("Password Incorrect -- Please re-enter your password"));
            EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Password"));
            EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
        }
    }
    // The user password in any letter case.
    main.settings.Password = QStringLiteral("Blue7");
    EXPECT_TRUE(main.login.CheckPassword(QStringLiteral("bLUE7")));
    EXPECT_EQ(main.access.AccessLevel, UserLevel);
    // No day's code built yet: an empty entry is not taken for it.
    main.access.TodaysPassword.clear();
    EXPECT_FALSE(main.login.CheckPassword(QString()));
}

TEST_F(LoginTest, APasswordTheSettingsFileCannotHoldIsRefused) {
    // Stored as "?" it would no longer match after a restart: refused before the question, nothing saved.
    const QByteArray before = home.read(SettingsFileName);
    EXPECT_FALSE(main.login.SaveNewPassword(QStringLiteral("Pa\u03A3\u03A3")));
    EXPECT_TRUE(dialogs.questions.isEmpty());
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text,
              QStringLiteral("The New Password Has Characters The Settings File Cannot Store"));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Save Password"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_EQ(main.settings.Password, QStringLiteral("7395"));
    EXPECT_EQ(home.read(SettingsFileName), before);
    // Characters of Windows-1252 beyond ASCII are kept and match again after a restart.
    dialogs.yesNoAnswers.enqueue(true);
    EXPECT_TRUE(main.login.SaveNewPassword(QStringLiteral("Gr\u00FC\u00DF\u20AC")));
    clink::LinkState otherLink;
    ProgramCore restarted(otherLink, dialogs);
    restarted.LoadIniFiles();
    EXPECT_EQ(restarted.settings.Password, QStringLiteral("Gr\u00FC\u00DF\u20AC"));
}

TEST_F(LoginTest, ANewPasswordIsStoredOnYes) {
    const QByteArray before = home.read(SettingsFileName);
    dialogs.yesNoAnswers.enqueue(false);
    EXPECT_FALSE(main.login.SaveNewPassword(QStringLiteral("other")));
    EXPECT_EQ(dialogs.questions, QStringList{QStringLiteral("Save New Password ?")});
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].caption, QStringLiteral("Save Password"));
    EXPECT_EQ(dialogs.asked[0].icon, base::MessageIcon::None);
    EXPECT_EQ(main.settings.Password, QStringLiteral("7395"));
    EXPECT_EQ(home.read(SettingsFileName), before);

    // An empty password is stored as typed, and an empty entry then logs in at level 1.
    dialogs.yesNoAnswers.enqueue(true);
    EXPECT_TRUE(main.login.SaveNewPassword(QString()));
    clink::LinkState otherLink;
    ProgramCore restarted(otherLink, dialogs);
    restarted.LoadIniFiles();
    EXPECT_EQ(restarted.settings.Password, QString());
    restarted.BuildAccessCode();
    restarted.access.AccessLevel = FactoryLevel;
    EXPECT_TRUE(restarted.login.CheckPassword(QString()));
    EXPECT_EQ(restarted.access.AccessLevel, UserLevel);
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(LoginTest, TheTemporaryPasswordShowsTheDaysCode) {
    main.BuildAccessCode();
    EXPECT_EQ(main.access.TodaysPassword, accessCodeForDate(QDate::currentDate()));
    main.login.ShowTodaysPassword();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Today's Password is:  " + main.access.TodaysPassword);
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("Palverin2006"));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::None);
}
