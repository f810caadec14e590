// The editor's commands that talk to the controller: its Pset list and current Pset, the send of the
// project, the reset of its Psets, the receive, the choice of its current Pset and the clearing of its
// rundowns. Each holds the program busy while it runs; a box names the step that failed.
#include "app/appservices.h"
#include "base/torque.h"
#include "link/linkcheck.h"
#include "pset/psetpackets.h"
#include "pset/psetsession.h"
#include "pset/psetvalues.h"

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
const QString TransferSuccessfulCaption = QStringLiteral("Transfer Successful");
const QString StatusNotReceivedText = QStringLiteral("System Status Not Received");
const QString EthernetNotConnectedLine = QStringLiteral("No Ethernet Connection");
const QString UsbFailText = QStringLiteral("Unable to connect using USB");
const QString SendEthernetFailText = QStringLiteral("Unable to Connect through Ethernet");
// The select-Pset command: data byte 0 is this plus the Pset number.
constexpr int SelectPsetBase = 0x20;

QString psetNamed(int n, const QString& text) {
    return QStringLiteral("Parameter Set ") + QString::number(n) + u':' + text;
}
} // namespace

// ---------------------------------------------------------------------------------------------------------
// The controller's Pset list and current Pset

bool PsetEditorSession::readStatus(StatusFailure failure) {
    if (ctx_.link.dataTx.ReadSystemStatus())
        return true;
    if (failure == StatusFailure::Report)
        failBox(StatusNotReceivedText, ReceiveErrorCaption);
    return false;
}

bool PsetEditorSession::readPsetList(StatusFailure failure) {
    if (!readStatus(failure))
        return false;
    controllerPsets_.clear();
    for (int n = 1; n <= ctx_.state.SystemStatus.PsetCount; ++n)
        controllerPsets_.append(QString::number(n));
    emit controllerPsetsChanged();
    timer1_.start();
    return true;
}

void PsetEditorSession::updatePsetList() {
    base::BusyGuard busy(ctx_.busy);
    if (busy.acquired())
        readPsetList();
}

void PsetEditorSession::Timer1_Timer() {
    timer1_.stop();
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired()) {
        // Another command is talking to the controller: read once it is done.
        timer1_.start();
        return;
    }
    if (!readStatus())
        return;
    currentPset_ = QString::number(ctx_.state.SystemStatus.CurrentPset);
    emit currentPsetChanged();
}

// ---------------------------------------------------------------------------------------------------------
// Send

bool PsetEditorSession::checkAndPack(int count, std::vector<Packet>& packets) {
    if (count < 1 || count > PsetTable::MaxPsets) {
        failBox(QStringLiteral("No Parameter Sets To Send"), DataEntryErrorCaption);
        return false;
    }
    for (int n = 1; n <= count; ++n) {
        if (const auto error = psetEntryError(table()[n])) {
            failBox(psetNamed(n, *error), DataEntryErrorCaption);
            return false;
        }
    }
    // Every value must fit its bytes before the controller's Psets are erased.
    app::PsetTable scaled = table2_;
    for (int n = 1; n <= count; ++n) {
        scaled[n] = scaledPset(table()[n]);
        QString fault;
        const auto packed = psetPackets(table()[n], scaled[n], n, fault);
        if (!packed) {
            failBox(psetNamed(n, QStringLiteral("  ") + fault + QStringLiteral("  ")), DataEntryErrorCaption);
            return false;
        }
        packets.insert(packets.end(), packed->begin(), packed->end());
    }
    table2_ = scaled;
    return true;
}

bool PsetEditorSession::prepareSendLink(const QString& parallelFailText) {
    const clink::LinkCheckResult check = clink::LinkCheck(ctx_.link).preCheck(
        ids::CommandReply, {.texts = {parallelFailText, SendEthernetFailText, UsbFailText}});
    if (check)
        return true;
    const bool usb = ctx_.state.ConnectionType == clink::Usb;
    failBox(check.failText, usb ? base::ProgramTitle : ConfigurationErrorCaption);
    return false;
}

bool PsetEditorSession::sendPackets(int count, const std::vector<Packet>& packets) {
    const size_t perPset = size_t(codes::PsetPackets);
    for (int n = 1; n <= count; ++n) {
        addLine(QStringLiteral("Converting Parameter Set ") + QString::number(n) + QStringLiteral(" Values"));
        addLine(QStringLiteral("Sending Parameter Set ") + QString::number(n));
        for (int k = 1; k <= codes::PsetPackets; ++k) {
            const QString packet = QStringLiteral("Packet ") + QString::number(k);
            if (!ctx_.link.dataTx.SendPsetData(packets[size_t(n - 1) * perPset + size_t(k - 1)])) {
                failBox(packet + QStringLiteral(" Not Sent"), ReceiveErrorCaption);
                HideTransferPanel();
                return false;
            }
            addLine(packet + QStringLiteral(" Sent"));
        }
    }
    return true;
}

