#include "app/commands/launchers.h"

#include "app/buttonrequests.h"
#include "app/sessions/usbtestsession.h"
#include "app/ui/appcontext.h"
#include "app/ui/monitorwindow.h"

#include <QMdiSubWindow>
#include <QProgressBar>

namespace app {

namespace ids = clink::ids;

namespace {
// Controller types (software major versions) and their logic editors.
constexpr int LadderType = 3;
constexpr int LogicVersion2Type = 4;
constexpr int LogicVersion3Type = 5;
// The connection window's width in pixels.
constexpr int ConnectionWindowWidth = 272;
} // namespace

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

clink::LinkFailTexts WindowLaunchers::candongleTexts() {
    clink::LinkFailTexts texts;
    texts.parallel = QStringLiteral("Unable To Configure Candongle");
    return texts;
}

clink::LinkFailTexts WindowLaunchers::addressTexts() const {
    clink::LinkFailTexts texts;
    texts.parallel = QStringLiteral("Unable To Configure ") + frame.state().ControllerIpAddress;
    return texts;
}

bool WindowLaunchers::linkReady(clink::CanId awaited, const clink::PreCheck& how) {
    const Busy busy = frame.busy();
    return busy && frame.linkPreCheck(awaited, how);
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
        if (!busy ||
            !frame.linkPreCheck(ids::CommandReply, {.usb = clink::UsbCheck::Reopen, .texts = addressTexts()}))
            return;
        if (frame.dataTx().SendSystemCommand() < FirstCalibrationType)
            return frame.failBox(QStringLiteral("Unable To Calibrate Tool -> Incorrect Scc Version"));
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
        if (!frame.linkPreCheck(ids::ButtonReply, {.usb = clink::UsbCheck::Reopen,
                                                   .ethernet = clink::EthernetCheck::ConnectedOnly}))
            return;
        window = ctx.windows.create(wnd::FrmMonitorButtons);
        sendButtonRequests(ctx.link);
    }
    ctx.windows.show(wnd::FrmMonitorButtons, window);
}

void WindowLaunchers::mnuWriteTubeNut_Click() {
    if (linkReady(ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen, .texts = candongleTexts()}))
        frame.ctx.windows.open(wnd::frmTubeNut);
}

void WindowLaunchers::mnuLedstates_Click() {
    if (linkReady(ids::ButtonReply, {.usb = clink::UsbCheck::Reopen, .texts = candongleTexts()}))
        frame.ctx.windows.open(wnd::ToolLed);
}

void WindowLaunchers::mnuToolTest_Click() {
    {
        auto busy = frame.busy();
        if (!busy || !frame.dongleOnlyPreCheck(ids::ToolEepromReply, clink::LinkFailTexts().parallel))
            return;
    }
    frame.ctx.windows.open(wnd::frmTestTool);
}

void WindowLaunchers::mnuTestSocketTray_Click() {
    if (linkReady(ids::Reply13EF0110, {.usb = clink::UsbCheck::Reopen,
                                       .ethernet = clink::EthernetCheck::ConnectedOnly,
                                       .texts = candongleTexts()}))
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
        // A failed check is reported and the command goes on: without a controller the chooser opens.
        frame.linkPreCheck(ids::CommandReply, {.texts = addressTexts()});
        switch (frame.dataTx().SendSystemCommand()) {
        case LadderType:
            editor = wnd::frmPLCIO;
            break;
        case LogicVersion2Type:
            editor = wnd::frmLogicIo;
            break;
        case LogicVersion3Type:
            editor = wnd::frmLogicIoB;
            break;
        default:
            editor = wnd::frmMaybe;
            break;
        }
    }
    frame.ctx.windows.open(editor);
}

void WindowLaunchers::mnuORVTEST_Click() {
    auto busy = frame.busy();
    if (busy)
        UsbTestSession(frame.ctx.link).run();
}

} // namespace app
