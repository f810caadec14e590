#pragma once
// The checks a command makes before it talks to the controller, by the link chosen: on the parallel port
// the dongle is configured for the awaited reply identifier, over Ethernet a filter frame for it goes out
// (or only the connection is tested), over USB a filter frame goes out and a failure may reopen the device.
// Each check returns whether the command may go on and the text of a failure, which the caller shows with
// its own caption:
//
//   const clink::LinkCheckResult check =
//       clink::LinkCheck(link).preCheck(ids::ToolEepromReply, {.usb = clink::UsbCheck::Reopen});
//   if (!check.failText.isEmpty())
//       dialogs.message(check.failText, caption, base::MessageIcon::Critical);
//   if (!check)
//       return;

#include "link/canid.h"

#include <QString>

namespace base {
class Dialogs;
}

namespace clink {

class ControllerLink;

enum class UsbCheck {
    Plain,  // a failed filter frame fails the check
    Reopen, // a failed filter frame reopens the device; only a failed reopen fails the check
};

enum class EthernetCheck {
    FilterFrame,   // send the filter frame; it fails when the socket is not connected
    ConnectedOnly, // only test that the socket is connected
};

struct LinkFailTexts {
    QString parallel = QStringLiteral("Unable To Configure CanDongle");
    QString ethernet = QStringLiteral("Unable to connect using ethernet");
    QString usb = QStringLiteral("Unable to connect using USB");
};

struct PreCheck {
    UsbCheck usb = UsbCheck::Plain;
    EthernetCheck ethernet = EthernetCheck::FilterFrame;
    LinkFailTexts texts = {};
    // Over Ethernet after a passed check: DoEvents that let the dongle settle (none when 0), and the
    // connect filter frame (its result is not looked at).
    long ethernetSettle = 0;
    bool ethernetConnectFilter = false;
    // A failed Ethernet check is reported and the command goes on all the same.
    bool ethernetGoesOnAfterFailure = false;
};

struct LinkCheckResult {
    bool ok = true;   // the command may go on
    QString failText; // the failure to show, also when the command goes on after it
    explicit operator bool() const { return ok; }
};

class LinkCheck {
public:
    // The external transducer's presence probe over Ethernet: frames after the first, and DoEvents polls
    // for all of them together.
    static constexpr int TransducerPresenceSends = 11;
    static constexpr long TransducerPresencePolls = 10001;

    explicit LinkCheck(ControllerLink& link) : link_(link) {}

    // A link has been chosen (parallel port, Ethernet or USB).
    bool linkChosen() const;

    // The check for the awaited reply identifier by the link chosen. With no link chosen there is nothing
    // to check: the transaction fails by itself.
    LinkCheckResult preCheck(CanId awaited, const PreCheck& how = {});
    // The dongle set-up for the awaited identifier on every link: on Ethernet the socket must be
    // connected; with USB or no link chosen it fails.
    LinkCheckResult dongleOnly(CanId awaited, const QString& failText);
    // Before a frame that is sent without a check of its own: on the parallel port, a dongle that no
    // command has set up since start-up is still in its configuration mode and would transmit nothing, so
    // it is set up for the awaited identifier first; a dongle in normal mode is left as it is. False only
    // when that set-up failed; true on every other link.
    bool dongleReadyToSend(CanId awaited);
    // The check before the tool's RPM and diagnostics reads: the dongle configured for the tool's reply;
    // over Ethernet a frame on it carrying ethernetCode, then the connect filter frame; over USB the tool
    // data frame.
    LinkCheckResult toolDataCheck(int ethernetCode);
    // What the link does as an editor window opens: the parallel port is put at rest (data register 0, chip
    // select high) and PortShadow ends at 0. False only over Ethernet with the socket not connected, which
    // the editor reports before it opens all the same.
    bool editorOpens();
    // What the Pset editor does on the link as it loads and before a receive: on the parallel port the port
    // is put at rest (data register 0, chip select high); nothing on the other links.
    void restParallelPort();
    // The check before the external transducer's parameters are read: the dongle configured for its
    // reply; over Ethernet the connection and the transducer's answer to its presence probe.
    LinkCheckResult transducerCheck();

    // Shows a failed check's text in a critical box under the caption (the program's title unless one is
    // given) and tells whether the command may go on. While the program closes, or the command is being
    // closed, the dialogs show nothing (base::StoppableDialogs): every wait has ended and the command fails
    // quietly.
    bool passed(const LinkCheckResult& check) const;
    bool passed(const LinkCheckResult& check, base::Dialogs& dialogs, const QString& caption) const;

    // Of three, the one for the link chosen: the parallel port's, Ethernet's, or USB's (also with no link
    // chosen). A command gives its failure captions, report lines and go-on rules by link so.
    template <class T> T forLink(T parallel, T ethernet, T usb) const {
        switch (chosen()) {
        case Chosen::ParallelPort:
            return parallel;
        case Chosen::Ethernet:
            return ethernet;
        default:
            return usb;
        }
    }

private:
    enum class Chosen { ParallelPort, Ethernet, Other };
    Chosen chosen() const;
    bool usbFilterFrame(CanId awaited, UsbCheck variant);
    LinkCheckResult transducerPresent();

    ControllerLink& link_;
};

} // namespace clink
