#include "link/toolreports.h"

#include "link/controllerlink.h"
#include "link/ppexchange.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
// The identifier the monitor's closing frame is sent on.
constexpr CanId ClosingFrameId = 0x10EF0103;

// Data bytes 0..7 of a message where the link left them (ToolReportFrame, UsbRxBytes).
template <class Bytes> ReportBytes reportIn(const Bytes& bytes) {
    ReportBytes data{};
    for (int i = 0; i < int(data.size()); ++i)
        data[size_t(i)] = bytes[size_t(i)];
    return data;
}
} // namespace

void ToolReports::open() {
    link_.spi.ResetLineHigh();
}

void ToolReports::keep(const ReportBytes& data, int first) {
    for (int i = first; i < int(data.size()); ++i)
        link_.state.DataBuffer.put(i, data[size_t(i)]);
}

ToolReports::Look ToolReports::lookPp(const std::function<bool(int)>& wanted, ReportBytes& data) {
    PpExchange pp(link_);
    switch (pp.look([&](PpRxMessage& m) {
        data[0] = m.byte(0);
        if (!wanted(data[0]))
            return false;
        for (int n = 1; n < int(data.size()); ++n)
            data[size_t(n)] = m.byte(n);
        return true;
    })) {
    case PpExchange::Look::Taken:
        return Look::Taken;
    case PpExchange::Look::Discarded:
        return Look::Discarded;
    case PpExchange::Look::Nothing:
        break;
    }
    return Look::Nothing;
}

FaultHearing ToolReports::hearFault(const std::function<bool(int)>& isFault,
                                    const std::function<bool()>& cancelled) {
    Transaction tx(link_);
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return hearFaultPp(isFault);
    case TcpIp:
        return hearFaultEthernet(isFault, cancelled);
    case Usb:
        return hearFaultUsb(isFault);
    default:
        return {};
    }
}

FaultHearing ToolReports::hearFaultPp(const std::function<bool(int)>& isFault) {
    FaultHearing h;
    switch (lookPp(isFault, h.report)) {
    case Look::Taken:
        keep(h.report, 0);
        h.heard = FaultHearing::Heard::Fault;
        h.clearsList = true;
        break;
    case Look::Discarded:
        link_.state.DataBuffer.put(0, h.report[0]);
        h.heard = FaultHearing::Heard::Miss;
        break;
    case Look::Nothing:
        break;
    }
    return h;
}

FaultHearing ToolReports::hearFaultEthernet(const std::function<bool(int)>& isFault,
                                            const std::function<bool()>& cancelled) {
    LinkState& s = link_.state;
    ++ethernetTickCount_;
    s.ReplyReady = false;
    for (size_t i = 1; i < s.RequestData.size(); ++i)
        s.RequestData[i] = 0;
    const Wait heard = awaitEthernetReport(cancelled);
    if (cancelled() || heard == Wait::Ended)
        return {.heard = FaultHearing::Heard::Ended};
    if (heard == Wait::Silent)
        return {.heard = FaultHearing::Heard::Miss};
    FaultHearing h{.heard = FaultHearing::Heard::Miss, .faultClearsMisses = true};
    if (ethernetTickCount_ > EthernetTicksPerList) {
        ethernetTickCount_ = 0;
        h.clearsList = true;
    }
    // The handler keeps a fault report in ToolReportFrame and its group in RequestData(1).
    const int group = s.RequestData[1];
    if (isFault(group) && s.ToolReportFrame[0] == group) {
        h.report = reportIn(s.ToolReportFrame);
        keep(h.report, 0);
        h.heard = FaultHearing::Heard::Fault;
    }
    return h;
}

FaultHearing ToolReports::hearFaultUsb(const std::function<bool(int)>& isFault) {
    LinkState& s = link_.state;
    FaultHearing h;
    s.ReplyReady = false;
    // One exchange of a zero-data frame on the identifier, any answer taken; UsbRxBytes hold the answer
    // (spaces when none came).
    if (link_.usb.SendFilterFrame(ids::ToolReply)) {
        h.report = reportIn(s.UsbRxBytes);
        s.DataBuffer.put(0, h.report[0]);
        if (isFault(h.report[0])) {
            keep(h.report, 0);
            h.heard = FaultHearing::Heard::Fault;
        } else {
            h.heard = FaultHearing::Heard::Miss;
        }
    }
    s.ReplyReady = true;
    return h;
}

void ToolReports::listRestarted() {
    if (ethernetTickCount_ > EthernetTicksPerList)
        ethernetTickCount_ = 0;
}

int ToolReports::faultIntervalMs() const {
    return link_.state.ConnectionType == TcpIp ? EthernetFaultIntervalMs : FaultIntervalMs;
}

ToolReports::Wait ToolReports::awaitEthernetReport(const std::function<bool()>& cancelled) {
    LinkState& s = link_.state;
    TransactionPump& pump = link_.transactions;
    SharedWaitBudget replyWait(pump, EthernetReplyYields, 1);
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

bool ToolReports::sendEthernetFilter() {
    return link_.ethernet.SendFilterFrame(ids::ToolReply);
}

std::optional<ReportBytes> ToolReports::hearRundown(const std::function<bool()>& cancelled) {
    LinkState& s = link_.state;
    switch (s.ConnectionType) {
    case ParallelPort: {
        ReportBytes data{};
        if (lookPp([](int code) { return code == RundownCode; }, data) != Look::Taken)
            return std::nullopt;
        keep(data, 1);
        return data;
    }
    case TcpIp: {
        if (s.RequestData[1] != RundownCode)
            return std::nullopt;
        // The reply handler keeps data bytes 1..7 of the report in CycleStatusWords(1..7).
        ReportBytes data{RundownCode};
        for (size_t i = 1; i < data.size(); ++i)
            data[i] = s.CycleStatusWords[i];
        return data;
    }
    case Usb: {
        bool heard = false;
        {
            Transaction tx(link_);
            heard = link_.usb.Transact({ids::ToolReply, ids::ToolReply, {RundownCode, 0}, {}},
                                       USB::UsualTries, [](const UsbRxArray& rx) {
                                           return rx[0] == RundownCode ? UsbReply::Taken : UsbReply::Retry;
                                       });
        }
        if (!heard || cancelled())
            return std::nullopt;
        const ReportBytes data = reportIn(s.UsbRxBytes);
        keep(data, 1);
        return data;
    }
    default:
        return std::nullopt;
    }
}

bool ToolReports::readyForStatus() {
    return link_.state.ConnectionType != ParallelPort ||
           link_.dataTx.ConfigureCanDongle(ids::StatusBroadcast);
}

ToolReports::Relisten ToolReports::listenAgain() {
    LinkState& s = link_.state;
    switch (s.ConnectionType) {
    case ParallelPort:
        return link_.dataTx.ConfigureCanDongle(ids::ToolReply) ? Relisten::Listening : Relisten::DongleFailed;
    case TcpIp:
        s.RequestData[1] = 0;
        return sendEthernetFilter() ? Relisten::Listening : Relisten::FilterRefused;
    default:
        return Relisten::Listening;
    }
}

void ToolReports::sendClosingFrame() {
    link_.ethernet.SendFilterFrame(ClosingFrameId);
}

} // namespace clink
