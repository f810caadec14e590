#include "app/commands/systemcommands.h"

#include "app/commands/commandboxes.h"
#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "app/ui/appcontext.h"
#include "link/commandcodes.h"

#include <QProgressBar>

namespace app {

namespace ids = clink::ids;

void SystemCommands::bind() {
    frame.onMenu(QStringLiteral("mnuReadSystemStatus"), [this] { mnuReadSystemStatus_Click(); });
    frame.onMenu(QStringLiteral("mnuSystemReadParameterSets"),
                 [this] { mnuSystemReadParameterSets_Click(); });
    frame.onMenu(QStringLiteral("mnuSCCVersion"), [this] { mnuSCCVersion_Click(); });
}

void SystemCommands::mnuReadSystemStatus_Click() {
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.dataTx().ReadSystemStatus())
        return frame.failBox(QStringLiteral("Read System Status Failed"));
    Report report = frame.newReport();
    report.add(systemStatusReport(frame.state().SystemStatus));
    report.show();
}

void SystemCommands::mnuSystemReadParameterSets_Click() {
    const QString failed = QStringLiteral("Read Parameter Sets Failed");
    auto busy = frame.busy(true);
    if (!busy)
        return;
    QProgressBar& bar = frame.Bar1();
    startBar(bar, PsetBarMaximum, true);
    if (!frame.dataTx().ReadSystemStatus())
        return frame.failBox(failed);

    Report report = frame.newReport();
    const QDateTime now = frame.ctx.now();
    report.add(parameterSetsHeader(reportTimeText(now), reportDateText(now)));
    const int count = frame.state().SystemStatus.PsetCount;
    for (int pset = 1; pset <= count; ++pset) {
        // A failed read leaves the report unshown (it is deleted) and Bar1 at the last Pset read.
        if (!frame.dataTx().ReadParameterSets(pset))
            return frame.failBox(failed);
        report.add(parameterSetLines(pset, frame.state().PsetReportTable[size_t(pset)]));
        bar.setValue(pset);
    }
    bar.setValue(0);
    report.show();
}

void SystemCommands::mnuSCCVersion_Click() {
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.linkPreCheck(ids::CommandReply, {.ethernetConnectFilter = true}))
        return;
    if (!frame.dataTx().ReadSccVersion(clink::codes::Version))
        return frame.failBox(QStringLiteral("Get SCC Revision Failed"));
    frame.dialogs().message(QStringLiteral("SCC Revision: ") + frame.state().SccVersionText,
                            base::ProgramTitle, base::MessageIcon::None);
}

} // namespace app
