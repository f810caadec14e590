// Manual torque calibration: wait for a rundown's final-torque report (10EF1102 [10 01 ...]), read the
// rundown's result in three blocks (15EF0103 [10 b] -> 09EF0801 [10 b + six bytes]) and send the new
// calibration value (08EF0601 [20 01 lo hi], not confirmed).
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/linktexts.h"
#include "link/ppexchange.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
constexpr int RundownCode = 0x10;
constexpr int FinalTorqueBlock = 1;
constexpr int ResultBlocks = 3;
// Data bytes 2..7 of a result frame are six result bytes.
constexpr int ResultFirstByte = 2;
constexpr int ResultBlockBytes = 6;
constexpr int LastByte = 7;
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

// Parallel port: CANINTF polls (x TransferDelay) of the wait for the final torque; per result block,
// passes (one request each) and polls per pass (x TransferDelay).
constexpr long StartPollFactor = 1000;
constexpr long ResultPassFactor = 40;
constexpr long ResultPollFactor = 25;

// USB: tries after the opening frame of the start, and per result block.
constexpr int StartUsbTries = 16;
constexpr int ResultBlockUsbTries = 6001;

const QString EthernetConnectFailed = QStringLiteral("Unable To connect using ethernet");
const QString EthernetResultConnectFailed = QStringLiteral("Unable to connect using ethernet");
} // namespace

CalibrationStart DataTx::StartCalibration() {
    Transaction tx(link_);
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
    link_.ethernet.expect({.id = ids::RunData, .echo = {FinalTorqueBlock}, .unprompted = true});
    if (!link_.ethernet.SendCanFrame(ids::RunData, ids::StatusRequest, {})) {
        link_.dialogs.message(EthernetConnectFailed, base::ProgramTitle, base::MessageIcon::Critical);
        return CalibrationLinkFailed;
    }
    s_.AckReceived = false;
    SharedWaitBudget budget(link_.pump, StartWaitPasses, StartDoEventsPerPass);
    for (int pass = 0; pass < StartPasses && !s_.ReplyReady && !link_.transactions.over(); ++pass) {
        link_.pump.pause(StartPassCycles * 2);
        budget.wait([this] { return s_.ReplyReady; });
    }
    return s_.ReplyReady ? CalibrationFinalTorque : CalibrationPending;
}

bool DataTx::ReadRundownResult() {
    s_.DataCount = 0;
    Transaction tx(link_);
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
    if (!link_.ethernet.line().isConnected()) {
        link_.dialogs.message(EthernetResultConnectFailed, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    link_.ethernet.expect({.id = ids::CommandReply, .code = RundownCode, .echo = {1}});
    for (int i = 0; i < ResultFilterFrames; ++i)
        link_.ethernet.SendFilterFrame(ids::CommandReply);
    for (int block = 1; block <= ResultBlocks; ++block) {
        link_.ethernet.expect({.id = ids::CommandReply, .code = RundownCode, .echo = {block}});
        const EthernetPasses passes{.bound = ResultBlockSends,
                                    .wait = ResultBlockWaitPasses * ResultDoEventsPerPass};
        if (!ethernetPasses(passes, ids::CommandReply, ids::CommandRequest,
                            {RundownCode, block, 0, 0, 0, 0, 0, 0}))
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

CalibrationStart DataTx::startCalibrationPp() {
    s_.ReplyReady = false;
    if (!ConfigureCanDongle(ids::RunData)) {
        link_.dialogs.message(DongleConfigureFailedText, base::ProgramTitle, base::MessageIcon::Critical);
        return CalibrationLinkFailed;
    }
    // Nothing is sent: the controller reports the rundown on its own.
    PpExchange pp(link_);
    const bool reported = pp.run({.request = std::nullopt,
                                  .passes = 1,
                                  .polls = pp.polls(StartPollFactor),
                                  .yieldEachPass = false,
                                  .yieldEachPoll = true},
                                 [](PpRxMessage& m) {
                                     if (!m.bytesAre({RundownCode, FinalTorqueBlock}))
                                         return false;
                                     for (int n = ResultFirstByte; n <= LastByte; ++n)
                                         m.byte(n); // read and dropped
                                     return true;
                                 });
    s_.ReplyReady = reported;
    return reported ? CalibrationFinalTorque : CalibrationPending;
}

CalibrationStart DataTx::startCalibrationUsb() {
    const UsbRequest start{ids::RunData, ids::StatusRequest, {RundownCode, FinalTorqueBlock}, {}};
    // The first frame sets the dongle up; its reply is not looked at.
    if (!link_.usb.SendCanFrame(start)) {
        link_.usb.ReopenDevice();
        link_.dialogs.message(UsbConnectFailedText, base::ProgramTitle, base::MessageIcon::Critical);
        return CalibrationLinkFailed;
    }
    const bool reported = link_.usb.Transact(start, StartUsbTries, [](const UsbRxArray& rx) {
        return rx[0] == RundownCode && rx[1] == FinalTorqueBlock ? UsbReply::Taken : UsbReply::Retry;
    });
    return reported ? CalibrationFinalTorque : CalibrationPending;
}

bool DataTx::readRundownResultPp() {
    link_.spi.ResetLineHigh();
    if (!configureOrAbort(ids::CommandReply))
        return false;
    PpExchange pp(link_);
    for (int block = 1; block <= ResultBlocks; ++block) {
        if (!DataBufferArray::fits(s_.DataCount, ResultBlockBytes))
            return false;
        link_.pump.doEvents();
        const bool taken =
            pp.run({.request = CanMessage{ids::CommandRequest, {RundownCode, block, 0, 0, 0, 0, 0, 0}},
                    .passes = pp.polls(ResultPassFactor),
                    .polls = pp.polls(ResultPollFactor),
                    .yieldEachPass = false},
                   [&](PpRxMessage& m) {
                       if (!m.bytesAre({RundownCode, block}))
                           return false;
                       for (int n = ResultFirstByte; n <= LastByte; ++n)
                           s_.DataBuffer.put(s_.DataCount++, m.byte(n));
                       return true;
                   });
        if (!taken)
            return false;
    }
    return true;
}

bool DataTx::readRundownResultUsb() {
    link_.usb.SendFilterFrame(ids::CommandReply);
    for (int block = 1; block <= ResultBlocks; ++block) {
        const bool taken = link_.usb.Transact({ids::CommandReply,
                                               ids::CommandRequest,
                                               {RundownCode, 0},
                                               {RundownCode, block, 0, 0, 0, 0, 0, 0}},
                                              ResultBlockUsbTries, [&](const UsbRxArray& rx) {
                                                  if (rx[0] != RundownCode || rx[1] != block)
                                                      return UsbReply::Retry;
                                                  if (!DataBufferArray::fits(s_.DataCount, ResultBlockBytes))
                                                      return UsbReply::Refused;
                                                  for (int n = ResultFirstByte; n <= LastByte; ++n)
                                                      s_.DataBuffer.put(s_.DataCount++, rx[size_t(n)]);
                                                  return UsbReply::Taken;
                                              });
        if (!taken)
            return false;
    }
    return true;
}

bool DataTx::sendCalibrationCommandPp(const std::array<int, 8>& data) {
    // Sent without setting the dongle up: no reply is awaited.
    link_.spi.ResetLineHigh();
    SendCanMessage(CanMessage{ids::CalibrationRequest, data});
    return true;
}

bool DataTx::sendCalibrationCommandUsb(const std::array<int, 8>& data) {
    return link_.usb.SendCanFrame(ids::CalibrationRequest, ids::CalibrationRequest, {0, 0}, data);
}

} // namespace clink
