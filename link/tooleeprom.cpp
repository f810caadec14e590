// Tool EEPROM transactions: one byte location per request on 10EF0201, confirmed on 12EF0602.
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/ppexchange.h"

namespace clink {

namespace {
constexpr int ReadCode = 0x90;
constexpr int WriteCode = 0x60;
constexpr int ReplyCode = 0x30;
// The USB write's tries (the read's bound: a device that keeps answering wrongly must not hang the program).
constexpr int UsbWriteTries = USB::UsualTries;
// Parallel port: passes (one request each) and CANINTF polls per pass, x TransferDelay.
constexpr long PpPasses = 50;
constexpr long PpReadPollFactor = 70;
constexpr long PpWritePollFactor = 75;
// Extra wait after the first accepted read request, and after the first accepted write request.
constexpr long ReadFirstWait = 1201;
constexpr long WriteSettleCycles = 1000;
constexpr long WriteFirstWaitCycles = 501;
// The write repeats its filter frame this many times before the request.
constexpr int WriteFilterFrames = 20;
} // namespace

bool DataTx::ReadToolEeprom(int address) {
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readToolEepromPp(address);
    case TcpIp:
        return readToolEepromEthernet(address);
    case Usb:
        return readToolEepromUsb(address);
    default:
        return false;
    }
}

bool DataTx::WriteToolEeprom(int address, int value) {
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return writeToolEepromPp(address, value);
    case TcpIp:
        return writeToolEepromEthernet(address, value);
    case Usb:
        return writeToolEepromUsb(address, value);
    default:
        return false;
    }
}

bool DataTx::readToolEepromEthernet(int address) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    link_.ethernet.expect({.id = ids::ToolEepromReply, .echo = {hi, lo}});
    link_.ethernet.SendFilterFrame(ids::ToolEepromReply);
    // The further wait ends early on the reply, and on an answer that can be the request's own: a controller
    // that answers once per request sends the next answer only to the next request.
    ethernetAttempts(ids::ToolEepromReply, ids::ToolEepromRequest, {ReadCode, hi, lo, 0, 0, 0, 0, 0},
                     EthernetAttempts, [&](int attempt) {
                         if (attempt == 0)
                             link_.pump.waitUntil([this] { return link_.ethernet.replyOrOwnAnswer(); },
                                                  ReadFirstWait);
                         return true;
                     });
    if (s_.ReplyReady)
        ++s_.DataCount;
    return s_.ReplyReady;
}

bool DataTx::writeToolEepromEthernet(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    link_.ethernet.expect(
        {.id = ids::ToolEepromReply, .echo = {hi, lo, value}, .exactEcho = true, .changes = true});
    for (int i = 0; i < WriteFilterFrames; ++i)
        link_.ethernet.SendFilterFrame(ids::ToolEepromReply);
    return ethernetAttempts(ids::ToolEepromReply, ids::ToolEepromRequest,
                            {WriteCode, hi, lo, value, 0, 0, 0, 0}, EthernetAttempts, [&](int attempt) {
                                link_.pump.pause(WriteSettleCycles * 2);
                                if (attempt == 0)
                                    link_.pump.waitUntil([this] { return s_.ReplyReady; },
                                                         WriteFirstWaitCycles * 3);
                                return true;
                            });
}

bool DataTx::readToolEepromUsb(int address) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    s_.RequestData[1] = hi;
    s_.RequestData[2] = lo;
    return link_.usb.Transact(
        {ids::ToolEepromReply, ids::ToolEepromRequest, {ReplyCode, hi}, {ReadCode, hi, lo}}, USB::UsualTries,
        [this](const UsbRxArray& rx) {
            if (rx[0] != ReplyCode || rx[1] != s_.RequestData[1] || rx[2] != s_.RequestData[2])
                return UsbReply::Retry;
            // A full receive buffer takes nothing more: the read fails.
            if (!s_.DataBuffer.put(s_.DataCount, rx[3]))
                return UsbReply::Refused;
            ++s_.DataCount;
            return UsbReply::Taken;
        });
}

bool DataTx::writeToolEepromUsb(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    s_.RequestData[1] = hi;
    s_.RequestData[2] = lo;
    s_.RequestData[3] = value;
    return link_.usb.Transact(
        {ids::ToolEepromReply, ids::ToolEepromRequest, {ReplyCode, hi}, {WriteCode, hi, lo, value}},
        UsbWriteTries, [this](const UsbRxArray& rx) {
            const bool confirmed = rx[0] == ReplyCode && rx[1] == s_.RequestData[1] &&
                                   rx[2] == s_.RequestData[2] && rx[3] == s_.RequestData[3];
            return confirmed ? UsbReply::Taken : UsbReply::Retry;
        });
}

bool DataTx::readToolEepromPp(int address) {
    // A value with no room left in DataBuffer could not be stored.
    if (!DataBufferArray::fits(s_.DataCount, 1))
        return false;
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::ToolEepromRequest, {ReadCode, hi, lo, 0, 0, 0, 0, 0}},
                   .passes = PpPasses,
                   .polls = pp.polls(PpReadPollFactor)},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({ReplyCode, hi, lo}))
                          return false;
                      s_.DataBuffer.put(s_.DataCount, m.byte(3));
                      ++s_.DataCount;
                      return true;
                  });
}

bool DataTx::writeToolEepromPp(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::ToolEepromRequest, {WriteCode, hi, lo, value, 0, 0, 0, 0}},
                   .passes = PpPasses,
                   .polls = pp.polls(PpWritePollFactor)},
                  [&](PpRxMessage& m) {
                      return m.bytesAre({ReplyCode, hi, lo, value});
                  });
}

} // namespace clink
