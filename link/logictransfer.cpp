// Logic and ladder programs: logic blocks [61 n six image bytes] and ladder frames on 15EF0103,
// acknowledged on 09EF0801; answer blocks [62 n six bytes] on 09EF0801.
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/ppexchange.h"
#include "link/usb.h"

namespace clink {

namespace {
constexpr int BlockBytes = 6;
// Ethernet: settling after the filter frame, passes and the wait budget of the logic and ladder sends.
constexpr long SendSettle = 1000;
constexpr int LogicPasses = 501;
constexpr int LadderPasses = 51;
constexpr long SendWait = 301;
// Parallel port: the logic send's cycles and acknowledgement polls (times TransferDelay); the ladder
// send's cycles and the looks after each send (times TransferDelay).
constexpr long LogicCycleFactor = 30;
constexpr long LogicAcknowledgePollFactor = 30;
constexpr long LadderCycles = 30;
constexpr long LadderLookFactor = 25;
constexpr int AcknowledgementBytes = 8;
} // namespace

bool DataTx::SendLogicIoProgram(int block) {
    // Block n is DataBuffer(6(n-1)..6n-1): numbers beyond the buffer have no image.
    const int first = (block - 1) * BlockBytes;
    if (block < 1 || !DataBufferArray::fits(first, BlockBytes))
        return false;
    std::array<int, 8> frame{codes::LogicBlock, block};
    for (int i = 0; i < BlockBytes; ++i)
        frame[size_t(2 + i)] = s_.DataBuffer[first + i];
    if (!allBytes(frame))
        return false;
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return sendLogicIoProgramPp(block, frame);
    case TcpIp:
        return sendLogicIoProgramEthernet(block, frame);
    case Usb:
        return sendLogicIoProgramUsb(block, frame);
    default:
        return false;
    }
}

bool DataTx::sendLogicIoProgramEthernet(int block, const std::array<int, 8>& frame) {
    link_.ethernet.expect(
        {.id = ids::CommandReply, .code = codes::LogicBlock, .echo = {codes::LogicBlock, block}, .changes = true});
    if (link_.ethernet.SendFilterFrame(ids::CommandReply))
        link_.pump.pause(SendSettle);
    s_.ReplyReady = false;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = LogicPasses;
    passes.wait = SendWait;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, frame);
}

bool DataTx::SendPlcProgram(const std::array<int, 8>& frame) {
    if (!allBytes(frame))
        return false;
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return sendPlcProgramPp(frame);
    case TcpIp:
        return sendPlcProgramEthernet(frame);
    case Usb:
        return sendPlcProgramUsb(frame);
    default:
        return false;
    }
}

bool DataTx::sendPlcProgramEthernet(const std::array<int, 8>& frame) {
    // The acknowledgement repeats the frame's first three bytes.
    link_.ethernet.expect({.id = ids::CommandReply,
                           .code = frame[0],
                           .echo = {frame[0], frame[1], frame[2]},
                           .exactEcho = true,
                           .changes = true});
    if (link_.ethernet.SendFilterFrame(ids::CommandReply))
        link_.pump.pause(SendSettle);
    s_.ReplyReady = false;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = LadderPasses;
    passes.wait = SendWait;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, frame);
}

bool DataTx::ReceiveLogicIoProgram(int code, int block) {
    if (!allBytes({code, block}))
        return false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        return receiveLogicIoProgramPp(code, block);
    case Usb:
        return receiveLogicIoProgramUsb(code, block);
    default:
        // Ethernet: the acknowledgement handler collects the answer blocks; received text is left to it.
        return false;
    }
}

bool DataTx::sendLogicIoProgramPp(int block, const std::array<int, 8>& frame) {
    const long cycles = base::pollCount(s_.TransferDelay, LogicCycleFactor);
    for (long cycle = 0; cycle < cycles && !link_.transactions.over(); ++cycle) {
        link_.pump.doEvents();
        SendCanMessage({ids::CommandRequest, frame});
        if (SendLogicIoBlock(block))
            return true;
    }
    return false;
}

