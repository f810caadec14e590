// Transducer EEPROM bytes (10EF0401, confirmed on 12EF0604) and DSP parameter words (09EF0601 write,
// 16EF0601 read, confirmed on 12EF0106). The transducer request carries its address high byte first,
// the DSP request low byte first.
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/ppexchange.h"

namespace clink {

namespace {
constexpr int ReadCode = 0x90;
constexpr int WriteCode = 0x60;
constexpr int ReplyCode = 0x30;
constexpr int LargestByte = 0xFF;

// Parallel port: passes (one request each) and CANINTF polls per pass (x TransferDelay).
constexpr long TransducerWritePasses = 40;
constexpr long TransducerWritePollFactor = 75;
constexpr long TransducerReadPasses = 30;
constexpr long TransducerReadPollFactor = 60;
constexpr long DspWritePasses = 30;
constexpr long DspWritePollFactor = 15;
constexpr long DspReadPasses = 60;
constexpr long DspReadPollFactor = 30;
// Reply bytes of a DSP word: its low and high byte, then two unused bytes.
constexpr int DspValueLowByte = 4;
constexpr int DspValueHighByte = 5;
constexpr int DspLastByte = 7;

// USB: tries of the DSP write (the read has the usual 11).
constexpr int DspWriteUsbTries = 51;

// Ethernet: DoEvents cycles (of two) after the filter frame, the most sends, and the shared reply wait
// (passes of DoEvents) of each transaction.
constexpr long TransducerWriteFilterCycles = 5000;
constexpr int TransducerWriteSends = 501;
constexpr long TransducerWriteWaitPasses = 501;
constexpr long TransducerWriteDoEventsPerPass = 3;

constexpr long TransducerReadFilterCycles = 50;
constexpr int TransducerReadSends = 51;
constexpr long TransducerReadWaitPasses = 3001;

constexpr long DspWriteFilterCycles = 1;
constexpr int DspWriteSends = 51;
constexpr long DspWriteWaitPasses = 301;

constexpr long DspReadFilterCycles = 50;
constexpr int DspReadSends = 101;
constexpr long DspReadWaitPasses = 3001;
} // namespace

struct DataTx::EepromExchange {
    CanId reply;
    CanId request;
    std::array<int, 8> data;
    // RequestData(1..echoCount): what the reply handler must see echoed.
    std::array<int, 5> echo;
    int echoCount;
    // A write: the confirmation must carry the value written.
    bool write;
    long filterCycles;
    int sends;
    long waitPasses;
    long doEventsPerPass;
};

bool DataTx::WriteTransducerEeprom(int address, int value) {
    if (value < 0 || value > LargestByte)
        return false;
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return writeTransducerEepromPp(address, value);
    case TcpIp: {
        const int hi = addressHigh(address);
        const int lo = addressLow(address);
        return eepromExchangeEthernet({ids::TransducerReply,
                                       ids::TransducerRequest,
                                       {WriteCode, hi, lo, value, 0, 0, 0, 0},
                                       {hi, lo, value, 0, 0},
                                       3,
                                       true,
                                       TransducerWriteFilterCycles,
                                       TransducerWriteSends,
                                       TransducerWriteWaitPasses,
                                       TransducerWriteDoEventsPerPass});
    }
    default:
        return false; // the transducer is not reached over USB
    }
}

bool DataTx::ReadTransducerEeprom(int address) {
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readTransducerEepromPp(address);
    case TcpIp: {
        const int hi = addressHigh(address);
        const int lo = addressLow(address);
        // Over Ethernet a zero byte stands between the code and the address. The handler stores the
        // value without moving DataCount: the transaction counts it.
        const bool ok = eepromExchangeEthernet({ids::TransducerReply,
                                                ids::TransducerRequest,
                                                {ReadCode, 0, hi, lo, 0, 0, 0, 0},
                                                {hi, lo, 0, 0, 0},
                                                2,
                                                false,
                                                TransducerReadFilterCycles,
                                                TransducerReadSends,
                                                TransducerReadWaitPasses,
                                                1});
        if (ok)
            ++s_.DataCount;
        return ok;
    }
    default:
        return false;
    }
}

bool DataTx::WriteDspEeprom(int address, int value) {
    const int lo = addressLow(address);
    const int hi = addressHigh(address);
    const int vlo = value & LargestByte;
    const int vhi = (value >> 8) & LargestByte;
    Transaction tx(link_);
    bool ok = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        ok = writeDspEepromPp(address, value);
        break;
    case TcpIp:
        ok = eepromExchangeEthernet({ids::DspReply,
                                     ids::DspWriteRequest,
                                     {WriteCode, 0, lo, hi, vlo, vhi, 0, 0},
                                     {0, lo, hi, vlo, vhi},
                                     5,
                                     true,
                                     DspWriteFilterCycles,
                                     DspWriteSends,
                                     DspWriteWaitPasses,
                                     1});
        break;
    case Usb:
        ok = writeDspEepromUsb(address, value);
        break;
    default:
        return false;
    }
    s_.RequestData[4] = 0;
    s_.RequestData[5] = 0;
    return ok;
}

