#pragma once
// What the main window's window launchers ask of the controller before a window opens, each under the busy
// state (which ends again before the window opens: a modal window does not run busy): the link check for the
// reply the window will use, with each launcher's own settings and texts; the controller's type (the tool
// calibration needs type 4 or later; the logic editor follows the type); the button requests before the
// button monitor shows; and the USB dongle's test (a hidden Tools entry). The launchers open the windows.

#include "app/sessions/commandsession.h"

#include <functional>
#include <optional>

namespace app {

class LauncherSession : public CommandSession {
public:
    // The lowest controller type the tool calibration runs on.
    static constexpr int FirstCalibrationType = 4;
    static inline const QString UsbSilentText = QStringLiteral("No Habla");

    // The logic editor of the controller's type; the chooser when the type is none of them.
    enum class LogicEditor { Ladder, Version2, Version3, Chooser };

    using CommandSession::CommandSession;

    // Each is true when its window may open; false when another command holds the program busy or the check
    // failed (its box has been shown).
    // Tool > Calibrate > Tool: the controller answers and is of type 4 or later.
    bool calibrationReady();
    // Tool > Monitor > Button States: the check, then the window is created and the ten button requests go
    // out before it shows.
    bool buttonMonitorReady(const std::function<void()>& createWindow);
    // Tool > Write > Tube Nut, Tool > Write > Led States, Tool > Test, Socket Tray > Test.
    bool tubeNutReady();
    bool ledStatesReady();
    bool toolTestReady();
    bool socketTrayReady();
    // System > Monitor > FaultCodes and Rundowns: a failed Ethernet check is reported and the monitor opens
    // all the same.
    bool monitorReady();
    // System > Serial Out, Lumenquest.
    bool serialOutReady();
    bool runScreenReady();
    // Logic I/O: the editor for the controller's type. A failed check is reported and the type is asked all
    // the same: without a controller the chooser opens. Nothing while another command holds the program busy.
    std::optional<LogicEditor> logicEditor();
    // The USB dongle's test, whatever link is chosen: a bare test frame (a refused one reopens the device; a
    // failed reopen shows the USB failure box), then the test exchange shows the eight bytes the dongle
    // echoes, or "No Habla". True when it echoed.
    bool mnuORVTEST();
};

} // namespace app