bool DataTx::SendLogicIoBlock(int block) {
    if (s_.ConnectionType != ParallelPort)
        return false;
    Transaction tx(link_);
    PpExchange pp(link_);
    return pp.run({.request = std::nullopt,
                   .passes = 1,
                   .polls = pp.polls(LogicAcknowledgePollFactor),
                   .yieldEachPass = false},
                  [block](PpRxMessage& m) {
                      return m.bytesAre({codes::Acknowledge, codes::LogicBlock, block});
                  });
}

bool DataTx::sendLogicIoProgramUsb(int block, const std::array<int, 8>& frame) {
    return link_.usb.Transact(
        {ids::CommandReply, ids::CommandRequest, {codes::Acknowledge, codes::LogicBlock}, frame},
        USB::UsualTries, [block](const UsbRxArray& rx) {
            const bool acknowledged =
                rx[0] == codes::Acknowledge && rx[1] == codes::LogicBlock && rx[2] == block;
            return acknowledged ? UsbReply::Taken : UsbReply::Retry;
        });
}

bool DataTx::sendPlcProgramPp(const std::array<int, 8>& frame) {
    s_.DataCount = 0;
    const std::array<int, 4> acknowledgement{codes::Acknowledge, frame[0], frame[1], frame[2]};
    const long looks = base::pollCount(s_.TransferDelay, LadderLookFactor);
    for (long cycle = 0; cycle < LadderCycles && !link_.transactions.over(); ++cycle) {
        link_.pump.doEvents();
        SendCanMessage({ids::CommandRequest, frame});
        for (long look = 0; look < looks && !link_.transactions.over(); ++look)
            if (SendPlcBlock(acknowledgement))
                return true;
    }
    return false;
}

bool DataTx::SendPlcBlock(const std::array<int, 4>& expected) {
    if (s_.ConnectionType != ParallelPort)
        return false;
    Transaction tx(link_);
    link_.spi.ResetLineHigh();
    PpExchange pp(link_);
    const auto seen = pp.look([&](PpRxMessage& m) {
        if (!m.bytesAre({expected[0], expected[1], expected[2], expected[3]}))
            return false;
        for (int n = int(expected.size()); n < AcknowledgementBytes; ++n)
            m.byte(n); // read and dropped
        return true;
    });
    return seen == PpExchange::Look::Taken;
}

bool DataTx::sendPlcProgramUsb(const std::array<int, 8>& frame) {
    return link_.usb.Transact({ids::CommandReply, ids::CommandRequest, {codes::Acknowledge, frame[0]}, frame},
                              USB::UsualTries, [&](const UsbRxArray& rx) {
                                  const bool acknowledged = rx[0] == codes::Acknowledge &&
                                                            rx[1] == frame[0] && rx[2] == frame[1] &&
                                                            rx[3] == frame[2];
                                  return acknowledged ? UsbReply::Taken : UsbReply::Retry;
                              });
}

bool DataTx::receiveLogicIoProgramPp(int code, int block) {
    Transaction tx(link_);
    link_.spi.ResetLineHigh();
    // Six more entries must fit, or the answer stays where it is.
    if (!DataBufferArray::fits(s_.DataCount, BlockBytes))
        return false;
    PpExchange pp(link_);
    const auto seen = pp.look([&](PpRxMessage& m) {
        if (!m.bytesAre({code, block}))
            return false;
        appendBlock([&](int n) { return m.byte(n); });
        return true;
    });
    return seen == PpExchange::Look::Taken;
}

bool DataTx::receiveLogicIoProgramUsb(int code, int block) {
    if (!DataBufferArray::fits(s_.DataCount, BlockBytes))
        return false;
    Transaction tx(link_);
    return link_.usb.Transact(
        {ids::CommandReply, ids::CommandRequest, {code, block}, {code, block, 0, 0, 0, 0, 0, 0}},
        USB::UsualTries, [&](const UsbRxArray& rx) {
            if (rx[0] != code || rx[1] != block)
                return UsbReply::Retry;
            appendBlock([&](int n) { return rx[size_t(n)]; });
            return UsbReply::Taken;
        });
}

// Answer bytes 2..7 appended at DataCount.
void DataTx::appendBlock(const std::function<int(int n)>& answerByte) {
    for (int n = 2; n < 2 + BlockBytes; ++n)
        s_.DataBuffer.put(s_.DataCount++, answerByte(n));
}

} // namespace clink
