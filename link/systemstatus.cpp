// System status, software version and control commands: the status on 15EF0301 (10EF0301 on the parallel
// port, where the controller broadcasts it), everything else on 15EF0103 answered on 09EF0801.
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/linktexts.h"
#include "link/ppexchange.h"
#include "link/usb.h"

#include <algorithm>

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
// Parallel port: the status poll count is the limit times TransferDelay, at most StatusPollCap; the
// command exchanges' cycles and poll factors.
constexpr int64_t StatusPollCap = 32000;
constexpr long SystemCommandCycleFactor = 30;
constexpr long SystemCommandPollFactor = 25;
constexpr long ControlCommandCycles = 30;
constexpr long ControlCommandPollFactor = 45;
// USB tries of the version number request.
constexpr int SystemCommandUsbTries = 6;
// The USB test frame and the reply bytes it expects.
constexpr std::array<int, 8> UsbTestFrame{1, 2, 3, 4, 5, 6, 7, 8};
constexpr int UsbTestBytes = 8;

constexpr int MaxByte = 0xFF;

const QString CalculationErrorText =
    QStringLiteral("Error in Parameter Calculation, resetting controller parameters");

std::array<int, 8> commandFrame(int code) {
    return {code, 0, 0, 0, 0, 0, 0, 0};
}
} // namespace

bool DataTx::configureOrAbort(CanId awaited) {
    if (ConfigureCanDongle(awaited))
        return true;
    link_.dialogs.message(DongleConfigureAbortedText, base::ProgramTitle, base::MessageIcon::Critical);
    return false;
}

bool DataTx::ReadSystemStatus(long& pollLimit) {
    Transaction tx(link_);
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
    // The status carries nothing of its request: status answers still owed to an earlier read (a Pset send
    // ends on one), or a late copy of one, must not be taken as this read's.
    link_.ethernet.expect({.id = ids::StatusRequest, .code = codes::Status, .quietFirst = true});
    // The request is a filter frame for the status identifier; its handler takes the answer.
    EthernetPasses passes;
    passes.bound = StatusPasses;
    passes.beforeSend = StatusPauseBeforeSend;
    passes.wait = StatusWait;
    return ethernetPasses(passes, ids::StatusRequest, ids::StatusRequest, {});
}

int DataTx::SendSystemCommand() {
    Transaction tx(link_);
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
    link_.ethernet.expect({.id = ids::CommandReply, .code = codes::Version});
    EthernetPasses passes;
    passes.beforeSend = SystemCommandPauseBeforeSend;
    passes.wait = SystemCommandWait;
    // The acknowledgement handler takes the first [A0 A0 ...] as the acknowledgement and puts the major
    // version of the next one in RequestData(1).
    ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, commandFrame(codes::Version));
    return s_.ReplyReady ? s_.RequestData[1] : 0;
}

bool DataTx::ReadSccVersion(int code) {
    s_.DataCount = 0;
    if (code < 0 || code > MaxByte)
        return false;
    Transaction tx(link_);
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
    // The request goes out once before the passes; what decides which answer is taken is in place before it.
    // While the read is pending, the acknowledgement handler stores the version bytes of the first answer.
    link_.ethernet.expect({.id = ids::CommandReply, .code = code, .echo = {code}});
    s_.VersionReadPending = true;
    link_.ethernet.SendCanFrame(ids::CommandReply, ids::CommandRequest, request);
    s_.AckReceived = false;
    s_.ReplyReady = false;
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
    Transaction tx(link_);
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
    link_.ethernet.expect({.id = ids::CommandReply, .code = code, .echo = {code}, .changes = true});
    if (link_.ethernet.SendFilterFrame(ids::CommandReply))
        link_.pump.pause(ControlCommandSettle);
    s_.ReplyReady = false;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = ControlCommandPasses;
    passes.wait = ControlCommandWait;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, commandFrame(code));
}

bool DataTx::readSystemStatusPp(long& pollLimit) {
    link_.spi.ResetLineHigh();
    ClearReceiveBuffer();
    s_.DataCount = 0;
    if (!configureOrAbort(ids::StatusBroadcast))
        return false;
    pollLimit = long(std::clamp<int64_t>(int64_t(pollLimit) * s_.TransferDelay, 0, StatusPollCap));
    // Nothing is sent: the controller broadcasts its status.
    PpExchange pp(link_);
    return pp.run({.request = std::nullopt,
                   .passes = 1,
                   .polls = pollLimit,
                   .yieldEachPass = false,
                   .yieldEachPoll = true},
                  [this](PpRxMessage& m) {
                      if (!m.bytesAre({codes::Status}))
                          return false;
                      std::array<int, 8> d{codes::Status};
                      for (int n = 1; n < int(d.size()); ++n)
                          d[size_t(n)] = m.byte(n);
                      buildSystemStatusRecord(s_, d);
                      return true;
                  });
}

