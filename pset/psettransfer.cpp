#include "pset/psettransfer.h"

#include "app/appservices.h"
#include "app/transferlinkcheck.h"
#include "base/torque.h"
#include "link/commandcodes.h"
#include "pset/psetvalues.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace pset {

namespace codes = clink::codes;
using app::PsetField;
using app::PsetTable;
using app::TransferOutcome;
using app::TransferResult;
using base::MessageIcon;
using PsetCountStep = clink::DataTx::PsetCountStep;

namespace {
const QString ConfigurationErrorCaption = QStringLiteral("Configuration Error");
const QString ReceiveErrorCaption = QStringLiteral("Receive Error");
const QString DataEntryErrorCaption = QStringLiteral("Data Entry Error");
const QString StatusNotReceivedText = QStringLiteral("System Status Not Received");
const QString EthernetNotConnectedLine = QStringLiteral("No Ethernet Connection");
const QString UsbFailText = QStringLiteral("Unable to connect using USB");
const QString SendEthernetFailText = QStringLiteral("Unable to Connect through Ethernet");
const QString NotResetText = QStringLiteral("Parameter Sets Not Reset");
const QString ReceiveDongleFailedText = QStringLiteral("Unable To Configure CanDongle - Transfer Aborted");

// The link checks of a send: before the erase, and again before the packets (a parallel-port failure then
// hides the report).
app::TransferLinkCheck sendCheck(const QString& parallelFailText, bool parallelHidesReport) {
    return {.texts = {parallelFailText, SendEthernetFailText, UsbFailText},
            .parallelCaption = ConfigurationErrorCaption,
            .ethernetCaption = ConfigurationErrorCaption,
            .parallelHidesReport = parallelHidesReport};
}

QString psetNamed(int n, const QString& text) {
    return QStringLiteral("Parameter Set ") + QString::number(n) + u':' + text;
}

// The serial-number frame carries the text between "%CANSN" and "NAC%" on one line: a "%" or a control
// character would end or split the frame, and the frame is one byte per character.
bool fitsSerialNumberFrame(const QString& text) {
    constexpr char16_t FirstPrintable = 0x20;
    constexpr char16_t LastAscii = 0x7E;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() >= FirstPrintable && c.unicode() <= LastAscii && c != u'%';
    });
}
} // namespace

PsetTransfer::PsetTransfer(app::AppServices& services, TransferPanel& panel)
    : services_(services), panel_(panel), checks_(services.link, services.dialogs, &panel) {}

TransferResult PsetTransfer::failed(const QString& text, const QString& caption, TransferOutcome outcome) {
    return checks_.report(outcome, text, caption);
}

TransferResult PsetTransfer::failedAndHidden(const QString& text, const QString& caption,
                                             TransferOutcome outcome) {
    const TransferResult result = failed(text, caption, outcome);
    panel_.HideTransferPanel();
    return result;
}

