#include "app/sessions/toolsession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/toolreports.h"
#include "app/reporttime.h"
#include "app/toolcalibration.h"
#include "app/toolparameterread.h"
#include "base/numbertext.h"
#include "link/replywords.h"

namespace app {

namespace ids = clink::ids;

namespace {
constexpr int LastToolLocation = 1023;
constexpr int LargestByte = 255;
constexpr int LargestToolId = 65535;
} // namespace

clink::PreCheck ToolSession::toolCheck() {
    return {.usb = clink::UsbCheck::Plain,
            .ethernet = clink::EthernetCheck::FilterFrame,
            .texts = linkTexts(QStringLiteral("Unable To Configure CanDongle - Tool May not be connected"),
                               QStringLiteral("Unable to Connect through Ethernet")),
            .ethernetSettle = EthernetSettleCycles * 2};
}

bool ToolSession::readCalLocations(int first, int last) {
    progress().setVisible(true);
    const QString failure = readCalibrationLocations(link(), first, last, progress());
    if (!failure.isEmpty())
        failBox(failure);
    return failure.isEmpty();
}

void ToolSession::mnuCalValue() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::ToolEepromReply, toolCheck()) ||
        !readCalLocations(CalValueLow, FactoryCalHigh))
        return;
    const clink::LinkState& s = state();
    const int current = clink::unsignedWord(s.DataBuffer[1], s.DataBuffer[0]);
    const int factory = clink::unsignedWord(s.DataBuffer[3], s.DataBuffer[2]);
    progress().setValue(0);
    infoBox(QStringLiteral("Current Cal Value: ") + QString::number(current) +
            QStringLiteral("  Factory Cal Value: ") + QString::number(factory));
}

bool ToolSession::mnuReadToolEepromLocation() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return false;
    return linkGate().preCheck(ids::ToolEepromReply,
                               {.usb = clink::UsbCheck::Reopen,
                                .ethernet = clink::EthernetCheck::FilterFrame,
                                .texts = linkTexts(QStringLiteral("Unable To Configure CanDongle"),
                                                   QStringLiteral("Unable to connect using Ethernet"))});
}

void ToolSession::readToolEepromLocation(double location) {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    QString& text = values().results.ValueEntryResult;
    text = base::numberText(location);
    dataTx().ClearReceiveBuffer();
    if (dataTx().ReadToolEeprom(int(base::textValue(text))))
        infoBox(QStringLiteral("Eeprom Location %1 = %2").arg(text).arg(state().DataBuffer[0]));
    else
        failBox(QStringLiteral("Read Tool Eeprom Failed"));
}

ReportLines ToolSession::mnuReadAllToolEeLocations() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    if (!linkGate().preCheck(ids::ToolEepromReply,
                             toolEepromCheck(QStringLiteral("Unable To Configure CanDongle"))))
        return {};
    clink::LinkState& s = state();
    dataTx().ClearReceiveBuffer();
    s.DataCount = 0;
    s.EepromReadIndex = 0;
    progress().start(ToolListingLocations, false);
    for (int address = 0; address < ToolListingLocations; ++address) {
        if (!dataTx().ReadToolEeprom(address)) {
            // No partial listing.
            failBox(QStringLiteral("Read Tool Eeprom Failed"));
            progress().setValue(0);
            return {};
        }
        progress().setValue(address);
    }
    progress().setValue(0);
    return makeToolEepromListing(s.DataBuffer);
}

void ToolSession::mnuWriteToolEeprom() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::ToolEepromReply, toolEepromCheck()))
        return;
    ValueEntryResults& r = values().results;
    r.ValueEntryResult = QStringLiteral("0");
    for (;;) {
        ValueEntryForm& form = values().frmValue();
        form.prepareEeprom(QStringLiteral("Write Tool Eeprom"), LastToolLocation, LargestByte);
        form.CwEeAddValue(long(base::textValue(r.ValueEntryResult)));
        values().show();
        // Cancel (and the close box) leave "0": location 0 cannot be written here.
        const double address = base::textValue(r.ValueEntryResult);
        if (address == 0)
            return;
        if (dataTx().WriteToolEeprom(base::CInt(address).value_or(0),
                                     base::CInt(base::textValue(r.ValueEntryData)).value_or(0)))
            infoBox(QStringLiteral("Write Tool Eeprom -> Completed (Add: ") + r.ValueEntryResult +
                    QStringLiteral(" Data: ") + r.ValueEntryData + u')');
        else
            failBox(QStringLiteral("Write Tool Eeprom -> Failed "));
        // The last location has been offered: there is no next one.
        if (address >= LastToolLocation)
            return;
        r.ValueEntryResult = base::numberText(address + 1);
    }
}

void ToolSession::mnuWriteToolId() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::ToolEepromReply, toolEepromCheck()))
        return;
    const bool pistol =
        dialogs().askYesNoWithoutIcon(QStringLiteral("Is The Tool A Pistol ?"), base::ProgramTitle);
    values().frmValue().prepareValue(QStringLiteral("Enter Tool Id"), 0, LargestToolId, 0);
    values().show();
    const QString& result = values().results.ValueEntryResult;
    if (result.isEmpty())
        return;
    const int id = int(base::textValue(result));
    const int high = int(base::Int(id / 256.0));
    const int low = id & LargestByte;
    // A pistol keeps its id high byte first.
    const int lowAt = pistol ? ToolIdHighLocation : ToolIdLowLocation;
    const int highAt = pistol ? ToolIdLowLocation : ToolIdHighLocation;
    if (dataTx().WriteToolEeprom(lowAt, low) && dataTx().WriteToolEeprom(highAt, high))
        infoBox(QStringLiteral("Write Tool Id - Completed"));
    else
        failBox(QStringLiteral("Write Tool Id - Failed"));
}

void ToolSession::copyCalibration(const CalibrationCopy& copy, const QString& complete) {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().preCheck(ids::ToolEepromReply, toolEepromCheck()) ||
        !readCalLocations(copy.readFirst, copy.readFirst + 1))
        return;
    const QString failure = writeCalibrationCopy(link(), copy);
    if (failure.isEmpty())
        infoBox(complete);
    else
        failBox(failure);
    progress().setVisible(false);
}

void ToolSession::mnuResetToolCal() {
    copyCalibration(ToolCalibrationReset, QStringLiteral("Tool Calibration Reset Complete"));
}

void ToolSession::mnuSetFactoryCalibration() {
    copyCalibration(FactoryCalibrationSet, QStringLiteral("Tool Factory Calibration Set Complete"));
}

ReportLines ToolSession::mnuReadToolParameters() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    if (!linkGate().preCheck(ids::ToolEepromReply,
                             toolEepromCheck(QStringLiteral("Unable To Configure CanDongle"))))
        return {};
    progress().start(ToolReportLocations, true);
    if (!readToolParameterLocations(link(), progress())) {
        failBox(QStringLiteral("Read Tool Parameters Failed"));
        return {};
    }
    const QDateTime now = services.now();
    const QStringList lines =
        makeToolParameterReport(reportTimeText(now), reportDateText(now), state().DataBuffer);
    progress().setValue(0);
    return lines;
}

} // namespace app
