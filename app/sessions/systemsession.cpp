#include "app/sessions/systemsession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "link/commandcodes.h"

namespace app {

namespace ids = clink::ids;

ReportLines SystemSession::mnuReadSystemStatus() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    if (!dataTx().ReadSystemStatus()) {
        failBox(QStringLiteral("Read System Status Failed"));
        return {};
    }
    return systemStatusReport(state().SystemStatus);
}

ReportLines SystemSession::mnuSystemReadParameterSets() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    const QString failed = QStringLiteral("Read Parameter Sets Failed");
    progress().start(PsetBarMaximum, true);
    if (!dataTx().ReadSystemStatus()) {
        failBox(failed);
        return {};
    }
    const QDateTime now = services.now();
    QStringList lines = parameterSetsHeader(reportTimeText(now), reportDateText(now));
    const int count = state().SystemStatus.PsetCount;
    for (int pset = 1; pset <= count; ++pset) {
        if (!dataTx().ReadParameterSets(pset)) {
            failBox(failed);
            return {};
        }
        lines << parameterSetLines(pset, state().PsetReportTable[size_t(pset)]);
        progress().setValue(pset);
    }
    progress().setValue(0);
    return lines;
}

void SystemSession::mnuSCCVersion() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::CommandReply, {.ethernetConnectFilter = true}))
        return;
    if (!dataTx().ReadSccVersion(clink::codes::Version))
        return failBox(QStringLiteral("Get SCC Revision Failed"));
    dialogs().message(QStringLiteral("SCC Revision: ") + state().SccVersionText, base::ProgramTitle,
                      base::MessageIcon::None);
}

} // namespace app
