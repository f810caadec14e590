#include "tests/support/ptypair.h"

#include "tests/support/waitfor.h"

#include <QSocketNotifier>

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
    notifier_.reset();
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

QByteArray PtyPair::readAvailable() {
    QByteArray received;
    std::array<char, ReadChunk> chunk{};
    ssize_t n = 0;
    while ((n = ::read(peer_, chunk.data(), chunk.size())) > 0)
        received.append(chunk.data(), qsizetype(n));
    return received;
}

QByteArray PtyPair::read(int count, int ms) {
    QByteArray received;
    waitFor(
        [&] {
            received += readAvailable();
            return received.size() >= count;
        },
        ms);
    return received;
}

void PtyPair::onPeerData(std::function<void(const QByteArray&)> handler) {
    handler_ = std::move(handler);
    if (notifier_ || peer_ < 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(peer_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
        const QByteArray bytes = readAvailable();
        if (!bytes.isEmpty() && handler_)
            handler_(bytes);
    });
}

termios PtyPair::portSettings() const {
    termios settings{};
    tcgetattr(port_, &settings);
    return settings;
}

} // namespace testsupport
