#include "app/commands/rundowncommands.h"

#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "app/ui/appcontext.h"
#include "app/ui/frmmain.h"

#include <QProgressBar>

namespace app {

namespace {
const QString StatusFailed = QStringLiteral("Read Rundown Data Failed(1)");
const QString PsetFailed = QStringLiteral("Read Rundown Data Failed(2)");
const QString LogFailed = QStringLiteral("Read Rundown Data Failed(3)");
const QString PsetPrompt = QStringLiteral("Select Pset To Read Rundown From");
// Field of the Pset record holding the torque target.
constexpr size_t TorqueTargetValue = 0;
} // namespace

void FrmMain::Get_RundownData2(int pset, bool& ok) {
    ok = RundownLogReader(ctx_.link).read(pset, frame_.progress());
}

void RundownCommands::bind() {
    frame.onMenu(QStringLiteral("mnuSystemReadRundownData"), [this] { mnuSystemReadRundownData_Click(); });
}

void RundownCommands::mnuSystemReadRundownData_Click() {
    AppContext& ctx = frame.ctx;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    frame.Bar1().setVisible(true);
    if (!frame.dataTx().ReadSystemStatus())
        return frame.failBox(StatusFailed);

    ctx.values.frmValue().prepareValue(PsetPrompt, 1, s.SystemStatus.PsetCount, 1);
    if (!ctx.values.show())
        return;
    const QString psetText = ctx.values.results.ValueEntryResult;

    WaitCursor hourglass;
    const int pset = valueEntryNumber(psetText);
    if (!frame.dataTx().ReadParameterSets(pset))
        return frame.failBox(PsetFailed);
    if (!RundownLogReader(ctx.link).read(pset, frame.progress()))
        return frame.failBox(LogFailed);

    const clink::PsetReportRecord& record = s.PsetReportTable[size_t(pset)];
    const QDateTime now = ctx.now();
    RundownReportInput in{reportTimeText(now), reportDateText(now), psetText, psetReportTexts(record),
                          record.Values[TorqueTargetValue].value_or(0)};
    Report report = frame.newReport();
    report.add(makeRundownReport(in, s.DataBuffer));
    frame.Bar1().setValue(0);
    report.show();
}

} // namespace app
