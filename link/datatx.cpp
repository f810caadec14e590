#include "link/datatx.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"

namespace clink {

DataTx::DataTx(ControllerLink& link) : link_(link), s_(link.state) {}

void DataTx::ClearReceiveBuffer() {
    s_.DataBuffer.clear();
    link_.pump.doEvents();
    s_.DataCount = 0;
}

bool DataTx::ConfigureCanDongle(CanId awaited) {
    switch (s_.ConnectionType) {
    case ParallelPort:
        return configureCanDonglePp(awaited);
    case TcpIp:
        return link_.socket.isConnected();
    default:
        return false;
    }
}

bool DataTx::ethernetAttempts(CanId accept, CanId transmit, const std::array<int, 8>& data,
                              const std::function<void(int attempt, bool sent)>& afterSend) {
    return ethernetAttempts(accept, transmit, data, EthernetAttempts, [&](int attempt, bool sent) {
        afterSend(attempt, sent);
        return true;
    });
}

bool DataTx::ethernetAttempts(CanId accept, CanId transmit, const std::array<int, 8>& data, int attempts,
                              const std::function<bool(int attempt, bool sent)>& afterSend) {
    for (int attempt = 0; attempt < attempts && !s_.ReplyReady; ++attempt) {
        const bool sent = link_.ethernet.SendCanFrame(accept, transmit, data);
        if (!afterSend(attempt, sent))
            break;
    }
    return s_.ReplyReady;
}

} // namespace clink
