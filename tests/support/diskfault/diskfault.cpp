#include "tests/support/diskfault/diskfault.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<bool> armed{false};
std::mutex guard;
diskfault::Fault fault;
std::string folder; // with a trailing '/'
qint64 writtenBytes = 0;

template <class F> F nextCall(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool underFolder(int fd) {
    char target[PATH_MAX];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    return n > 0 && std::string(target, size_t(n)).starts_with(folder);
}

// Whether a call meets the fault: decided under the lock, the real call made after it.
template <class Test> bool faulty(int error, Test test) {
    if (!armed)
        return false;
    std::lock_guard lock(guard);
    if (!test())
        return false;
    errno = error;
    return true;
}

} // namespace

void diskfault::arm(const Fault& armedFault) {
    std::lock_guard lock(guard);
    fault = armedFault;
    folder = QFile::encodeName(fault.folder).toStdString() + '/';
    writtenBytes = 0;
    armed = true;
}

void diskfault::disarm() {
    armed = false;
}

extern "C" {

ssize_t write(int fd, const void* data, size_t count) {
    static const auto real = nextCall<ssize_t (*)(int, const void*, size_t)>("write");
    // A write that does not fit takes what fits.
    const auto full = [&] {
        if (!underFolder(fd))
            return false;
        count = size_t(std::clamp<qint64>(fault.room - writtenBytes, 0, qint64(count)));
        writtenBytes += qint64(count);
        return count == 0;
    };
    return faulty(ENOSPC, full) ? -1 : real(fd, data, count);
}

int fdatasync(int fd) {
    static const auto real = nextCall<int (*)(int)>("fdatasync");
    return faulty(EIO, [fd] { return fault.syncFails && underFolder(fd); }) ? -1 : real(fd);
}

int open(const char* path, int flags, ...) {
    static const auto real = nextCall<int (*)(const char*, int, ...)>("open");
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, mode_t) : 0;
    va_end(rest);
    const auto unnamed = [&] {
        return !fault.unnamedFiles && (flags & O_TMPFILE) == O_TMPFILE &&
               (std::string(path) + '/').starts_with(folder);
    };
    return faulty(EOPNOTSUPP, unnamed) ? -1 : real(path, flags, mode);
}

} // extern "C"
