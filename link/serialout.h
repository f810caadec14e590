#pragma once
// The controller's serial-output mode: how it reports each rundown on its serial output. The mode is read
// with [C1] and set with [C0 mode] on 15EF0103; the controller answers on 15EF0301 with [C2 mode-now].
//
//   clink::SerialOutExchange serialOut(link);
//   const std::optional<int> mode = serialOut.set(1);   // asks for Profibus; the mode the controller reports

#include <array>
#include <optional>

namespace clink {

class ControllerLink;

// The mode request and its answer on the selected link. Only the mode answer [C2 ...] ends a wait: over
// Ethernet the controller also answers the filter frames on 15EF0301 with its status, which must not pass
// for the mode.
class SerialOutExchange {
public:
    // Parallel port: receive-flag polls of a set, and TransferDelay x this for a read.
    static constexpr long PpSetPolls = 6000;
    static constexpr long PpReadPollFactor = 1000;
    // Ethernet: filter frames, requests, and DoEvents each request waits for the answer.
    static constexpr int EthernetFilterFrames = 3;
    static constexpr int EthernetRequests = 600;
    static constexpr long EthernetAnswerWait = 3000;

    explicit SerialOutExchange(ControllerLink& link) : link_(link) {}

    // The mode the controller reports; nothing when no answer came or the link could not be set up (its
    // box has been shown).
    std::optional<int> read();
    std::optional<int> set(int mode);

private:
    std::optional<int> exchange(const std::array<int, 8>& request, long ppPolls);
    std::optional<int> exchangePp(const std::array<int, 8>& request, long polls);
    std::optional<int> exchangeEthernet(const std::array<int, 8>& request);
    std::optional<int> exchangeUsb(const std::array<int, 8>& request);

    ControllerLink& link_;
};

} // namespace clink
