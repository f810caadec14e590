// Tool RPM and diagnostics: one request (13EF0601 [D1 0 ...]) answered on 13EF0106 with [D1 00] and six
// data bytes, shown to the user in a box after a prompt.
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "base/numbertext.h"
#include "base/torque.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/ppexchange.h"
#include "link/replywords.h"
#include "link/tooldiagnostics.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
constexpr int ToolDataCode = 0xD1;
// Reply bytes 2..7 are the six data bytes, stored at DataBuffer(0..5).
constexpr int FirstDataByte = 2;
constexpr int LastDataByte = 7;
constexpr double HundredthsOfAVolt = 100.0;
constexpr double TenthsOfALbIn = 10.0;

// Ethernet: the most requests, and the reply wait (DoEvents) shared by all of them.
constexpr int ToolDataSends = 501;
constexpr long ToolDataWaitDoEvents = 1201;

const QString RpmPrompt = QStringLiteral("Hold Down Tool Trigger and hit OK While Running");
const QString DiagnosticsPrompt = QStringLiteral("Make sure you run tool for at least 2 seconds");
} // namespace

ToolDiagnostics decodeToolDiagnostics(const DataBufferArray& db) {
    ToolDiagnostics d;
    d.offsetVolts = signedWord(db[1], db[0]) / HundredthsOfAVolt;
    d.maxTorqueLbIn = unsignedWord(db[3], db[2]) / TenthsOfALbIn;
    d.rpm = signedWord(db[5], db[4]);
    return d;
}

QString toolRpmText(const ToolDiagnostics& d) {
    return QStringLiteral("Tool RPM = ") + QString::number(d.rpm);
}

QString toolDiagnosticsText(const ToolDiagnostics& d) {
    return QStringLiteral("Tool Offset Voltage = ") + base::numberText(d.offsetVolts) +
           QStringLiteral("\r\nTransducer Max Tq Capability = ") +
           base::numberText(base::ConvertTorque(d.maxTorqueLbIn, base::LbIn, base::Nm));
}

bool DataTx::ReadToolRpm() {
    if (!toolDataExchange(RpmPrompt))
        return false;
    link_.dialogs.message(toolRpmText(decodeToolDiagnostics(s_.DataBuffer)));
    return true;
}

bool DataTx::RunToolDiagnostics() {
    if (!toolDataExchange(DiagnosticsPrompt))
        return false;
    link_.dialogs.message(toolDiagnosticsText(decodeToolDiagnostics(s_.DataBuffer)));
    return true;
}

bool DataTx::toolDataExchange(const QString& prompt) {
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return toolDataPp(prompt);
    case TcpIp:
        return toolDataEthernet(prompt);
    case Usb:
        return toolDataUsb(prompt);
    default:
        return false; // no prompt either
    }
}

bool DataTx::toolDataEthernet(const QString& prompt) {
    s_.DataCount = 0;
    // The tool's fault and cycle reports on the same identifier are not its data.
    link_.ethernet.expect({.id = ids::ToolReply, .code = ToolDataCode, .echo = {ToolDataCode}});
    link_.dialogs.message(prompt);
    link_.transactions.userAnswered();
    SharedWaitBudget budget(link_.pump, ToolDataWaitDoEvents, 1);
    // Each request is followed by the connection filter, which moves the dongle's accept identifier
    // away: the reply has to come within the sender's own wait or the short shared one after it.
    return ethernetAttempts(ids::ToolReply, ids::ToolRequest, {ToolDataCode, 0, 0, 0, 0, 0, 0, 0},
                            ToolDataSends, [&](int) {
                                link_.ethernet.SendFilterFrame(ids::ConnectFilter);
                                budget.wait([this] { return s_.ReplyReady; });
                                return true;
                            });
}

bool DataTx::toolDataPp(const QString& prompt) {
    s_.DataCount = 0;
    auto take = [this](PpRxMessage& m) {
        if (!m.bytesAre({ToolDataCode, 0}))
            return false;
        for (int n = FirstDataByte; n <= LastDataByte; ++n)
            s_.DataBuffer.put(s_.DataCount++, m.byte(n));
        return true;
    };
    // One request per call: its poll lasts as long as the whole window.
    PpExchange pp(link_);
    return pp.runTimed({ids::ToolRequest, {ToolDataCode, 0, 0, 0, 0, 0, 0, 0}}, take, [&] {
        link_.dialogs.message(prompt);
        link_.transactions.userAnswered();
    });
}

bool DataTx::toolDataUsb(const QString& prompt) {
    s_.DataCount = 0;
    s_.ReplyReady = false;
    link_.dialogs.message(prompt);
    link_.transactions.userAnswered();
    // The dongle matches both reply bytes; only the code is compared here.
    return link_.usb.Transact(
        {ids::ToolReply, ids::ToolRequest, {ToolDataCode, 0}, {ToolDataCode, 0, 0, 0, 0, 0, 0, 0}},
        USB::UsualTries, [this](const UsbRxArray& rx) {
            if (rx[0] != ToolDataCode)
                return UsbReply::Retry;
            for (int n = FirstDataByte; n <= LastDataByte; ++n)
                s_.DataBuffer.put(n - FirstDataByte, rx[size_t(n)]);
            return UsbReply::Taken;
        });
}

} // namespace clink