void PsetEditorSession::mnuSendData_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    Running running(*this);
    // The editors may hold an edit not yet stored: what is checked is what is sent.
    emit storeEditorsRequested();
    addLine(QStringLiteral("Checking Data For Errors ....."));
    const int count = table().count();
    std::vector<Packet> packets;
    if (!checkAndPack(count, packets))
        return;
    addLine(QStringLiteral("Checking Data For Errors ..... Passed"));
    ShowTransferPanel(); // List1 cleared with it

    if (!prepareSendLink(QStringLiteral("Unable To Configure CanDongle - Reset Aborted")))
        return;
    if (!ctx_.link.dataTx.SendControlCommand(codes::ErasePsets))
        return failBox(QStringLiteral("Parameter Sets Not Reset"), ReceiveErrorCaption);
    addLine(QStringLiteral("Parameter Reset Successfully"));
    if (!prepareSendLink(QStringLiteral("Unable To Configure CanDongle - Transfer Failed"))) {
        if (ctx_.state.ConnectionType == clink::ParallelPort)
            HideTransferPanel();
        return;
    }
    addLine(QStringLiteral("Starting Parameter Set Transfer"));
    if (!sendPackets(count, packets))
        return;
    addLine(QStringLiteral("Parameter Set Transfer Completed !"));
    readPsetList();
    HideTransferPanel();
}

// ---------------------------------------------------------------------------------------------------------
// Reset

void PsetEditorSession::mnuResetPsets_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (busy.acquired())
        resetPsets();
}

void PsetEditorSession::offerPsetReset() {
    resetPsets();
}

void PsetEditorSession::resetPsets() {
    // A status read inside the reset may report the error again: that offer is not taken.
    if (resetRunning_)
        return;
    resetRunning_ = true;
    clearList();
    if (ctx_.dialogs.askYesNo(QStringLiteral("ALL CURRENT PARAMETER SETS WILL BE ERASED!! CONTINUE?"),
                              QStringLiteral("SEND NEW PARAMETER SET(S) TO CONTROLLER"))) {
        // Over Ethernet the erase goes out after a failed filter frame all the same.
        const clink::LinkCheckResult check =
            clink::LinkCheck(ctx_.link).preCheck(ids::CommandReply, {.ethernetGoesOnAfterFailure = true});
        if (!check.failText.isEmpty())
            failBox(check.failText, base::ProgramTitle);
        if (check) {
            if (ctx_.link.dataTx.SendControlCommand(codes::ErasePsets))
                ctx_.dialogs.message(QStringLiteral("Parameter Sets Reset Successfully"),
                                     TransferSuccessfulCaption, MessageIcon::Information);
            else
                failBox(QStringLiteral("Parameter Sets Not Reset"), ReceiveErrorCaption);
        }
    }
    resetRunning_ = false;
}

// ---------------------------------------------------------------------------------------------------------
// Receive

void PsetEditorSession::mnuReceiveData_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    Running running(*this);
    if (ctx_.state.ConnectionType == clink::ParallelPort)
        ctx_.link.spi.InitializePort();
    if (!ctx_.dialogs.askYesNo(QStringLiteral("CURRENT PROJECT WILL BE ERASED!! CONTINUE?"),
                               QStringLiteral("RECEIVE CONTROLLER PARAMETER SET(S)")))
        return;
    ctx_.palverin.LoadIniFiles();
    // The received project is built apart and replaces the project only when every Pset arrived.
    PsetTable received = table();
    resetToInitialValues(received);
    applyScaledDefaults(received[received.count()], ctx_.palverin.settings.PsetDefaults);
    if (!ReceivePsets(received)) {
        // The list is refreshed all the same; the failure has had its box.
        readPsetList(StatusFailure::Quiet);
        return;
    }
    table() = received;
    setSelector({1, std::max(1, table().count()), 1});
    showPset(1);
    readProjectCurve(true);
    EnableEditing();
    readPsetList();
}

bool PsetEditorSession::receiveStatus() {
    clink::LinkState& s = ctx_.state;
    clink::DataTx& tx = ctx_.link.dataTx;
    const QString dongleFailed = QStringLiteral("Unable To Configure CanDongle - Transfer Aborted");
    const auto configure = [&](clink::CanId awaited) {
        if (!tx.ConfigureCanDongle(awaited)) {
            failBox(dongleFailed, ConfigurationErrorCaption);
            HideTransferPanel();
            return false;
        }
        addLine(QStringLiteral("CanDongle Configured"));
        return true;
    };
    switch (s.ConnectionType) {
    case clink::ParallelPort:
        if (!configure(ids::StatusBroadcast))
            return false;
        break;
    case clink::TcpIp:
        if (!ctx_.link.ethernet.SendFilterFrame(ids::StatusBroadcast)) {
            addLine(EthernetNotConnectedLine);
            failBox(QStringLiteral("Unable to connect -- Transfer Aborted"), ConfigurationErrorCaption);
            return false;
        }
        addLine(QStringLiteral("Connection Established"));
        addLine(QStringLiteral("Getting Number of Parameter Sets"));
        break;
    case clink::Usb:
        break;
    default:
        return true; // no link: the count of the last status read
    }
    if (!tx.ReadSystemStatus()) {
        failBox(QStringLiteral("System Status Not Received - Transfer Aborted"), ReceiveErrorCaption);
        HideTransferPanel();
        return false;
    }
    addLine(QStringLiteral("Status Received"));
    for (const QString& line : s.SystemStatus.SystemStatusLines)
        addLine(line);
    return s.ConnectionType != clink::ParallelPort || configure(ids::CommandReply);
}

