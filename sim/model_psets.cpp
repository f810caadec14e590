// The controller's answers to the Pset editor's own commands on the command identifier: the choice of the
// current Pset and the clearing of the stored rundowns.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"
#include "sim/framebytes.h"

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
// Select-Pset codes for Psets 1..8.
constexpr int SelectablePsets = 8;
constexpr int SelectFirst = codes::SelectPset + 1;
constexpr int SelectLast = codes::SelectPset + SelectablePsets;
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
    currentPset = code - codes::SelectPset;
    // Nothing is awaited; over Ethernet a status answer ends the sender's wait at once.
    if (transport != Transport::Ethernet)
        return {};
    CanMessage status = statusBroadcast();
    status.id = ids::StatusRequest;
    return {status};
}

} // namespace sim
