#include "app/commands/transducercommands.h"

#include "app/commands/commandboxes.h"
#include "app/reports/transducerreport.h"
#include "app/reporttime.h"
#include "app/ui/appcontext.h"

#include <QProgressBar>

namespace app {

namespace ids = clink::ids;

namespace {
const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
constexpr int ByteShift = 256;
constexpr int ByteMask = 0xFF;
} // namespace

void TransducerCommands::bind() {
    frame.onMenu(QStringLiteral("mnuTrasnducerViewParameters"),
                 [this] { mnuTrasnducerViewParameters_Click(); });
    frame.onMenu(QStringLiteral("mnuTransducerReadEeprom"), [this] { mnuTransducerReadEeprom_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteTransducerCalValue"),
                 [this] { mnuWriteTransducerCalValue_Click(); });
    frame.onMenu(QStringLiteral("mnuWriteXducerEeprom"), [this] { mnuWriteXducerEeprom_Click(); });
}

void TransducerCommands::mnuTrasnducerViewParameters_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.linkChecked(frame.linkCheck().transducerCheck()))
        return;
    QProgressBar& bar = frame.Bar1();
    startBar(bar, TransducerReportLast, true);
    bool read = true;
    {
        WaitCursor hourglass;
        s.DataCount = 0;
        link.dataTx.ClearReceiveBuffer();
        for (int address = 0; read && address <= TransducerReportLast; ++address) {
            read = link.dataTx.ReadTransducerEeprom(address);
            if (read)
                bar.setValue(address);
        }
    }
    if (!read) {
        frame.failBox(QStringLiteral("External Transducer Data Not Received"));
        bar.setValue(0);
        return;
    }
    bar.setValue(0);
    const QDateTime now = frame.ctx.now();
    Report report = frame.newReport();
    report.add(makeTransducerReport(reportTimeText(now), reportDateText(now), s.DataBuffer));
    report.show();
}

void TransducerCommands::mnuTransducerReadEeprom_Click() {
    AppContext& ctx = frame.ctx;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.dongleOnlyPreCheck(ids::TransducerReply, CandongleFailed))
        return;
    ctx.values.frmValue().prepareValue(QStringLiteral("Eeprom Location To Read"), 0, LastLocation, 0);
    if (!ctx.values.show())
        return;
    const QString address = ctx.values.results.ValueEntryResult;
    ctx.link.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    if (ctx.link.dataTx.ReadTransducerEeprom(valueEntryNumber(address)))
        infoBox(frame, QStringLiteral("Eeprom Location ") + address + QStringLiteral(" = ") +
                           QString::number(s.DataBuffer[0]));
    else
        frame.failBox(QStringLiteral("Read Transducer Eeprom Failed"));
}

void TransducerCommands::mnuWriteTransducerCalValue_Click() {
    AppContext& ctx = frame.ctx;
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.dongleOnlyPreCheck(ids::TransducerReply, QStringLiteral("Unable To Configure CanDongle")))
        return;
    ctx.values.frmValue().prepareValue(QStringLiteral("Transducer Cal Value"), SmallestCalValue,
                                       LargestCalValue, SmallestCalValue);
    if (!ctx.values.show())
        return;
    const int value = valueEntryNumber(ctx.values.results.ValueEntryResult);
    // The high byte first; the low byte only after it was written.
    const bool written = ctx.link.dataTx.WriteTransducerEeprom(TransducerCalHigh, value / ByteShift) &&
                         ctx.link.dataTx.WriteTransducerEeprom(TransducerCalLow, value & ByteMask);
    if (written)
        infoBox(frame, QStringLiteral("Transfer Completed Successfully"));
    else
        frame.failBox(QStringLiteral("Data Not Written To External Transducer"));
}

void TransducerCommands::mnuWriteXducerEeprom_Click() {
    AppContext& ctx = frame.ctx;
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!frame.dongleOnlyPreCheck(ids::TransducerReply, CandongleFailed))
        return;
    ctx.values.frmValue().prepareEeprom(QStringLiteral("Write Transducer Eeprom"), LastLocation, LargestByte);
    ctx.values.show();
    const QString address = ctx.values.results.ValueEntryResult;
    const QString data = ctx.values.results.ValueEntryData;
    // The panel's Cancel leaves address 0, so location 0 is never written here.
    if (address.isEmpty() || valueEntryNumber(address) == 0)
        return;
    if (ctx.link.dataTx.WriteTransducerEeprom(valueEntryNumber(address), valueEntryNumber(data)))
        infoBox(frame, QStringLiteral("Write Transducer Eeprom -> Completed (Add: ") + address +
                           QStringLiteral(" Data: ") + data + u')');
    else
        frame.failBox(QStringLiteral("Write Transducer Eeprom -> Failed "));
}

} // namespace app
