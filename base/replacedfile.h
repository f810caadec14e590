#pragma once
// Files written so that a failure loses nothing. Every write is checked to its last byte and the data are
// synced to the disk before a file counts as written: a full disk, or one that fails while it writes back,
// is reported with the system's reason ("No space left on device"), never found at the next start.

#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace base {

// The name the new contents of a file have beside it while they are put in its place: path + ".saving".
// Only this program makes such files, so one left by a save that was cut off (the program killed) is
// removed by the next save of the same file.
QString savingFileName(const QString& path);

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
// rename, with the old file's permissions. Until commit() succeeds the old file is untouched: a failed
// write, sync or rename leaves it byte for byte and discards the new contents. A symbolic link is followed:
// the file it names is replaced.
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
    bool fail(const QString& reason);
    void discard();

    QString target_;
    QFile file_;
    bool named_ = false;
    QString error_;
};

} // namespace base
