#include "pset/psettransfer.h"

#include "app/appservices.h"
#include "base/failbox.h"
#include "base/torque.h"
#include "link/commandcodes.h"
#include "link/linkcheck.h"
#include "pset/psetvalues.h"

#include <QScopedValueRollback>

#include <algorithm>

namespace pset {

namespace ids = clink::ids;
namespace codes = clink::codes;
using app::PsetField;
using app::PsetTable;
using base::MessageIcon;

namespace {
const QString ConfigurationErrorCaption = QStringLiteral("Configuration Error");
const QString ReceiveErrorCaption = QStringLiteral("Receive Error");
const QString DataEntryErrorCaption = QStringLiteral("Data Entry Error");
const QString StatusNotReceivedText = QStringLiteral("System Status Not Received");
const QString EthernetNotConnectedLine = QStringLiteral("No Ethernet Connection");
const QString UsbFailText = QStringLiteral("Unable to connect using USB");
const QString SendEthernetFailText = QStringLiteral("Unable to Connect through Ethernet");
const QString NotResetText = QStringLiteral("Parameter Sets Not Reset");
// The select-Pset command: data byte 0 is this plus the Pset number.
constexpr int SelectPsetBase = 0x20;

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
    : services_(services), panel_(panel), checks_(services.link, services.dialogs) {}

void PsetTransfer::failBox(const QString& text, const QString& caption) {
    base::failBox(services_.dialogs, text, caption);
}

bool PsetTransfer::readStatus(StatusFailure failure) {
    if (services_.link.dataTx.ReadSystemStatus())
        return true;
    if (failure == StatusFailure::Report)
        failBox(StatusNotReceivedText, ReceiveErrorCaption);
    return false;
}

// ---------------------------------------------------------------------------------------------------------
// Send

bool PsetTransfer::checkAndPack(const PsetTable& table, PsetTable& scaled, std::vector<PsetPacket>& packets) {
    const int count = table.count();
    if (count < 1 || count > PsetTable::MaxPsets) {
        failBox(QStringLiteral("No Parameter Sets To Send"), DataEntryErrorCaption);
        return false;
    }
    for (int n = 1; n <= count; ++n) {
        if (const auto error = psetEntryError(table[n])) {
            failBox(psetNamed(n, *error), DataEntryErrorCaption);
            return false;
        }
    }
    // Every value must fit its bytes before the controller's Psets are erased.
    PsetTable packed = scaled;
    for (int n = 1; n <= count; ++n) {
        packed[n] = scaledPset(table[n]);
        QString fault;
        const auto psetPacketsOfN = psetPackets(table[n], packed[n], n, fault);
        if (!psetPacketsOfN) {
            failBox(psetNamed(n, QStringLiteral("  ") + fault + QStringLiteral("  ")), DataEntryErrorCaption);
            return false;
        }
        packets.insert(packets.end(), psetPacketsOfN->begin(), psetPacketsOfN->end());
    }
    scaled = packed;
    return true;
}

bool PsetTransfer::sendLinkReady(const QString& parallelFailText) {
    return !checks_.checkLink({.texts = {parallelFailText, SendEthernetFailText, UsbFailText},
                               .parallelCaption = ConfigurationErrorCaption,
                               .ethernetCaption = ConfigurationErrorCaption});
}

bool PsetTransfer::sendPackets(int count, const std::vector<PsetPacket>& packets) {
    const size_t perPset = size_t(codes::PsetPackets);
    for (int n = 1; n <= count; ++n) {
        panel_.addLine(QStringLiteral("Converting Parameter Set ") + QString::number(n) +
                       QStringLiteral(" Values"));
        panel_.addLine(QStringLiteral("Sending Parameter Set ") + QString::number(n));
        for (int k = 1; k <= codes::PsetPackets; ++k) {
            const QString packet = QStringLiteral("Packet ") + QString::number(k);
            if (!services_.link.dataTx.SendPsetData(packets[size_t(n - 1) * perPset + size_t(k - 1)])) {
                failBox(packet + QStringLiteral(" Not Sent"), ReceiveErrorCaption);
                panel_.HideTransferPanel();
                return false;
            }
            panel_.addLine(packet + QStringLiteral(" Sent"));
        }
    }
    return true;
}

bool PsetTransfer::send(const PsetTable& table, PsetTable& scaled) {
    panel_.addLine(QStringLiteral("Checking Data For Errors ....."));
    std::vector<PsetPacket> packets;
    if (!checkAndPack(table, scaled, packets))
        return false;
    panel_.addLine(QStringLiteral("Checking Data For Errors ..... Passed"));
    panel_.ShowTransferPanel(); // its list cleared with it

    if (!sendLinkReady(QStringLiteral("Unable To Configure CanDongle - Reset Aborted")))
        return false;
    if (!services_.link.dataTx.SendControlCommand(codes::ErasePsets)) {
        failBox(NotResetText, ReceiveErrorCaption);
        return false;
    }
    panel_.addLine(QStringLiteral("Parameter Reset Successfully"));
    if (!sendLinkReady(QStringLiteral("Unable To Configure CanDongle - Transfer Failed"))) {
        if (services_.state.ConnectionType == clink::ParallelPort)
            panel_.HideTransferPanel();
        return false;
    }
    panel_.addLine(QStringLiteral("Starting Parameter Set Transfer"));
    if (!sendPackets(table.count(), packets))
        return false;
    panel_.addLine(QStringLiteral("Parameter Set Transfer Completed !"));
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Reset

void PsetTransfer::reset() {
    // A status read inside the reset may report the error again: that offer is not taken.
    if (resetRunning_)
        return;
    const QScopedValueRollback running(resetRunning_, true);
    panel_.clearList();
    if (!services_.dialogs.askYesNo(QStringLiteral("ALL CURRENT PARAMETER SETS WILL BE ERASED!! CONTINUE?"),
                                    QStringLiteral("SEND NEW PARAMETER SET(S) TO CONTROLLER")))
        return;
    // Over Ethernet the erase goes out after a failed filter frame all the same.
    if (checks_.checkLink({.texts = {}, .parallelCaption = base::ProgramTitle, .ethernetGoesOn = true}))
        return;
    checks_.controlCommand(codes::ErasePsets, {.done = QStringLiteral("Parameter Sets Reset Successfully"),
                                               .failed = NotResetText,
                                               .failedCaption = ReceiveErrorCaption});
}

// ---------------------------------------------------------------------------------------------------------
// Receive

bool PsetTransfer::receiveStatus() {
    clink::LinkState& s = services_.state;
    clink::DataTx& tx = services_.link.dataTx;
    const QString dongleFailed = QStringLiteral("Unable To Configure CanDongle - Transfer Aborted");
    const auto configure = [&](clink::CanId awaited) {
        if (!tx.ConfigureCanDongle(awaited)) {
            failBox(dongleFailed, ConfigurationErrorCaption);
            panel_.HideTransferPanel();
            return false;
        }
        panel_.addLine(QStringLiteral("CanDongle Configured"));
        return true;
    };
    switch (s.ConnectionType) {
    case clink::ParallelPort:
        if (!configure(ids::StatusBroadcast))
            return false;
        break;
    case clink::TcpIp:
        if (!services_.link.ethernet.SendFilterFrame(ids::StatusBroadcast)) {
            panel_.addLine(EthernetNotConnectedLine);
            failBox(QStringLiteral("Unable to connect -- Transfer Aborted"), ConfigurationErrorCaption);
            return false;
        }
        panel_.addLine(QStringLiteral("Connection Established"));
        panel_.addLine(QStringLiteral("Getting Number of Parameter Sets"));
        break;
    case clink::Usb:
        break;
    default:
        return true; // no link: the count of the last status read
    }
    if (!tx.ReadSystemStatus()) {
        failBox(QStringLiteral("System Status Not Received - Transfer Aborted"), ReceiveErrorCaption);
        panel_.HideTransferPanel();
        return false;
    }
    panel_.addLine(QStringLiteral("Status Received"));
    for (const QString& line : s.SystemStatus.SystemStatusLines)
        panel_.addLine(line);
    return s.ConnectionType != clink::ParallelPort || configure(ids::CommandReply);
}

bool PsetTransfer::receive(PsetTable& received) {
    panel_.ShowTransferPanel();
    if (!receiveStatus())
        return false;
    const clink::LinkState& s = services_.state;
    const int held = s.SystemStatus.PsetCount;
    const int count = std::min(held, PsetTable::MaxPsets);
    const app::PsetDefaultValues& defaults = services_.palverin.settings.PsetDefaults;
    // The report shows one Pset at a time: warnings come after the last one, so that none is cleared.
    QStringList warnings;
    for (int n = 1; n <= count; ++n) {
        panel_.addLine(QStringLiteral("Rx Pset ") + QString::number(n) + QStringLiteral(" Started...."));
        if (!services_.link.dataTx.ReadPsetBlock(n)) {
            failBox(QStringLiteral("Parameter Set Not Received - Transfer Aborted"), ReceiveErrorCaption);
            panel_.HideTransferPanel();
            return false;
        }
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
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Select and clear

void PsetTransfer::select(const QString& text) {
    const QString chosen = text.trimmed();
    bool isNumber = false;
    const int n = chosen.toInt(&isNumber);
    if (!isNumber || chosen != QString::number(n) || n < 1 || n > PsetTable::MaxPsets)
        return;
    const std::array<int, 8> data{SelectPsetBase + n, 0, 0, 0, 0, 0, 0, 0};
    clink::ControllerLink& link = services_.link;
    switch (services_.state.ConnectionType) {
    case clink::ParallelPort:
        link.dataTx.SendCanMessage({ids::CommandRequest, data});
        break;
    case clink::TcpIp:
        // The controller's status answer ends the sender's wait.
        services_.state.ReplyReady = false;
        link.ethernet.SendCanFrame(ids::StatusRequest, ids::CommandRequest, data);
        break;
    case clink::Usb:
        link.usb.SendCanFrame(ids::StatusRequest, ids::CommandRequest, {0, 0}, data);
        break;
    default:
        break;
    }
}

bool PsetTransfer::clearRundownsLink() {
    const clink::LinkCheckResult check =
        clink::LinkCheck(services_.link)
            .preCheck(
                ids::CommandReply,
                {.texts = {QStringLiteral("Unable To Configure CanDongle - Reset Aborted"),
                           QStringLiteral("Unable to connect using ethernet - Reset Aborted"), UsbFailText}});
    if (check)
        return true;
    // The report says which connection is missing before the box.
    switch (services_.state.ConnectionType) {
    case clink::TcpIp:
        panel_.addLine(EthernetNotConnectedLine);
        failBox(check.failText, ConfigurationErrorCaption);
        break;
    case clink::Usb:
        services_.link.usb.ReopenDevice();
        panel_.addLine(QStringLiteral("NO USB Connection"));
        failBox(check.failText, base::ProgramTitle);
        break;
    default:
        failBox(check.failText, ConfigurationErrorCaption);
        break;
    }
    return false;
}

void PsetTransfer::clearRundowns() {
    if (!services_.dialogs.askYesNo(
            QStringLiteral("ALL CURRENT RUNDOWN INFORMATION WILL BE ERASED!! CONTINUE?"),
            QStringLiteral("CLEAR RUNDOWN DATA IN CONTROLLER")))
        return;
    if (!clearRundownsLink())
        return;
    checks_.controlCommand(codes::ClearRundowns, {.done = QStringLiteral("Rundown Cleared Successfully"),
                                                  .failed = QStringLiteral("Rundown Data Not Cleared"),
                                                  .failedCaption = ReceiveErrorCaption});
}

// ---------------------------------------------------------------------------------------------------------
// Serial number

void PsetTransfer::sendSerialNumber() {
    QString text;
    if (!services_.dialogs.inputText(QStringLiteral("Serial Number:"), QStringLiteral("Send Serial Number"),
                                     text) ||
        text.isEmpty())
        return;
    if (!fitsSerialNumberFrame(text))
        return failBox(QStringLiteral("Serial Number May Hold Only Printable Characters Other Than %"),
                       DataEntryErrorCaption);
    if (services_.state.ConnectionType != clink::TcpIp ||
        !services_.link.ethernet.SendSerialNumberFrame(text))
        return failBox(SendEthernetFailText, ConfigurationErrorCaption);
    services_.dialogs.message(QStringLiteral("Serial Number Sent"), app::TransferSuccessfulCaption,
                              MessageIcon::Information);
}

} // namespace pset
