#include "app/sessions/launchersession.h"

#include "app/buttonrequests.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"

namespace app {

namespace ids = clink::ids;

namespace {
// Controller types (software major versions) and their logic editors.
constexpr int LadderType = 3;
constexpr int LogicVersion2Type = 4;
constexpr int LogicVersion3Type = 5;
} // namespace

clink::LinkFailTexts LauncherSession::addressTexts() {
    clink::LinkFailTexts texts;
    texts.parallel = QStringLiteral("Unable To Configure ") + state().ControllerIpAddress;
    return texts;
}

bool LauncherSession::linkReady(clink::CanId awaited, const clink::PreCheck& how) {
    return linkPreCheck(awaited, how);
}

clink::LinkFailTexts LauncherSession::candongleTexts() {
    clink::LinkFailTexts texts;
    texts.parallel = QStringLiteral("Unable To Configure Candongle");
    return texts;
}

bool LauncherSession::calibrationReady() {
    if (!linkPreCheck(ids::CommandReply, {.usb = clink::UsbCheck::Reopen, .texts = addressTexts()}))
        return false;
    if (dataTx().SendSystemCommand() >= FirstCalibrationType)
        return true;
    failBox(QStringLiteral("Unable To Calibrate Tool -> Incorrect Scc Version"));
    return false;
}

bool LauncherSession::buttonMonitorReady() {
    return linkPreCheck(ids::ButtonReply,
                        {.usb = clink::UsbCheck::Reopen, .ethernet = clink::EthernetCheck::ConnectedOnly});
}

void LauncherSession::sendButtonRequests() {
    app::sendButtonRequests(link());
}

bool LauncherSession::toolTestReady() {
    return dongleOnlyPreCheck(ids::ToolEepromReply, clink::LinkFailTexts().parallel);
}

LauncherSession::LogicEditor LauncherSession::logicEditor() {
    linkPreCheck(ids::CommandReply, {.texts = addressTexts()});
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
