#pragma once
// The USB dongle on libftdi1. Nothing is touched until the first call: a program on another link never
// opens the USB subsystem.

#include "link/ftdidevice.h"

struct ftdi_context;

namespace clink {

class LibFtdiDevice : public FtdiDevice {
public:
    // Vendor and product identifiers to look for; 0, 0 finds the converter maker's usual ones.
    explicit LibFtdiDevice(int vendorId = 0, int productId = 0);
    ~LibFtdiDevice() override;
    LibFtdiDevice(const LibFtdiDevice&) = delete;
    LibFtdiDevice& operator=(const LibFtdiDevice&) = delete;

    FtStatus listFirstSerial(QByteArray& serial) override;
    FtStatus openBySerial(const QByteArray& serial) override;
    FtStatus setBaudRate(int baud) override;
    FtStatus setDataCharacteristics(int bits, int stopBits, int parity) override;
    FtStatus setFlowControl(int mode, int xon, int xoff) override;
    FtStatus setTimeouts(int readMs, int writeMs) override;
    FtStatus purge(int mask) override;
    FtStatus write(const QByteArray& bytes, int& written) override;
    FtStatus read(char* buffer, int size, int& got) override;
    FtStatus close() override;

    bool isOpen() const { return open_; }

private:
    FtStatus context();

    ftdi_context* ctx_ = nullptr;
    bool open_ = false;
    int vendorId_;
    int productId_;
    // Identifiers of the device last listed, used to open it by its serial number.
    int foundVendor_ = 0;
    int foundProduct_ = 0;
    int readTimeoutMs_;
};

} // namespace clink
