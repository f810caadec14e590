#include "monitor/toolmessages.h"

#include "link/controllerlink.h"
#include "link/ppexchange.h"
#include "link/waitbudget.h"

namespace monitor {

namespace ids = clink::ids;

namespace {
// The identifier the monitor's closing frame is sent on.
constexpr clink::CanId ClosingFrameId = 0x10EF0103;
} // namespace

ToolMessageExchange::Look ToolMessageExchange::lookPp(const std::function<bool(int)>& wanted,
                                                      MessageBytes& data) {
    clink::PpExchange pp(link_);
    switch (pp.look([&](clink::PpRxMessage& m) {
        data[0] = m.byte(0);
        if (!wanted(data[0]))
            return false;
        for (int n = 1; n < int(data.size()); ++n)
            data[size_t(n)] = m.byte(n);
        return true;
    })) {
    case clink::PpExchange::Look::Taken:
        return Look::Taken;
    case clink::PpExchange::Look::Discarded:
        return Look::Discarded;
    case clink::PpExchange::Look::Nothing:
        break;
    }
    return Look::Nothing;
}

ToolMessageExchange::Wait ToolMessageExchange::awaitEthernetReport(const std::function<bool()>& cancelled) {
    clink::LinkState& s = link_.state;
    clink::TransactionPump& pump = link_.transactions;
    clink::SharedWaitBudget replyWait(pump, EthernetReplyYields, 1);
    for (int sends = 0; !s.ReplyReady; ++sends) {
        if (sends >= EthernetSends)
            return Wait::Silent;
        pump.pause(EthernetPassesPerSend * EthernetYieldsPerPass);
        if (cancelled() || pump.over() || !sendEthernetFilter())
            return Wait::Ended;
        replyWait.wait([&s] { return s.ReplyReady; });
        if (cancelled())
            return Wait::Ended;
    }
    return Wait::Heard;
}

bool ToolMessageExchange::sendEthernetFilter() {
    return link_.ethernet.SendFilterFrame(ids::ToolReply);
}

bool ToolMessageExchange::exchangeUsb() {
    return link_.usb.SendFilterFrame(ids::ToolReply);
}

bool ToolMessageExchange::awaitUsbRundown() {
    return link_.usb.Transact({ids::ToolReply, ids::ToolReply, {RundownCode, 0}, {}}, clink::USB::UsualTries,
                              [](const clink::UsbRxArray& rx) {
                                  return rx[0] == RundownCode ? clink::UsbReply::Taken
                                                              : clink::UsbReply::Retry;
                              });
}

void ToolMessageExchange::sendClosingFrame() {
    link_.ethernet.SendFilterFrame(ClosingFrameId);
}

} // namespace monitor
