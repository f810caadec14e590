#include "link/datatx.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/waitbudget.h"

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
        return link_.ethernet.line().isConnected();
    default:
        return false;
    }
}

bool DataTx::ethernetAttempts(CanId accept, CanId transmit, const std::array<int, 8>& data, int attempts,
                              const std::function<bool(int attempt)>& afterSend,
                              const std::function<void()>& beforeSend) {
    s_.AwaitedId = accept;
    link_.ethernet.follow(accept);
    for (int attempt = 0; attempt < attempts && !s_.ReplyReady && !link_.transactions.over(); ++attempt) {
        if (beforeSend)
            beforeSend();
        if (attempt > 0)
            link_.ethernet.awaitDueAnswer();
        // The reply may have come during the pause before the send: then nothing is sent.
        if (s_.ReplyReady)
            break;
        if (!link_.ethernet.SendRequestFrame(accept, transmit, data))
            break; // refused: the socket is down
        if (afterSend && !afterSend(attempt))
            break;
    }
    return s_.ReplyReady;
}

bool DataTx::ethernetPasses(const EthernetPasses& passes, CanId accept, CanId transmit,
                            const std::array<int, 8>& data) {
    SharedWaitBudget budget(link_.pump, passes.wait, 1);
    auto beforeSend = [&] {
        if (passes.beforeSend > 0)
            link_.pump.pause(passes.beforeSend);
    };
    return ethernetAttempts(
        accept, transmit, data, passes.bound,
        [&](int) {
            budget.wait([this] { return link_.ethernet.replyOrOwnAnswer(); });
            return true;
        },
        beforeSend);
}

} // namespace clink
