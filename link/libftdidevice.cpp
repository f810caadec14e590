#include "link/libftdidevice.h"

#include <QDeadlineTimer>

#include <ftdi.h>
#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace clink {

namespace {
// The converter maker's vendor identifier and its most common product, used when no device was listed.
constexpr int DefaultVendorId = 0x0403;
constexpr int DefaultProductId = 0x6001;
// The converter holds received bytes at most this long before passing them on (ms).
constexpr unsigned char LatencyTimerMs = 2;
constexpr int DefaultReadTimeoutMs = 500;
// A write never waits forever for the device.
constexpr int DefaultWriteTimeoutMs = 5000;
// Pause between empty polls of the receive buffer.
constexpr std::chrono::milliseconds EmptyPollPause{1};
constexpr int SerialBufferSize = 64;

// libftdi result codes of the open calls.
constexpr int OpenDeviceNotFound = -3;
constexpr int OpenUnableToOpen = -4;
constexpr int OpenUnableToClaim = -5;
constexpr int StringsUnableToOpen = -4;
constexpr int BaudRateInvalid = -1;

FtStatus openFailure(int result) {
    switch (result) {
    case OpenDeviceNotFound:
        return FtDeviceNotFound;
    case OpenUnableToOpen:
    case OpenUnableToClaim:
        return FtDeviceNotOpened;
    default:
        return FtIoError;
    }
}
} // namespace

LibFtdiDevice::LibFtdiDevice(int vendorId, int productId)
    : vendorId_(vendorId), productId_(productId), readTimeoutMs_(DefaultReadTimeoutMs) {}

LibFtdiDevice::~LibFtdiDevice() {
    if (ctx_) {
        if (open_)
            ftdi_usb_close(ctx_);
        ftdi_free(ctx_);
    }
}

FtStatus LibFtdiDevice::context() {
    if (!ctx_)
        ctx_ = ftdi_new();
    return ctx_ ? FtOk : FtInsufficientResources;
}

FtStatus LibFtdiDevice::listFirstSerial(QByteArray& serial) {
    serial.clear();
    if (const FtStatus st = context(); st != FtOk)
        return st;
    ftdi_device_list* list = nullptr;
    const int count = ftdi_usb_find_all(ctx_, &list, vendorId_, productId_);
    if (count <= 0) {
        ftdi_list_free(&list);
        return count == 0 ? FtDeviceNotFound : FtIoError;
    }
    libusb_device_descriptor desc{};
    if (libusb_get_device_descriptor(list->dev, &desc) != 0) {
        ftdi_list_free(&list);
        return FtIoError;
    }
    char buffer[SerialBufferSize] = {};
    const int result =
        ftdi_usb_get_strings2(ctx_, list->dev, nullptr, 0, nullptr, 0, buffer, SerialBufferSize);
    ftdi_list_free(&list);
    if (result < 0)
        return result == StringsUnableToOpen ? FtDeviceNotOpened : FtIoError;
    foundVendor_ = desc.idVendor;
    foundProduct_ = desc.idProduct;
    serial = QByteArray(buffer);
    return FtOk;
}

FtStatus LibFtdiDevice::openBySerial(const QByteArray& serial) {
    if (const FtStatus st = context(); st != FtOk)
        return st;
    if (open_) {
        ftdi_usb_close(ctx_);
        open_ = false;
    }
    const int vendor = foundVendor_ ? foundVendor_ : (vendorId_ ? vendorId_ : DefaultVendorId);
    const int product = foundProduct_ ? foundProduct_ : (productId_ ? productId_ : DefaultProductId);
    const int result =
        ftdi_usb_open_desc(ctx_, vendor, product, nullptr, serial.isEmpty() ? nullptr : serial.constData());
    if (result < 0)
        return openFailure(result);
    open_ = true;
    if (ftdi_set_latency_timer(ctx_, LatencyTimerMs) < 0)
        return FtIoError;
    return FtOk;
}

