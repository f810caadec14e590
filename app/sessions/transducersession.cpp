#include "app/sessions/transducersession.h"

#include "app/appservices.h"
#include "app/linkgate.h"
#include "app/reports/transducerreport.h"
#include "app/reporttime.h"

namespace app {

namespace ids = clink::ids;

namespace {
const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
constexpr int ByteShift = 256;
constexpr int ByteMask = 0xFF;
} // namespace

ReportLines TransducerSession::mnuTrasnducerViewParameters() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return {};
    if (!linkGate().transducerCheck())
        return {};
    progress().start(TransducerReportLast, true);
    state().DataCount = 0;
    dataTx().ClearReceiveBuffer();
    for (int address = 0; address <= TransducerReportLast; ++address) {
        if (!dataTx().ReadTransducerEeprom(address)) {
            failBox(QStringLiteral("External Transducer Data Not Received"));
            progress().setValue(0);
            return {};
        }
        progress().setValue(address);
    }
    progress().setValue(0);
    const QDateTime now = services.now();
    return makeTransducerReport(reportTimeText(now), reportDateText(now), state().DataBuffer);
}

void TransducerSession::mnuTransducerReadEeprom() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().dongleOnly(ids::TransducerReply, CandongleFailed))
        return;
    values().frmValue().prepareValue(QStringLiteral("Eeprom Location To Read"), 0, LastLocation, 0);
    if (!values().show())
        return;
    const QString address = values().results.ValueEntryResult;
    dataTx().ClearReceiveBuffer();
    state().DataCount = 0;
    if (dataTx().ReadTransducerEeprom(valueEntryNumber(address)))
        infoBox(QStringLiteral("Eeprom Location ") + address + QStringLiteral(" = ") +
                QString::number(state().DataBuffer[0]));
    else
        failBox(QStringLiteral("Read Transducer Eeprom Failed"));
}

void TransducerSession::mnuWriteTransducerCalValue() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().dongleOnly(ids::TransducerReply, QStringLiteral("Unable To Configure CanDongle")))
        return;
    values().frmValue().prepareValue(QStringLiteral("Transducer Cal Value"), SmallestCalValue,
                                     LargestCalValue, SmallestCalValue);
    if (!values().show())
        return;
    const int value = valueEntryNumber(values().results.ValueEntryResult);
    // The high byte first; the low byte only after it was written.
    const bool written = dataTx().WriteTransducerEeprom(TransducerCalHigh, value / ByteShift) &&
                         dataTx().WriteTransducerEeprom(TransducerCalLow, value & ByteMask);
    if (written)
        infoBox(QStringLiteral("Transfer Completed Successfully"));
    else
        failBox(QStringLiteral("Data Not Written To External Transducer"));
}

void TransducerSession::mnuWriteXducerEeprom() {
    const base::BusyGuard busy(busyState());
    if (!busy.acquired())
        return;
    if (!linkGate().dongleOnly(ids::TransducerReply, CandongleFailed))
        return;
    values().frmValue().prepareEeprom(QStringLiteral("Write Transducer Eeprom"), LastLocation, LargestByte);
    values().show();
    const QString address = values().results.ValueEntryResult;
    const QString data = values().results.ValueEntryData;
    // The panel's Cancel leaves address 0, so location 0 is never written here.
    if (address.isEmpty() || valueEntryNumber(address) == 0)
        return;
    if (dataTx().WriteTransducerEeprom(valueEntryNumber(address), valueEntryNumber(data)))
        infoBox(QStringLiteral("Write Transducer Eeprom -> Completed (Add: ") + address +
                QStringLiteral(" Data: ") + data + u')');
    else
        failBox(QStringLiteral("Write Transducer Eeprom -> Failed "));
}

} // namespace app
