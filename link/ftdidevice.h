#pragma once
// The USB dongle's serial converter as the link drives it: find the first device, open it by its serial
// number, set the line up, purge, write and read. Every call answers one of the converter driver's status
// codes (0 = no error); the texts of those codes are the USB link's.

#include <QByteArray>

#include <cstdint>

namespace clink {

// Status of one device call.
using FtStatus = int32_t;

inline constexpr FtStatus FtOk = 0;
inline constexpr FtStatus FtInvalidHandle = 1;
inline constexpr FtStatus FtDeviceNotFound = 2;
inline constexpr FtStatus FtDeviceNotOpened = 3;
inline constexpr FtStatus FtIoError = 4;
inline constexpr FtStatus FtInsufficientResources = 5;
inline constexpr FtStatus FtInvalidParameter = 6;
inline constexpr FtStatus FtInvalidBaudRate = 7;
inline constexpr FtStatus FtDeviceNotOpenedForErase = 8;
inline constexpr FtStatus FtDeviceNotOpenedForWrite = 9;
inline constexpr FtStatus FtFailedToWriteDevice = 10;
inline constexpr FtStatus FtEepromReadFailed = 11;
inline constexpr FtStatus FtEepromWriteFailed = 12;
inline constexpr FtStatus FtEepromEraseFailed = 13;
inline constexpr FtStatus FtEepromNotPresent = 14;
inline constexpr FtStatus FtEepromNotProgrammed = 15;
inline constexpr FtStatus FtInvalidArgs = 16;
inline constexpr FtStatus FtOtherError = 17;

// Line settings, valued as the converter driver takes them.
inline constexpr int FtBits8 = 8;
inline constexpr int FtBits7 = 7;
inline constexpr int FtStopBits1 = 0;
inline constexpr int FtStopBits2 = 2;
inline constexpr int FtParityNone = 0;
inline constexpr int FtParityOdd = 1;
inline constexpr int FtParityEven = 2;
inline constexpr int FtParityMark = 3;
inline constexpr int FtParitySpace = 4;
inline constexpr int FtFlowNone = 0x0000;
inline constexpr int FtFlowRtsCts = 0x0100;
inline constexpr int FtFlowDtrDsr = 0x0200;
inline constexpr int FtFlowXonXoff = 0x0400;
// Purge mask bits.
inline constexpr int FtPurgeRx = 1;
inline constexpr int FtPurgeTx = 2;

class FtdiDevice {
public:
    virtual ~FtdiDevice() = default;

    // Serial number of the first device attached.
    virtual FtStatus listFirstSerial(QByteArray& serial) = 0;
    // Opens the device with this serial number (an open device is closed first).
    virtual FtStatus openBySerial(const QByteArray& serial) = 0;
    virtual FtStatus setBaudRate(int baud) = 0;
    virtual FtStatus setDataCharacteristics(int bits, int stopBits, int parity) = 0;
    virtual FtStatus setFlowControl(int mode, int xon, int xoff) = 0;
    // Read and write time-outs in milliseconds (0 = the device's own default).
    virtual FtStatus setTimeouts(int readMs, int writeMs) = 0;
    // Drops what waits in the receive (FtPurgeRx) and transmit (FtPurgeTx) buffers.
    virtual FtStatus purge(int mask) = 0;
    virtual FtStatus write(const QByteArray& bytes, int& written) = 0;
    // Reads up to size bytes into buffer, waiting at most the read time-out for all of them; got tells how
    // many came. Fewer than size is not an error.
    virtual FtStatus read(char* buffer, int size, int& got) = 0;
    virtual FtStatus close() = 0;
};

} // namespace clink
