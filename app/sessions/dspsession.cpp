#include "app/sessions/dspsession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/dspreport.h"
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/sessions/toolsession.h"
#include "base/numbertext.h"
#include "link/dsprevision.h"
#include "link/replywords.h"

#include <algorithm>

namespace app {

namespace ids = clink::ids;

namespace {
constexpr int LastDspLocation = 1023;
constexpr int LargestDspValue = 65535;
constexpr int DspLocationBytes = 2;
constexpr int ToolDataCode = 0xD1;
const QString EthernetText = QStringLiteral("Unable to connect using ethernet");

// The check before the DSP EEPROM is written: over Ethernet the connection only.
clink::PreCheck writeCheck() {
    return {.usb = clink::UsbCheck::Reopen,
            .ethernet = clink::EthernetCheck::ConnectedOnly,
            .texts = linkTexts(QStringLiteral("Unable To Configure Candongle"), EthernetText)};
}
} // namespace

DspSession::DspSession(AppServices& services, CommandProgress& progress)
    : CommandSession(services, progress), revision_(std::make_unique<clink::DspRevision>(services.link)) {}

DspSession::~DspSession() = default;

double DspSession::DspVersion() const {
    return revision_->DspVersion;
}

void DspSession::mnuDspResetToDefaults() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!clink::LinkCheck(link()).linkChosen())
        return; // no link: nothing is sent and nothing shown
    if (clink::SendDspReset(link()))
        infoBox(QStringLiteral("Dsp Reset To Factory Defaults"));
    else
        failBox(QStringLiteral("Dsp Reset To Factory Defaults Failed"));
}

void DspSession::mnuDspRev() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    revision_->mnuDspRev();
}

void DspSession::mnuViewDspEepromLocation() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(
            ids::DspReply,
            {.usb = clink::UsbCheck::Reopen,
             .ethernet = clink::EthernetCheck::FilterFrame,
             .texts = linkTexts(QStringLiteral("Unable To Configure Can Dongle"), EthernetText)}))
        return;
    values().frmValue().prepareValue(QStringLiteral("Eeprom Location To Read"), 0, LastDspLocation, 0);
    values().show();
    const QString& result = values().results.ValueEntryResult;
    if (result.isEmpty())
        return;
    clink::LinkState& s = state();
    dataTx().ClearReceiveBuffer();
    s.DataCount = 0;
    if (!dataTx().ReadDspEeprom(base::CInt(base::textValue(result)).value_or(0)))
        return failBox(QStringLiteral("Read DSP Eeprom Failed"));
    const int value = clink::unsignedWord(s.DataBuffer[1], s.DataBuffer[0]);
    infoBox(QStringLiteral("Eeprom Address: ") + result + QStringLiteral(" Value: ") +
            QString::number(value));
}

void DspSession::mnuWriteDspEeprom() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::DspReply, writeCheck()))
        return;
    // A location holds one unsigned 16-bit word.
    values().frmValue().prepareEeprom(QStringLiteral("Write Dsp Eeprom"), LastDspLocation, LargestDspValue);
    values().show();
    const ValueEntryResults& r = values().results;
    const double address = base::textValue(r.ValueEntryResult);
    if (r.ValueEntryResult.isEmpty() || address == 0)
        return;
    const int value =
        int(std::clamp(base::roundHalfEven(base::textValue(r.ValueEntryData)), 0.0, double(LargestDspValue)));
    if (dataTx().WriteDspEeprom(int(address), value))
        infoBox(QStringLiteral("Write Dsp Eeprom -> Completed (Add: ") + r.ValueEntryResult +
                QStringLiteral(" Data: ") + r.ValueEntryData + u')');
    else
        failBox(QStringLiteral("Write Dsp Eeprom -> Failed "));
}

bool DspSession::mnuWriteDspParameters() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return false;
    if (!linkGate().preCheck(ids::DspReply, writeCheck()))
        return false;
    progress().start(EditorLastAddress, true);
    state().DataCount = 0;
    dataTx().ClearReceiveBuffer();
    for (int address = 0; address <= EditorLastAddress; address += DspLocationBytes) {
        if (!dataTx().ReadDspEeprom(address)) {
            failBox(QStringLiteral("Unable To Receive Dsp Settings"));
            return false;
        }
        progress().setValue(address);
    }
    progress().setValue(0);
    return true;
}

ReportLines DspSession::mnuDspViewParameters() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    if (!linkGate().preCheck(ids::DspReply, {.usb = clink::UsbCheck::Reopen}))
        return {};
    progress().start(ReportLastAddress, true);
    state().DataCount = 0;
    for (int address = 0; address <= ReportLastAddress; address += DspLocationBytes) {
        if (!dataTx().ReadDspEeprom(address)) {
            failBox(QStringLiteral("Read Dsp Parameters Failed"));
            return {};
        }
        progress().setValue(address);
    }
    // Whatever the link: it goes out only while the Ethernet connection is up.
    link().ethernet.SendFilterFrame(ids::DspReadDone);
    const QDateTime now = services.now();
    return makeDspParameterReport(reportTimeText(now), reportDateText(now), state().DataBuffer);
}

void DspSession::runToolData(ToolData which) {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::ToolEepromReply, ToolSession::toolCheck()))
        return;
    if (!dataTx().ReadToolEeprom(CalValueLow))
        return failBox(QStringLiteral("Tool May not be connected"));
    // The DSP check; over Ethernet its frame carries the RPM code (0 for the diagnostics).
    if (!linkGate().toolDataCheck(which == ToolData::Rpm ? ToolDataCode : 0))
        return;
    if (!revision_->GetDspRev() || revision_->DspVersion < clink::DspRevision::DiagnosticsMinimum) {
        dialogs().message(QStringLiteral("DSP Version must be 3.01 or higher.\r\nCurrent DSP Version is ") +
                              base::numberText(revision_->DspVersion),
                          base::ProgramTitle, base::MessageIcon::None);
        return;
    }
    if (!linkGate().toolDataCheck(0))
        return;
    if (which == ToolData::Rpm)
        dataTx().ReadToolRpm();
    else
        dataTx().RunToolDiagnostics();
}

void DspSession::mnuRPM() {
    runToolData(ToolData::Rpm);
}

void DspSession::mnuDiag() {
    runToolData(ToolData::Diagnostics);
}

} // namespace app
