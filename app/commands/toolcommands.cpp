#include "app/commands/toolcommands.h"

#include "app/commands/commandboxes.h"
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/toolcalibration.h"
#include "app/toolparameterread.h"
#include "app/ui/appcontext.h"
#include "base/vbrules.h"
#include "link/replywords.h"

#include <QProgressBar>

namespace app {

namespace ids = clink::ids;

namespace {
constexpr int LastToolLocation = 1023;
constexpr int LargestByte = 255;
constexpr int LargestToolId = 65535;
} // namespace

void ToolCommands::bind() {
    frame.onMenu(QStringLiteral("mnuCalValue"), [this] { mnuCalValue_Click(); });
    frame.onMenu(QStringLiteral("mnuReadToolEepromLocation"), [this] { mnuReadToolEepromLocation_Click(); });
    frame.onMenu(QStringLiteral("mnuReadAllToolEeLocations"), [this] { mnuReadAllToolEeLocations_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolEeprom"), [this] { mnuWriteToolEeprom_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteToolId"), [this] { mnuWriteToolId_Click(); });
    frame.onMenu(QStringLiteral("mnuResetToolCal"), [this] { mnuResetToolCal_Click(); });
    frame.onMenu(QStringLiteral("mnuSetFactoryCalibration"), [this] { mnuSetFactoryCalibration_Click(); });
    frame.onMenu(QStringLiteral("mnuReadToolParameters"), [this] { mnuReadToolParameters_Click(); });
}

bool ToolCommands::toolLinkCheck(CommandFrame& frame) {
    return frame.linkPreCheck(
        ids::ToolEepromReply,
        {.usb = clink::UsbCheck::Plain,
         .ethernet = clink::EthernetCheck::FilterFrame,
         .texts = linkTexts(QStringLiteral("Unable To Configure CanDongle - Tool May not be connected"),
                            QStringLiteral("Unable to Connect through Ethernet")),
         .ethernetSettle = EthernetSettleCycles * 2});
}

bool ToolCommands::writeLinkCheck() {
    return frame.linkPreCheck(ids::ToolEepromReply,
                              {.usb = clink::UsbCheck::Reopen,
                               .ethernet = clink::EthernetCheck::FilterFrame,
                               .texts = linkTexts(QStringLiteral("Unable To Configure Candongle"),
                                                  QStringLiteral("Unable to connect using ethernet"))});
}

bool ToolCommands::readLinkCheck() {
    return frame.linkPreCheck(ids::ToolEepromReply,
                              {.usb = clink::UsbCheck::Reopen,
                               .ethernet = clink::EthernetCheck::FilterFrame,
                               .texts = linkTexts(QStringLiteral("Unable To Configure CanDongle"),
                                                  QStringLiteral("Unable to connect using ethernet"))});
}

bool ToolCommands::readCalLocations(int first, int last) {
    frame.Bar1().setVisible(true);
    const QString failure = readCalibrationLocations(frame.ctx.link, first, last, frame.progress());
    if (!failure.isEmpty())
        frame.failBox(failure);
    return failure.isEmpty();
}

void ToolCommands::mnuCalValue_Click() {
    auto busy = frame.busy();
    if (!busy || !toolLinkCheck(frame))
        return;
    WaitCursor hourglass;
    if (!readCalLocations(CalValueLow, FactoryCalHigh))
        return;
    const clink::LinkState& s = frame.state();
    const int current = clink::unsignedWord(s.DataBuffer[1], s.DataBuffer[0]);
    const int factory = clink::unsignedWord(s.DataBuffer[3], s.DataBuffer[2]);
    frame.Bar1().setValue(0);
    infoBox(frame, QStringLiteral("Current Cal Value: ") + QString::number(current) +
                       QStringLiteral("  Factory Cal Value: ") + QString::number(factory));
}

void ToolCommands::mnuReadToolEepromLocation_Click() {
    {
        auto busy = frame.busy();
        if (!busy ||
            !frame.linkPreCheck(ids::ToolEepromReply,
                                {.usb = clink::UsbCheck::Reopen,
                                 .ethernet = clink::EthernetCheck::FilterFrame,
                                 .texts = linkTexts(QStringLiteral("Unable To Configure CanDongle"),
                                                    QStringLiteral("Unable to connect using Ethernet"))}))
            return;
    }
    // The reads are made from the window, one per Enter.
    frame.ctx.windows.open(wnd::frmValue2);
}

void ToolCommands::mnuReadAllToolEeLocations_Click() {
    auto busy = frame.busy();
    if (!busy || !readLinkCheck())
        return;
    clink::LinkState& s = frame.state();
    frame.dataTx().ClearReceiveBuffer();
    s.DataCount = 0;
    s.EepromReadIndex = 0;
    QProgressBar& bar = frame.Bar1();
    startBar(bar, ToolListingLocations, false);
    Report report = frame.newReport();
    for (int address = 0; address < ToolListingLocations; ++address) {
        if (!frame.dataTx().ReadToolEeprom(address)) {
            // The report window is never shown: no partial listing.
            frame.failBox(QStringLiteral("Read Tool Eeprom Failed"));
            bar.setValue(0);
            return;
        }
        bar.setValue(address);
    }
    report.add(makeToolEepromListing(s.DataBuffer));
    report.show();
    bar.setValue(0);
}

void ToolCommands::mnuWriteToolEeprom_Click() {
    auto busy = frame.busy();
    if (!busy || !writeLinkCheck())
        return;
    ValueEntryResults& r = frame.ctx.values.results;
    r.ValueEntryResult = QStringLiteral("0");
    for (;;) {
        ValueEntryForm& form = frame.ctx.values.frmValue();
        form.prepareEeprom(QStringLiteral("Write Tool Eeprom"), LastToolLocation, LargestByte);
        form.CwEeAddValue(long(base::vbVal(r.ValueEntryResult)));
        frame.ctx.values.show();
        // Cancel (and the close box) leave "0": location 0 cannot be written here.
        const double address = base::vbVal(r.ValueEntryResult);
        if (address == 0)
            return;
        if (frame.dataTx().WriteToolEeprom(base::CInt(address).value_or(0),
                                           base::CInt(base::vbVal(r.ValueEntryData)).value_or(0)))
            infoBox(frame, QStringLiteral("Write Tool Eeprom -> Completed (Add: ") + r.ValueEntryResult +
                               QStringLiteral(" Data: ") + r.ValueEntryData + u')');
        else
            frame.failBox(QStringLiteral("Write Tool Eeprom -> Failed "));
        // The last location has been offered: there is no next one.
        if (address >= LastToolLocation)
            return;
        r.ValueEntryResult = base::vbNum(address + 1);
    }
}

void ToolCommands::mnuWriteToolId_Click() {
    auto busy = frame.busy();
    if (!busy || !writeLinkCheck())
        return;
    const bool pistol =
        frame.dialogs().askYesNoWithoutIcon(QStringLiteral("Is The Tool A Pistol ?"), base::ProgramTitle);
    frame.ctx.values.frmValue().prepareValue(QStringLiteral("Enter Tool Id"), 0, LargestToolId, 0);
    frame.ctx.values.show();
    const QString& result = frame.ctx.values.results.ValueEntryResult;
    if (result.isEmpty())
        return;
    const int id = int(base::vbVal(result));
    const int high = int(base::Int(id / 256.0));
    const int low = id & LargestByte;
    // A pistol keeps its id high byte first.
    const int lowAt = pistol ? ToolIdHighLocation : ToolIdLowLocation;
    const int highAt = pistol ? ToolIdLowLocation : ToolIdHighLocation;
    clink::DataTx& tx = frame.dataTx();
    if (tx.WriteToolEeprom(lowAt, low) && tx.WriteToolEeprom(highAt, high))
        infoBox(frame, QStringLiteral("Write Tool Id - Completed"));
    else
        frame.failBox(QStringLiteral("Write Tool Id - Failed"));
}

void ToolCommands::copyCalibration(const CalibrationCopy& copy, const QString& complete) {
    auto busy = frame.busy();
    if (!busy || !writeLinkCheck())
        return;
    WaitCursor hourglass;
    if (!readCalLocations(copy.readFirst, copy.readFirst + 1))
        return;
    const QString failure = writeCalibrationCopy(frame.ctx.link, copy);
    if (failure.isEmpty())
        infoBox(frame, complete);
    else
        frame.failBox(failure);
    frame.Bar1().setVisible(false);
}

void ToolCommands::mnuResetToolCal_Click() {
    copyCalibration(ToolCalibrationReset, QStringLiteral("Tool Calibration Reset Complete"));
}

void ToolCommands::mnuSetFactoryCalibration_Click() {
    copyCalibration(FactoryCalibrationSet, QStringLiteral("Tool Factory Calibration Set Complete"));
}

void ToolCommands::mnuReadToolParameters_Click() {
    auto busy = frame.busy();
    if (!busy || !readLinkCheck())
        return;
    Report report = frame.newReport();
    QProgressBar& bar = frame.Bar1();
    startBar(bar, ToolReportLocations, true);
    WaitCursor hourglass;
    if (!readToolParameterLocations(frame.ctx.link, frame.progress()))
        return frame.failBox(QStringLiteral("Read Tool Parameters Failed"));
    const QDateTime now = frame.ctx.now();
    report.add(makeToolParameterReport(reportTimeText(now), reportDateText(now), frame.state().DataBuffer));
    bar.setValue(0);
    report.show();
}

} // namespace app
