#include "base/replacedfile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {
const QString SavingSuffix = QStringLiteral(".saving");
const QString KeptSuffix = QStringLiteral(".kept");
// A new file's mode before the umask takes its part, as for any file the program creates.
constexpr mode_t NewFileMode = 0666;
// Bytes read at a time when an old file is kept as a copy.
constexpr qint64 CopyBlockBytes = 64 * 1024;

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

bool systemFailure(QString* error) {
    setError(error, qt_error_string(errno));
    return false;
}

// True when a link failed because the file system has no links (a memory stick's).
bool noLinksHere(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == EMLINK || error == ENOSYS;
}

// Has the system put a folder's entries on the disk, so that a file renamed into it stays there after a
// power cut. A folder the program may not read cannot be synced by it, and a file system with nothing to
// sync for a folder says so (EINVAL): the rename stands as the system keeps it.
bool syncFolder(const QString& folder, QString* error = nullptr) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool synced = uninterrupted([fd] { return ::fsync(fd); }) == 0 || errno == EINVAL;
    const int reason = errno;
    ::close(fd);
    errno = reason;
    return synced || systemFailure(error);
}
} // namespace

QString savingFileName(const QString& path) {
    return path + SavingSuffix;
}

QString keptFileName(const QString& path) {
    return path + KeptSuffix;
}

