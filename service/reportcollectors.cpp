#include "service/reportcollectors.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/dspreport.h"
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/toolparameterread.h"
#include "base/failbox.h"
#include "service/collectselection.h"

namespace service {

namespace ids = clink::ids;

namespace {
// The DSP parameter block: 64 words at byte addresses 0, 2, ..., 126.
constexpr int DspWordBytes = 2;
} // namespace

bool DspParmsCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    clink::LinkState& s = ctx.state;
    page.setBar(0);
    const QString path = base + DspFileEnding;
    if (!app::LinkGate(tools_.ctx.link).preCheck(ids::DspReply, {.usb = clink::UsbCheck::Reopen}))
        return false;
    s.DataCount = 0;
    for (int address = 0; address < app::DspReportBytes; address += DspWordBytes) {
        page.setBar(address / AddressDivisor);
        if (!ctx.link.dataTx.ReadDspEeprom(address)) {
            base::failBox(tools_.ctx.dialogs, QStringLiteral("Read Dsp Parameters Failed"));
            return false;
        }
    }
    // Whatever the link: it goes out only while the Ethernet connection is up.
    ctx.link.ethernet.SendFilterFrame(ids::DspReadDone);
    page.setBar(Read);
    page.clearList();
    const QDateTime now = ctx.now();
    const QStringList lines = app::makeDspParameterReport(app::reportTimeText(now), app::reportDateText(now),
                                                          s.DataBuffer, app::ReportForm::File);
    page.addLines(lines);
    return tools_.writeReport(path, lines, page, Done);
}

bool ToolParmsCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    page.setBar(0);
    const QString path = base + ToolParmsFileEnding;
    if (!app::LinkGate(tools_.ctx.link).preCheck(ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen}))
        return false;
    ScaledProgress reads(page, AddressDivisor);
    if (!app::readToolParameterLocations(ctx.link, reads)) {
        base::failBox(tools_.ctx.dialogs, QStringLiteral("Read Tool Parameters Failed"));
        return false;
    }
    page.clearList();
    page.setBar(Read);
    const QDateTime now = ctx.now();
    const QStringList lines = app::makeToolParameterReport(app::reportTimeText(now), app::reportDateText(now),
                                                           ctx.state.DataBuffer, app::ReportForm::File);
    page.addLines(lines);
    page.setBar(Listed);
    return tools_.writeReport(path, lines, page, Done);
}

bool ToolEpromCollector::collect(const QString& base, CollectorPage& page) {
    app::AppServices& ctx = tools_.ctx;
    clink::LinkState& s = ctx.state;
    page.setBar(0);
    const QString path = base + ToolEpromFileEnding;
    if (!app::LinkGate(tools_.ctx.link).preCheck(ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen}))
        return false;
    ctx.link.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    s.EepromReadIndex = 0;
    page.clearList();
    for (int address = 0; address < app::ToolListingLocations; ++address) {
        page.setBar(address / AddressDivisor);
        if (!ctx.link.dataTx.ReadToolEeprom(address)) {
            base::failBox(tools_.ctx.dialogs, QStringLiteral("Read Tool Eeprom Failed"));
            return false;
        }
    }
    const QStringList lines = app::makeToolEepromListing(s.DataBuffer);
    page.addLines(lines);
    page.setBar(Listed);
    return tools_.writeReport(path, lines, page, Done);
}

} // namespace service
