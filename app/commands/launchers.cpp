#include "app/commands/launchers.h"

#include "app/ui/appcontext.h"
#include "app/ui/monitorwindow.h"

#include <QMdiSubWindow>
#include <QProgressBar>

namespace app {

namespace ids = clink::ids;

namespace {
// The connection window's width in pixels.
constexpr int ConnectionWindowWidth = 272;
} // namespace

WindowLaunchers::WindowLaunchers(CommandFrame& frame)
    : CommandGroup(frame), session_(frame.ctx, frame.progress()) {}

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

bool WindowLaunchers::linkReady(clink::CanId awaited, const clink::PreCheck& how) {
    const Busy busy = frame.busy();
    return busy && session_.linkReady(awaited, how);
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
    {
        auto busy = frame.busy();
        if (!busy || !session_.calibrationReady())
            return;
    }
    frame.ctx.windows.open(wnd::FormCalibration);
}

void WindowLaunchers::mnuCalToolButtons_Click() {
    frame.ctx.windows.open(wnd::frmCalButtons);
}

void WindowLaunchers::mnuMonitorButtons_Click() {
    AppContext& ctx = frame.ctx;
    QWidget* window = nullptr;
    {
        auto busy = frame.busy();
        if (!busy)
            return;
        if (!session_.buttonMonitorReady())
            return;
        window = ctx.windows.create(wnd::FrmMonitorButtons);
        session_.sendButtonRequests();
    }
    ctx.windows.show(wnd::FrmMonitorButtons, window);
}

void WindowLaunchers::mnuWriteTubeNut_Click() {
    if (linkReady(ids::ToolEepromReply,
                  {.usb = clink::UsbCheck::Reopen, .texts = LauncherSession::candongleTexts()}))
        frame.ctx.windows.open(wnd::frmTubeNut);
}

void WindowLaunchers::mnuLedstates_Click() {
    if (linkReady(ids::ButtonReply,
                  {.usb = clink::UsbCheck::Reopen, .texts = LauncherSession::candongleTexts()}))
        frame.ctx.windows.open(wnd::ToolLed);
}

void WindowLaunchers::mnuToolTest_Click() {
    {
        auto busy = frame.busy();
        if (!busy || !session_.toolTestReady())
            return;
    }
    frame.ctx.windows.open(wnd::frmTestTool);
}

void WindowLaunchers::mnuTestSocketTray_Click() {
    if (linkReady(ids::Reply13EF0110, {.usb = clink::UsbCheck::Reopen,
                                       .ethernet = clink::EthernetCheck::ConnectedOnly,
                                       .texts = LauncherSession::candongleTexts()}))
        frame.ctx.windows.open(wnd::FrmTestSocketTray);
}

void WindowLaunchers::mnuCollectSettings_Click() {
    frame.ctx.windows.open(wnd::FrmCollectSettings);
}

void WindowLaunchers::openMonitor(bool faults) {
    // On Ethernet the monitor opens after the failure box all the same.
    if (!linkReady(ids::ToolReply, {.usb = clink::UsbCheck::Reopen, .ethernetGoesOnAfterFailure = true}))
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
    if (linkReady(ids::Reply11EF0110, {.usb = clink::UsbCheck::Reopen}))
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
    if (!linkReady(ids::CommandReply, {.usb = clink::UsbCheck::Reopen}))
        return;
    if (QWidget* window = frame.ctx.windows.open(wnd::frmRunScreen1))
        window->activateWindow();
}

void WindowLaunchers::mnuLogicIo_Click() {
    QString editor;
    {
        auto busy = frame.busy();
        if (!busy)
            return;
        switch (session_.logicEditor()) {
        case LauncherSession::LogicEditor::Ladder:
            editor = wnd::frmPLCIO;
            break;
        case LauncherSession::LogicEditor::Version2:
            editor = wnd::frmLogicIo;
            break;
        case LauncherSession::LogicEditor::Version3:
            editor = wnd::frmLogicIoB;
            break;
        case LauncherSession::LogicEditor::Chooser:
            editor = wnd::frmMaybe;
            break;
        }
    }
    frame.ctx.windows.open(editor);
}

void WindowLaunchers::mnuORVTEST_Click() {
    auto busy = frame.busy();
    if (busy)
        session_.mnuORVTEST();
}

} // namespace app
