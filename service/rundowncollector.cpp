#include "service/rundowncollector.h"

#include "app/appservices.h"
#include "app/reports/rundownreport.h"
#include "app/reports/systemreports.h"
#include "app/reporttime.h"
#include "base/failbox.h"
#include "base/numbertext.h"
#include "link/psetreport.h"
#include "link/rundownlog.h"
#include "service/collectselection.h"

#include <algorithm>

namespace service {

namespace {
// Field of a Pset's report record holding its torque target.
constexpr size_t TorqueTargetValue = 0;
} // namespace

bool RundownsCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    page.setBar(0);
    const QString path = base + RundownsFileEnding;
    if (!ctx.link.dataTx.ReadSystemStatus()) {
        base::failBox(tools_.ctx.dialogs, QStringLiteral("Read Rundown Data Failed(1)"));
        return false;
    }
    const int count = ctx.state.SystemStatus.PsetCount;
    QStringList file;
    // The reports of the Psets finished so far stay in the file. Before the first one there is nothing to
    // keep: an empty file would read as a controller without rundowns, so none is written.
    auto fail = [&](const QString& text) {
        base::failBox(tools_.ctx.dialogs, text);
        if (!file.isEmpty())
            tools_.writeReport(path, file);
        return false;
    };
    int bar = 0;
    for (int p = 1; p <= count; ++p) {
        clink::PsetReportRecord local;
        clink::PsetReportRecord* record = readReportRecord(p, local);
        if (!record)
            return fail(QStringLiteral("Read Rundown Data Failed(2)"));
        if (!clink::RundownLogReader(ctx.link).read(p))
            return fail(QStringLiteral("Read Rundown Data Failed(3)"));
        page.clearList();
        const QStringList lines = report(p, *record);
        page.addLines(lines);
        file += lines;
        // A bar of 100 has room for nine Psets before the end.
        bar = std::min(bar + PerPset, Read);
        page.setBar(bar);
    }
    page.setBar(Read);
    return tools_.writeReport(path, file, page, Done);
}

clink::PsetReportRecord* RundownsCollector::readReportRecord(int p, clink::PsetReportRecord& local) {
    clink::DataTx& tx = tools_.ctx.link.dataTx;
    if (p < clink::PsetReportRecords)
        return tx.ReadParameterSets(p) ? &tools_.ctx.state.PsetReportTable[size_t(p)] : nullptr;
    // A Pset beyond the report table is read the same way into a record of its own.
    if (!tx.ReadPsetBlock(p))
        return nullptr;
    std::array<int, clink::PsetBytes> bytes{};
    for (int i = 0; i < clink::PsetBytes; ++i)
        bytes[size_t(i)] = tools_.ctx.state.DataBuffer[i];
    clink::buildPsetReportRecord(local, bytes);
    return &local;
}

QStringList RundownsCollector::report(int p, clink::PsetReportRecord& record) {
    const QDateTime now = tools_.ctx.now();
    const app::RundownReportInput in{app::reportTimeText(now), app::reportDateText(now), QString::number(p),
                                     app::psetReportTexts(record),
                                     record.Values[TorqueTargetValue].value_or(0)};
    const QStringList lines = app::makeRundownReport(in, tools_.ctx.state.DataBuffer);
    for (QString& text : record.Texts)
        text = base::fixed40({});
    return lines;
}

} // namespace service
