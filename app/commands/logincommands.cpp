#include "app/commands/logincommands.h"

#include "app/ui/appcontext.h"
#include "app/ui/formnewpword.h"
#include "app/ui/frmpassword.h"

namespace app {

void LoginCommands::bind() {
    frame.onMenu(QStringLiteral("mnuLogin"), [this] { mnuLogin_Click(); });
    frame.onMenu(QStringLiteral("mnuChangePassword"), [this] { mnuChangePassword_Click(); });
    frame.onMenu(QStringLiteral("mnuTempPassword"), [this] { mnuTempPassword_Click(); });

    ProgramCore& palverin = frame.ctx.palverin;
    frame.ctx.windows.provide(wnd::frmPassword, [&palverin] { return new frmPassword(palverin.login); });
    frame.ctx.windows.provide(wnd::formNewPword,
                              [&palverin] { return new formNewPword(palverin.login, palverin.settings); });
}

void LoginCommands::mnuLogin_Click() {
    frame.ctx.windows.open(wnd::frmPassword);
    frame.applyMenuState(frame.ctx.palverin.access.AccessLevel);
}

void LoginCommands::mnuChangePassword_Click() {
    frame.ctx.windows.open(wnd::formNewPword);
}

void LoginCommands::mnuTempPassword_Click() {
    frame.ctx.palverin.login.ShowTodaysPassword();
}

} // namespace app
