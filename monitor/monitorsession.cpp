#include "monitor/monitorsession.h"

#include "app/appservices.h"
#include "base/busyguard.h"
#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "link/toolreports.h"
#include "monitor/faultcodes.h"
#include "monitor/rundownlines.h"

namespace monitor {

using clink::FaultHearing;
using clink::ToolReports;

MonitorSession::MonitorSession(clink::ControllerLink& link, const base::BusyState& busy)
    : link_(link), busy_(busy), reports_(std::make_unique<ToolReports>(link)) {}

MonitorSession::~MonitorSession() = default;

MonitorSession::MonitorSession(app::AppServices& services) : MonitorSession(services.link, services.busy) {}

void MonitorSession::load() {
    faultMissCount_ = 0;
    reports_->open();
}

bool MonitorSession::busy() const {
    return closed_ || busy_.busy();
}

int MonitorSession::faultIntervalMs() const {
    return reports_->faultIntervalMs();
}

void MonitorSession::printGroup(const MessageBytes& data) {
    lines_ += faultGroupLines(data[0], data[2], data[3]);
}

void MonitorSession::checkMisses() {
    if (faultMissCount_ <= MaxMisses)
        return;
    faultMissCount_ = 0;
    reports_->listRestarted();
    lines_ = QStringList{NoFaultsText};
}

void MonitorSession::faultTick() {
    if (busy())
        return;
    const FaultHearing h = reports_->hearFault(isFaultGroup, [this] { return closed_; });
    if (h.heard == FaultHearing::Heard::Ended)
        return;
    if (h.clearsList)
        lines_.clear();
    switch (h.heard) {
    case FaultHearing::Heard::Fault:
        printGroup(h.report);
        if (h.faultClearsMisses)
            faultMissCount_ = 0;
        break;
    case FaultHearing::Heard::Miss:
        countMiss();
        break;
    case FaultHearing::Heard::Nothing:
    case FaultHearing::Heard::Ended:
        break;
    }
    checkMisses();
}

MonitorSession::RundownTick MonitorSession::rundownTick() {
    if (busy())
        return RundownTick::Continue;
    const std::optional<MessageBytes> data = reports_->hearRundown([this] { return closed_; });
    if (!data)
        return RundownTick::Continue;
    if (!reports_->readyForStatus())
        return dongleFailure();
    if (showRundown(*data) == RundownTick::CloseWindow)
        return RundownTick::CloseWindow;
    if (closed_)
        return RundownTick::Continue;
    switch (reports_->listenAgain()) {
    case ToolReports::Relisten::DongleFailed:
        return dongleFailure();
    case ToolReports::Relisten::FilterRefused:
        link_.dialogs.message(UnableToContinueText, base::ProgramTitle, base::MessageIcon::Critical);
        break;
    case ToolReports::Relisten::Listening:
        break;
    }
    return RundownTick::Continue;
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

void MonitorSession::sendClosingFrame() {
    reports_->sendClosingFrame();
    link_.pump.pause(ClosingYields);
}

} // namespace monitor
