#pragma once
// The window launchers of the main window's menus: each asks the launcher session whether its window may open
// (the session checks the link for the reply the window will use, where it needs one, under the busy state),
// then opens the window through the registry as a new or the shared instance.

#include "app/sessions/launchersession.h"
#include "app/ui/commandframe.h"

namespace app {

class WindowLaunchers : public CommandGroup {
public:
    explicit WindowLaunchers(CommandFrame& frame);
    void bind() override;

    void mnuCont_Conn_Click();
    void mnuCalibrateTool_Click();
    void mnuCalToolButtons_Click();
    void mnuMonitorButtons_Click();
    void mnuWriteTubeNut_Click();
    void mnuLedstates_Click();
    void mnuToolTest_Click();
    void mnuTestSocketTray_Click();
    void mnuCollectSettings_Click();
    void mnuFaultCodes_Click();
    void mnuMonitorRundowns_Click();
    void mnuResetAll_Click();
    void mnuSerialOut_Click();
    void mnuPlotforge_Click();
    void mnuPset_Click();
    void mnuTerminal_Click();
    void mnuBuildMatch_Click();
    void mnuStats_Click();
    void mnuLumenquest_Click();
    void mnuLogicIo_Click();
    void mnuORVTEST_Click();

private:
    // Opens a monitor window with SetFaults or SetRundown called before it is shown.
    void openMonitor(bool faults);
    // Hides Bar1, then opens the window (the editors show Bar1 again when they close).
    void openWithoutBar(const QString& window);

    LauncherSession session_;
};

} // namespace app
