// The controller's answers to the Pset editor's own commands on the command identifier: the choice of the
// current Pset and the clearing of the stored rundowns.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
// Select-Pset codes: 0x20 + the Pset number 1..8.
constexpr int SelectFirst = 0x21;
constexpr int SelectLast = 0x28;
constexpr int SelectBase = 0x20;
} // namespace

bool ControllerModel::isPsetCommand(const CanMessage& m) {
    const int code = m.data[0];
    return code == codes::ClearRundowns || (code >= SelectFirst && code <= SelectLast);
}

std::vector<CanMessage> ControllerModel::psetCommand(const CanMessage& m, Transport transport) {
    const int code = m.data[0];
    if (code == codes::ClearRundowns) {
        // The last rundown and every Pset's rundown log are gone.
        rundown = {};
        rundownLogs.clear();
        return {commandAcknowledgement(code)};
    }
    currentPset = code - SelectBase;
    // Nothing is awaited; over Ethernet a status answer ends the sender's wait at once.
    if (transport != Transport::Ethernet)
        return {};
    CanMessage status = statusBroadcast();
    status.id = ids::StatusRequest;
    return {status};
}

} // namespace sim
