#include "app/commands/dspcommands.h"

#include "app/commands/commandboxes.h"
#include "app/reports/dspreport.h"
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/sessions/toolsession.h"
#include "app/ui/appcontext.h"
#include "base/vbrules.h"
#include "link/replywords.h"

#include <QProgressBar>

namespace app {

namespace ids = clink::ids;

namespace {
constexpr int LastDspLocation = 1023;
constexpr int LargestDspValue = 65535;
constexpr int DspLocationBytes = 2;
constexpr int ToolDataCode = 0xD1;
const QString EthernetText = QStringLiteral("Unable to connect using ethernet");
} // namespace

DspCommands::DspCommands(CommandFrame& frame) : CommandGroup(frame), revision_(frame.ctx.link) {}

void DspCommands::bind() {
    frame.onMenu(QStringLiteral("mnuDspResetToDefaults"), [this] { mnuDspResetToDefaults_Click(); });
    frame.onMenu(QStringLiteral("mnuDspRev"), [this] { mnuDspRev_Click(); });
    frame.onMenu(QStringLiteral("mnuViewDspEepromLocation"), [this] { mnuViewDspEepromLocation_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteDspEeprom"), [this] { mnuWriteDspEeprom_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteDspParameters"), [this] { mnuWriteDspParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuDspViewParameters"), [this] { mnuDspViewParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuRPM"), [this] { mnuRPM_Click(); });
    frame.onMenu(QStringLiteral("mnuDiag"), [this] { mnuDiag_Click(); });
}

void DspCommands::mnuDspResetToDefaults_Click() {
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.linkCheck().linkChosen())
        return; // no link: nothing is sent and nothing shown
    if (SendDspReset(frame.ctx.link))
        infoBox(frame, QStringLiteral("Dsp Reset To Factory Defaults"));
    else
        frame.failBox(QStringLiteral("Dsp Reset To Factory Defaults Failed"));
}

void DspCommands::mnuDspRev_Click() {
    auto busy = frame.busy();
    if (!busy)
        return;
    revision_.mnuDspRev();
}

bool DspCommands::writeLinkCheck() {
    return frame.linkPreCheck(
        ids::DspReply, {.usb = clink::UsbCheck::Reopen,
                        .ethernet = clink::EthernetCheck::ConnectedOnly,
                        .texts = linkTexts(QStringLiteral("Unable To Configure Candongle"), EthernetText)});
}

void DspCommands::mnuViewDspEepromLocation_Click() {
    auto busy = frame.busy();
    if (!busy || !frame.linkPreCheck(
                     ids::DspReply,
                     {.usb = clink::UsbCheck::Reopen,
                      .ethernet = clink::EthernetCheck::FilterFrame,
                      .texts = linkTexts(QStringLiteral("Unable To Configure Can Dongle"), EthernetText)}))
        return;
    frame.ctx.values.frmValue().prepareValue(QStringLiteral("Eeprom Location To Read"), 0, LastDspLocation,
                                             0);
    frame.ctx.values.show();
    const QString& result = frame.ctx.values.results.ValueEntryResult;
    if (result.isEmpty())
        return;
    clink::LinkState& s = frame.state();
    frame.dataTx().ClearReceiveBuffer();
    s.DataCount = 0;
    if (!frame.dataTx().ReadDspEeprom(base::CInt(base::vbVal(result)).value_or(0)))
        return frame.failBox(QStringLiteral("Read DSP Eeprom Failed"));
    const int value = clink::unsignedWord(s.DataBuffer[1], s.DataBuffer[0]);
    infoBox(frame, QStringLiteral("Eeprom Address: ") + result + QStringLiteral(" Value: ") +
                       QString::number(value));
}