QString notWrittenText(const QString& text, const QString& path, const QString& reason) {
    return text + QStringLiteral("\r\n") + QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

bool writeWhole(QFileDevice& file, QByteArrayView bytes, QString* error) {
    while (!bytes.isEmpty()) {
        const qint64 written = file.write(bytes.data(), bytes.size());
        if (written <= 0) {
            setError(error, file.errorString());
            return false;
        }
        bytes = bytes.sliced(written);
    }
    return true;
}

bool syncToDisk(QFileDevice& file, QString* error) {
    return uninterrupted([&file] { return ::fdatasync(file.handle()); }) == 0 || systemFailure(error);
}

ReplacedFile::ReplacedFile(const QString& path) : target_(path) {
    if (const QFileInfo info(path); info.isSymLink())
        target_ = info.symLinkTarget();
}

ReplacedFile::~ReplacedFile() {
    discard();
}

bool ReplacedFile::open(QString* error) {
    const QFileInfo info(target_);
    existed_ = info.exists();
    if (existed_ && !info.isFile()) {
        setError(error, NotARegularFileText);
        return false;
    }
    const QByteArray target = QFile::encodeName(target_);
    if (existed_ && ::access(target.constData(), W_OK) != 0)
        return systemFailure(error);
    // What a save cut off before its end left behind.
    const QString saving = savingFileName(target_);
    for (const QString& left : {saving, keptFileName(target_)})
        if (QFileInfo(left).isFile())
            QFile::remove(left);
    int fd = ::open(QFile::encodeName(info.absolutePath()).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                    NewFileMode);
    // File systems without unnamed files get the saving name from the start.
    if (fd < 0) {
        fd = ::open(QFile::encodeName(saving).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                    NewFileMode);
        if (fd < 0)
            return systemFailure(error);
        named_ = true;
    }
    if (struct stat old{}; ::stat(target.constData(), &old) == 0)
        ::fchmod(fd, old.st_mode & ALLPERMS);
    // Unbuffered: each write reaches the system at once, and its failure is seen where it happens.
    if (!file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        setError(error, file_.errorString());
        discard();
        return false;
    }
    return true;
}

bool ReplacedFile::write(QByteArrayView bytes) {
    if (!error_.isEmpty())
        return false;
    QString reason;
    return writeWhole(file_, bytes, &reason) || fail(reason);
}

bool ReplacedFile::fail(const QString& reason) {
    if (error_.isEmpty())
        error_ = reason;
    return false;
}

bool ReplacedFile::failWithErrno() {
    return fail(qt_error_string(errno));
}

bool ReplacedFile::finish() {
    if (!error_.isEmpty())
        return false;
    if (QString reason; !syncToDisk(file_, &reason))
        return fail(reason);
    // An unnamed file gets the saving name first: a file can be renamed over another, not linked.
    if (!named_) {
        const QByteArray handle = "/proc/self/fd/" + QByteArray::number(file_.handle());
        if (::linkat(AT_FDCWD, handle.constData(), AT_FDCWD, QFile::encodeName(savingFileName(target_)),
                     AT_SYMLINK_FOLLOW) != 0)
            return failWithErrno();
        named_ = true;
    }
    return true;
}

bool ReplacedFile::keepOld() {
    if (!existed_)
        return true;
    const QByteArray target = QFile::encodeName(target_);
    const QByteArray kept = QFile::encodeName(keptFileName(target_));
    if (::link(target.constData(), kept.constData()) == 0) {
        kept_ = true;
        return true;
    }
    if (!noLinksHere(errno))
        return failWithErrno();
    // Without links the old file is kept as a copy, on the disk before anything changes.
    QFile old(target_);
    if (!old.open(QIODevice::ReadOnly))
        return fail(old.errorString());
    const int fd = ::open(kept.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode);
    if (fd < 0)
        return failWithErrno();
    kept_ = true;
    if (struct stat mode{}; ::stat(target.constData(), &mode) == 0)
        ::fchmod(fd, mode.st_mode & ALLPERMS);
    QFile copy;
    if (!copy.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(copy.errorString());
    }
    QString reason;
    while (!old.atEnd())
        if (!writeWhole(copy, old.read(CopyBlockBytes), &reason))
            return fail(reason);
    if (old.error() != QFileDevice::NoError)
        return fail(old.errorString());
    return syncToDisk(copy, &reason) || fail(reason);
}

bool ReplacedFile::putInPlace() {
    if (std::rename(QFile::encodeName(savingFileName(target_)).constData(),
                    QFile::encodeName(target_).constData()) != 0)
        return failWithErrno();
    named_ = false;
    placed_ = true;
    return true;
}

void ReplacedFile::putBack() {
    if (!placed_)
        return;
    placed_ = false;
    const QByteArray target = QFile::encodeName(target_);
    if (!kept_)
        ::unlink(target.constData());
    else
        std::rename(QFile::encodeName(keptFileName(target_)).constData(), target.constData());
    // Put back, or, when even that fails, left beside the file under its kept name.
    kept_ = false;
}

bool ReplacedFile::commit(QString* error) {
    ReplacedFile* const alone[] = {this};
    return commitTogether(alone, error) < 0;
}

void ReplacedFile::discard() {
    if (file_.isOpen())
        file_.close();
    if (named_)
        QFile::remove(savingFileName(target_));
    if (kept_)
        QFile::remove(keptFileName(target_));
    named_ = kept_ = placed_ = false;
}

int commitTogether(std::span<ReplacedFile* const> files, QString* error) {
    int failed = -1;
    const auto step = [&](bool (ReplacedFile::*done)()) {
        for (size_t k = 0; failed < 0 && k < files.size(); ++k)
            if (!(files[k]->*done)())
                failed = int(k);
    };
    step(&ReplacedFile::finish);
    step(&ReplacedFile::keepOld);
    step(&ReplacedFile::putInPlace);
    // Each folder once, a failure named by the first file in it.
    QStringList folders;
    for (size_t k = 0; k < files.size(); ++k) {
        const QString folder = QFileInfo(files[k]->target_).absolutePath();
        if (folders.contains(folder))
            continue;
        folders.append(folder);
        if (QString reason; failed < 0 && !syncFolder(folder, &reason)) {
            files[k]->fail(reason);
            failed = int(k);
        }
    }
    if (failed >= 0) {
        setError(error, files[size_t(failed)]->error_);
        for (ReplacedFile* file : files)
            file->putBack();
        for (const QString& folder : std::as_const(folders))
            syncFolder(folder);
    }
    for (ReplacedFile* file : files) {
        file->placed_ = false;
        file->discard();
    }
    return failed;
}

} // namespace base
