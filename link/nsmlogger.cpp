// The NSM unit's setting locations (13EF0D01 [90|60 hi lo v] -> 13EF010D [30 hi lo v]) and the data
// logger's memory (13EF0305 [AA lo hi] -> 13EF0503 [AA hi lo m0..m4], parallel port only).
#include "base/dialogs.h"
#include "base/eventpump.h"
#include "link/cancontroller.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/linktexts.h"
#include "link/ppexchange.h"

namespace clink {

namespace {
constexpr int ReadCode = 0x90;
constexpr int WriteCode = 0x60;
constexpr int ReplyCode = 0x30;
constexpr int LoggerCode = 0xAA;
constexpr int LargestByte = 0xFF;
// A logger reply: code, address high and low, then five memory bytes (3..7).
constexpr int LoggerFirstByte = 3;
constexpr int LoggerRouteBytes = 5;
constexpr int LastByte = 7;
// Data-logger addresses are 16 bits.
constexpr long LargestLoggerAddress = 0xFFFF;

// Ethernet: DoEvents cycles (of two) after the read's filter frame, DoEvents after the write's opening
// frame, the most sends per location, and the reply wait (passes of one DoEvents) per location for the
// read and per call for the write.
constexpr long NsmReadFilterCycles = 500;
constexpr long NsmWriteOpeningDoEvents = 2;
constexpr int NsmSends = 51;
constexpr long NsmWaitPasses = 301;

// Parallel port: passes (one request each) and CANINTF polls per pass (x TransferDelay, except the
// route read's fixed count).
constexpr long NsmReadPassFactor = 30;
constexpr long NsmReadPollFactor = 60;
constexpr long NsmWritePassFactor = 40;
constexpr long NsmWritePollFactor = 75;
constexpr long LoggerPasses = 30;
constexpr long LoggerPollFactor = 75;
constexpr long LoggerRoutePassFactor = 30;
constexpr long LoggerRoutePolls = 30;
// Ethernet: the old text frames the logger reads still send before they give up.
constexpr int LoggerEthernetSends = 30;
// USB: tries of the NSM write (the read sends one frame per location).
constexpr int NsmWriteUsbTries = 50;

const QString NsmNotReceived = QStringLiteral("NSM Settings Not Received");
const QString NsmNotReceivedCaption = QStringLiteral("Receive Error");
const QString TransferFailed = QStringLiteral("Unable To Transfer Data - Transfer Failed");
const QString TransferFailedCaption = QStringLiteral("Transfer Data");
const QString NsmEthernetFailed = QStringLiteral("Error Collecting Data");
const QString NsmEthernetFailedCaption = QStringLiteral("Getting NSM Settings");
} // namespace

bool DataTx::ReadNsmSettings() {
    Transaction tx(link_);
    bool ok = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        ok = readNsmSettingsPp();
        break;
    case TcpIp:
        ok = readNsmSettingsEthernet();
        break;
    case Usb:
        ok = readNsmSettingsUsb();
        break;
    default:
        return false;
    }
    if (ok)
        fillNsmSettings(s_.NsmSettings, s_.DataBuffer);
    return ok;
}

bool DataTx::readNsmSettingsEthernet() {
    // The unit answers its filter frame with its clock: only its location answers are awaited.
    link_.ethernet.expect({.id = ids::NsmReply, .code = ReplyCode, .echo = {addressHigh(0), addressLow(0)}});
    if (link_.ethernet.SendFilterFrame(ids::NsmReply))
        link_.pump.pause(NsmReadFilterCycles * 2);
    ClearReceiveBuffer();
    for (int location = 0; location < NsmSettingsRecord::Locations; ++location) {
        const int hi = addressHigh(location);
        const int lo = addressLow(location);
        link_.ethernet.expect({.id = ids::NsmReply, .code = ReplyCode, .echo = {hi, lo}});
        // The handler stores the value at DataCount; the transaction counts it.
        if (!ethernetPasses({.bound = NsmSends, .wait = NsmWaitPasses}, ids::NsmReply, ids::NsmRequest,
                            {ReadCode, hi, lo, 0, 0, 0, 0, 0})) {
            link_.dialogs.message(NsmEthernetFailed, NsmEthernetFailedCaption, base::MessageIcon::Critical);
            return false;
        }
        ++s_.DataCount;
    }
    return true;
}

