#include "monitor/toolbuttons.h"

#include "link/controllerlink.h"
#include "link/ppexchange.h"

namespace monitor {

namespace ids = clink::ids;

namespace {
// Data bytes of the answer that carry the states.
constexpr int FirstState = 1;
constexpr int StateCount = 4;

std::array<int, 8> command(int code, const std::array<int, 4>& values = {}) {
    std::array<int, 8> data{code};
    for (int i = 0; i < StateCount; ++i)
        data[size_t(FirstState + i)] = values[size_t(i)];
    return data;
}

template <class Bytes> ButtonStates statesOf(const Bytes& reply) {
    ButtonStates states{};
    for (int i = 0; i < StateCount; ++i)
        states[size_t(i)] = reply[size_t(FirstState + i)];
    return states;
}
} // namespace

std::optional<ButtonStates> ToolButtonExchange::requestButtonStates() {
    clink::LinkState& s = link_.state;
    const std::array<int, 8> request = command(ButtonRequestCode);
    clink::Transaction tx(link_);
    switch (s.ConnectionType) {
    case clink::ParallelPort: {
        link_.dataTx.SendCanMessage({ids::ToolEepromRequest, request});
        std::optional<ButtonStates> states;
        clink::PpExchange(link_).look([&](clink::PpRxMessage& m) {
            s.DataBuffer.put(0, m.byte(0));
            if (s.DataBuffer[0] != 0)
                return false;
            ButtonStates taken{};
            for (int i = 0; i < StateCount; ++i)
                taken[size_t(i)] = m.byte(FirstState + i);
            states = taken;
            return true;
        });
        return states;
    }
    case clink::TcpIp:
        s.ButtonReplyFrame.reset();
        link_.ethernet.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, request);
        if (s.ButtonReplyFrame && (*s.ButtonReplyFrame)[0] == 0)
            return statesOf(*s.ButtonReplyFrame);
        return std::nullopt;
    case clink::Usb:
        if (link_.usb.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, {0, 0}, request) &&
            s.UsbRxBytes[0] == 0)
            return statesOf(s.UsbRxBytes);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool ToolButtonExchange::sendLedCommand(const LedStates& states) {
    const std::array<int, 8> data = command(LedCommandCode, states);
    clink::Transaction tx(link_);
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        link_.dataTx.SendCanMessage({ids::ToolEepromRequest, data});
        return true;
    case clink::TcpIp:
        return link_.ethernet.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, data);
    case clink::Usb:
        return link_.usb.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, {0, 0}, data);
    default:
        return false;
    }
}

} // namespace monitor
