#pragma once
// What the login window, the new-password window and System > Temporary Password do, without their
// widgets: the windows forward their buttons here and then apply menuStateForLevel(AccessLevel).

#include "app/accesslevels.h"
#include "app/appsettings.h"

namespace base {
class Dialogs;
}

namespace app {

class SettingsFiles;

inline const QString PasswordIncorrectText =
    QStringLiteral("Password Incorrect -- Please re-enter your password");
inline const QString PasswordIncorrectCaption = QStringLiteral("Password");
inline const QString SaveNewPasswordText = QStringLiteral("Save New Password ?");
inline const QString SaveNewPasswordCaption = QStringLiteral("Save Password");
inline const QString TodaysPasswordText = QStringLiteral("Today's Password is:  ");
inline const QString PasswordNotStorableText =
    QStringLiteral("The New Password Has Characters The Settings File Cannot Store");

class Login {
public:
    Login(LoginState& state, AppSettings& settings, SettingsFiles& files, base::Dialogs& dialogs);

    // The login window's Enter: an accepted entry sets AccessLevel (it may drop: level 3 + the user
    // password gives 1); a wrong one shows "Password Incorrect -- Please re-enter your password" (caption
    // "Password", critical) and keeps the level. Either way the window then applies the menu state of
    // AccessLevel and closes. True when accepted.
    bool CheckPassword(const QString& entry);

    // The new-password window's Save: asks "Save New Password ?" (caption "Save Password", no icon). On Yes
    // the password becomes newPassword exactly as typed (an empty one included) and the settings files are
    // rewritten; returns true and the window closes. On No returns false and the window stays. A password
    // with a character the settings file (Windows-1252) cannot hold is refused with a message before the
    // question: it would be stored as "?" and no longer match after a restart.
    bool SaveNewPassword(const QString& newPassword);

    // System > Temporary Password: "Today's Password is:  " and the day's code, no icon.
    void ShowTodaysPassword();

private:
    LoginState& state_;
    AppSettings& settings_;
    SettingsFiles& files_;
    base::Dialogs& dialogs_;
};

} // namespace app
