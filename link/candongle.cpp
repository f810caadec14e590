// The CAN dongle on the parallel port: resetting and configuring its CAN controller for one awaited reply
// identifier, and sending one CAN message through its transmit buffer 0.
#include "base/dialogs.h"
#include "link/cancontroller.h"
#include "link/controllerlink.h"
#include "link/datatx.h"

namespace clink {

using namespace canctl;

namespace {
// Bit timing: prescaler 1, jump width 1, propagation 1, phase 1 of 8, phase 2 of 6, one sample.
constexpr int BitTiming1 = 0x01;
constexpr int BitTiming2 = 0xB8;
constexpr int BitTiming3 = 0x05;
constexpr int MaskAll = 0xFF;
constexpr int InterruptOnReceive0 = 0x01;
const QString NotConnectedText = QStringLiteral("Ethernet not connected");
} // namespace

bool DataTx::configureCanDonglePp(CanId awaited) {
    spi& bus = link_.spi;
    bus.ResetLineHigh();
    if (!CheckConfigMode()) {
        // After a first set-up the controller is in normal mode: every set-up resets it.
        bus.ResetController();
        if (!CheckConfigMode())
            return false;
    }
    bus.WriteRegister(BitTiming1, CNF1);
    bus.WriteRegister(BitTiming2, CNF2);
    bus.WriteRegister(BitTiming3, CNF3);
    SetCanFilters(awaited);
    bus.WriteRegister(ModeNormal, CANCTRL);
    if (!CheckNormalMode()) {
        bus.WriteRegister(ModeNormal, CANCTRL);
        if (!CheckNormalMode())
            return false;
    }
    return true;
}

void DataTx::SetCanFilters(CanId awaited) {
    if (s_.ConnectionType != ParallelPort)
        return;
    spi& bus = link_.spi;
    const auto id = idRegisters(awaited);
    bus.WriteRegister(0, CANINTF);
    bus.WriteRegister(0, BFPCTRL);
    bus.WriteRegister(RxmExtendedOnly, RXB0CTRL);
    // Mask bits 28..21 are those set in the identifier itself: only those are compared.
    bus.WriteRegister(id[0], RXF0SIDH);
    bus.WriteRegister(id[0], RXM0SIDH);
    bus.WriteRegister(id[1], RXF0SIDL);
    bus.WriteRegister(MaskAll, RXM0SIDL);
    bus.WriteRegister(id[2], RXF0EID8);
    bus.WriteRegister(MaskAll, RXM0EID8);
    bus.WriteRegister(id[3], RXF0EID0);
    bus.WriteRegister(MaskAll, RXM0EID0);
    bus.WriteRegister(InterruptOnReceive0, CANINTE);
    bus.WriteRegister(0, CANINTF);
}

namespace {
// The controller's operating mode, as CANSTAT reads restored.
int operatingMode(spi& bus) {
    bus.ResetLineHigh();
    return (bus.ReadRegister(CANSTAT) ^ 0xFF) & ModeMask;
}
} // namespace

bool DataTx::CheckConfigMode() {
    return s_.ConnectionType == ParallelPort && operatingMode(link_.spi) == ModeConfig;
}

bool DataTx::CheckNormalMode() {
    return s_.ConnectionType == ParallelPort && operatingMode(link_.spi) == ModeNormal;
}

void DataTx::SendCanMessage(int lead, CanId id, int ctrl, int spare, int dlc,
                            const std::array<int, 8>& data) {
    switch (s_.ConnectionType) {
    case ParallelPort:
        sendCanMessagePp(id, ctrl, dlc, data);
        break;
    case TcpIp:
        sendCanMessageEthernet(lead, id, ctrl, spare, dlc, data);
        break;
    default:
        break;
    }
}

bool DataTx::SendUnanswered(CanId accept, const CanMessage& message) {
    switch (s_.ConnectionType) {
    case ParallelPort:
        SendCanMessage(message);
        return true;
    case TcpIp:
        return link_.ethernet.SendCanFrame(accept, message.id, message.data);
    case Usb:
        return link_.usb.SendCanFrame(accept, message.id, {0, 0}, message.data);
    default:
        return false;
    }
}

void DataTx::sendCanMessagePp(CanId id, int ctrl, int dlc, const std::array<int, 8>& data) {
    spi& bus = link_.spi;
    bus.WriteRegister(ctrl, TXB0CTRL);
    const auto regs = idRegisters(id);
    for (int i = 0; i < int(regs.size()); ++i)
        bus.WriteRegister(regs[size_t(i)], TXB0SIDH + i);
    bus.WriteRegister(dlc, TXB0DLC);
    for (int i = 0; i < int(data.size()); ++i)
        bus.WriteRegister(data[size_t(i)], TXB0D0 + i);
    bus.WriteRegister(ctrl + TXREQ, TXB0CTRL);
}

void DataTx::sendCanMessageEthernet(int lead, CanId id, int ctrl, int spare, int dlc,
                                    const std::array<int, 8>& data) {
    if (!link_.ethernet.line().isConnected()) {
        if (batchDepth_ == 0 || !notConnectedShown_)
            link_.dialogs.message(NotConnectedText);
        notConnectedShown_ = true;
        return;
    }
    QByteArray text = "%CAN" + QByteArray::number(lead) + ',' + canIdText(id).toLatin1() + ',' +
                      QByteArray::number(ctrl) + ',' + QByteArray::number(spare) + ',' +
                      QByteArray::number(dlc);
    for (int d : data)
        text += ',' + QByteArray::number(d);
    text += "NAC%";
    link_.ethernet.line().send(text);
}

} // namespace clink
