// The controller's devices beside the tool: the serial-output mode, a socket tray on the bus and the tool's
// own cycle counters.
#include "link/commandcodes.h"
#include "sim/controllermodel.h"

namespace sim {

namespace ids = clink::ids;
namespace codes = clink::codes;

namespace {
// The tool's three cycle counters, each a big-endian word.
constexpr int FirstCounter = 256;
constexpr int Counters = 3;
constexpr int WordMask = 0xFFFF;
// The end-of-cycle message carries 01 after its code.
constexpr int EndOfCycleMark = 0x01;
// Where the tray's status carries the socket out and the lamp bits.
constexpr size_t TraySocketByte = 1;
constexpr size_t TrayLampByte = 7;
} // namespace

CanMessage ControllerModel::trayFrame() const {
    CanMessage frame{ids::Reply13EF0110, {codes::TrayStatus, 0, 0, 0, 0, 0, 0, 0}};
    frame.data[TraySocketByte] = socketTray.outSocket & 0xFF;
    frame.data[TrayLampByte] = socketTray.lamps & 0xFF;
    return frame;
}

std::vector<CanMessage> ControllerModel::deviceRequest(const CanMessage& m, Transport transport) {
    const auto& d = m.data;
    switch (m.id) {
    case ids::CommandRequest:
        if (d[0] != codes::SerialOutRead && d[0] != codes::SerialOutSet)
            return {};
        if (serialOut.silentModeRequests > 0) {
            --serialOut.silentModeRequests;
            return {};
        }
        if (d[0] == codes::SerialOutSet)
            serialOut.mode = d[1];
        return {{ids::StatusRequest, {codes::SerialOutMode, serialOut.mode & 0xFF, 0, 0, 0, 0, 0, 0}}};
    case ids::ToolReply:
        // The cycle-counted message after a good count is only recorded; the tool answers neither.
        if (d[0] == codes::ToolEndOfCycle && d[1] == EndOfCycleMark && toolCounter.counts &&
            ++toolCounter.endOfCycles > toolCounter.lag) {
            for (int c = 0; c < Counters; ++c) {
                const size_t at = size_t(FirstCounter + 2 * c);
                const int count = ((toolEeprom[at] << 8 | toolEeprom[at + 1]) + 1) & WordMask;
                toolEeprom[at] = uint8_t(count >> 8);
                toolEeprom[at + 1] = uint8_t(count & 0xFF);
            }
        }
        return {};
    case ids::Reply13EF0110:
        // Frames the PC sends on the tray's identifier are no tray status. The USB dongle, waiting on that
        // identifier, hears the next status of a tray that is attached (it sends far more often than the
        // dongle's read time-out).
        if (transport == Transport::Usb && socketTray.attached && isZeroData(m))
            return {trayFrame()};
        return {};
    default:
        return {};
    }
}

} // namespace sim