bool DataTx::WriteNsmSettings(int address, int value) {
    if (value < 0 || value > LargestByte)
        return false;
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return writeNsmSettingsPp(address, value);
    case TcpIp:
        return writeNsmSettingsEthernet(address, value);
    case Usb:
        return writeNsmSettingsUsb(address, value);
    default:
        return false;
    }
}

bool DataTx::writeNsmSettingsEthernet(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    // Like every transaction the write starts with AckReceived clear: a confirmation left over from the
    // last exchange must not complete it, so the first matching confirmation only acknowledges.
    link_.ethernet.expect(
        {.id = ids::NsmReply, .code = ReplyCode, .echo = {hi, lo, value}, .exactEcho = true, .changes = true});
    if (link_.ethernet.SendCanFrame(ids::NsmReply, ids::NsmRequest, {}))
        link_.pump.pause(NsmWriteOpeningDoEvents);
    s_.ReplyReady = false;
    const bool ok = ethernetPasses({.bound = NsmSends, .wait = NsmWaitPasses}, ids::NsmReply, ids::NsmRequest,
                                   {WriteCode, hi, lo, value, 0, 0, 0, 0});
    s_.AckReceived = false;
    s_.RequestData[4] = 0;
    s_.RequestData[5] = 0;
    return ok;
}

bool DataTx::ReadDataLogger(int address) {
    if (address < 0 || address > LargestLoggerAddress)
        return false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readDataLoggerPp(address);
    case TcpIp:
        return readDataLoggerEthernet(address);
    default:
        return false; // the logger is not read over USB
    }
}

bool DataTx::ReadDataLoggerRoute(long address) {
    if (address < 0 || address > LargestLoggerAddress)
        return false; // the address does not fit the request's two bytes: nothing is sent
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readDataLoggerRoutePp(int(address));
    case TcpIp:
        return readDataLoggerRouteEthernet(int(address));
    default:
        return false;
    }
}

