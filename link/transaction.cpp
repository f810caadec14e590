#include "link/transaction.h"

#include "link/controllerlink.h"

#include <algorithm>
#include <chrono>

namespace clink {

TransactionPump::TransactionPump(base::EventPump& pump, LinkClock& clock) : pump_(pump), clock_(clock) {}

void TransactionPump::begin() {
    // A nested transaction is a step of its outer one: the silence is counted from the outermost start.
    if (depth_++ > 0)
        return;
    refused_ = false;
    cancelled_ = false;
    lastHeard_ = clock_.nowMs();
}

void TransactionPump::end() {
    if (depth_ > 0)
        --depth_;
}

void TransactionPump::heard() {
    if (running())
        lastHeard_ = clock_.nowMs();
}

void TransactionPump::refused() {
    if (!running())
        return;
    refused_ = true;
    wake();
}

void TransactionPump::cancel() {
    if (!running())
        return;
    cancelled_ = true;
    wake();
}

int64_t TransactionPump::silentMs() {
    return clock_.nowMs() - lastHeard_;
}

bool TransactionPump::over(int64_t aheadMs) {
    if (stopped())
        return true;
    if (!running())
        return false;
    return refused_ || cancelled_ || silentMs() + aheadMs >= SilenceCapMs;
}

bool TransactionPump::waitUntil(const std::function<bool()>& done, long doEventsCount) {
    if (!running())
        return pump_.waitUntil(done, doEventsCount);
    if (over())
        return pump_.waitUntil(done, 0);
    const std::chrono::milliseconds left{SilenceCapMs - silentMs()};
    const long leftDoEvents = long(std::chrono::nanoseconds(left) / base::DoEventsSlice);
    // A send refused or a command cancelled meanwhile ends the wait; it then reports what done() says.
    const bool held = pump_.waitUntil(
        [&] {
            if (beforeCheck)
                beforeCheck();
            return done() || refused_ || cancelled_;
        },
        std::min(doEventsCount, leftDoEvents));
    return held && done();
}

Transaction::Transaction(ControllerLink& link) : Transaction(link, link.state.ConnectionType) {}

Transaction::Transaction(ControllerLink& link, int16_t connection) : link_(link) {
    link_.transactions.begin();
    LinkState& s = link_.state;
    s.AckReceived = false;
    s.ReplyReady = false;
    s.AwaitedId = 0;
    s.AwaitedCode = 0;
    s.ExactEcho = false;
    s.RequestData.fill(0);
    switch (connection) {
    case TcpIp:
        link_.ethernet.startTransaction();
        break;
    case Usb:
        link_.usb.startTransaction();
        break;
    default:
        break;
    }
}

Transaction::~Transaction() {
    link_.state.AwaitedId = 0;
    link_.state.AwaitedCode = 0;
    link_.state.ExactEcho = false;
    link_.transactions.end();
}

bool Transaction::over(int64_t aheadMs) {
    return link_.transactions.over(aheadMs);
}

} // namespace clink
