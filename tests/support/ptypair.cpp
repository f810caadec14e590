#include "tests/support/ptypair.h"

#include "tests/support/waitfor.h"

#include <array>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

namespace testsupport {

namespace {
constexpr size_t NameLength = 256;
constexpr size_t ReadChunk = 256;
} // namespace

PtyPair::PtyPair() {
    std::array<char, NameLength> name{};
    termios raw{};
    cfmakeraw(&raw);
    if (openpty(&peer_, &port_, name.data(), &raw, nullptr) != 0) {
        peer_ = port_ = -1;
        return;
    }
    path_ = QString::fromLocal8Bit(name.data());
    fcntl(peer_, F_SETFL, fcntl(peer_, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    if (port_ >= 0)
        ::close(port_);
    if (peer_ >= 0)
        ::close(peer_);
}

bool PtyPair::write(const QByteArray& bytes) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(peer_, bytes.constData() + sent, size_t(bytes.size() - sent));
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        if (n > 0)
            sent += n;
    }
    return true;
}

QByteArray PtyPair::read(int count, int ms) {
    QByteArray received;
    waitFor(
        [&] {
            std::array<char, ReadChunk> chunk{};
            ssize_t n = 0;
            while ((n = ::read(peer_, chunk.data(), chunk.size())) > 0)
                received.append(chunk.data(), qsizetype(n));
            return received.size() >= count;
        },
        ms);
    return received;
}

termios PtyPair::portSettings() const {
    termios settings{};
    tcgetattr(port_, &settings);
    return settings;
}

} // namespace testsupport
