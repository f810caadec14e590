#pragma once
// Files written so that a failure loses nothing. Every write is checked to its last byte and the data are
// synced to the disk before a file counts as written, and the folder after the file took its place: a full
// disk, or one that fails while it writes back, is reported with the system's reason ("No space left on
// device"), never found at the next start. A call the system interrupted (EINTR) is made again.

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <cerrno>
#include <span>

namespace base {

// Why a folder, a FIFO or a device is not read or written as a file.
inline const QString NotARegularFileText = QStringLiteral("Not a regular file");

// The names beside a file while it is replaced: its new contents (path + ".saving") and its old ones, kept
// until the new file stands on the disk (path + ".kept"). Only this program makes such files, so one left by
// a save that was cut off (the program killed) is removed by the next save of the same file.
QString savingFileName(const QString& path);
QString keptFileName(const QString& path);

// Makes a system call again while the system interrupts it (EINTR), as network and user-space file systems
// do; the call's result.
template <class Call> int uninterrupted(Call call) {
    int result = 0;
    do
        result = call();
    while (result == -1 && errno == EINTR);
    return result;
}

// A failure text followed, on a line of its own, by the file and the system's reason.
QString notWrittenText(const QString& text, const QString& path, const QString& reason);

// Writes bytes whole to an open file, in as many writes as it takes. False with the system's reason: a
// write that took part of the bytes is asked again for the rest, and that one says why it stopped.
bool writeWhole(QFileDevice& file, QByteArrayView bytes, QString* error = nullptr);
// Has the system put the file's data on the disk: a disk that fails while writing back reports it here.
// False with the system's reason.
bool syncToDisk(QFileDevice& file, QString* error = nullptr);

// A file replaced whole. The new contents go to a file of their own in the same folder (unnamed where the
// file system has such files, else the saving name), are synced, then take the old file's place in one
// rename, with the old file's permissions, and the folder is synced. Until commit() succeeds the old file
// stays: a failed write, sync or rename leaves it byte for byte and discards the new contents. A symbolic
// link is followed: the file it names is replaced.
class ReplacedFile {
public:
    explicit ReplacedFile(const QString& path);
    ~ReplacedFile();
    ReplacedFile(const ReplacedFile&) = delete;
    ReplacedFile& operator=(const ReplacedFile&) = delete;

    // False, with the reason, when the new contents cannot be started (an existing target that is not a
    // regular file or may not be written, a folder that is missing or may not be written).
    bool open(QString* error = nullptr);
    // False once any write has failed; the later ones are not tried.
    bool write(QByteArrayView bytes);
    // True when every write succeeded and the new file is in the old one's place; else the reason of the
    // first failure.
    bool commit(QString* error = nullptr);

private:
    friend int commitTogether(std::span<ReplacedFile* const> files, QString* error);

    bool fail(const QString& reason);
    bool failWithErrno();
    // The steps of a commit, each false with the reason once it failed.
    bool finish();
    bool keepOld();
    bool putInPlace();
    // Undoes putInPlace(): the kept old file, or none when there was none, is in the file's place again.
    void putBack();
    void discard();

    QString target_;
    QFile file_;
    bool existed_ = false; // the target stood when the new contents were started
    bool named_ = false;   // the saving name exists
    bool kept_ = false;    // the kept name holds the old file
    bool placed_ = false;  // the new file stands in the target's place
    QString error_;
};

// Files that make one document (a logic file and its batch table, the two settings files), each opened and
// written, replaced together: every new file is synced, every old one kept under its kept name, then the new
// ones take their places and their folders are synced. A failure at any step puts every old file back, so
// the files are all old or all new. -1 when all are in place; else the index of the file that failed, with
// the reason in error.
int commitTogether(std::span<ReplacedFile* const> files, QString* error = nullptr);

} // namespace base
