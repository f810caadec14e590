#pragma once
// The transactions of the controller's message catalogue. Each one branches on the connection type and
// follows the one pattern of its link: on the parallel port it polls the dongle's CAN controller, on
// Ethernet it sends text frames and waits for the reply handlers, on USB it sends a frame and reads the
// reply. Every transaction returns true when the reply was taken and false when its retries ran out.

#include "link/canid.h"
#include "link/linkstate.h"

#include <array>
#include <functional>

namespace base {
class EventPump;
}

namespace clink {

class ControllerLink;

class DataTx {
public:
    // Sends (counted) of the Ethernet attempt loops: attempts 0..500.
    static constexpr int EthernetAttempts = 501;

    explicit DataTx(ControllerLink& link);

    // Zeroes DataBuffer(0..6000) and sets DataCount to 0.
    void ClearReceiveBuffer();

    // Link check for reply identifier X. Parallel port: configures the dongle to accept only X.
    // Ethernet: true only while the socket is connected. USB: not used (false).
    bool ConfigureCanDongle(CanId awaited);

    // Tool EEPROM, one byte per transaction (addresses 0..1023).
    bool ReadToolEeprom(int address);
    bool WriteToolEeprom(int address, int value);

private:
    bool readToolEepromPp(int address);
    bool readToolEepromEthernet(int address);
    bool readToolEepromUsb(int address);
    bool writeToolEepromPp(int address, int value);
    bool writeToolEepromEthernet(int address, int value);
    bool writeToolEepromUsb(int address, int value);

    // The Ethernet attempt loop shared by the transactions: sends the request up to EthernetAttempts
    // times while ReplyReady is not set (refused sends count too, so a dead link ends the loop);
    // afterSend runs after each accepted send with the attempt number.
    bool ethernetAttempts(CanId accept, CanId transmit, const std::array<int, 8>& data,
                          const std::function<void(int attempt, bool sent)>& afterSend);

    ControllerLink& link_;
    LinkState& s_;
};

} // namespace clink
