// Pset transfer: the four packets of a Pset read on 15EF0103 [75 p k] and answered on 09EF0801 [k b1..b7],
// the packets the PC sends (0x71..0x74), acknowledged [A0 code ...], the status read before a receive, the
// choice of the current Pset and the serial number.
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/datatx.h"
#include "link/ppexchange.h"
#include "link/usb.h"

namespace clink {

namespace {
// Ethernet Pset read: filter frames first, passes per packet and the further wait after a packet's first
// pass (cycles of two DoEvents for the block read, of three for the report read).
constexpr int BlockReadFilterFrames = 5;
constexpr int PacketPasses = 5001;
constexpr long BlockReadBeforeSend = 1;
constexpr long PacketWaitCycles = 3001;
constexpr long BlockReadPacketWait = PacketWaitCycles * 2;
constexpr long ReportReadPacketWait = PacketWaitCycles * 3;
constexpr long ReportReadSettle = 100;
// Parallel port: attempts and poll factor per packet read; cycles and poll factor of a packet send.
constexpr long PpPacketAttempts = 30;
constexpr long PpPacketPollFactor = 250;
constexpr long PpSendCycles = 80;
constexpr long PpSendPollFactor = 30;
// Ethernet packet send.
constexpr int SendFilterFrames = 6;
constexpr int SendTries = 1000;
constexpr long SendWait = 3001;

std::array<int, 8> packetRequest(int pset, int packet) {
    return {codes::PsetRead, pset, packet, 0, 0, 0, 0, 0};
}
} // namespace

bool DataTx::ReadPsetBlock(int pset) {
    s_.DataCount = 0;
    if (!allBytes(packetRequest(pset, 1)))
        return false;
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return readPsetPacketsPp(pset);
    case TcpIp:
        if (tx.over())
            return false; // the socket is down
        link_.ethernet.expect({.id = ids::CommandReply, .code = 1});
        for (int i = 0; i < BlockReadFilterFrames; ++i)
            link_.ethernet.SendFilterFrame(ids::CommandReply);
        for (int packet = 1; packet <= codes::PsetPackets; ++packet) {
            link_.pump.doEvents();
            s_.AckReceived = false;
            s_.ReplyReady = false;
            if (!readPsetPacketEthernet(pset, packet, BlockReadBeforeSend, BlockReadPacketWait))
                return false;
        }
        return true;
    case Usb:
        return readPsetPacketsUsb(pset);
    default:
        return false;
    }
}

bool DataTx::ReadParameterSets(int pset) {
    // Only Psets with a report record can be reported.
    if (pset < 0 || pset >= PsetReportRecords)
        return false;
    s_.DataCount = 0;
    Transaction tx(link_);
    bool read = false;
    switch (s_.ConnectionType) {
    case ParallelPort:
        read = readPsetPacketsPp(pset);
        break;
    case TcpIp:
        link_.ethernet.expect({.id = ids::CommandReply, .code = 1});
        if (link_.ethernet.SendFilterFrame(ids::CommandReply))
            link_.pump.pause(ReportReadSettle);
        read = true;
        for (int packet = 1; read && packet <= codes::PsetPackets; ++packet) {
            read = readPsetPacketEthernet(pset, packet, 0, ReportReadPacketWait);
        }
        break;
    case Usb:
        read = readPsetPacketsUsb(pset);
        break;
    default:
        return false;
    }
    if (!read)
        return false;
    std::array<int, PsetBytes> bytes{};
    for (int i = 0; i < PsetBytes; ++i)
        bytes[size_t(i)] = s_.DataBuffer[i];
    buildPsetReportRecord(s_.PsetReportTable[size_t(pset)], bytes);
    return true;
}

// One packet: the handler takes the first packet frame as the acknowledgement and stores the next one at
// the packet's place, DataBuffer(7(k-1)..). Frames of other packets are left over from earlier requests.
bool DataTx::readPsetPacketEthernet(int pset, int packet, long beforeSend, long wait) {
    link_.ethernet.expect({.id = ids::CommandReply, .code = packet});
    EthernetPasses passes;
    passes.bound = PacketPasses;
    passes.beforeSend = beforeSend;
    passes.wait = wait;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, packetRequest(pset, packet));
}

bool DataTx::SendPsetData(const std::array<int, 8>& packet) {
    s_.DataCount = 0;
    if (!allBytes(packet))
        return false;
    Transaction tx(link_);
    switch (s_.ConnectionType) {
    case ParallelPort:
        return sendPsetDataPp(packet);
    case TcpIp:
        return sendPsetDataEthernet(packet);
    case Usb:
        return sendPsetDataUsb(packet);
    default:
        return false;
    }
}

bool DataTx::sendPsetDataEthernet(const std::array<int, 8>& packet) {
    // The acknowledgement handler completes a packet on its second [A0 71..74 ...]; acknowledgements of
    // other codes are left over from earlier exchanges.
    link_.ethernet.expect({.id = ids::CommandReply, .code = packet[0], .changes = true});
    for (int i = 0; i < SendFilterFrames; ++i) {
        link_.ethernet.SendFilterFrame(ids::CommandReply);
        s_.ReplyReady = false;
    }
    s_.ReplyReady = false;
    s_.AckReceived = false;
    EthernetPasses passes;
    passes.bound = SendTries;
    passes.wait = SendWait;
    return ethernetPasses(passes, ids::CommandReply, ids::CommandRequest, packet);
}

