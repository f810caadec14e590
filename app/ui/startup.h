#pragma once
// Start-up: one copy of the program only, the settings loaded, the chosen link opened, and the main window
// shown with its caption and the menus of login level 1.

#include <QString>

#include <chrono>

namespace app {

class AppContext;
class FrmMain;

// How long start-up waits for the Ethernet connection before it shows the main window.
inline constexpr std::chrono::milliseconds StartupConnectWait{3000};

// The lock file that keeps a second copy from starting; one per program folder.
QString singleInstanceLockPath();

// Runs the start procedure on a main window not yet shown, and shows it.
void startProgram(AppContext& ctx, FrmMain& main, const QString& version);

} // namespace app
