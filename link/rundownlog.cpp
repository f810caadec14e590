#include "link/rundownlog.h"

#include "base/eventpump.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/ppexchange.h"

namespace clink {

namespace {
// Answer bytes: code, Pset, block, then the block's five bytes.
constexpr int FirstDataByte = 3;
// DoEvents after each Ethernet filter frame and before each Ethernet send.
constexpr long EthernetYields = 2;

std::array<int, 8> blockRequest(int pset, int block) {
    return {codes::RundownLogBlock, pset, block, 0, 0, 0, 0, 0};
}
} // namespace

bool RundownLogReader::read(int pset, base::Progress& progress) {
    LinkState& s = link_.state;
    Transaction tx(link_);
    link_.spi.ResetLineHigh();
    link_.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    s.EepromReadIndex = 0;
    progress.setRange(0, RundownLogBlocks);
    progress.setValue(0);
    switch (s.ConnectionType) {
    case ParallelPort:
        return readPp(pset, progress);
    case TcpIp:
        return readEthernet(pset, progress);
    case Usb:
        return readUsb(pset, progress);
    default:
        return false;
    }
}

bool RundownLogReader::readPp(int pset, base::Progress& progress) {
    LinkState& s = link_.state;
    PpExchange pp(link_);
    for (int b = 0; b < RundownLogBlocks; ++b) {
        link_.pump.doEvents();
        progress.setValue(b);
        const bool taken = pp.run({.request = CanMessage{ids::CommandRequest, blockRequest(pset, b)},
                                   .passes = PpTries,
                                   .polls = PpPolls,
                                   .yieldEachPoll = true},
                                  [&](PpRxMessage& m) {
                                      if (!m.bytesAre({codes::RundownLogAnswer, pset, b}) ||
                                          !DataBufferArray::fits(s.DataCount, RundownBlockBytes))
                                          return false;
                                      for (int k = 0; k < RundownBlockBytes; ++k)
                                          s.DataBuffer.put(s.DataCount++, m.byte(FirstDataByte + k));
                                      return true;
                                  });
        if (!taken)
            return false;
    }
    return true;
}

bool RundownLogReader::readEthernet(int pset, base::Progress& progress) {
    LinkState& s = link_.state;
    // Only answers with a block of the log answer these requests, each block's answers echoing the Pset and
    // the block; what decides it is in place before the filter frames and before each block's pause.
    auto expectBlock = [&](int block) {
        link_.ethernet.expect(
            {.id = ids::CommandReply, .code = codes::RundownLogAnswer, .echo = {pset, block}});
    };
    expectBlock(0);
    for (int i = 0; i < EthernetFilterFrames; ++i) {
        if (link_.ethernet.SendFilterFrame(ids::CommandReply))
            link_.pump.pause(EthernetYields);
    }
    for (int b = 0; b < RundownLogBlocks; ++b) {
        progress.setValue(b);
        expectBlock(b);
        link_.pump.pause(EthernetBlockPause);
        for (int send = 0; send < EthernetSends && !s.ReplyReady && !link_.transactions.over(); ++send) {
            link_.pump.pause(EthernetYields);
            // A connection that is gone ends the read: nothing can answer any more.
            if (!link_.ethernet.SendCanFrame(ids::CommandReply, ids::CommandRequest, blockRequest(pset, b)))
                return false;
            // The first wait also ends on the block's acknowledgement: a controller that answers once per
            // request sends the block only to the next request.
            if (send == 0)
                link_.pump.waitUntil([this] { return link_.ethernet.replyOrOwnAnswer(); }, EthernetFirstWait);
        }
        if (!s.ReplyReady)
            return false;
    }
    return true;
}

bool RundownLogReader::readUsb(int pset, base::Progress& progress) {
    LinkState& s = link_.state;
    for (int b = 0; b < RundownLogBlocks; ++b) {
        link_.pump.doEvents();
        progress.setValue(b);
        const bool ok = link_.usb.Transact(
            {ids::CommandReply, ids::CommandRequest, {codes::RundownLogAnswer, 0}, blockRequest(pset, b)},
            USB::UsualTries, [&](const UsbRxArray& rx) {
                // Any other answer to this request ends the read.
                if (rx[0] != codes::RundownLogAnswer || rx[1] != pset || rx[2] != b ||
                    !DataBufferArray::fits(s.DataCount, RundownBlockBytes))
                    return UsbReply::Refused;
                for (int k = 0; k < RundownBlockBytes; ++k)
                    s.DataBuffer.put(s.DataCount++, rx[size_t(FirstDataByte + k)]);
                return UsbReply::Taken;
            });
        if (!ok)
            return false;
    }
    return true;
}

} // namespace clink
