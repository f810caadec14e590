#include "link/ppexchange.h"

#include "base/eventpump.h"
#include "link/cancontroller.h"
#include "link/controllerlink.h"

namespace clink {

using namespace canctl;

namespace {
constexpr int Restore = 0xFF; // reads arrive complemented
} // namespace

int PpRxMessage::byte(int n) {
    return bus_.ReadRegister(RXB0D0 + n) ^ Restore;
}

bool PpRxMessage::bytesAre(std::initializer_list<int> expected, int first) {
    int n = first;
    for (int value : expected) {
        if (byte(n++) != value)
            return false;
    }
    return true;
}

PpExchange::PpExchange(ControllerLink& link) : link_(link) {}

long PpExchange::polls(long factor) const {
    return base::pollCount(link_.state.TransferDelay, factor);
}

PpExchange::Look PpExchange::look(const PpMatcher& take) {
    spi& bus = link_.spi;
    // Off the parallel port the driver reads 0, which would look like a waiting message.
    if (link_.state.ConnectionType != ParallelPort)
        return Look::Nothing;
    if ((bus.ReadRegister(CANINTF) & RX0IF) != 0)
        return Look::Nothing;
    PpRxMessage message(bus);
    const bool taken = take(message);
    bus.WriteRegister(0, CANINTF);
    if (!taken)
        return Look::Discarded;
    link_.transactions.heard();
    return Look::Taken;
}

bool PpExchange::run(const PpPlan& plan, const PpMatcher& take) {
    if (link_.state.ConnectionType != ParallelPort)
        return false;
    link_.spi.ResetLineHigh();
    TransactionPump& tx = link_.transactions;
    for (long pass = 0; pass < plan.passes && !tx.over(); ++pass) {
        if (plan.yieldEachPass)
            link_.pump.doEvents();
        if (plan.clearBeforeSend)
            link_.spi.WriteRegister(0, CANINTF);
        if (plan.request)
            link_.dataTx.SendCanMessage(*plan.request);
        for (long poll = 0; poll < plan.polls && !tx.over(); ++poll) {
            if (plan.yieldEachPoll)
                link_.pump.doEvents();
            const Look seen = look(take);
            if (seen == Look::Taken)
                return true;
            if (seen == Look::Discarded && plan.discardEndsPass)
                break;
        }
    }
    return false;
}

bool PpExchange::runTimed(const CanMessage& request, const PpMatcher& take,
                          const std::function<void()>& beforeSend) {
    if (link_.state.ConnectionType != ParallelPort)
        return false;
    link_.spi.ResetLineHigh();
    LinkClock& clock = link_.clock;
    TransactionPump& tx = link_.transactions;
    const int64_t start = clock.nowMs();
    while (clock.nowMs() - start < ThousandthOfADayMs && !tx.over()) {
        link_.pump.doEvents();
        if (beforeSend)
            beforeSend();
        link_.dataTx.SendCanMessage(request);
        const int64_t sent = clock.nowMs();
        for (long poll = 1; clock.nowMs() - sent < ThousandthOfADayMs && !tx.over(); ++poll) {
            if (look(take) == Look::Taken)
                return true;
            if (poll % PollsPerYield == 0)
                link_.pump.doEvents();
        }
    }
    return false;
}

} // namespace clink