bool PsetEditorSession::ReceivePsets(PsetTable& received) {
    ShowTransferPanel();
    if (!receiveStatus())
        return false;
    const clink::LinkState& s = ctx_.state;
    const int held = s.SystemStatus.PsetCount;
    const int count = std::min(held, PsetTable::MaxPsets);
    const app::PsetDefaultValues& defaults = ctx_.palverin.settings.PsetDefaults;
    // The report shows one Pset at a time: warnings come after the last one, so that none is cleared.
    QStringList warnings;
    for (int n = 1; n <= count; ++n) {
        addLine(QStringLiteral("Rx Pset ") + QString::number(n) + QStringLiteral(" Started...."));
        if (!ctx_.link.dataTx.ReadPsetBlock(n)) {
            failBox(QStringLiteral("Parameter Set Not Received - Transfer Aborted"), ReceiveErrorCaption);
            HideTransferPanel();
            return false;
        }
        PsetBlock block{};
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = s.DataBuffer[int(i)];
        clearList();
        for (const QString& line : receivedPsetReport(n, block))
            addLine(line);
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
        addLine(line);
    HideTransferPanel();
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Select and clear

void PsetEditorSession::cboList2_Click(const QString& text) {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    const QString chosen = text.trimmed();
    bool isNumber = false;
    const int n = chosen.toInt(&isNumber);
    if (isNumber && chosen == QString::number(n) && n >= 1 && n <= PsetTable::MaxPsets) {
        const std::array<int, 8> data{SelectPsetBase + n, 0, 0, 0, 0, 0, 0, 0};
        switch (ctx_.state.ConnectionType) {
        case clink::ParallelPort:
            ctx_.link.dataTx.SendCanMessage({ids::CommandRequest, data});
            break;
        case clink::TcpIp:
            // The controller's status answer ends the sender's wait.
            ctx_.state.ReplyReady = false;
            ctx_.link.ethernet.SendCanFrame(ids::StatusRequest, ids::CommandRequest, data);
            break;
        case clink::Usb:
            ctx_.link.usb.SendCanFrame(ids::StatusRequest, ids::CommandRequest, {0, 0}, data);
            break;
        default:
            break;
        }
    }
    timer1_.start();
}

bool PsetEditorSession::clearRundownsLink() {
    const clink::LinkCheckResult check = clink::LinkCheck(ctx_.link).preCheck(
        ids::CommandReply,
        {.texts = {QStringLiteral("Unable To Configure CanDongle - Reset Aborted"),
                   QStringLiteral("Unable to connect using ethernet - Reset Aborted"), UsbFailText}});
    if (check)
        return true;
    switch (ctx_.state.ConnectionType) {
    case clink::TcpIp:
        addLine(EthernetNotConnectedLine);
        failBox(check.failText, ConfigurationErrorCaption);
        break;
    case clink::Usb:
        ctx_.link.usb.ReopenDevice();
        addLine(QStringLiteral("NO USB Connection"));
        failBox(check.failText, base::ProgramTitle);
        break;
    default:
        failBox(check.failText, ConfigurationErrorCaption);
        break;
    }
    return false;
}

void PsetEditorSession::mnuClrRun_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    if (!ctx_.dialogs.askYesNo(QStringLiteral("ALL CURRENT RUNDOWN INFORMATION WILL BE ERASED!! CONTINUE?"),
                               QStringLiteral("CLEAR RUNDOWN DATA IN CONTROLLER")))
        return;
    if (!clearRundownsLink())
        return;
    if (ctx_.link.dataTx.SendControlCommand(codes::ClearRundowns))
        ctx_.dialogs.message(QStringLiteral("Rundown Cleared Successfully"), TransferSuccessfulCaption,
                             MessageIcon::Information);
    else
        failBox(QStringLiteral("Rundown Data Not Cleared"), ReceiveErrorCaption);
}

// ---------------------------------------------------------------------------------------------------------
// Serial number

namespace {
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

void PsetEditorSession::mnuSerialNumber_Click() {
    base::BusyGuard busy(ctx_.busy);
    if (!busy.acquired())
        return;
    QString text;
    if (!ctx_.dialogs.inputText(QStringLiteral("Serial Number:"), QStringLiteral("Send Serial Number"),
                                text) ||
        text.isEmpty())
        return;
    if (!fitsSerialNumberFrame(text))
        return failBox(QStringLiteral("Serial Number May Hold Only Printable Characters Other Than %"),
                       DataEntryErrorCaption);
    if (ctx_.state.ConnectionType != clink::TcpIp || !ctx_.link.ethernet.SendSerialNumberFrame(text))
        return failBox(SendEthernetFailText, ConfigurationErrorCaption);
    ctx_.dialogs.message(QStringLiteral("Serial Number Sent"), TransferSuccessfulCaption,
                         MessageIcon::Information);
}

} // namespace pset
