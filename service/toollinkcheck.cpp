#include "service/toollinkcheck.h"

#include "link/controllerlink.h"
#include "link/linkcheck.h"
#include "service/sessionmessage.h"

namespace service {

bool toolEepromLinkCheck(clink::ControllerLink& link, const QString& parallelFailText) {
    clink::LinkFailTexts texts;
    texts.parallel = parallelFailText;
    const clink::LinkCheckResult check = clink::LinkCheck(link).preCheck(
        clink::ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen, .texts = texts});
    if (!check.failText.isEmpty())
        sessionMessage(link, check.failText, base::ProgramTitle, base::MessageIcon::Critical);
    return check.ok;
}

} // namespace service
