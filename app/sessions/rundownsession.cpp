#include "app/sessions/rundownsession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/rundownreport.h"
#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "link/rundownlog.h"

namespace app {

namespace {
const QString StatusFailed = QStringLiteral("Read Rundown Data Failed(1)");
const QString PsetFailed = QStringLiteral("Read Rundown Data Failed(2)");
const QString LogFailed = QStringLiteral("Read Rundown Data Failed(3)");
const QString PsetPrompt = QStringLiteral("Select Pset To Read Rundown From");
// Field of the Pset record holding the torque target.
constexpr size_t TorqueTargetValue = 0;
} // namespace

bool RundownSession::Get_RundownData2(int pset) {
    return clink::RundownLogReader(link()).read(pset, progress());
}

ReportLines RundownSession::mnuSystemReadRundownData() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    clink::LinkState& s = state();
    progress().setVisible(true);
    if (!dataTx().ReadSystemStatus()) {
        failBox(StatusFailed);
        return {};
    }
    values().frmValue().prepareValue(PsetPrompt, 1, s.SystemStatus.PsetCount, 1);
    if (!values().show())
        return {};
    const QString psetText = values().results.ValueEntryResult;
    const int pset = valueEntryNumber(psetText);
    if (!dataTx().ReadParameterSets(pset)) {
        failBox(PsetFailed);
        return {};
    }
    if (!Get_RundownData2(pset)) {
        failBox(LogFailed);
        return {};
    }
    const clink::PsetReportRecord& record = s.PsetReportTable[size_t(pset)];
    const QDateTime now = services.now();
    const RundownReportInput in{reportTimeText(now), reportDateText(now), psetText, psetReportTexts(record),
                                record.Values[TorqueTargetValue].value_or(0)};
    const QStringList lines = makeRundownReport(in, s.DataBuffer);
    progress().setValue(0);
    return lines;
}

} // namespace app
