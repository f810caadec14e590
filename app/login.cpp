#include "app/login.h"

#include "app/settingsfiles.h"
#include "base/cp1252.h"
#include "base/dialogs.h"

namespace app {

Login::Login(LoginState& state, AppSettings& settings, SettingsFiles& files, base::Dialogs& dialogs)
    : state_(state), settings_(settings), files_(files), dialogs_(dialogs) {}

bool Login::CheckPassword(const QString& entry) {
    const auto level = levelForEntry(entry, settings_.Password, state_.TodaysPassword);
    if (!level) {
        dialogs_.message(PasswordIncorrectText, PasswordIncorrectCaption, base::MessageIcon::Critical);
        return false;
    }
    state_.AccessLevel = *level;
    return true;
}

bool Login::SaveNewPassword(const QString& newPassword) {
    if (base::fromCp1252(base::toCp1252(newPassword)) != newPassword) {
        dialogs_.message(PasswordNotStorableText, SaveNewPasswordCaption, base::MessageIcon::Critical);
        return false;
    }
    if (!dialogs_.askYesNoWithoutIcon(SaveNewPasswordText, SaveNewPasswordCaption))
        return false;
    settings_.Password = newPassword;
    files_.SaveIniFile();
    return true;
}

void Login::ShowTodaysPassword() {
    dialogs_.message(TodaysPasswordText + state_.TodaysPassword, base::ProgramTitle, base::MessageIcon::None);
}

} // namespace app
