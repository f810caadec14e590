#pragma once
// Reading text files no further than their format needs: a reader that hands out one line at a time, and
// an open that refuses what cannot be a file of the expected kind before anything is read.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <limits>
#include <optional>

class QFile;
class QIODevice;

namespace base {

// Opens file for reading when it is a regular file of at most maxBytes. A folder, a FIFO or a device
// (whose reading could wait for a writer or never end) and a file larger than its format can hold are
// refused unread; tooLarge tells the second case apart. False with the reason in error.
bool openBoundedFile(QFile& file, qint64 maxBytes, QString* error = nullptr, bool* tooLarge = nullptr);

// Hands out the lines of a device one by one, reading it in blocks as they are needed. CR LF, a lone CR
// and a lone LF each end a line; a final line without an end is kept; the bytes are Windows-1252. A line
// longer than longestLine bytes is not gathered: the reader stops there (tooLong()).
class LineReader {
public:
    static constexpr qsizetype NoLimit = std::numeric_limits<qsizetype>::max();

    explicit LineReader(QIODevice& device, qsizetype longestLine = NoLimit);

    // The next line without its end; nothing at the end of the device, when a read failed (failed()) or at
    // a line that is too long (tooLong()).
    std::optional<QString> next();
    // Passes over the next line without decoding it; false at the end, on a failed read or a line too long.
    bool skip();
    // The lines handed out so far.
    qsizetype lineNumber() const { return lines_; }
    bool failed() const { return failed_; }
    bool tooLong() const { return tooLong_; }

private:
    std::optional<QByteArray> nextBytes();
    bool fill();

    QIODevice& device_;
    qsizetype longestLine_;
    qsizetype lines_ = 0;
    QByteArray buffer_;
    qsizetype at_ = 0;
    // The last line ended in CR: an LF right after it belongs to that end.
    bool afterCr_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
    bool tooLong_ = false;
};

// Reads at most count lines from the start of a text file, none longer than longestLine bytes; the rest
// of the file is never read. False, with the reason in error and lines untouched, when the file cannot be
// opened or read, is not a regular file, or one of those lines is too long (tooLong then tells so).
bool readFirstLines(const QString& path, qsizetype count, qsizetype longestLine, QStringList& lines,
                    QString* error = nullptr, bool* tooLong = nullptr);

} // namespace base
