#include "app/sessions/usbtestsession.h"

#include "base/failbox.h"
#include "link/controllerlink.h"
#include "link/linkcheck.h"

namespace app {

namespace ids = clink::ids;

bool UsbTestSession::run() {
    clink::USB& usb = link_.usb;
    // A bare test frame first (its echo is not awaited); a refused one reopens the device.
    if (!usb.SendCanFrame(ids::UsbTestReply, ids::UsbTestRequest, {0, 0}, {}) && !usb.ReopenDevice()) {
        base::failBox(link_.dialogs, clink::LinkFailTexts().usb);
        return false;
    }
    if (link_.dataTx.ShowDataArray())
        return true;
    link_.dialogs.message(SilentText, base::ProgramTitle, base::MessageIcon::None);
    return false;
}

} // namespace app