void DspCommands::mnuWriteDspEeprom_Click() {
    auto busy = frame.busy();
    if (!busy || !writeLinkCheck())
        return;
    // A location holds one unsigned 16-bit word.
    frame.ctx.values.frmValue().prepareEeprom(QStringLiteral("Write Dsp Eeprom"), LastDspLocation,
                                              LargestDspValue);
    frame.ctx.values.show();
    const ValueEntryResults& r = frame.ctx.values.results;
    const double address = base::vbVal(r.ValueEntryResult);
    if (r.ValueEntryResult.isEmpty() || address == 0)
        return;
    const int value =
        int(std::clamp(base::roundHalfEven(base::vbVal(r.ValueEntryData)), 0.0, double(LargestDspValue)));
    if (frame.dataTx().WriteDspEeprom(int(address), value))
        infoBox(frame, QStringLiteral("Write Dsp Eeprom -> Completed (Add: ") + r.ValueEntryResult +
                           QStringLiteral(" Data: ") + r.ValueEntryData + u')');
    else
        frame.failBox(QStringLiteral("Write Dsp Eeprom -> Failed "));
}

void DspCommands::mnuWriteDspParameters_Click() {
    auto busy = frame.busy(true);
    if (!busy || !writeLinkCheck())
        return;
    clink::LinkState& s = frame.state();
    QProgressBar& bar = frame.Bar1();
    startBar(bar, EditorLastAddress, true);
    s.DataCount = 0;
    frame.dataTx().ClearReceiveBuffer();
    for (int address = 0; address <= EditorLastAddress; address += DspLocationBytes) {
        if (!frame.dataTx().ReadDspEeprom(address))
            return frame.failBox(QStringLiteral("Unable To Receive Dsp Settings"));
        bar.setValue(address);
    }
    bar.setValue(0);
    // The editor takes the DSP bytes from DataBuffer.
    frame.ctx.windows.open(wnd::FrmDspParameters);
}

void DspCommands::mnuDspViewParameters_Click() {
    auto busy = frame.busy(true);
    if (!busy || !frame.linkPreCheck(ids::DspReply, {.usb = clink::UsbCheck::Reopen}))
        return;
    clink::LinkState& s = frame.state();
    QProgressBar& bar = frame.Bar1();
    startBar(bar, ReportLastAddress, true);
    s.DataCount = 0;
    for (int address = 0; address <= ReportLastAddress; address += DspLocationBytes) {
        if (!frame.dataTx().ReadDspEeprom(address))
            return frame.failBox(QStringLiteral("Read Dsp Parameters Failed"));
        bar.setValue(address);
    }
    // Whatever the link: it goes out only while the Ethernet connection is up.
    frame.ctx.link.ethernet.SendFilterFrame(ids::DspReadDone);
    Report report = frame.newReport();
    const QDateTime now = frame.ctx.now();
    report.add(makeDspParameterReport(reportTimeText(now), reportDateText(now), s.DataBuffer));
    report.show();
}

bool DspCommands::dspCheck(int ethernetCode) {
    return frame.linkChecked(frame.linkCheck().toolDataCheck(ethernetCode));
}

void DspCommands::runToolData(ToolData which) {
    auto busy = frame.busy();
    if (!busy || !frame.linkPreCheck(ids::ToolEepromReply, ToolSession::toolCheck()))
        return;
    if (!frame.dataTx().ReadToolEeprom(CalValueLow))
        return frame.failBox(QStringLiteral("Tool May not be connected"));
    if (!dspCheck(which == ToolData::Rpm ? ToolDataCode : 0))
        return;
    if (!revision_.GetDspRev() || revision_.DspVersion < DspRevision::DiagnosticsMinimum) {
        frame.dialogs().message(
            QStringLiteral("DSP Version must be 3.01 or higher.\r\nCurrent DSP Version is ") +
                base::vbNum(revision_.DspVersion),
            base::ProgramTitle, base::MessageIcon::None);
        return;
    }
    if (!dspCheck(0))
        return;
    if (which == ToolData::Rpm)
        frame.dataTx().ReadToolRpm();
    else
        frame.dataTx().RunToolDiagnostics();
}

void DspCommands::mnuRPM_Click() {
    runToolData(ToolData::Rpm);
}

void DspCommands::mnuDiag_Click() {
    runToolData(ToolData::Diagnostics);
}

} // namespace app
