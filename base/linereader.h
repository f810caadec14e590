#pragma once
// Reading text files no further than their format needs: a reader that hands out one line at a time, and
// an open that refuses what cannot be a file of the expected kind before anything is read.

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;
class QIODevice;

namespace base {

// Opens file for reading when it is a regular file of at most maxBytes. A folder, a FIFO or a device
// (whose reading could wait for a writer or never end) and a file larger than its format can hold are
// refused unread; tooLarge tells the second case apart. False with the reason in error.
bool openBoundedFile(QFile& file, qint64 maxBytes, QString* error = nullptr, bool* tooLarge = nullptr);

// Hands out the lines of a device one by one, reading it in blocks as they are needed. CR LF, a lone CR
// and a lone LF each end a line; a final line without an end is kept; the bytes are Windows-1252.
class LineReader {
public:
    explicit LineReader(QIODevice& device);

    // The next line without its end; nothing at the end of the device or when a read failed (failed()).
    std::optional<QString> next();
    // Passes over the next line without decoding it; false at the end or on a failed read.
    bool skip();
    bool failed() const { return failed_; }

private:
    std::optional<QByteArray> nextBytes();
    bool fill();

    QIODevice& device_;
    QByteArray buffer_;
    qsizetype at_ = 0;
    // The last line ended in CR: an LF right after it belongs to that end.
    bool afterCr_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
};

} // namespace base
