#include "tests/support/diskfault/diskfault.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

using diskfault::Call;

std::atomic<bool> armed{false};
std::mutex guard;
diskfault::Fault fault;
std::string folder; // with a trailing '/'
// What the calls since the fault was armed did.
struct {
    qint64 writtenBytes = 0;
    std::map<Call, int> calls;
    bool interruptedLast = false;
    std::string metPath;
} seen;

template <class F> F nextCall(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

// The file or folder a handle is open on, while a fault is armed.
std::string nameOf(int fd) {
    if (!armed)
        return {};
    char target[PATH_MAX];
    const ssize_t n = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
    return n > 0 ? std::string(target, size_t(n)) : std::string();
}

// Whether a call under the folder meets the fault, decided under the lock; the real call is made after it.
// The call is interrupted first when the fault says so, else it fails as the nth of its kind (or a write
// or sync after it), else as test says (with error).
bool faulty(Call call, const std::string& path, int error = 0, const std::function<bool()>& test = {}) {
    if (!armed || !(path + '/').starts_with(folder))
        return false;
    std::lock_guard lock(guard);
    int failure = 0;
    // Links, renames and opens are not interrupted on local file systems.
    const bool interruptible = call != Call::Link && call != Call::Rename && call != Call::None;
    if (fault.interrupted && interruptible && !std::exchange(seen.interruptedLast, true)) {
        failure = EINTR;
    } else if (seen.interruptedLast = false;
               ++seen.calls[call] >= fault.nth && call == fault.failing &&
               (seen.calls[call] == fault.nth || call == Call::Write || call == Call::Sync)) {
        failure = call == Call::Write ? ENOSPC : EIO;
        seen.metPath = seen.calls[call] == fault.nth ? path : seen.metPath;
    } else if (test && test()) {
        failure = error;
    }
    if (failure != 0)
        errno = failure;
    return failure != 0;
}

} // namespace

void diskfault::arm(const Fault& armedFault) {
    std::lock_guard lock(guard);
    fault = armedFault;
    folder = QFile::encodeName(fault.folder).toStdString() + '/';
    seen = {};
    armed = true;
}

void diskfault::disarm() {
    armed = false;
}

QString diskfault::met() {
    std::lock_guard lock(guard);
    return QFile::decodeName(seen.metPath.c_str());
}

extern "C" {

ssize_t write(int fd, const void* data, size_t count) {
    static const auto real = nextCall<ssize_t (*)(int, const void*, size_t)>("write");
    // A write that does not fit takes what fits.
    const auto full = [&] {
        if (fault.shortWrites > 0)
            count = std::min(count, size_t(fault.shortWrites));
        count = size_t(std::clamp<qint64>(fault.room - seen.writtenBytes, 0, qint64(count)));
        seen.writtenBytes += qint64(count);
        return count == 0;
    };
    return faulty(Call::Write, nameOf(fd), ENOSPC, full) ? -1 : real(fd, data, count);
}

int fdatasync(int fd) {
    static const auto real = nextCall<int (*)(int)>("fdatasync");
    return faulty(Call::Sync, nameOf(fd)) ? -1 : real(fd);
}

int fsync(int fd) {
    static const auto real = nextCall<int (*)(int)>("fsync");
    return faulty(Call::FolderSync, nameOf(fd)) ? -1 : real(fd);
}

int ftruncate(int fd, off_t length) {
    static const auto real = nextCall<int (*)(int, off_t)>("ftruncate");
    return faulty(Call::CutBack, nameOf(fd)) ? -1 : real(fd, length);
}

int link(const char* from, const char* to) {
    static const auto real = nextCall<int (*)(const char*, const char*)>("link");
    return faulty(Call::Link, to, EPERM, [] { return !fault.unnamedFiles; }) ? -1 : real(from, to);
}

int rename(const char* from, const char* to) {
    static const auto real = nextCall<int (*)(const char*, const char*)>("rename");
    return faulty(Call::Rename, to) ? -1 : real(from, to);
}

int open(const char* path, int flags, ...) {
    static const auto real = nextCall<int (*)(const char*, int, ...)>("open");
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, mode_t) : 0;
    va_end(rest);
    // Not a call a fault is put at: only a memory stick's lack of unnamed files.
    const bool tmpfile = (flags & O_TMPFILE) == O_TMPFILE;
    return faulty(Call::None, tmpfile ? path : "", EOPNOTSUPP, [] { return !fault.unnamedFiles; })
               ? -1
               : real(path, flags, mode);
}

} // extern "C"
