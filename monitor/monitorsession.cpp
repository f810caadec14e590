#include "monitor/monitorsession.h"

#include "app/appservices.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "monitor/faultcodes.h"
#include "monitor/rundownlines.h"

namespace monitor {

namespace ids = clink::ids;

namespace {
// Data bytes 0..7 of a message where the link left them (ToolReportFrame, UsbRxBytes).
template <class Bytes> MessageBytes messageIn(const Bytes& bytes) {
    MessageBytes data{};
    for (int i = 0; i < int(data.size()); ++i)
        data[size_t(i)] = bytes[i];
    return data;
}
// Stores data bytes first..7 in DataBuffer(first..7), as the monitor's readers find them.
void keepInDataBuffer(clink::LinkState& s, const MessageBytes& data, int first) {
    for (int i = first; i < int(data.size()); ++i)
        s.DataBuffer.put(i, data[size_t(i)]);
}
} // namespace

MonitorSession::MonitorSession(clink::ControllerLink& link, const base::BusyState& busy)
    : link_(link), busy_(busy), exchange_(link) {}

MonitorSession::MonitorSession(app::AppServices& services) : MonitorSession(services.link, services.busy) {}

void MonitorSession::load() {
    faultMissCount_ = 0;
    link_.spi.ResetLineHigh();
}

bool MonitorSession::busy() const {
    return closed_ || busy_.busy();
}

int MonitorSession::faultIntervalMs() const {
    return link_.state.ConnectionType == clink::TcpIp ? EthernetFaultIntervalMs : FaultIntervalMs;
}

void MonitorSession::printGroup(const MessageBytes& data) {
    keepInDataBuffer(link_.state, data, 0);
    lines_ += faultGroupLines(data[0], data[2], data[3]);
}

void MonitorSession::checkMisses() {
    if (faultMissCount_ <= MaxMisses)
        return;
    faultMissCount_ = 0;
    lines_ = QStringList{NoFaultsText};
}

void MonitorSession::faultTick() {
    if (busy())
        return;
    clink::Transaction tx(link_);
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        faultTickPp();
        break;
    case clink::TcpIp:
        faultTickEthernet();
        break;
    case clink::Usb:
        faultTickUsb();
        break;
    default:
        break;
    }
}

void MonitorSession::faultTickPp() {
    MessageBytes data{};
    switch (exchange_.lookPp(isFaultGroup, data)) {
    case ToolMessageExchange::Look::Taken:
        lines_.clear();
        printGroup(data);
        break;
    case ToolMessageExchange::Look::Discarded:
        link_.state.DataBuffer.put(0, data[0]);
        countMiss();
        break;
    case ToolMessageExchange::Look::Nothing:
        break;
    }
    checkMisses();
}

void MonitorSession::faultTickEthernet() {
    clink::LinkState& s = link_.state;
    ++ethernetTickCount_;
    s.ReplyReady = false;
    for (size_t i = 1; i < s.RequestData.size(); ++i)
        s.RequestData[i] = 0;
    const ToolMessageExchange::Wait heard = exchange_.awaitEthernetReport([this] { return closed_; });
    if (closed_ || heard == ToolMessageExchange::Wait::Ended)
        return;
    if (heard == ToolMessageExchange::Wait::Heard) {
        if (ethernetTickCount_ > EthernetTicksPerList) {
            ethernetTickCount_ = 0;
            lines_.clear();
        }
        // The handler keeps a fault report in ToolReportFrame and its group in RequestData(1).
        const int group = s.RequestData[1];
        if (isFaultGroup(group) && s.ToolReportFrame[0] == group) {
            printGroup(messageIn(s.ToolReportFrame));
            faultMissCount_ = 0;
        } else {
            countMiss();
        }
    } else {
        countMiss();
    }
    if (faultMissCount_ > MaxMisses && ethernetTickCount_ > EthernetTicksPerList)
        ethernetTickCount_ = 0;
    checkMisses();
}

