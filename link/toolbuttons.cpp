#include "link/toolbuttons.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"

namespace clink {

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
    LinkState& s = link_.state;
    const std::array<int, 8> request = command(ButtonRequestCode);
    Transaction tx(link_);
    switch (s.ConnectionType) {
    case ParallelPort: {
        link_.dataTx.SendCanMessage({ids::ToolEepromRequest, request});
        std::optional<ButtonStates> states;
        PpExchange(link_).look([&](PpRxMessage& m) {
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
    case TcpIp:
        s.ButtonReplyFrame.reset();
        link_.ethernet.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, request);
        if (s.ButtonReplyFrame && (*s.ButtonReplyFrame)[0] == 0)
            return statesOf(*s.ButtonReplyFrame);
        return std::nullopt;
    case Usb:
        if (link_.usb.SendCanFrame(ids::ButtonReply, ids::ToolEepromRequest, {0, 0}, request) &&
            s.UsbRxBytes[0] == 0)
            return statesOf(s.UsbRxBytes);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

bool ToolButtonExchange::sendLedCommand(const LedStates& states) {
    Transaction tx(link_);
    return send(command(LedCommandCode, states));
}

void ToolButtonExchange::sendOpeningRequests() {
    const std::array<int, 8> request = command(ButtonRequestCode);
    DataTx::SendBatch batch(link_.dataTx);
    for (int i = 0; i < OpeningRequests; ++i) {
        link_.pump.doEvents();
        send(request);
        link_.pump.pause(OpeningRequestPause);
    }
}

bool ToolButtonExchange::send(const std::array<int, 8>& data) {
    return link_.dataTx.SendUnanswered(ids::ButtonReply, {ids::ToolEepromRequest, data});
}

} // namespace clink