bool PsetTransfer::readStatus(StatusFailure failure) {
    if (services_.link.dataTx.ReadSystemStatus())
        return true;
    if (failure == StatusFailure::Report)
        failed(StatusNotReceivedText, ReceiveErrorCaption);
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Send

std::optional<TransferResult> PsetTransfer::checkAndPack(const PsetTable& table, PsetTable& scaled,
                                                         std::vector<PsetPacket>& packets) {
    const int count = table.count();
    if (count < 1 || count > PsetTable::MaxPsets)
        return failed(QStringLiteral("No Parameter Sets To Send"), DataEntryErrorCaption);
    for (int n = 1; n <= count; ++n) {
        if (const auto error = psetEntryError(table[n]))
            return failed(psetNamed(n, *error), DataEntryErrorCaption);
    }
    // Every value must fit its bytes before the controller's Psets are erased.
    PsetTable packed = scaled;
    for (int n = 1; n <= count; ++n) {
        packed[n] = scaledPset(table[n]);
        QString fault;
        const auto psetPacketsOfN = psetPackets(table[n], packed[n], n, fault);
        if (!psetPacketsOfN)
            return failed(psetNamed(n, QStringLiteral("  ") + fault + QStringLiteral("  ")),
                          DataEntryErrorCaption);
        packets.insert(packets.end(), psetPacketsOfN->begin(), psetPacketsOfN->end());
    }
    scaled = packed;
    return std::nullopt;
}

std::optional<TransferResult> PsetTransfer::sendPackets(int count, const std::vector<PsetPacket>& packets) {
    const size_t perPset = size_t(codes::PsetPackets);
    for (int n = 1; n <= count; ++n) {
        panel_.addLine(QStringLiteral("Converting Parameter Set ") + QString::number(n) +
                       QStringLiteral(" Values"));
        panel_.addLine(QStringLiteral("Sending Parameter Set ") + QString::number(n));
        for (int k = 1; k <= codes::PsetPackets; ++k) {
            const QString packet = QStringLiteral("Packet ") + QString::number(k);
            if (!services_.link.dataTx.SendPsetData(packets[size_t(n - 1) * perPset + size_t(k - 1)]))
                return failedAndHidden(packet + QStringLiteral(" Not Sent"), ReceiveErrorCaption);
            panel_.addLine(packet + QStringLiteral(" Sent"));
        }
    }
    return std::nullopt;
}

TransferResult PsetTransfer::send(const PsetTable& table, PsetTable& scaled) {
    panel_.addLine(QStringLiteral("Checking Data For Errors ....."));
    std::vector<PsetPacket> packets;
    if (auto refused = checkAndPack(table, scaled, packets))
        return *refused;
    panel_.addLine(QStringLiteral("Checking Data For Errors ..... Passed"));
    panel_.ShowTransferPanel(); // its list cleared with it

    if (auto ended = checks_.checkLink(
            sendCheck(QStringLiteral("Unable To Configure CanDongle - Reset Aborted"), false)))
        return *ended;
    if (!services_.link.dataTx.SendControlCommand(codes::ErasePsets))
        return failed(NotResetText, ReceiveErrorCaption);
    panel_.addLine(QStringLiteral("Parameter Reset Successfully"));
    if (auto ended = checks_.checkLink(
            sendCheck(QStringLiteral("Unable To Configure CanDongle - Transfer Failed"), true)))
        return *ended;
    panel_.addLine(QStringLiteral("Starting Parameter Set Transfer"));
    if (auto notSent = sendPackets(table.count(), packets))
        return *notSent;
    panel_.addLine(QStringLiteral("Parameter Set Transfer Completed !"));
    return {TransferOutcome::Done, {}};
}

// ---------------------------------------------------------------------------------------------------------
// Reset

TransferResult PsetTransfer::reset() {
    // A status read inside the reset may report the error again: that offer is not taken.
    if (resetRunning_)
        return {TransferOutcome::Declined, {}};
    const QScopedValueRollback running(resetRunning_, true);
    panel_.clearList();
    if (!services_.dialogs.askYesNo(QStringLiteral("ALL CURRENT PARAMETER SETS WILL BE ERASED!! CONTINUE?"),
                                    QStringLiteral("SEND NEW PARAMETER SET(S) TO CONTROLLER")))
        return {TransferOutcome::Declined, {}};
    // Over Ethernet the erase goes out after a failed filter frame all the same.
    if (auto ended =
            checks_.checkLink({.texts = {}, .parallelCaption = base::ProgramTitle, .ethernetGoesOn = true}))
        return *ended;
    return checks_.controlCommand(codes::ErasePsets,
                                  {.done = QStringLiteral("Parameter Sets Reset Successfully"),
                                   .failed = NotResetText,
                                   .failedCaption = ReceiveErrorCaption});
}

// ---------------------------------------------------------------------------------------------------------
// Receive

std::optional<TransferResult> PsetTransfer::receiveStatus() {
    const clink::LinkState& s = services_.state;
    std::optional<TransferResult> ended;
    const bool read = services_.link.dataTx.ReadPsetCount([&](PsetCountStep step) {
        switch (step) {
        case PsetCountStep::DongleConfigured:
            panel_.addLine(QStringLiteral("CanDongle Configured"));
            break;
        case PsetCountStep::DongleFailed:
            ended = failedAndHidden(ReceiveDongleFailedText, ConfigurationErrorCaption,
                                    TransferOutcome::LinkFailed);
            break;
        case PsetCountStep::Connected:
            panel_.addLine(QStringLiteral("Connection Established"));
            panel_.addLine(QStringLiteral("Getting Number of Parameter Sets"));
            break;
        case PsetCountStep::NotConnected:
            // The panel stays shown with the line that says which connection is missing.
            panel_.addLine(EthernetNotConnectedLine);
            ended = failed(QStringLiteral("Unable to connect -- Transfer Aborted"), ConfigurationErrorCaption,
                           TransferOutcome::LinkFailed);
            break;
        case PsetCountStep::StatusReceived:
            panel_.addLine(QStringLiteral("Status Received"));
            for (const QString& line : s.SystemStatus.SystemStatusLines)
                panel_.addLine(line);
            break;
        case PsetCountStep::StatusMissing:
            ended = failedAndHidden(QStringLiteral("System Status Not Received - Transfer Aborted"),
                                    ReceiveErrorCaption);
            break;
        }
    });
    if (read)
        return std::nullopt;
    return ended.value_or(TransferResult{TransferOutcome::Aborted, {}});
}

TransferResult PsetTransfer::receive(PsetTable& received) {
    panel_.ShowTransferPanel();
    if (auto ended = receiveStatus())
        return *ended;
    const clink::LinkState& s = services_.state;
    const int held = s.SystemStatus.PsetCount;
    const int count = std::min(held, PsetTable::MaxPsets);
    const app::PsetDefaultValues& defaults = services_.palverin.settings.PsetDefaults;
    // The report shows one Pset at a time: warnings come after the last one, so that none is cleared.
    QStringList warnings;
    for (int n = 1; n <= count; ++n) {
        panel_.addLine(QStringLiteral("Rx Pset ") + QString::number(n) + QStringLiteral(" Started...."));
        if (!services_.link.dataTx.ReadPsetBlock(n))
            return failedAndHidden(QStringLiteral("Parameter Set Not Received - Transfer Aborted"),
                                   ReceiveErrorCaption);
        PsetBlock block{};
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = s.DataBuffer[int(i)];
        panel_.clearList();
        for (const QString& line : receivedPsetReport(n, block))
            panel_.addLine(line);
        app::PsetRecord& record = received[n];
        storeReceivedPset(block, record);
        received.setCount(n);
        if (base::unitsText(record.whole(PsetField::Units)).isEmpty())
            warnings << QStringLiteral(
                            "Parameter Set %1: Units Code %2 Unknown - Torque Values Not Converted")
                            .arg(n)
                            .arg(record.whole(PsetField::Units));
        convertToDefaultUnits(record, defaults);
    }
    if (held > count)
        warnings << QStringLiteral("Controller Holds ") + QString::number(held) +
                        QStringLiteral(" Parameter Sets - First 8 Received");
    for (const QString& line : warnings)
        panel_.addLine(line);
    panel_.HideTransferPanel();
    return {TransferOutcome::Done, {}};
}

// ---------------------------------------------------------------------------------------------------------
// Select and clear

void PsetTransfer::select(const QString& text) {
    const QString chosen = text.trimmed();
    bool isNumber = false;
    const int n = chosen.toInt(&isNumber);
    if (isNumber && chosen == QString::number(n) && n >= 1 && n <= PsetTable::MaxPsets)
        services_.link.dataTx.SelectPset(n);
}

TransferResult PsetTransfer::clearRundowns() {
    if (!services_.dialogs.askYesNo(
            QStringLiteral("ALL CURRENT RUNDOWN INFORMATION WILL BE ERASED!! CONTINUE?"),
            QStringLiteral("CLEAR RUNDOWN DATA IN CONTROLLER")))
        return {TransferOutcome::Declined, {}};
    const app::TransferLinkCheck check{
        .texts = {QStringLiteral("Unable To Configure CanDongle - Reset Aborted"),
                  QStringLiteral("Unable to connect using ethernet - Reset Aborted"), UsbFailText},
        .parallelCaption = ConfigurationErrorCaption,
        .ethernetCaption = ConfigurationErrorCaption,
        .usbReopens = true,
        .reportLines = {.ethernet = EthernetNotConnectedLine, .usb = QStringLiteral("NO USB Connection")}};
    if (auto ended = checks_.checkLink(check))
        return *ended;
    return checks_.controlCommand(codes::ClearRundowns,
                                  {.done = QStringLiteral("Rundown Cleared Successfully"),
                                   .failed = QStringLiteral("Rundown Data Not Cleared"),
                                   .failedCaption = ReceiveErrorCaption});
}

// ---------------------------------------------------------------------------------------------------------
// Serial number

TransferResult PsetTransfer::sendSerialNumber() {
    QString text;
    if (!services_.dialogs.inputText(QStringLiteral("Serial Number:"), QStringLiteral("Send Serial Number"),
                                     text) ||
        text.isEmpty())
        return {TransferOutcome::Declined, {}};
    if (!fitsSerialNumberFrame(text))
        return failed(QStringLiteral("Serial Number May Hold Only Printable Characters Other Than %"),
                      DataEntryErrorCaption);
    if (!services_.link.dataTx.SendSerialNumber(text))
        return failed(SendEthernetFailText, ConfigurationErrorCaption, TransferOutcome::LinkFailed);
    return checks_.report(TransferOutcome::Done, QStringLiteral("Serial Number Sent"),
                          app::TransferSuccessfulCaption, MessageIcon::Information);
}

} // namespace pset
