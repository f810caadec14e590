#pragma once
// The socket-tray test's conversation: the tray sends its status on 13EF0110 [10 socket-out 0 0 0 0 0 lamps]
// on its own; one listening pass on the selected link takes it when it comes.

#include <optional>

namespace clink {

class ControllerLink;

// One status of the tray: the socket out of it (1..8; anything else: none) and the lamp bits (bit k-1 is
// socket k's lamp).
struct TrayStatus {
    int outSocket = 0;
    int lamps = 0;
    bool operator==(const TrayStatus&) const = default;
};

// One listening pass on the selected link; a status when the tray's message came.
class SocketTrayListener {
public:
    // Parallel port: the pause before the receive flag is looked at (the test's Delay).
    static constexpr long DelayYields = 300;
    // Ethernet: DoEvents after the filter frame, frames per pass, DoEvents after the first.
    static constexpr long FilterPause = 5000 * 2;
    static constexpr int EthernetFrames = 501;
    static constexpr long FirstFrameWait = 501 * 3;

    explicit SocketTrayListener(ControllerLink& link) : link_(link) {}

    std::optional<TrayStatus> pass();
    // The end of a test: on Ethernet the dongle is turned to another identifier (09EF0601), so the tray's
    // messages stop reaching the program.
    void stop();

private:
    std::optional<TrayStatus> passPp();
    std::optional<TrayStatus> passEthernet();
    std::optional<TrayStatus> passUsb();

    ControllerLink& link_;
    // DoEvents the pass waits after its transaction, when the link refused its frame.
    long idlePause_ = 0;
};

} // namespace clink
