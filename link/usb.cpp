#include "link/usb.h"

#include "base/dialogs.h"
#include "link/transaction.h"

namespace clink {

namespace {
const QByteArray FrameHead = QByteArrayLiteral("%CAN");
const QByteArray FrameTail = QByteArrayLiteral("NAC%");
constexpr int MaxByte = 255;
constexpr int ReplyDataBytes = 8;

const QString OpenFailed = QStringLiteral("Open Failed");
const QString CloseFailed = QStringLiteral("Close Failed");
const QString ReadError = QStringLiteral("Read Error");

// Texts of the device status codes 0..17.
const std::array<QString, 18> StatusTexts = {
    QStringLiteral("No Error"),
    QStringLiteral("Invalid Handle"),
    QStringLiteral("Device Not Found"),
    QStringLiteral("Device Not Opened"),
    QStringLiteral("IO Error"),
    QStringLiteral("Insufficient Resources"),
    QStringLiteral("Invalid Parameter"),
    QStringLiteral("Invalid Baud Rate"),
    QStringLiteral("Device Not Opened For Erase"),
    QStringLiteral("Device Not Opened For Write"),
    QStringLiteral("Failed To Write Device"),
    QStringLiteral("EEPROM Read Failed"),
    QStringLiteral("EEPROM Write Failed"),
    QStringLiteral("EEPROM Erase Failed"),
    QStringLiteral("EEPROM Not Present"),
    QStringLiteral("EEPROM Not Programmed"),
    QStringLiteral("Invalid Args"),
    QStringLiteral("Other Error"),
};

bool isByte(int v) {
    return v >= 0 && v <= MaxByte;
}

void appendId(QByteArray& frame, CanId id) {
    for (int b : canIdBytes(id))
        frame += char(b);
}
} // namespace

UsbRequest usbFilterRequest(CanId awaited) {
    return UsbRequest{awaited, awaited, {}, {}};
}

std::optional<QByteArray> usbFrameBytes(const UsbRequest& r) {
    for (int v : r.expected)
        if (!isByte(v))
            return std::nullopt;
    for (int v : r.data)
        if (!isByte(v))
            return std::nullopt;
    QByteArray frame = FrameHead;
    frame.reserve(USB::FrameSize);
    appendId(frame, r.accept);
    appendId(frame, r.transmit);
    for (int v : r.expected)
        frame += char(v);
    for (int v : r.data)
        frame += char(v);
    frame += FrameTail;
    return frame;
}

USB::USB(LinkState& state, FtdiDevice& device, TransactionPump& pump, base::Dialogs& dialogs)
    : s_(state), device_(&device), pump_(pump), dialogs_(dialogs) {}

bool USB::mayReopen() {
    if (!pump_.running())
        return true;
    if (reopenTried_)
        return false;
    reopenTried_ = true;
    return true;
}

bool USB::SendCanFrame(const UsbRequest& request) {
    const std::optional<QByteArray> frame = usbFrameBytes(request);
    if (frame && s_.UsbFailed && mayReopen()) {
        OpenDevice();
        ConfigureDevice(true);
    }
    if (!frame || s_.UsbFailed) {
        s_.UsbTransferOk = false;
        return false;
    }
    UsbFrameText = *frame;
    const bool written = WriteFrame(*frame);
    const bool read = ReadReply();
    s_.UsbTransferOk = written && read;
    return s_.UsbTransferOk;
}

bool USB::Transact(const UsbRequest& request, int tries, const ReplyCheck& check) {
    s_.ReplyReady = false;
    if (!usbFrameBytes(request))
        return false;
    for (int t = 0; t < tries && !s_.ReplyReady && !pump_.over(ReadTimeoutMs); ++t) {
        if (!SendCanFrame(request)) {
            if (s_.UsbFailed)
                break; // the device could not be set up again
            continue;
        }
        switch (check(s_.UsbRxBytes)) {
        case UsbReply::Taken:
            s_.ReplyReady = true;
            pump_.heard();
            break;
        case UsbReply::Refused:
            return false;
        case UsbReply::Retry:
            break;
        }
    }
    return s_.ReplyReady;
}

bool USB::recordFailure(FtStatus status, const QString& step) {
    UsbFailedStep = step;
    ShowFtStatus(status);
    return false;
}

bool USB::OpenDevice() {
    FtStatus st = device_->listFirstSerial(UsbSerialNumber);
    if (st == FtOk)
        st = device_->openBySerial(UsbSerialNumber);
    UsbStatus = st;
    return st == FtOk || recordFailure(st, OpenFailed);
}

bool USB::ConfigureDevice(bool quiet) {
    struct Step {
        QString failText;
        std::function<FtStatus()> call;
    };
    FtdiDevice& d = *device_;
    const Step steps[] = {
        {QStringLiteral("Set Baud Rate Failed"), [&] { return d.setBaudRate(BaudRate); }},
        {QStringLiteral("Set Data Characteristics Failed"),
         [&] { return d.setDataCharacteristics(FtBits8, FtStopBits1, FtParityNone); }},
        {QStringLiteral("Set Flow Control Failed"), [&] { return d.setFlowControl(FtFlowNone, 0, 0); }},
        {QStringLiteral("Set Timeouts Failed"), [&] { return d.setTimeouts(ReadTimeoutMs, WriteTimeoutMs); }},
        {QStringLiteral("Purge Failed"), [&] { return d.purge(FtPurgeRx | FtPurgeTx); }},
    };
    s_.UsbFailed = false;
    for (const Step& step : steps) {
        UsbStatus = step.call();
        if (UsbStatus != FtOk) {
            recordFailure(UsbStatus, step.failText);
            s_.UsbFailed = true;
            if (!quiet)
                dialogs_.message(UsbSetupFailedText, base::ProgramTitle, base::MessageIcon::None);
            return false;
        }
    }
    return true;
}

bool USB::ReopenDevice() {
    OpenDevice();
    return ConfigureDevice();
}

bool USB::CloseDevice() {
    UsbStatus = device_->close();
    return UsbStatus == FtOk || recordFailure(UsbStatus, CloseFailed);
}

bool USB::WriteFrame(const QByteArray& frame) {
    s_.UsbTransferOk = true;
    FtStatus st = device_->purge(FtPurgeRx);
    if (st == FtOk) {
        int written = 0;
        st = device_->write(frame, written);
        if (st == FtOk && written != frame.size())
            st = FtIoError;
    }
    UsbStatus = st;
    if (st != FtOk) {
        if (mayReopen())
            ReopenDevice();
        s_.UsbTransferOk = false;
        return false;
    }
    return true;
}

bool USB::ReadReply() {
    s_.UsbTransferOk = true;
    UsbReadBuffer = QByteArray(ReplySize, UnfilledByte);
    int got = 0;
    UsbStatus = device_->read(UsbReadBuffer.data(), ReplySize, got);
    UsbBytesRead = UsbStatus == FtOk ? got : 0;
    pump_.doEvents();
    if (UsbStatus != FtOk) {
        recordFailure(UsbStatus, ReadError);
        s_.UsbTransferOk = false;
        return false;
    }
    for (int i = 0; i < ReplyDataBytes; ++i)
        s_.UsbRxBytes[size_t(i)] = uint8_t(UsbReadBuffer[ReplyDataOffset + i]);
    return true;
}

void USB::ShowFtStatus(FtStatus status) {
    if (status >= 0 && size_t(status) < StatusTexts.size())
        UsbStatusText = StatusTexts[size_t(status)];
}

} // namespace clink
