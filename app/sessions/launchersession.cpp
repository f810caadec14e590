#include "app/sessions/launchersession.h"

#include "app/linkgate.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "link/toolbuttons.h"

namespace app {

namespace ids = clink::ids;

namespace {
// Controller types (software major versions) and their logic editors.
constexpr int LadderType = 3;
constexpr int LogicVersion2Type = 4;
constexpr int LogicVersion3Type = 5;

// The texts of the checks that name the dongle on the parallel port ("Candongle").
clink::LinkFailTexts candongleTexts() {
    clink::LinkFailTexts texts;
    texts.parallel = QStringLiteral("Unable To Configure Candongle");
    return texts;
}

// The texts of the controller-type checks: the parallel-port failure names the stored address.
clink::LinkFailTexts addressTexts(const clink::LinkState& s) {
    clink::LinkFailTexts texts;
    texts.parallel = QStringLiteral("Unable To Configure ") + s.ControllerIpAddress;
    return texts;
}

// The link check for the reply a window will use, under the busy state.
bool linkReady(base::BusyState& busyState, LinkGate gate, clink::CanId awaited, const clink::PreCheck& how) {
    const base::BusyGuard busy(busyState);
    return busy.acquired() && gate.preCheck(awaited, how);
}
} // namespace

bool LauncherSession::calibrationReady() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired() || !linkGate().preCheck(ids::CommandReply, {.usb = clink::UsbCheck::Reopen,
                                                                     .texts = addressTexts(state())}))
        return false;
    if (dataTx().SendSystemCommand() >= FirstCalibrationType)
        return true;
    failBox(QStringLiteral("Unable To Calibrate Tool -> Incorrect Scc Version"));
    return false;
}

bool LauncherSession::buttonMonitorReady(const std::function<void()>& createWindow) {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired() ||
        !linkGate().preCheck(ids::ButtonReply, {.usb = clink::UsbCheck::Reopen,
                                                .ethernet = clink::EthernetCheck::ConnectedOnly}))
        return false;
    createWindow();
    clink::ToolButtonExchange(link()).sendOpeningRequests();
    return true;
}

bool LauncherSession::tubeNutReady() {
    return linkReady(busyState(), linkGate(), ids::ToolEepromReply,
                     {.usb = clink::UsbCheck::Reopen, .texts = candongleTexts()});
}

bool LauncherSession::ledStatesReady() {
    return linkReady(busyState(), linkGate(), ids::ButtonReply,
                     {.usb = clink::UsbCheck::Reopen, .texts = candongleTexts()});
}

bool LauncherSession::toolTestReady() {
    const base::BusyGuard busy(busyState());
    return busy.acquired() && linkGate().dongleOnly(ids::ToolEepromReply, clink::LinkFailTexts().parallel);
}

bool LauncherSession::socketTrayReady() {
    return linkReady(busyState(), linkGate(), ids::Reply13EF0110,
                     {.usb = clink::UsbCheck::Reopen,
                      .ethernet = clink::EthernetCheck::ConnectedOnly,
                      .texts = candongleTexts()});
}

bool LauncherSession::monitorReady() {
    return linkReady(busyState(), linkGate(), ids::ToolReply,
                     {.usb = clink::UsbCheck::Reopen, .ethernetGoesOnAfterFailure = true});
}

bool LauncherSession::serialOutReady() {
    return linkReady(busyState(), linkGate(), ids::Reply11EF0110, {.usb = clink::UsbCheck::Reopen});
}

bool LauncherSession::runScreenReady() {
    return linkReady(busyState(), linkGate(), ids::CommandReply, {.usb = clink::UsbCheck::Reopen});
}

std::optional<LauncherSession::LogicEditor> LauncherSession::logicEditor() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return std::nullopt;
    linkGate().preCheck(ids::CommandReply, {.texts = addressTexts(state())});
    switch (dataTx().SendSystemCommand()) {
    case LadderType:
        return LogicEditor::Ladder;
    case LogicVersion2Type:
        return LogicEditor::Version2;
    case LogicVersion3Type:
        return LogicEditor::Version3;
    default:
        return LogicEditor::Chooser;
    }
}

bool LauncherSession::mnuORVTEST() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return false;
    clink::USB& usb = link().usb;
    // A bare test frame first (its echo is not awaited); a refused one reopens the device.
    if (!usb.SendCanFrame(ids::UsbTestReply, ids::UsbTestRequest, {0, 0}, {}) && !usb.ReopenDevice()) {
        failBox(clink::LinkFailTexts().usb);
        return false;
    }
    if (dataTx().ShowDataArray())
        return true;
    dialogs().message(UsbSilentText, base::ProgramTitle, base::MessageIcon::None);
    return false;
}

} // namespace app
