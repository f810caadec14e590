#include "link/blockreceive.h"

#include "base/eventpump.h"
#include "link/commandcodes.h"
#include "link/controllerlink.h"
#include "link/transaction.h"
#include "link/waitbudget.h"

namespace clink {

namespace {
// A block number travels in one data byte.
constexpr int LastBlockNumber = 255;

// The rung-table editors' counts per block (the parallel port's times TransferDelay).
constexpr long RungTablePpRequestFactor = 30;
constexpr long RungTablePpLookFactor = 100;
constexpr long RungTableEthernetSettle = 100;
constexpr int RungTableEthernetAttempts = 501;
constexpr long RungTableEthernetWait = 3001;
constexpr int RungTableUsbExchanges = 1;
// The ladder editor's counts per block.
constexpr long LadderPpRequests = 30;
constexpr long LadderPpLooks = 25;
constexpr long LadderEthernetSettle = 1000;
constexpr int LadderEthernetAttempts = 50;
constexpr long LadderEthernetWait = 301;
constexpr int LadderUsbExchanges = 25;

std::array<int, 8> blockRequest(int block) {
    return {codes::LogicBlockRequest, block, 0, 0, 0, 0, 0, 0};
}
} // namespace

BlockReceiveCounts BlockReceiveCounts::rungTableEditors(long transferDelay) {
    return {.ppRequests = base::pollCount(transferDelay, RungTablePpRequestFactor),
            .ppLooks = base::pollCount(transferDelay, RungTablePpLookFactor),
            .ethernetLead = EthernetBlockLead::Request,
            .ethernetSettle = RungTableEthernetSettle,
            .ethernetAttempts = RungTableEthernetAttempts,
            .ethernetWait = RungTableEthernetWait,
            .usbExchanges = RungTableUsbExchanges};
}

BlockReceiveCounts BlockReceiveCounts::ladderEditor() {
    return {.ppRequests = LadderPpRequests,
            .ppLooks = LadderPpLooks,
            .ethernetLead = EthernetBlockLead::FilterFrame,
            .ethernetSettle = LadderEthernetSettle,
            .ethernetAttempts = LadderEthernetAttempts,
            .ethernetWait = LadderEthernetWait,
            .usbExchanges = LadderUsbExchanges};
}

bool BlockReceiver::receive(int first, int last, base::Progress& progress) {
    missing_ = -1;
    progress.setRange(0, last);
    progress.setValue(0);
    if (first < 0 || last < first || last > LastBlockNumber ||
        !DataBufferArray::fits(0, BlockWords * (last - first + 1)))
        return false;
    for (int block = first; block <= last; ++block) {
        progress.setValue(block);
        link_.pump.doEvents();
        if ((ended_ && ended_()) || !receiveBlock(block, BlockWords * (block - first))) {
            missing_ = block;
            return false;
        }
    }
    return true;
}

bool BlockReceiver::receiveBlock(int block, int offset) {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        return receivePp(block, offset);
    case TcpIp:
        return receiveEthernet(block, offset);
    case Usb:
        return receiveUsb(block, offset);
    default:
        return false; // no link: nothing to read, and the buffer's old contents are no image
    }
}

bool BlockReceiver::receivePp(int block, int offset) {
    Transaction tx(link_);
    DataTx& dataTx = link_.dataTx;
    link_.state.DataCount = offset;
    const CanMessage request{ids::CommandRequest, blockRequest(block)};
    for (long sent = 0; sent < counts_.ppRequests && !tx.over(); ++sent) {
        dataTx.SendCanMessage(request);
        // Any other message in the chip (an earlier block's answer) is cleared by the look.
        for (long look = 0; look < counts_.ppLooks && !tx.over(); ++look)
            if (dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, block))
                return true;
    }
    return false;
}

bool BlockReceiver::receiveEthernet(int block, int offset) {
    LinkState& s = link_.state;
    Ethernet& ethernet = link_.ethernet;
    const std::array<int, 8> request = blockRequest(block);
    // The attempts are one exchange, bounded by the controller's silence and ended by a refused send. The
    // block's place and the answer it awaits are set before its lead frame goes out, so the handler takes
    // only this block's answers (the first as the acknowledgement, the next stored at the block's place);
    // what the lead and the attempts draw beyond that is owed and not taken by the next block. The lead's
    // sender's wait ends as soon as the next request may go, so a block costs the round trip of its answer.
    Transaction tx(link_);
    s.DataCount = offset;
    ethernet.expect({.id = ids::CommandReply,
                     .code = codes::LogicBlockRequest,
                     .echo = {codes::LogicBlockRequest, block}});
    const bool leadSent = counts_.ethernetLead == EthernetBlockLead::Request
                              ? ethernet.SendCanFrame(ids::CommandReply, ids::CommandRequest, request)
                              : ethernet.SendFilterFrame(ids::CommandReply);
    if (!leadSent)
        return false;
    link_.pump.pause(counts_.ethernetSettle);

    SharedWaitBudget budget(link_.pump, counts_.ethernetWait, 1);
    for (int attempt = 0; attempt < counts_.ethernetAttempts && !s.ReplyReady && !tx.over(); ++attempt) {
        // No request goes out while the answer to the last one is due.
        ethernet.awaitDueAnswer();
        if (s.ReplyReady)
            break;
        if (!ethernet.SendCanFrame(ids::CommandReply, ids::CommandRequest, request))
            return false;
        budget.wait([&s] { return s.ReplyReady; });
    }
    return s.ReplyReady;
}

bool BlockReceiver::receiveUsb(int block, int offset) {
    Transaction tx(link_);
    link_.state.DataCount = offset;
    for (int exchange = 0; exchange < counts_.usbExchanges && !tx.over(); ++exchange)
        if (link_.dataTx.ReceiveLogicIoProgram(codes::LogicBlockRequest, block))
            return true;
    return false;
}

} // namespace clink