FtStatus LibFtdiDevice::setBaudRate(int baud) {
    if (!open_)
        return FtInvalidHandle;
    const int result = ftdi_set_baudrate(ctx_, baud);
    if (result == BaudRateInvalid)
        return FtInvalidBaudRate;
    return result < 0 ? FtIoError : FtOk;
}

FtStatus LibFtdiDevice::setDataCharacteristics(int bits, int stopBits, int parity) {
    if (!open_)
        return FtInvalidHandle;
    if ((bits != FtBits7 && bits != FtBits8) || (stopBits != FtStopBits1 && stopBits != FtStopBits2) ||
        parity < FtParityNone || parity > FtParitySpace)
        return FtInvalidParameter;
    const int result = ftdi_set_line_property(ctx_, bits == FtBits8 ? BITS_8 : BITS_7,
                                              stopBits == FtStopBits1 ? STOP_BIT_1 : STOP_BIT_2,
                                              static_cast<ftdi_parity_type>(parity));
    return result < 0 ? FtIoError : FtOk;
}

FtStatus LibFtdiDevice::setFlowControl(int mode, int xon, int xoff) {
    if (!open_)
        return FtInvalidHandle;
    int result = 0;
    switch (mode) {
    case FtFlowNone:
        result = ftdi_setflowctrl(ctx_, SIO_DISABLE_FLOW_CTRL);
        break;
    case FtFlowRtsCts:
        result = ftdi_setflowctrl(ctx_, SIO_RTS_CTS_HS);
        break;
    case FtFlowDtrDsr:
        result = ftdi_setflowctrl(ctx_, SIO_DTR_DSR_HS);
        break;
    case FtFlowXonXoff:
        result =
            ftdi_setflowctrl_xonxoff(ctx_, static_cast<unsigned char>(xon), static_cast<unsigned char>(xoff));
        break;
    default:
        return FtInvalidParameter;
    }
    return result < 0 ? FtIoError : FtOk;
}

FtStatus LibFtdiDevice::setTimeouts(int readMs, int writeMs) {
    if (!open_)
        return FtInvalidHandle;
    if (readMs < 0 || writeMs < 0)
        return FtInvalidParameter;
    readTimeoutMs_ = readMs;
    ctx_->usb_write_timeout = writeMs > 0 ? writeMs : DefaultWriteTimeoutMs;
    return FtOk;
}

FtStatus LibFtdiDevice::purge(int mask) {
    if (!open_)
        return FtInvalidHandle;
    if ((mask & FtPurgeRx) && ftdi_tciflush(ctx_) < 0)
        return FtIoError;
    if ((mask & FtPurgeTx) && ftdi_tcoflush(ctx_) < 0)
        return FtIoError;
    return FtOk;
}

FtStatus LibFtdiDevice::write(const QByteArray& bytes, int& written) {
    written = 0;
    if (!open_)
        return FtInvalidHandle;
    const int result =
        ftdi_write_data(ctx_, reinterpret_cast<const unsigned char*>(bytes.constData()), int(bytes.size()));
    if (result < 0)
        return FtIoError;
    written = result;
    return FtOk;
}

FtStatus LibFtdiDevice::read(char* buffer, int size, int& got) {
    got = 0;
    if (!open_)
        return FtInvalidHandle;
    // The library hands over at once what has arrived, possibly nothing: collect until the buffer is
    // full or the read time-out has passed.
    const QDeadlineTimer deadline(readTimeoutMs_, Qt::PreciseTimer);
    while (got < size) {
        const qint64 left = deadline.remainingTime();
        ctx_->usb_read_timeout = int(std::max<qint64>(left, 1));
        const int result = ftdi_read_data(ctx_, reinterpret_cast<unsigned char*>(buffer + got), size - got);
        if (result < 0)
            return FtIoError;
        got += result;
        if (got >= size || deadline.hasExpired())
            break;
        if (result == 0)
            std::this_thread::sleep_for(EmptyPollPause);
    }
    return FtOk;
}

FtStatus LibFtdiDevice::close() {
    if (!open_)
        return FtInvalidHandle;
    open_ = false;
    return ftdi_usb_close(ctx_) < 0 ? FtIoError : FtOk;
}

} // namespace clink