bool DataTx::ReadDspEeprom(int address) {
    const int lo = addressLow(address);
    const int hi = addressHigh(address);
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readDspEepromPp(address);
    case TcpIp:
        return eepromExchangeEthernet({ids::DspReply,
                                       ids::DspReadRequest,
                                       {ReadCode, 0, lo, hi, 0, 0, 0, 0},
                                       {0, lo, hi, 0, 0},
                                       3,
                                       false,
                                       DspReadFilterCycles,
                                       DspReadSends,
                                       DspReadWaitPasses,
                                       1});
    case Usb:
        return readDspEepromUsb(address);
    default:
        return false;
    }
}

bool DataTx::eepromExchangeEthernet(const EepromExchange& x) {
    ReplyExpectation expected{.id = x.reply, .code = ReplyCode, .exactEcho = x.write, .changes = x.write};
    for (int i = 0; i < x.echoCount; ++i)
        expected.echo.set(size_t(i), x.echo[size_t(i)]);
    link_.ethernet.expect(expected);
    if (link_.ethernet.SendFilterFrame(x.reply))
        link_.pump.pause(x.filterCycles * 2);
    s_.ReplyReady = false;
    s_.AckReceived = false;
    return ethernetPasses({.bound = x.sends, .wait = x.waitPasses * x.doEventsPerPass}, x.reply, x.request,
                          x.data);
}

bool DataTx::writeTransducerEepromPp(int address, int value) {
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::TransducerRequest, {WriteCode, hi, lo, value, 0, 0, 0, 0}},
                   .passes = TransducerWritePasses,
                   .polls = pp.polls(TransducerWritePollFactor)},
                  [&](PpRxMessage& m) {
                      return m.bytesAre({ReplyCode, hi, lo, value});
                  });
}

bool DataTx::readTransducerEepromPp(int address) {
    if (!DataBufferArray::fits(s_.DataCount, 1))
        return false;
    const int hi = addressHigh(address);
    const int lo = addressLow(address);
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::TransducerRequest, {ReadCode, hi, lo, 0, 0, 0, 0, 0}},
                   .passes = TransducerReadPasses,
                   .polls = pp.polls(TransducerReadPollFactor)},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({ReplyCode, hi, lo}))
                          return false;
                      s_.DataBuffer.put(s_.DataCount++, m.byte(3));
                      return true;
                  });
}

bool DataTx::writeDspEepromPp(int address, int value) {
    const int lo = addressLow(address);
    const int hi = addressHigh(address);
    const int vlo = value & LargestByte;
    const int vhi = (value >> 8) & LargestByte;
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::DspWriteRequest, {WriteCode, 0, lo, hi, vlo, vhi, 0, 0}},
                   .passes = DspWritePasses,
                   .polls = pp.polls(DspWritePollFactor)},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({ReplyCode}))
                          return false;
                      m.byte(1); // any value
                      return m.bytesAre({lo, hi, vlo, vhi}, 2);
                  });
}

bool DataTx::readDspEepromPp(int address) {
    if (!DataBufferArray::fits(s_.DataCount, 2))
        return false;
    const int lo = addressLow(address);
    const int hi = addressHigh(address);
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::DspReadRequest, {ReadCode, 0, lo, hi, 0, 0, 0, 0}},
                   .passes = DspReadPasses,
                   .polls = pp.polls(DspReadPollFactor),
                   .clearBeforeSend = true},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({ReplyCode}))
                          return false;
                      m.byte(1); // any value
                      if (!m.bytesAre({lo, hi}, 2))
                          return false;
                      s_.DataBuffer.put(s_.DataCount++, m.byte(DspValueLowByte));
                      s_.DataBuffer.put(s_.DataCount++, m.byte(DspValueHighByte));
                      for (int n = DspValueHighByte + 1; n <= DspLastByte; ++n)
                          m.byte(n); // read and dropped
                      return true;
                  });
}

bool DataTx::writeDspEepromUsb(int address, int value) {
    const int lo = addressLow(address);
    const int hi = addressHigh(address);
    const int vlo = value & LargestByte;
    const int vhi = (value >> 8) & LargestByte;
    return link_.usb.Transact(
        {ids::DspReply, ids::DspWriteRequest, {ReplyCode, 0}, {WriteCode, 0, lo, hi, vlo, vhi, 0, 0}},
        DspWriteUsbTries, [&](const UsbRxArray& rx) {
            const bool confirmed = rx[0] == ReplyCode && rx[1] == 0 && rx[2] == lo && rx[3] == hi &&
                                   rx[4] == vlo && rx[5] == vhi;
            return confirmed ? UsbReply::Taken : UsbReply::Retry;
        });
}

bool DataTx::readDspEepromUsb(int address) {
    const int lo = addressLow(address);
    const int hi = addressHigh(address);
    s_.RequestData[1] = 0;
    s_.RequestData[2] = lo;
    s_.RequestData[3] = hi;
    s_.AckReceived = false;
    return link_.usb.Transact(
        {ids::DspReply, ids::DspReadRequest, {ReplyCode, 0}, {ReadCode, 0, lo, hi, 0, 0, 0, 0}},
        USB::UsualTries, [this](const UsbRxArray& rx) {
            if (rx[0] != ReplyCode || rx[1] != 0)
                return UsbReply::Retry;
            if (!DataBufferArray::fits(s_.DataCount, 2))
                return UsbReply::Refused;
            s_.DataBuffer.put(s_.DataCount++, rx[DspValueLowByte]);
            s_.DataBuffer.put(s_.DataCount++, rx[DspValueHighByte]);
            return UsbReply::Taken;
        });
}

} // namespace clink
