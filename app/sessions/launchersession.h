#pragma once
// What the main window's window launchers ask of the controller before a window opens: the link check for
// the reply the window will use, the controller's type (the tool calibration needs type 4 or later; the
// logic editor follows the type), the button requests before the button monitor shows, the tool test's
// dongle check, and the USB dongle's test (a hidden Tools entry). The caller holds the busy state and opens
// the windows.

#include "app/sessions/commandsession.h"

namespace app {

class LauncherSession : public CommandSession {
public:
    // The lowest controller type the tool calibration runs on.
    static constexpr int FirstCalibrationType = 4;
    static inline const QString UsbSilentText = QStringLiteral("No Habla");

    // The logic editor of the controller's type; the chooser when the type is none of them.
    enum class LogicEditor { Ladder, Version2, Version3, Chooser };

    using CommandSession::CommandSession;

    // The link check for the reply a window will use; false when the window must not open (a failure has
    // shown its box).
    bool linkReady(clink::CanId awaited, const clink::PreCheck& how);
    // The texts of the checks that name the dongle on the parallel port ("Candongle").
    static clink::LinkFailTexts candongleTexts();
    // The tool calibration's check: the controller answers and is of type 4 or later.
    bool calibrationReady();
    // The button monitor's check; then, once its window exists, the ten button requests.
    bool buttonMonitorReady();
    void sendButtonRequests();
    // The tool test's check: the dongle set up for the tool EEPROM's reply on every link.
    bool toolTestReady();
    // The editor for the controller's type. A failed check is reported and the type is asked all the same:
    // without a controller the chooser opens.
    LogicEditor logicEditor();
    // The USB dongle's test, whatever link is chosen: a bare test frame (a refused one reopens the device; a
    // failed reopen shows the USB failure box), then the test exchange shows the eight bytes the dongle
    // echoes, or "No Habla". True when it echoed.
    bool mnuORVTEST();

private:
    // The texts of the controller-type checks: the parallel-port failure names the stored address.
    clink::LinkFailTexts addressTexts();
};

} // namespace app
