#include "base/replacedfile.h"

#include "base/textlines.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace base {

namespace {
const QString SavingSuffix = QStringLiteral(".saving");
// A new file's mode before the umask takes its part, as for any file the program creates.
constexpr mode_t NewFileMode = 0666;

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

bool systemFailure(QString* error) {
    setError(error, qt_error_string(errno));
    return false;
}
} // namespace

QString savingFileName(const QString& path) {
    return path + SavingSuffix;
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
    return ::fdatasync(file.handle()) == 0 || systemFailure(error);
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
    if (info.exists() && !info.isFile()) {
        setError(error, NotARegularFileText);
        return false;
    }
    const QByteArray target = QFile::encodeName(target_);
    if (info.exists() && ::access(target.constData(), W_OK) != 0)
        return systemFailure(error);
    // What a save cut off before its rename left behind.
    const QString saving = savingFileName(target_);
    if (QFileInfo(saving).isFile())
        QFile::remove(saving);
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

bool ReplacedFile::commit(QString* error) {
    QString reason;
    if (error_.isEmpty() && !syncToDisk(file_, &reason))
        fail(reason);
    const QByteArray saving = QFile::encodeName(savingFileName(target_));
    // An unnamed file gets the saving name first: a file can be renamed over another, not linked.
    if (error_.isEmpty() && !named_) {
        const QByteArray handle = "/proc/self/fd/" + QByteArray::number(file_.handle());
        if (::linkat(AT_FDCWD, handle.constData(), AT_FDCWD, saving.constData(), AT_SYMLINK_FOLLOW) == 0)
            named_ = true;
        else
            fail(qt_error_string(errno));
    }
    if (error_.isEmpty() && std::rename(saving.constData(), QFile::encodeName(target_).constData()) != 0)
        fail(qt_error_string(errno));
    if (error_.isEmpty()) {
        named_ = false;
        file_.close();
        return true;
    }
    setError(error, error_);
    discard();
    return false;
}

void ReplacedFile::discard() {
    if (file_.isOpen())
        file_.close();
    if (named_)
        QFile::remove(savingFileName(target_));
    named_ = false;
}

} // namespace base
