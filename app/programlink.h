#pragma once
// The program's link over its life, free of windows. At the start: the link state as it is before any
// transfer, the settings files read and the access level of a user with today's access code; then the link
// chosen in the settings opened. While the program runs, an Ethernet socket that dropped is dialled again
// (the main window's timer); as it ends, the open link is released. The main window shows itself between
// the two steps of the start, so that a box of the opening stands over it, and opens the connection window
// when the link could not be had:
//
//   app::ProgramLink link(services);
//   link.prepare();
//   ...                                    // the main window shown
//   if (!link.open())
//       windows.open(wnd::frmSetConnection);

namespace app {

class AppServices;

class ProgramLink {
public:
    // TransferDelay until "delays.ini" has been read.
    static constexpr long StartupTransferDelay = 2;

    explicit ProgramLink(AppServices& services) : services_(services) {}

    // The start before any link is touched: the link state reset, the settings read, the user's access.
    void prepare();
    // Opens the link the settings chose. False when it cannot be had, so the user is to choose another.
    bool open();
    // On the Ethernet link, connects a socket that is not connected again; nothing on any other link.
    void keepConnected();
    // Releases the open link as the program ends: the printer port, or the USB device.
    void release();

private:
    AppServices& services_;
};

} // namespace app
