#include "link/portio.h"

#include <fcntl.h>
#include <linux/parport.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace clink {

bool PortIo::open() {
    if (open_)
        return true;
    open_ = doOpen();
    return open_;
}

void PortIo::close() {
    if (!open_)
        return;
    doClose();
    open_ = false;
}

void PortIo::write(uint16_t port, uint8_t value) {
    if (open_)
        doWrite(port, value);
}

uint8_t PortIo::read(uint16_t port) {
    return open_ ? doRead(port) : 0;
}

PpdevPortIo::PpdevPortIo(QString device) : device_(std::move(device)) {}

PpdevPortIo::~PpdevPortIo() {
    close();
}

namespace {
QString systemError(const QString& what, const QString& device) {
    return QStringLiteral("%1 %2: %3").arg(what, device, QString::fromLocal8Bit(std::strerror(errno)));
}
} // namespace

bool PpdevPortIo::doOpen() {
    error_.clear();
    const int fd = ::open(device_.toLocal8Bit().constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        error_ = systemError(QStringLiteral("Cannot open"), device_);
        return false;
    }
    if (::ioctl(fd, PPCLAIM) < 0) {
        error_ = systemError(QStringLiteral("Cannot claim"), device_);
        ::close(fd);
        return false;
    }
    // Plain compatibility mode; a driver that refuses the request is already in it.
    int mode = IEEE1284_MODE_COMPAT;
    (void)::ioctl(fd, PPSETMODE, &mode);
    fd_ = fd;
    return true;
}

void PpdevPortIo::doClose() {
    if (fd_ < 0)
        return;
    (void)::ioctl(fd_, PPRELEASE);
    ::close(fd_);
    fd_ = -1;
}

void PpdevPortIo::doWrite(uint16_t port, uint8_t value) {
    // Only the data register is written through this port.
    if (port != DataPort)
        return;
    unsigned char b = value;
    (void)::ioctl(fd_, PPWDATA, &b);
}

uint8_t PpdevPortIo::doRead(uint16_t port) {
    unsigned char b = 0;
    if (port == StatusPort)
        (void)::ioctl(fd_, PPRSTATUS, &b);
    else if (port == DataPort)
        (void)::ioctl(fd_, PPRDATA, &b);
    return b;
}

} // namespace clink