bool DataTx::ReadPsetCount(const std::function<void(PsetCountStep)>& step) {
    const auto configure = [&](CanId awaited) {
        const bool configured = ConfigureCanDongle(awaited);
        step(configured ? PsetCountStep::DongleConfigured : PsetCountStep::DongleFailed);
        return configured;
    };
    switch (s_.ConnectionType) {
    case ParallelPort:
        if (!configure(ids::StatusBroadcast))
            return false;
        break;
    case TcpIp: {
        const bool connected = link_.ethernet.SendFilterFrame(ids::StatusBroadcast);
        step(connected ? PsetCountStep::Connected : PsetCountStep::NotConnected);
        if (!connected)
            return false;
        break;
    }
    case Usb:
        break;
    default:
        return true;
    }
    if (!ReadSystemStatus()) {
        step(PsetCountStep::StatusMissing);
        return false;
    }
    step(PsetCountStep::StatusReceived);
    return s_.ConnectionType != ParallelPort || configure(ids::CommandReply);
}

void DataTx::SelectPset(int pset) {
    const std::array<int, 8> data{codes::SelectPset + pset, 0, 0, 0, 0, 0, 0, 0};
    if (!allBytes(data))
        return;
    switch (s_.ConnectionType) {
    case ParallelPort:
        SendCanMessage({ids::CommandRequest, data});
        break;
    case TcpIp: {
        // The controller's status answer ends the sender's wait. It is the select's own: when it comes
        // later than that wait, it is owed, and the status read after it does not take it as its own.
        Transaction tx(link_);
        link_.ethernet.expect({.id = ids::StatusRequest, .code = codes::Status, .changes = true});
        link_.ethernet.SendRequestFrame(ids::StatusRequest, ids::CommandRequest, data);
        break;
    }
    case Usb:
        link_.usb.SendCanFrame(ids::StatusRequest, ids::CommandRequest, {0, 0}, data);
        break;
    default:
        break;
    }
}

bool DataTx::SendSerialNumber(const QString& text) {
    return s_.ConnectionType == TcpIp && link_.ethernet.SendSerialNumberFrame(text);
}

bool DataTx::readPsetPacketsPp(int pset) {
    link_.spi.ResetLineHigh();
    if (!configureOrAbort(ids::CommandReply))
        return false;
    PpExchange pp(link_);
    for (int packet = 1; packet <= codes::PsetPackets; ++packet) {
        link_.pump.doEvents();
        // Another packet than the one asked for costs the attempt: the request goes out again.
        const bool taken = pp.run({.request = CanMessage{ids::CommandRequest, packetRequest(pset, packet)},
                                   .passes = PpPacketAttempts,
                                   .polls = pp.polls(PpPacketPollFactor),
                                   .yieldEachPass = false,
                                   .discardEndsPass = true},
                                  [&](PpRxMessage& m) {
                                      if (!m.bytesAre({packet}))
                                          return false;
                                      for (int n = 1; n <= PsetPacketBytes; ++n)
                                          s_.DataBuffer.put(s_.DataCount++, m.byte(n));
                                      return true;
                                  });
        if (!taken)
            return false;
    }
    return true;
}

bool DataTx::readPsetPacketsUsb(int pset) {
    for (int packet = 1; packet <= codes::PsetPackets; ++packet) {
        const bool taken = link_.usb.Transact(
            {ids::CommandReply, ids::CommandRequest, {packet, 0}, packetRequest(pset, packet)},
            USB::UsualTries, [&](const UsbRxArray& rx) {
                // Another packet than the one asked for ends the read.
                if (rx[0] != packet)
                    return UsbReply::Refused;
                for (int n = 1; n <= PsetPacketBytes; ++n)
                    s_.DataBuffer.put(s_.DataCount++, rx[size_t(n)]);
                return UsbReply::Taken;
            });
        if (!taken)
            return false;
    }
    return true;
}

bool DataTx::sendPsetDataPp(const std::array<int, 8>& packet) {
    PpExchange pp(link_);
    return pp.run({.request = CanMessage{ids::CommandRequest, packet},
                   .passes = PpSendCycles,
                   .polls = pp.polls(PpSendPollFactor),
                   .clearBeforeSend = true},
                  [&](PpRxMessage& m) {
                      if (!m.bytesAre({codes::Acknowledge, packet[0]}))
                          return false;
                      for (int n = 2; n < int(packet.size()); ++n)
                          m.byte(n); // the rest of the acknowledgement is read and not used
                      return true;
                  });
}

bool DataTx::sendPsetDataUsb(const std::array<int, 8>& packet) {
    return link_.usb.Transact(
        {ids::CommandReply, ids::CommandRequest, {codes::Acknowledge, packet[0]}, packet}, USB::UsualTries,
        [&](const UsbRxArray& rx) {
            const bool acknowledged = rx[0] == codes::Acknowledge && rx[1] == packet[0];
            return acknowledged ? UsbReply::Taken : UsbReply::Retry;
        });
}

} // namespace clink
