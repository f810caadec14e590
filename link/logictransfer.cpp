// Logic and ladder programs: logic blocks [61 n six image bytes] and ladder frames on 15EF0103,
// acknowledged on 09EF0801; answer blocks [62 n six bytes] on 09EF0801.
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"

namespace clink {

namespace {
constexpr int BlockBytes = 6;
// Ethernet: settling after the filter frame, passes and the wait budget of the logic and ladder sends.
constexpr long SendSettle = 1000;
constexpr int LogicPasses = 501;
constexpr int LadderPasses = 51;
constexpr long SendWait = 301;
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
    if (link_.ethernet.SendFilterFrame(ids::CommandReply))
        link_.pump.pause(SendSettle);
    s_.ReplyReady = false;
    s_.RequestData[1] = codes::LogicBlock;
    s_.RequestData[2] = block;
    s_.RequestData[3] = 0;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = LogicPasses;
    passes.wait = SendWait;
    passes.refusedClearsReply = true;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, frame);
}

bool DataTx::SendPlcProgram(const std::array<int, 8>& frame) {
    if (!allBytes(frame))
        return false;
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
    if (link_.ethernet.SendFilterFrame(ids::CommandReply))
        link_.pump.pause(SendSettle);
    s_.ReplyReady = false;
    // The acknowledgement repeats the frame's first three bytes.
    s_.RequestData[1] = frame[0];
    s_.RequestData[2] = frame[1];
    s_.RequestData[3] = frame[2];
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

// The parallel-port and USB paths come with the drivers of those links.
bool DataTx::SendLogicIoBlock(int) {
    return false;
}
bool DataTx::SendPlcBlock(const std::array<int, 4>&) {
    return false;
}
bool DataTx::sendLogicIoProgramPp(int, const std::array<int, 8>&) {
    return false;
}
bool DataTx::sendLogicIoProgramUsb(int, const std::array<int, 8>&) {
    return false;
}
bool DataTx::sendPlcProgramPp(const std::array<int, 8>&) {
    return false;
}
bool DataTx::sendPlcProgramUsb(const std::array<int, 8>&) {
    return false;
}
bool DataTx::receiveLogicIoProgramPp(int, int) {
    return false;
}
bool DataTx::receiveLogicIoProgramUsb(int, int) {
    return false;
}

} // namespace clink
