#pragma once
// The link chosen in the settings, opened as the program starts: the printer port gained and driven idle,
// the Ethernet socket connected (waited for, bounded) and the dongle greeted with the connect filter frame,
// or the USB device opened and set up.
//
//   if (!clink::LinkOpening(link).open())
//       ...;   // the user is to choose another link

#include <QString>

#include <chrono>

namespace clink {

class ControllerLink;

class LinkOpening {
public:
    // How long the opening waits for the Ethernet connection before it goes on.
    static constexpr std::chrono::milliseconds ConnectWait{3000};
    // The box shown when the printer port cannot be had.
    static const QString ParallelFailedText;
    static const QString ParallelFailedCaption;

    explicit LinkOpening(ControllerLink& link) : link_(link) {}

    // Opens the link chosen; nothing with no link chosen. False when the link cannot be had and the user is
    // to choose another: the printer port not gained (after its box) or the Ethernet socket not connected
    // (quietly: the connect filter frame goes nowhere). A failed USB set-up is reported by the device set-up
    // itself, and the opening counts as done.
    bool open();

private:
    bool openParallelPort();
    bool openEthernet();
    void openUsb();

    ControllerLink& link_;
};

} // namespace clink