void MonitorSession::faultTickUsb() {
    clink::LinkState& s = link_.state;
    s.ReplyReady = false;
    if (exchange_.exchangeUsb()) {
        const MessageBytes data = messageIn(s.UsbRxBytes);
        s.DataBuffer.put(0, data[0]);
        if (isFaultGroup(data[0]))
            printGroup(data);
        else
            countMiss();
    }
    checkMisses();
    s.ReplyReady = true;
}

MonitorSession::RundownTick MonitorSession::rundownTick() {
    if (busy())
        return RundownTick::Continue;
    switch (link_.state.ConnectionType) {
    case clink::ParallelPort:
        return rundownTickPp();
    case clink::TcpIp:
        return rundownTickEthernet();
    case clink::Usb:
        return rundownTickUsb();
    default:
        return RundownTick::Continue;
    }
}

MonitorSession::RundownTick MonitorSession::dongleFailure() {
    link_.dialogs.message(UnableToConfigureText, base::ProgramTitle, base::MessageIcon::Critical);
    return RundownTick::CloseWindow;
}

MonitorSession::RundownTick MonitorSession::showRundown(const MessageBytes& data) {
    const RundownWords words = rundownWords(data);
    lines_.clear();
    const bool received = link_.dataTx.ReadSystemStatus();
    if (closed_)
        return RundownTick::Continue;
    if (!received) {
        link_.dialogs.message(StatusNotReceivedText, ReceiveErrorCaption, base::MessageIcon::Critical);
        return RundownTick::CloseWindow;
    }
    const clink::SystemStatusRecord& status = link_.state.SystemStatus;
    lines_ = rundownLines(status.SystemStatusLines[3], words, status.StatusTarget);
    return RundownTick::Continue;
}

MonitorSession::RundownTick MonitorSession::rundownTickPp() {
    MessageBytes data{};
    const auto look =
        exchange_.lookPp([](int code) { return code == ToolMessageExchange::RundownCode; }, data);
    if (look != ToolMessageExchange::Look::Taken)
        return RundownTick::Continue;
    keepInDataBuffer(link_.state, data, 1);
    if (!link_.dataTx.ConfigureCanDongle(ids::StatusBroadcast))
        return dongleFailure();
    if (showRundown(data) == RundownTick::CloseWindow)
        return RundownTick::CloseWindow;
    if (closed_)
        return RundownTick::Continue;
    if (!link_.dataTx.ConfigureCanDongle(ids::ToolReply))
        return dongleFailure();
    return RundownTick::Continue;
}

MonitorSession::RundownTick MonitorSession::rundownTickEthernet() {
    clink::LinkState& s = link_.state;
    if (s.RequestData[1] != ToolMessageExchange::RundownCode)
        return RundownTick::Continue;
    // The reply handler keeps data bytes 1..7 of the report in CycleStatusWords(1..7).
    MessageBytes data{ToolMessageExchange::RundownCode};
    for (size_t i = 1; i < data.size(); ++i)
        data[i] = s.CycleStatusWords[i];
    if (showRundown(data) == RundownTick::CloseWindow)
        return RundownTick::CloseWindow;
    if (closed_)
        return RundownTick::Continue;
    s.RequestData[1] = 0;
    if (!exchange_.sendEthernetFilter())
        link_.dialogs.message(UnableToContinueText, base::ProgramTitle, base::MessageIcon::Critical);
    return RundownTick::Continue;
}

MonitorSession::RundownTick MonitorSession::rundownTickUsb() {
    clink::LinkState& s = link_.state;
    bool heard = false;
    {
        clink::Transaction tx(link_);
        heard = exchange_.awaitUsbRundown();
    }
    if (!heard || closed_)
        return RundownTick::Continue;
    const MessageBytes data = messageIn(s.UsbRxBytes);
    keepInDataBuffer(s, data, 1);
    return showRundown(data);
}

void MonitorSession::sendClosingFrame() {
    exchange_.sendClosingFrame();
    link_.pump.pause(ClosingYields);
}

} // namespace monitor
