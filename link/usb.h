#pragma once
// The USB link: the dongle is a USB serial converter. Each CAN exchange is one write of a 26-byte frame
// (the identifier of the reply to pass back, the identifier to send, the two reply bytes expected, the
// data) followed by one read of the 16-byte reply, whose bytes 5..12 are the reply's data bytes 0..7.

#include "link/canid.h"
#include "link/ftdidevice.h"
#include "link/linkstate.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace base {
class Dialogs;
} // namespace base

namespace clink {

class TransactionPump;

// One request as a USB frame carries it.
struct UsbRequest {
    CanId accept = 0;              // the reply identifier the dongle is to pass back
    CanId transmit = 0;            // the identifier sent
    std::array<int, 2> expected{}; // expected reply data bytes 0 and 1; 0 = any value in that byte
    std::array<int, 8> data{};
};

// A FilterFrame: accept and transmit both the awaited identifier, nothing expected, all data 0.
UsbRequest usbFilterRequest(CanId awaited);

// "%CAN", accept and transmit identifiers (most significant byte first), expected bytes 0 and 1, data
// bytes 0..7, "NAC%": 26 bytes. Nothing when an expected or data value is outside 0..255.
std::optional<QByteArray> usbFrameBytes(const UsbRequest& request);

// Data bytes 0..7 of the last reply (element 0 = reply code).
using UsbRxArray = decltype(LinkState::UsbRxBytes);

// What a transaction makes of a reply that arrived (UsbRxBytes filled).
enum class UsbReply {
    Retry,  // not the awaited reply: try again while tries are left
    Taken,  // the reply was taken: ReplyReady becomes true and the tries end
    Refused // a reply that ends the transaction at once with false
};

// The set-up failure box.
inline const QString UsbSetupFailedText =
    QStringLiteral("Could not set up USB device. Make sure the USB Drivers are installed and \r\n"
                   "USB Candongle is connected.");

class USB {
public:
    static constexpr int FrameSize = 26;
    static constexpr int ReplySize = 16;
    // Reply bytes 5..12 (1-based) are data bytes 0..7.
    static constexpr int ReplyDataOffset = 4;
    static constexpr int BaudRate = 19200;
    static constexpr int ReadTimeoutMs = 500;
    static constexpr int WriteTimeoutMs = 0;
    // Tries of the usual USB transaction (counter 0..10).
    static constexpr int UsualTries = 11;
    // What a read that timed out leaves in the reply positions not filled.
    static constexpr char UnfilledByte = ' ';

    USB(LinkState& state, FtdiDevice& device, TransactionPump& pump, base::Dialogs& dialogs);
    USB(const USB&) = delete;
    USB& operator=(const USB&) = delete;

    // The device the link drives (tests give it the stand-in's).
    void setDevice(FtdiDevice& device) { device_ = &device; }
    FtdiDevice& device() { return *device_; }

    // Builds the frame, keeps it in UsbFrameText, writes it and reads the reply into UsbRxBytes. True only
    // when both the write and the read succeeded (UsbTransferOk holds the same). Sends nothing and answers
    // false when a value is outside 0..255. While UsbFailed is set (a failed device set-up) the device is
    // set up again first, without a box, once per transaction: every path recovers when the dongle is
    // back, and a dongle that stays away costs one attempt per transaction.
    bool SendCanFrame(const UsbRequest& request);
    bool SendCanFrame(CanId accept, CanId transmit, std::array<int, 2> expected,
                      const std::array<int, 8>& data) {
        return SendCanFrame(UsbRequest{accept, transmit, expected, data});
    }
    bool SendFilterFrame(CanId awaited) { return SendCanFrame(usbFilterRequest(awaited)); }

    // The USB try loop every transaction uses. Sets ReplyReady false, then sends the request up to `tries`
    // times while ReplyReady is false and UsbFailed is not set. After each send that succeeded, check
    // looks at UsbRxBytes (passed in as rx; element 0 is the reply code) and stores what it takes:
    //   Taken   -> ReplyReady = true, the loop ends;
    //   Retry   -> the next try (a send that failed is a try too);
    //   Refused -> the transaction ends at once.
    // Returns ReplyReady. A request with a value outside 0..255 sends nothing and returns false.
    // Example, a tool-EEPROM read:
    //   usb.Transact({ids::ToolEepromReply, ids::ToolEepromRequest, {0x30, hi}, {0x90, hi, lo, 0, 0, 0, 0,
    //   0}},
    //                USB::UsualTries, [&](const auto& rx) {
    //                    if (rx[0] != 0x30 || rx[1] != hi || rx[2] != lo) return UsbReply::Retry;
    //                    ...store rx[3]...; return UsbReply::Taken; });
    using ReplyCheck = std::function<UsbReply(const UsbRxArray& rx)>;
    bool Transact(const UsbRequest& request, int tries, const ReplyCheck& check);

    // Serial number of the first device, then open it by that number. A failure is only recorded
    // (UsbFailedStep "Open Failed", UsbStatus, UsbStatusText).
    bool OpenDevice();
    // 19200 baud, 8 data bits, 1 stop bit, no parity, no flow control, read time-out 500 ms, both buffers
    // purged. Sets UsbFailed: on a failure the step is recorded, the set-up box is shown (unless quiet) and
    // UsbFailed is set. True when the set-up succeeded.
    bool ConfigureDevice(bool quiet = false);
    // OpenDevice then ConfigureDevice; true when the set-up succeeded.
    bool ReopenDevice();
    // A failure is only recorded ("Close Failed").
    bool CloseDevice();
    // Purges what waits in the receive buffer (a late reply is never taken for this frame's), then writes
    // the frame. A failure clears UsbTransferOk and reopens the device, once per transaction.
    bool WriteFrame(const QByteArray& frame);
    // Reads the 16-byte reply into UsbReadBuffer (filled with spaces first, so a read that timed out
    // leaves 0x20 bytes) and copies its data bytes to UsbRxBytes(0..7). A failure is recorded ("Read
    // Error") and clears UsbTransferOk.
    bool ReadReply();
    // Sets UsbStatusText from the status; a code outside 0..17 keeps the previous text.
    void ShowFtStatus(FtStatus status);

    // The start of a transaction: it may set the device up again once.
    void startTransaction() { reopenTried_ = false; }

    // Status of the last device call, its text, and the step that failed last.
    FtStatus UsbStatus = FtOk;
    QString UsbStatusText;
    QString UsbFailedStep;
    QByteArray UsbSerialNumber;
    // The last frame sent and the last reply read.
    QByteArray UsbFrameText;
    QByteArray UsbReadBuffer;
    // Bytes the last read returned (fewer than ReplySize: the read timed out first).
    int UsbBytesRead = 0;

private:
    bool recordFailure(FtStatus status, const QString& step);
    // True when this transaction has not set the device up again yet (always outside a transaction).
    bool mayReopen();

    LinkState& s_;
    FtdiDevice* device_;
    TransactionPump& pump_;
    base::Dialogs& dialogs_;
    bool reopenTried_ = false;
};

} // namespace clink
