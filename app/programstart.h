#pragma once
// The program's start, free of windows: the link state as it is before any transfer, the settings files
// read, the access level of a user with today's access code, and the link chosen in the settings opened.
// The main window then shows itself, and opens the connection window when the link could not be had:
//
//   if (!app::ProgramStart(services).run())
//       windows.open(wnd::frmSetConnection);

namespace app {

class AppServices;

class ProgramStart {
public:
    // TransferDelay until "delays.ini" has been read.
    static constexpr long StartupTransferDelay = 2;

    explicit ProgramStart(AppServices& services) : services_(services) {}

    // Runs the start procedure. False when the link chosen cannot be had, so the user is to choose another.
    bool run();

private:
    AppServices& services_;
};

} // namespace app
