// Manual torque calibration: wait for a rundown's final-torque report (10EF1102 [10 01 ...]), read the
// rundown's result in three blocks (15EF0103 [10 b] -> 09EF0801 [10 b + six bytes]) and send the new
// calibration value (08EF0601 [20 01 lo hi], not confirmed).
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
constexpr int RundownCode = 0x10;
constexpr int FinalTorqueBlock = 1;
constexpr int ResultBlocks = 3;
constexpr int CalibrationCode = 0x20;
constexpr int CalibrationSubcode = 0x01;
// The calibration value travels as two bytes.
constexpr long LargestCalibrationValue = 0xFFFF;

// Ethernet start of calibration: passes of a fixed yield (cycles of two DoEvents), then a share of the
// reply wait (passes of three DoEvents) common to all passes.
constexpr int StartPasses = 6001;
constexpr long StartPassCycles = 500;
constexpr long StartWaitPasses = 6001;
constexpr long StartDoEventsPerPass = 3;

// Ethernet rundown result: filter frames, then per block the most sends and its reply wait.
constexpr int ResultFilterFrames = 3;
constexpr int ResultBlockSends = 6001;
constexpr long ResultBlockWaitPasses = 6001;
constexpr long ResultDoEventsPerPass = 3;

const QString EthernetConnectFailed = QStringLiteral("Unable To connect using ethernet");
const QString EthernetResultConnectFailed = QStringLiteral("Unable to connect using ethernet");
} // namespace

CalibrationStart DataTx::StartCalibration() {
    switch (s_.ConnectionType) {
    case ParallelPort:
        return startCalibrationPp();
    case TcpIp:
        return startCalibrationEthernet();
    case Usb:
        return startCalibrationUsb();
    default:
        return CalibrationPending;
    }
}

CalibrationStart DataTx::startCalibrationEthernet() {
    // One frame: the dongle passes 10EF1102 from now on. It is never sent again, so the report comes as
    // the controller's own frames (the first one taken as the acknowledgement).
    if (!link_.ethernet.SendCanFrame(ids::RunData, ids::StatusRequest, {})) {
        link_.dialogs.message(EthernetConnectFailed, base::ProgramTitle, base::MessageIcon::Critical);
        return CalibrationLinkFailed;
    }
    s_.RequestData[1] = FinalTorqueBlock;
    s_.RequestData[2] = 0;
    s_.RequestData[3] = 0;
    s_.AckReceived = false;
    SharedWaitBudget budget(link_.pump, StartWaitPasses, StartDoEventsPerPass);
    for (int pass = 0; pass < StartPasses && !s_.ReplyReady; ++pass) {
        link_.pump.pause(StartPassCycles * 2);
        budget.wait([this] { return s_.ReplyReady; });
    }
    return s_.ReplyReady ? CalibrationFinalTorque : CalibrationPending;
}

bool DataTx::ReadRundownResult() {
    s_.DataCount = 0;
    bool ok = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        ok = readRundownResultPp();
        break;
    case TcpIp:
        ok = readRundownResultEthernet();
        break;
    case Usb:
        ok = readRundownResultUsb();
        break;
    default:
        return false;
    }
    if (ok)
        fillRundownResult(s_.RundownResult, s_.DataBuffer);
    return ok;
}

bool DataTx::readRundownResultEthernet() {
    if (!link_.socket.isConnected()) {
        link_.dialogs.message(EthernetResultConnectFailed, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    for (int i = 0; i < ResultFilterFrames; ++i)
        link_.ethernet.SendFilterFrame(ids::CommandReply);
    for (int block = 1; block <= ResultBlocks; ++block) {
        s_.ReplyReady = false;
        s_.RequestData[1] = block;
        s_.RequestData[2] = 0;
        s_.RequestData[3] = 0;
        s_.AckReceived = false;
        SharedWaitBudget budget(link_.pump, ResultBlockWaitPasses, ResultDoEventsPerPass);
        // A refused send ends the block: thousands of refused sends, each with the sender's wait, would
        // hold the window for minutes while the socket is down.
        const bool ok =
            ethernetAttempts(ids::CommandReply, ids::CommandRequest, {RundownCode, block, 0, 0, 0, 0, 0, 0},
                             ResultBlockSends, [&](int, bool sent) {
                                 if (sent)
                                     budget.wait([this] { return s_.ReplyReady; });
                                 return sent;
                             });
        if (!ok)
            return false;
    }
    return true;
}

bool DataTx::SendCalibrationCommand(long value) {
    if (value < 0 || value > LargestCalibrationValue)
        return false; // does not fit the two bytes of the command
    const std::array<int, 8> data{
        CalibrationCode, CalibrationSubcode, addressLow(int(value)), addressHigh(int(value)), 0, 0, 0, 0};
    switch (s_.ConnectionType) {
    case ParallelPort:
        return sendCalibrationCommandPp(data);
    case TcpIp:
        // No reply is awaited: the dongle is told to pass nothing back.
        return link_.ethernet.SendCanFrame(0, ids::CalibrationRequest, data);
    case Usb:
        return sendCalibrationCommandUsb(data);
    default:
        return false;
    }
}

// The parallel-port and USB paths come with the drivers of those links.
CalibrationStart DataTx::startCalibrationPp() {
    return CalibrationPending;
}
CalibrationStart DataTx::startCalibrationUsb() {
    return CalibrationPending;
}
bool DataTx::readRundownResultPp() {
    return false;
}
bool DataTx::readRundownResultUsb() {
    return false;
}
bool DataTx::sendCalibrationCommandPp(const std::array<int, 8>&) {
    return false;
}
bool DataTx::sendCalibrationCommandUsb(const std::array<int, 8>&) {
    return false;
}

} // namespace clink