bool DataTx::readNsmSettingsPp() {
    link_.spi.ResetLineHigh();
    if (!ConfigureCanDongle(ids::NsmReply)) {
        link_.dialogs.message(DongleConfigureFailedText, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    ClearReceiveBuffer();
    PpExchange pp(link_);
    for (int location = 0; location < NsmSettingsRecord::Locations; ++location) {
        const int hi = addressHigh(location);
        const int lo = addressLow(location);
        const bool taken = pp.run({.request = CanMessage{ids::NsmRequest, {ReadCode, hi, lo, 0, 0, 0, 0, 0}},
                                   .passes = pp.polls(NsmReadPassFactor),
                                   .polls = pp.polls(NsmReadPollFactor)},
                                  [&](PpRxMessage& m) {
                                      if (!m.bytesAre({ReplyCode, hi, lo}))
                                          return false;
                                      s_.DataBuffer.put(s_.DataCount++, m.byte(3));
                                      return true;
                                  });
        if (!taken) {
            link_.dialogs.message(NsmNotReceived, NsmNotReceivedCaption, base::MessageIcon::Critical);
            return false;
        }
    }
    return true;
}

bool DataTx::readNsmSettingsUsb() {
    ClearReceiveBuffer();
    for (int location = 0; location < NsmSettingsRecord::Locations; ++location) {
        const int hi = addressHigh(location);
        const int lo = addressLow(location);
        // One frame per location.
        const bool taken = link_.usb.Transact(
            {ids::NsmReply, ids::NsmRequest, {ReplyCode, 0}, {ReadCode, hi, lo, 0, 0, 0, 0, 0}}, 1,
            [&](const UsbRxArray& rx) {
                if (rx[0] != ReplyCode || rx[1] != hi || rx[2] != lo)
                    return UsbReply::Retry;
                s_.DataBuffer.put(s_.DataCount++, rx[3]);
                return UsbReply::Taken;
            });
        if (!taken) {
            link_.dialogs.message(NsmNotReceived, NsmNotReceivedCaption, base::MessageIcon::Critical);
            return false;
        }
    }
    return true;
}

bool DataTx::writeNsmSettingsPp(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    link_.spi.ResetLineHigh();
    if (!ConfigureCanDongle(ids::NsmReply)) {
        link_.dialogs.message(DongleConfigureFailedText, base::ProgramTitle, base::MessageIcon::Critical);
        return false;
    }
    link_.spi.WriteRegister(0, canctl::CANINTF);
    PpExchange pp(link_);
    const bool taken = pp.run({.request = CanMessage{ids::NsmRequest, {WriteCode, hi, lo, value, 0, 0, 0, 0}},
                               .passes = pp.polls(NsmWritePassFactor),
                               .polls = pp.polls(NsmWritePollFactor),
                               .yieldEachPoll = true},
                              [&](PpRxMessage& m) {
                                  return m.bytesAre({ReplyCode, hi, lo, value});
                              });
    if (!taken)
        link_.dialogs.message(TransferFailed, TransferFailedCaption, base::MessageIcon::Critical);
    return taken;
}

bool DataTx::writeNsmSettingsUsb(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    // The dongle matches the reply code; the echo is not compared.
    return link_.usb.Transact(
        {ids::NsmReply, ids::NsmRequest, {ReplyCode, 0}, {WriteCode, hi, lo, value, 0, 0, 0, 0}},
        NsmWriteUsbTries,
        [](const UsbRxArray& rx) { return rx[0] == ReplyCode ? UsbReply::Taken : UsbReply::Retry; });
}

bool DataTx::readDataLoggerPp(int address) {
    if (!DataBufferArray::fits(s_.DataCount, 1))
        return false;
    Transaction tx(link_);
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    link_.spi.ResetLineHigh();
    if (!ConfigureCanDongle(ids::CurveRequest2))
        link_.dialogs.message(DongleConfigureFailedText, base::ProgramTitle, base::MessageIcon::Critical);
    PpExchange pp(link_);
    // Asked low byte first, answered high byte first.
    return pp.run({.request = CanMessage{ids::LoggerRequest, {LoggerCode, lo, hi, 0, 0, 0, 0, 0}},
                   .passes = LoggerPasses,
                   .polls = pp.polls(LoggerPollFactor),
                   .clearBeforeSend = true},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({LoggerCode, hi, lo}))
                          return false;
                      s_.DataBuffer.put(s_.DataCount++, m.byte(LoggerFirstByte));
                      for (int n = LoggerFirstByte + 1; n <= LastByte; ++n)
                          m.byte(n); // read and dropped
                      return true;
                  });
}

bool DataTx::readDataLoggerRoutePp(int address) {
    if (!DataBufferArray::fits(s_.DataCount, LoggerRouteBytes))
        return false;
    Transaction tx(link_);
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    // The caller has set the dongle up; the polls do not yield.
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::LoggerRequest, {LoggerCode, lo, hi, 0, 0, 0, 0, 0}},
                   .passes = pp.polls(LoggerRoutePassFactor),
                   .polls = LoggerRoutePolls,
                   .yieldEachPass = false},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({LoggerCode, hi, lo}))
                          return false;
                      for (int n = LoggerFirstByte; n <= LastByte; ++n)
                          s_.DataBuffer.put(s_.DataCount++, m.byte(n));
                      return true;
                  });
}

// The logger is not read over Ethernet: the old text frames still go out, and the socket text that
// arrives meanwhile is left for the parser.
bool DataTx::readDataLoggerEthernet(int address) {
    if (!ConfigureCanDongle(ids::CurveRequest2))
        link_.dialogs.message(EthernetConfigureFailedText, base::ProgramTitle, base::MessageIcon::Critical);
    SendBatch batch(*this);
    const CanMessage request{ids::LoggerRequest,
                             {LoggerCode, addressLow(address), addressHigh(address), 0, 0, 0, 0, 0}};
    for (int i = 0; i < LoggerEthernetSends; ++i) {
        link_.pump.doEvents();
        SendCanMessage(request);
    }
    return false;
}

bool DataTx::readDataLoggerRouteEthernet(int address) {
    SendBatch batch(*this);
    const CanMessage request{ids::LoggerRequest,
                             {LoggerCode, addressLow(address), addressHigh(address), 0, 0, 0, 0, 0}};
    for (int i = 0; i < LoggerEthernetSends; ++i)
        SendCanMessage(request);
    return false;
}

} // namespace clink
