#pragma once
// Byte access to the PC's printer port, the parallel-port link's only way to the dongle. Writes go to the
// data register, reads come from the status register. While the port is not open every write does nothing
// and every read gives 0, whatever the backend: windows touch the port whatever link is in use.

#include <QString>

#include <cstdint>

namespace clink {

class PortIo {
public:
    // I/O addresses of the printer port's registers.
    static constexpr uint16_t DataPort = 0x378;
    static constexpr uint16_t StatusPort = 0x379;

    virtual ~PortIo() = default;

    // Gains access to the port; false when it cannot be had (the port is then left closed).
    bool open();
    void close();
    bool isOpen() const { return open_; }
    void write(uint16_t port, uint8_t value);
    uint8_t read(uint16_t port);

protected:
    virtual bool doOpen() = 0;
    virtual void doClose() = 0;
    virtual void doWrite(uint16_t port, uint8_t value) = 0;
    virtual uint8_t doRead(uint16_t port) = 0;

private:
    bool open_ = false;
};

// The printer port through the Linux ppdev driver: the port's base address maps to the device, the data
// register is written with PPWDATA and the status register read with PPRSTATUS (raw, its BUSY line still
// inverted). The user needs write access to the device (group "lp").
class PpdevPortIo : public PortIo {
public:
    static constexpr const char* DefaultDevice = "/dev/parport0";

    explicit PpdevPortIo(QString device = QString::fromLatin1(DefaultDevice));
    ~PpdevPortIo() override;
    PpdevPortIo(const PpdevPortIo&) = delete;
    PpdevPortIo& operator=(const PpdevPortIo&) = delete;

    const QString& device() const { return device_; }
    // Takes effect at the next open.
    void setDevice(const QString& device) { device_ = device; }
    // Why the last open failed (empty after a good one).
    const QString& errorString() const { return error_; }

protected:
    bool doOpen() override;
    void doClose() override;
    void doWrite(uint16_t port, uint8_t value) override;
    uint8_t doRead(uint16_t port) override;

private:
    QString device_;
    QString error_;
    int fd_ = -1;
};

} // namespace clink
