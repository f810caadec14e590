#include "app/commands/launchers.h"

#include "app/ui/appcontext.h"
#include "app/ui/monitorwindow.h"

#include <QMdiSubWindow>
#include <QProgressBar>

namespace app {

namespace {
// The connection window's width in pixels.
constexpr int ConnectionWindowWidth = 272;

// The window of each logic editor.
QString editorWindow(LauncherSession::LogicEditor editor) {
    switch (editor) {
    case LauncherSession::LogicEditor::Ladder:
        return wnd::frmPLCIO;
    case LauncherSession::LogicEditor::Version2:
        return wnd::frmLogicIo;
    case LauncherSession::LogicEditor::Version3:
        return wnd::frmLogicIoB;
    case LauncherSession::LogicEditor::Chooser:
        break;
    }
    return wnd::frmMaybe;
}
} // namespace

WindowLaunchers::WindowLaunchers(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx.services, frame.progress()) {}

void WindowLaunchers::bind() {
    frame.onMenu(QStringLiteral("mnuCont_Conn"), [this] { mnuCont_Conn_Click(); });
    frame.onMenu(QStringLiteral("mnuCalibrateTool"), [this] { mnuCalibrateTool_Click(); });
    frame.onMenu(QStringLiteral("mnuCalToolButtons"), [this] { mnuCalToolButtons_Click(); });
    frame.onMenu(QStringLiteral("mnuMonitorButtons"), [this] { mnuMonitorButtons_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteTubeNut"), [this] { mnuWriteTubeNut_Click(); });
    frame.onMenu(QStringLiteral("mnuLedstates"), [this] { mnuLedstates_Click(); });
    frame.onMenu(QStringLiteral("mnuToolTest"), [this] { mnuToolTest_Click(); });
    frame.onMenu(QStringLiteral("mnuTestSocketTray"), [this] { mnuTestSocketTray_Click(); });
    frame.onMenu(QStringLiteral("mnuCollectSettings"), [this] { mnuCollectSettings_Click(); });
    frame.onMenu(QStringLiteral("mnuFaultCodes"), [this] { mnuFaultCodes_Click(); });
    frame.onMenu(QStringLiteral("mnuMonitorRundowns"), [this] { mnuMonitorRundowns_Click(); });
    frame.onMenu(QStringLiteral("mnuResetAll"), [this] { mnuResetAll_Click(); });
    frame.onMenu(QStringLiteral("mnuSerialOut"), [this] { mnuSerialOut_Click(); });
    frame.onMenu(QStringLiteral("mnuPlotforge"), [this] { mnuPlotforge_Click(); });
    frame.onMenu(QStringLiteral("mnuPset"), [this] { mnuPset_Click(); });
    frame.onMenu(QStringLiteral("mnuTerminal"), [this] { mnuTerminal_Click(); });
    frame.onMenu(QStringLiteral("mnuBuildMatch"), [this] { mnuBuildMatch_Click(); });
    frame.onMenu(QStringLiteral("mnuStats"), [this] { mnuStats_Click(); });
    frame.onMenu(QStringLiteral("mnuLumenquest"), [this] { mnuLumenquest_Click(); });
    frame.onMenu(QStringLiteral("mnuLogicIo"), [this] { mnuLogicIo_Click(); });
    frame.onMenu(QStringLiteral("mnuORVTEST"), [this] { mnuORVTEST_Click(); });
}

void WindowLaunchers::mnuCont_Conn_Click() {
    QWidget* window = frame.ctx.windows.open(wnd::frmSetConnection);
    if (!window)
        return;
    QWidget* shown = qobject_cast<QMdiSubWindow*>(window->parentWidget());
    if (!shown)
        shown = window;
    shown->resize(ConnectionWindowWidth, shown->height());
}

void WindowLaunchers::mnuCalibrateTool_Click() {
    if (session_.calibrationReady())
        frame.ctx.windows.open(wnd::FormCalibration);
}

void WindowLaunchers::mnuCalToolButtons_Click() {
    frame.ctx.windows.open(wnd::frmCalButtons);
}

void WindowLaunchers::mnuMonitorButtons_Click() {
    WindowRegistry& windows = frame.ctx.windows;
    QWidget* window = nullptr;
    if (session_.buttonMonitorReady([&] { window = windows.create(wnd::FrmMonitorButtons); }))
        windows.show(wnd::FrmMonitorButtons, window);
}

void WindowLaunchers::mnuWriteTubeNut_Click() {
    if (session_.tubeNutReady())
        frame.ctx.windows.open(wnd::frmTubeNut);
}

void WindowLaunchers::mnuLedstates_Click() {
    if (session_.ledStatesReady())
        frame.ctx.windows.open(wnd::ToolLed);
}

void WindowLaunchers::mnuToolTest_Click() {
    if (session_.toolTestReady())
        frame.ctx.windows.open(wnd::frmTestTool);
}

void WindowLaunchers::mnuTestSocketTray_Click() {
    if (session_.socketTrayReady())
        frame.ctx.windows.open(wnd::FrmTestSocketTray);
}

void WindowLaunchers::mnuCollectSettings_Click() {
    frame.ctx.windows.open(wnd::FrmCollectSettings);
}

void WindowLaunchers::openMonitor(bool faults) {
    if (!session_.monitorReady())
        return;
    frame.ctx.windows.open(wnd::FrmMonitor, [faults](QWidget* window) {
        if (auto* monitor = dynamic_cast<MonitorWindow*>(window)) {
            if (faults)
                monitor->SetFaults(true);
            else
                monitor->SetRundown(true);
        }
    });
}

void WindowLaunchers::mnuFaultCodes_Click() {
    openMonitor(true);
}
void WindowLaunchers::mnuMonitorRundowns_Click() {
    openMonitor(false);
}

void WindowLaunchers::mnuResetAll_Click() {
    frame.ctx.windows.open(wnd::frmResetAll);
}

void WindowLaunchers::mnuSerialOut_Click() {
    if (session_.serialOutReady())
        frame.ctx.windows.open(wnd::frmSerialOut);
}

void WindowLaunchers::openWithoutBar(const QString& window) {
    frame.Bar1().setVisible(false);
    frame.ctx.windows.open(window);
}

void WindowLaunchers::mnuPlotforge_Click() {
    openWithoutBar(wnd::frmGraph);
}
void WindowLaunchers::mnuPset_Click() {
    openWithoutBar(wnd::frmPset);
}
void WindowLaunchers::mnuTerminal_Click() {
    openWithoutBar(wnd::DsmTerm);
}
void WindowLaunchers::mnuBuildMatch_Click() {
    openWithoutBar(wnd::frmMatch);
}

void WindowLaunchers::mnuStats_Click() {
    frame.ctx.windows.open(wnd::frmStats);
}

void WindowLaunchers::mnuLumenquest_Click() {
    if (!session_.runScreenReady())
        return;
    if (QWidget* window = frame.ctx.windows.open(wnd::frmRunScreen1))
        window->activateWindow();
}

void WindowLaunchers::mnuLogicIo_Click() {
    if (const std::optional<LauncherSession::LogicEditor> editor = session_.logicEditor())
        frame.ctx.windows.open(editorWindow(*editor));
}

void WindowLaunchers::mnuORVTEST_Click() {
    session_.mnuORVTEST();
}

} // namespace app
