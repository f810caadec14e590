#include "link/runresults.h"

#include "base/dialogs.h"
#include "link/controllerlink.h"
#include "link/linktexts.h"
#include "link/ppexchange.h"

namespace clink {

namespace {
// A result message: [10 n r r r r r r], n = 1..3.
constexpr int ResultCode = 0x10;
constexpr int SequenceByte = 1;
constexpr int FirstRecordByte = 2;

using MessageRecord = std::array<int, RunResultListener::BytesPerMessage>;

template <class Bytes> MessageRecord recordBytesOf(const Bytes& message) {
    MessageRecord bytes{};
    for (int i = 0; i < RunResultListener::BytesPerMessage; ++i)
        bytes[size_t(i)] = message[size_t(FirstRecordByte + i)];
    return bytes;
}
} // namespace

RunResultListener::Start RunResultListener::start(bool retry) {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        if (!link_.dataTx.ConfigureCanDongle(ids::RunData))
            return Start::DongleNotReady;
        break;
    case TcpIp:
        if (!link_.ethernet.SendFilterFrame(ids::RunData))
            return Start::NotReady;
        // The reply handler takes the first result message it sees as an acknowledgement unless one was
        // recorded: the first result after opening is not to lose its first message.
        link_.state.AckReceived = true;
        break;
    case Usb:
        if (!link_.usb.SendFilterFrame(ids::RunData)) {
            // While the dongle stays away, its boxes come once, not at every retry.
            if (usbFailureShown_) {
                link_.usb.OpenDevice();
                link_.usb.ConfigureDevice(true);
                return Start::NotReady;
            }
            link_.usb.ReopenDevice();
            link_.dialogs.message(UsbConnectFailedText, base::ProgramTitle, base::MessageIcon::Critical);
            usbFailureShown_ = true;
            return Start::NotReady;
        }
        usbFailureShown_ = false;
        if (retry)
            link_.pump.doEvents();
        break;
    default:
        return Start::NoLink;
    }
    return Start::Listening;
}

void RunResultListener::poll(const Hearing& hearing) {
    switch (link_.state.ConnectionType) {
    case ParallelPort:
        pollPp(hearing);
        break;
    case TcpIp:
        pollEthernet(hearing);
        break;
    case Usb:
        pollUsb(hearing);
        break;
    default:
        break;
    }
}

void RunResultListener::pollPp(const Hearing& hearing) {
    link_.spi.ResetLineHigh();
    Transaction tx(link_);
    int sequence = 0;
    MessageRecord bytes{};
    const auto look = PpExchange(link_).look([&](PpRxMessage& m) {
        if (m.byte(0) != ResultCode) {
            hearing.otherMessage();
            return false;
        }
        sequence = m.byte(SequenceByte);
        for (int i = 0; i < BytesPerMessage; ++i)
            bytes[size_t(i)] = m.byte(FirstRecordByte + i);
        return true;
    });
    if (look == PpExchange::Look::Taken)
        hearing.message(sequence, bytes);
}

void RunResultListener::pollEthernet(const Hearing& hearing) {
    LinkState& s = link_.state;
    link_.pump.doEvents();
    if (hearing.stopped() || s.RequestData[1] != ResultCode)
        return;
    // The reply handler has gathered a whole result in RunDataWords(1..18).
    std::array<int, ResultBytes> result{};
    for (int i = 0; i < ResultBytes; ++i)
        result[size_t(i)] = s.RunDataWords[size_t(i + 1)];
    s.RequestData[1] = 0;
    hearing.result(result);
}

void RunResultListener::pollUsb(const Hearing& hearing) {
    LinkState& s = link_.state;
    Transaction tx(link_);
    s.ReplyReady = false;
    for (int attempt = 0; attempt < USB::UsualTries && !s.ReplyReady; ++attempt) {
        link_.pump.doEvents();
        if (hearing.stopped() || tx.over())
            return;
        if (!link_.usb.SendFilterFrame(ids::RunData))
            continue;
        const UsbRxArray rx = s.UsbRxBytes;
        if (rx[0] != ResultCode) {
            link_.pump.doEvents();
            continue;
        }
        link_.pump.doEvents();
        if (hearing.stopped())
            return;
        const bool fitted = hearing.message(rx[SequenceByte], recordBytesOf(rx));
        link_.pump.doEvents();
        if (!fitted)
            return;
    }
}

} // namespace clink