bool DataTx::readSystemStatusUsb() {
    ClearReceiveBuffer();
    s_.DataCount = 0;
    return link_.usb.Transact({ids::StatusRequest, ids::StatusRequest, {codes::Status, 0}, {}},
                              USB::UsualTries, [this](const UsbRxArray& rx) {
                                  if (rx[0] != codes::Status)
                                      return UsbReply::Retry;
                                  std::array<int, 8> d{};
                                  std::copy_n(rx.begin(), d.size(), d.begin());
                                  buildSystemStatusRecord(s_, d);
                                  return UsbReply::Taken;
                              });
}

int DataTx::sendSystemCommandPp() {
    int major = 0;
    PpExchange pp(link_);
    pp.run({.request = CanMessage{ids::CommandRequest, commandFrame(codes::Version)},
            .passes = pp.polls(SystemCommandCycleFactor),
            .polls = pp.polls(SystemCommandPollFactor),
            .yieldEachPoll = true},
           [&](PpRxMessage& m) {
               if (!m.bytesAre({codes::Acknowledge, codes::Version}))
                   return false;
               major = m.byte(2);
               m.byte(3); // the minor version is read and not used here
               return true;
           });
    return major;
}

int DataTx::sendSystemCommandUsb() {
    int major = 0;
    link_.usb.Transact({ids::CommandReply,
                        ids::CommandRequest,
                        {codes::Acknowledge, codes::Version},
                        commandFrame(codes::Version)},
                       SystemCommandUsbTries, [&](const UsbRxArray& rx) {
                           if (rx[0] != codes::Acknowledge || rx[1] != codes::Version)
                               return UsbReply::Retry;
                           major = rx[2];
                           return UsbReply::Taken;
                       });
    return major;
}

bool DataTx::readSccVersionPp(int code) {
    PpExchange pp(link_);
    return pp.runTimed({ids::CommandRequest, commandFrame(code)}, [&](PpRxMessage& m) {
        if (!m.bytesAre({codes::Acknowledge, code}))
            return false;
        s_.DataBuffer.put(s_.DataCount++, m.byte(2));
        s_.DataBuffer.put(s_.DataCount++, m.byte(3));
        return true;
    });
}

bool DataTx::readSccVersionUsb(int code) {
    return link_.usb.Transact(
        {ids::CommandReply, ids::CommandRequest, {codes::Acknowledge, code}, commandFrame(code)},
        USB::UsualTries, [this, code](const UsbRxArray& rx) {
            if (rx[0] != codes::Acknowledge || rx[1] != code)
                return UsbReply::Retry;
            s_.DataBuffer.put(0, rx[2]);
            s_.DataBuffer.put(1, rx[3]);
            return UsbReply::Taken;
        });
}

bool DataTx::sendControlCommandPp(int code) {
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::CommandRequest, commandFrame(code)},
                   .passes = ControlCommandCycles,
                   .polls = pp.polls(ControlCommandPollFactor)},
                  [code](PpRxMessage& m) {
                      return m.bytesAre({codes::Acknowledge, code});
                  });
}

bool DataTx::sendControlCommandUsb(int code) {
    return link_.usb.Transact(
        {ids::CommandReply, ids::CommandRequest, {codes::Acknowledge, code}, commandFrame(code)},
        USB::UsualTries, [code](const UsbRxArray& rx) {
            const bool acknowledged = rx[0] == codes::Acknowledge && rx[1] == code;
            return acknowledged ? UsbReply::Taken : UsbReply::Retry;
        });
}

bool DataTx::ShowDataArray() {
    Transaction tx(link_, Usb);
    // Whatever the connection type: the USB dongle's test exchange. A reply carries the two bytes the
    // frame names; a read that timed out (blanks) is no reply.
    const UsbRequest test{
        ids::UsbTestReply, ids::UsbTestRequest, {UsbTestFrame[0], UsbTestFrame[1]}, UsbTestFrame};
    return link_.usb.Transact(test, USB::UsualTries, [this](const UsbRxArray& rx) {
        if (rx[0] != UsbTestFrame[0] || rx[1] != UsbTestFrame[1])
            return UsbReply::Retry;
        QStringList lines;
        for (int i = 0; i < UsbTestBytes; ++i) {
            s_.DataBuffer.put(i, rx[size_t(i)]);
            lines << QStringLiteral("DataArray(%1) = %2").arg(i).arg(rx[size_t(i)]);
        }
        link_.dialogs.message(lines.join(QStringLiteral("\r\n")), base::ProgramTitle,
                              base::MessageIcon::None);
        return UsbReply::Taken;
    });
}

} // namespace clink
