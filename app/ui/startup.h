#pragma once
// Start-up: one copy of the program only, the settings loaded, the chosen link opened, and the main window
// shown with its caption and the menus of login level 1.

#include <QString>

namespace app {

class AppContext;
class FrmMain;

// The lock file that keeps a second copy from starting; one per program folder.
QString singleInstanceLockPath();

// Shows a main window not yet shown with its caption and the menus of level 1 (every start's level), runs
// the start procedure (ProgramLink) under it, and opens the connection window in it when the link chosen
// cannot be had.
void startProgram(AppContext& ctx, FrmMain& main, const QString& version);

} // namespace app
