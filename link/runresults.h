#pragma once
// The run screen's conversation: the link passes the rundown result's identifier (10EF1102) and the screen
// takes what arrives; it sends no request of its own. A result comes as three messages [10 n r r r r r r]
// (n = 1, 2, 3, six record bytes each). On the parallel port each poll looks at the dongle's receive buffer
// once, over USB each poll asks the dongle up to USB::UsualTries times, and over Ethernet the reply handler
// gathers the three messages and a poll takes the whole result.
//
//   clink::RunResultListener listener(link);
//   if (listener.start(false) == clink::RunResultListener::Start::Listening) ...
//   listener.poll({.stopped = ..., .message = ..., .otherMessage = ..., .result = ...});

#include <array>
#include <functional>

namespace clink {

class ControllerLink;

class RunResultListener {
public:
    static constexpr int BytesPerMessage = 6;
    static constexpr int ResultBytes = 18;

    explicit RunResultListener(ControllerLink& link) : link_(link) {}

    enum class Start {
        Listening,      // the link passes the results from now on
        DongleNotReady, // the parallel port's dongle could not be set up yet
        NotReady, // the link refused the set-up frame (over USB its box has been shown, once while it stays
                  // away)
        NoLink,   // no link chosen: nothing will come
    };
    // Has the link pass the results: the dongle set up on the parallel port, the filter frame over Ethernet
    // and USB. A retry (after a failed start) reopens a USB dongle that stays away without its box again,
    // and gives the events a turn before it listens.
    Start start(bool retry);

    // What a poll hands on.
    struct Hearing {
        // The screen is closing: a poll that waits ends without going on.
        std::function<bool()> stopped;
        // One result message with its sequence number; false when it does not continue the result being
        // gathered (a USB poll then ends).
        std::function<bool(int sequence, const std::array<int, BytesPerMessage>& bytes)> message;
        // Parallel port: a message of another kind came where a result message was awaited.
        std::function<void()> otherMessage;
        // Ethernet: a whole result the reply handler gathered.
        std::function<void(const std::array<int, ResultBytes>& bytes)> result;
    };
    // One poll: at most one message (parallel port), one result (Ethernet) or UsualTries exchanges (USB).
    void poll(const Hearing& hearing);

private:
    void pollPp(const Hearing& hearing);
    void pollEthernet(const Hearing& hearing);
    void pollUsb(const Hearing& hearing);

    ControllerLink& link_;
    bool usbFailureShown_ = false;
};

} // namespace clink
