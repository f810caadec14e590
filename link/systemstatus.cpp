// System status, software version and control commands: the status on 15EF0301 (10EF0301 on the parallel
// port, where the controller broadcasts it), everything else on 15EF0103 answered on 09EF0801.
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"

namespace clink {

namespace {
// Ethernet status read: passes, DoEvents before each send, and the wait budget of the whole read.
constexpr int StatusPasses = 6001;
constexpr long StatusPauseBeforeSend = 12000;
constexpr long StatusWait = 6001 * 3;
// Ethernet version and command exchanges.
constexpr long SystemCommandPauseBeforeSend = 400;
constexpr long SystemCommandWait = 501 * 3;
constexpr long VersionWait = 1201;
constexpr int ControlCommandPasses = 5001;
constexpr long ControlCommandSettle = 100;
constexpr long ControlCommandWait = 301;
// The version read marks its request so the acknowledgement handler stores the version bytes.
constexpr int VersionReadMark = 1;

constexpr int MaxByte = 0xFF;

const QString CalculationErrorText =
    QStringLiteral("Error in Parameter Calculation, resetting controller parameters");

std::array<int, 8> commandFrame(int code) {
    return {code, 0, 0, 0, 0, 0, 0, 0};
}
} // namespace

bool DataTx::ReadSystemStatus(long& pollLimit) {
    bool taken = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        taken = readSystemStatusPp(pollLimit);
        break;
    case TcpIp:
        taken = readSystemStatusEthernet();
        break;
    case Usb:
        taken = readSystemStatusUsb();
        break;
    default:
        return false;
    }
    return taken && acceptSystemStatus();
}

// Every status field is a byte of the reply; anything else cannot be taken as a status.
bool DataTx::acceptSystemStatus() {
    const SystemStatusRecord& st = s_.SystemStatus;
    bool inRange = true;
    for (int v : {st.PsetCount, st.CurrentPset, st.StatusUnits, int(s_.DataBuffer[0]), int(s_.DataBuffer[1]),
                  int(s_.DataBuffer[2]), int(s_.DataBuffer[3])})
        inRange = inRange && v >= 0 && v <= MaxByte;
    if (inRange)
        return true;
    link_.dialogs.message(CalculationErrorText, base::ProgramTitle, base::MessageIcon::None);
    if (link_.offerPsetReset)
        link_.offerPsetReset();
    return false;
}

bool DataTx::readSystemStatusEthernet() {
    ClearReceiveBuffer();
    s_.DataCount = 0;
    s_.ReplyReady = false;
    s_.AckReceived = false;
    // The request is a filter frame for the status identifier; its handler takes the answer.
    EthernetPasses passes;
    passes.bound = StatusPasses;
    passes.beforeSend = StatusPauseBeforeSend;
    passes.wait = StatusWait;
    passes.waitAfterRefused = true;
    return ethernetPasses(passes, ids::StatusRequest, ids::StatusRequest, {});
}

int DataTx::SendSystemCommand() {
    switch (s_.ConnectionType) {
    case ParallelPort:
        return sendSystemCommandPp();
    case TcpIp:
        return sendSystemCommandEthernet();
    case Usb:
        return sendSystemCommandUsb();
    default:
        return 0;
    }
}

int DataTx::sendSystemCommandEthernet() {
    s_.AckReceived = false;
    s_.RequestData[1] = s_.RequestData[2] = s_.RequestData[3] = 0;
    s_.ReplyReady = false;
    EthernetPasses passes;
    passes.beforeSend = SystemCommandPauseBeforeSend;
    passes.wait = SystemCommandWait;
    passes.refusedClearsReply = true;
    // The acknowledgement handler takes the first [A0 A0 ...] as the acknowledgement and puts the major
    // version of the next one in RequestData(1).
    ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, commandFrame(codes::Version));
    return s_.ReplyReady ? s_.RequestData[1] : 0;
}

bool DataTx::ReadSccVersion(int code) {
    s_.DataCount = 0;
    if (code < 0 || code > MaxByte)
        return false;
    bool taken = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        taken = readSccVersionPp(code);
        break;
    case TcpIp:
        taken = readSccVersionEthernet(code);
        break;
    case Usb:
        taken = readSccVersionUsb(code);
        break;
    default:
        return false;
    }
    if (taken)
        s_.SccVersionText = QString::number(s_.DataBuffer[0]) + u'.' +
                            QStringLiteral("%1").arg(int(s_.DataBuffer[1]), 2, 10, QChar(u'0'));
    return taken;
}

bool DataTx::readSccVersionEthernet(int code) {
    const std::array<int, 8> request = commandFrame(code);
    // The request goes out once before the expectation is set, then again in the passes.
    link_.ethernet.SendCanFrame(ids::CommandReply, ids::CommandRequest, request);
    s_.RequestData[1] = code;
    s_.RequestData[2] = VersionReadMark;
    s_.RequestData[3] = 0;
    s_.AckReceived = false;
    s_.ReplyReady = false;
    s_.VersionReadPending = true;
    EthernetPasses passes;
    passes.wait = VersionWait;
    const bool taken = ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, request);
    s_.VersionReadPending = false;
    return taken;
}

bool DataTx::SendControlCommand(int code) {
    s_.DataCount = 0;
    if (code < 0 || code > MaxByte)
        return false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        return sendControlCommandPp(code);
    case TcpIp:
        return sendControlCommandEthernet(code);
    case Usb:
        return sendControlCommandUsb(code);
    default:
        return false;
    }
}

bool DataTx::sendControlCommandEthernet(int code) {
    if (link_.ethernet.SendFilterFrame(ids::CommandReply))
        link_.pump.pause(ControlCommandSettle);
    s_.ReplyReady = false;
    s_.RequestData[1] = code;
    s_.RequestData[2] = 0;
    s_.RequestData[3] = 0;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = ControlCommandPasses;
    passes.wait = ControlCommandWait;
    passes.refusedClearsReply = true;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, commandFrame(code));
}

// The parallel-port and USB paths come with the drivers of those links.
bool DataTx::readSystemStatusPp(long&) {
    return false;
}
bool DataTx::readSystemStatusUsb() {
    return false;
}
int DataTx::sendSystemCommandPp() {
    return 0;
}
int DataTx::sendSystemCommandUsb() {
    return 0;
}
bool DataTx::readSccVersionPp(int) {
    return false;
}
bool DataTx::readSccVersionUsb(int) {
    return false;
}
bool DataTx::sendControlCommandPp(int) {
    return false;
}
bool DataTx::sendControlCommandUsb(int) {
    return false;
}
bool DataTx::ShowDataArray() {
    return false;
}

} // namespace clink
