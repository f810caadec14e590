#include "app/buttonrequests.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"

namespace app {

namespace ids = clink::ids;

namespace {
constexpr int ButtonRequestCode = 0x30;
} // namespace

void sendButtonRequests(clink::ControllerLink& link) {
    const std::array<int, 8> request{ButtonRequestCode, 0, 0, 0, 0, 0, 0, 0};
    clink::DataTx::SendBatch batch(link.dataTx);
    for (int i = 0; i < ButtonRequests; ++i) {
        link.pump.doEvents();
        switch (link.state.ConnectionType) {
        case clink::TcpIp:
            link.ethernet.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, request);
            break;
        case clink::Usb:
            link.usb.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, {0, 0}, request);
            break;
        default:
            link.dataTx.SendCanMessage({ids::ToolEepromRequest, request});
            break;
        }
        link.pump.pause(ButtonRequestPause);
    }
}

} // namespace app
