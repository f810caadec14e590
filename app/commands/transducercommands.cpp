#include "app/commands/transducercommands.h"

#include "app/ui/appcontext.h"
#include "app/reporttime.h"
#include "app/reports/transducerreport.h"
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/waitbudget.h"

#include <QProgressBar>

namespace app {

namespace ids = clink::ids;
using base::MessageIcon;

namespace {
const QString CandongleFailed = QStringLiteral("Unable To Configure Candongle");
const QString EthernetFailed = LinkFailTexts{}.ethernet;
// DoEvents after the first presence frame.
constexpr long PresenceFrameYields = 2;
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

bool TransducerCommands::transducerPresent() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    // Cleared before the first frame, so that its answer, however soon it comes, arms the reply handler.
    s.ReplyReady = false;
    s.RequestData[1] = s.RequestData[2] = s.RequestData[3] = 0;
    s.AckReceived = false;
    if (link.ethernet.SendFilterFrame(ids::TransducerReply2))
        link.pump.pause(PresenceFrameYields);
    clink::SharedWaitBudget budget(link.pump, PresencePolls, 1);
    for (int sends = 0; sends < PresenceSends && !s.ReplyReady; ++sends) {
        // A frame that cannot be sent: the connection is gone.
        if (!link.ethernet.SendFilterFrame(ids::TransducerReply2)) {
            frame.failBox(EthernetFailed);
            return false;
        }
        budget.wait([&] { return s.ReplyReady; });
    }
    if (!s.ReplyReady) {
        frame.failBox(QStringLiteral("External Transducer Not Communicating"));
        return false;
    }
    return true;
}

bool TransducerCommands::parameterLinkStep() {
    clink::ControllerLink& link = frame.ctx.link;
    switch (frame.state().ConnectionType) {
    case clink::ParallelPort:
        if (!link.dataTx.ConfigureCanDongle(ids::TransducerReply)) {
            frame.failBox(CandongleFailed);
            return false;
        }
        return true;
    case clink::TcpIp:
        if (!link.socket.isConnected()) {
            frame.failBox(EthernetFailed);
            return false;
        }
        return transducerPresent();
    default:
        return true; // the first read fails by itself
    }
}

void TransducerCommands::mnuTrasnducerViewParameters_Click() {
    clink::ControllerLink& link = frame.ctx.link;
    clink::LinkState& s = frame.state();
    auto busy = frame.busy();
    if (!busy)
        return;
    if (!parameterLinkStep())
        return;
    QProgressBar& bar = frame.Bar1();
    bar.setRange(0, TransducerReportLast);
    bar.setValue(0);
    bar.setVisible(true);
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
    for (const QString& line : makeTransducerReport(reportTimeText(now), reportDateText(now), s.DataBuffer))
        report.add(line);
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
    ValueEntryForm& v = ctx.values.frmValue();
    v.LblCaption(QStringLiteral("Eeprom Location To Read"));
    v.SetFrameValue(true);
    v.CwMaxVal(LastLocation);
    v.CwMinVal(0);
    v.CwVal(0);
    if (!ctx.values.show())
        return;
    const QString address = ctx.values.results.ValueEntryResult;
    ctx.link.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    if (ctx.link.dataTx.ReadTransducerEeprom(valueEntryNumber(address)))
        frame.dialogs().message(QStringLiteral("Eeprom Location ") + address + QStringLiteral(" = ") +
                                    QString::number(s.DataBuffer[0]),
                                base::ProgramTitle, MessageIcon::Information);
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
    ValueEntryForm& v = ctx.values.frmValue();
    v.LblCaption(QStringLiteral("Transducer Cal Value"));
    v.SetFrameValue(true);
    v.CwMaxVal(LargestCalValue);
    v.CwMinVal(SmallestCalValue);
    v.CwVal(SmallestCalValue);
    if (!ctx.values.show())
        return;
    const int value = valueEntryNumber(ctx.values.results.ValueEntryResult);
    // The high byte first; the low byte only after it was written.
    const bool written = ctx.link.dataTx.WriteTransducerEeprom(TransducerCalHigh, value / ByteShift) &&
                         ctx.link.dataTx.WriteTransducerEeprom(TransducerCalLow, value & ByteMask);
    if (written)
        frame.dialogs().message(QStringLiteral("Transfer Completed Successfully"), base::ProgramTitle,
                                MessageIcon::Information);
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
    ValueEntryForm& v = ctx.values.frmValue();
    v.SetFrameEeprom(true);
    v.SetLblEeprom(QStringLiteral("Write Transducer Eeprom"));
    v.CwEeAddMax(LastLocation);
    v.CwEeAddMin(0);
    v.CwEeAddValue(0);
    v.CwEeDataMax(LargestByte);
    v.CwEeDataMin(0);
    v.CwEeDataValue(0);
    ctx.values.show();
    const QString address = ctx.values.results.ValueEntryResult;
    const QString data = ctx.values.results.ValueEntryData;
    // The panel's Cancel leaves address 0, so location 0 is never written here.
    if (address.isEmpty() || valueEntryNumber(address) == 0)
        return;
    if (ctx.link.dataTx.WriteTransducerEeprom(valueEntryNumber(address), valueEntryNumber(data)))
        frame.dialogs().message(QStringLiteral("Write Transducer Eeprom -> Completed (Add: ") + address +
                                    QStringLiteral(" Data: ") + data + u')',
                                base::ProgramTitle, MessageIcon::Information);
    else
        frame.failBox(QStringLiteral("Write Transducer Eeprom -> Failed "));
}

} // namespace app
