#pragma once
// Text-file lines: read with CR LF, CR or LF as terminator; written with CR LF in Windows-1252.

#include "base/replacedfile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <span>
#include <vector>

class QFile;

namespace base {

// Opens file in mode unless its name stands for something other than a regular file: opening a FIFO could
// wait for the other end, and a device could never end. A missing file is left to the mode (created for
// writing). False with the reason in error.
bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error = nullptr);

// The bytes that read as white space within a line: tab, vertical tab, form feed, blank, no-break space.
constexpr bool isBlankByte(char c) {
    return c == '\t' || c == '\v' || c == '\f' || c == ' ' || c == '\xA0';
}

// The lines of a text held as its bytes, read in one pass and kept once, with where every LinesPerMark-th
// line begins. A line is found from the mark before it (or from the line found last, so lines asked for in
// turn cost one step each) and decoded when asked for, so the lines of a file cost about the file's own
// size, whether they are long or a byte each. CR LF, a lone CR and a lone LF each end a line; a final line
// without an end is kept; an empty text has no lines. With Blank::Skipped, lines of blanks only
// (isBlankByte) and empty lines are left out.
class TextLines {
public:
    // Lines between two marks: few enough that finding a line from its mark stays cheap.
    static constexpr qsizetype LinesPerMark = 64;
    enum class Blank { Kept, Skipped };

    TextLines() = default;
    explicit TextLines(QByteArray bytes, Blank blank = Blank::Kept);

    qsizetype size() const { return count_; }
    bool isEmpty() const { return count_ == 0; }
    // Line index without its end: its bytes, or decoded from Windows-1252; empty past the end.
    QByteArrayView bytesAt(qsizetype index) const;
    QString at(qsizetype index) const;
    // The bytes of the longest line.
    qsizetype longest() const { return longest_; }

private:
    // A line: where it begins, where its end (or the text) begins, and where the line after it may begin.
    struct Span {
        qsizetype start;
        qsizetype end;
        qsizetype next;
    };
    // The first line from byte at on (one that is not blank, with Blank::Skipped); all three the size of
    // the text when there is none. Defined here so that a pass over the lines runs without calls.
    Span lineFrom(qsizetype at) const {
        const char* data = bytes_.constData();
        const qsizetype size = bytes_.size();
        while (at < size) {
            const qsizetype start = at;
            while (at < size && data[at] != '\r' && data[at] != '\n')
                ++at;
            const qsizetype end = at;
            // A CR LF pair is one line end.
            const qsizetype next =
                end == size ? end
                            : end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
            if (blank_ == Blank::Kept || !std::all_of(data + start, data + end, isBlankByte))
                return {start, end, next};
            at = next;
        }
        return {size, size, size};
    }
    Span line(qsizetype index) const;

public:
    // Goes through the lines in turn, each as its bytes without its end:
    //   for (const QByteArrayView line : lines) ...
    class const_iterator {
    public:
        QByteArrayView operator*() const {
            return QByteArrayView(lines_->bytes_.constData() + span_.start, span_.end - span_.start);
        }
        const_iterator& operator++() {
            span_ = lines_->lineFrom(span_.next);
            return *this;
        }
        bool operator==(const const_iterator& other) const { return span_.start == other.span_.start; }

    private:
        friend class TextLines;
        const_iterator(const TextLines& lines, qsizetype at) : lines_(&lines), span_(lines.lineFrom(at)) {}
        const TextLines* lines_;
        Span span_;
    };
    const_iterator begin() const { return const_iterator(*this, 0); }
    const_iterator end() const { return const_iterator(*this, bytes_.size()); }

private:
    QByteArray bytes_;
    Blank blank_ = Blank::Kept;
    qsizetype count_ = 0;
    qsizetype longest_ = 0;
    std::vector<qsizetype> marks_;
    // The line found last: lines are mostly asked for in turn, and the next one is found from it.
    mutable qsizetype lastIndex_ = -1;
    mutable Span last_{0, 0, 0};
};

// Splits text bytes into lines (TextLines' rule).
QStringList splitLines(const QByteArray& bytes);

// Joins lines as the program's text files hold them: each line followed by CR LF, Windows-1252 bytes.
QByteArray joinLinesCrLf(const QStringList& lines);

// Reads a whole text file into lines. Returns false (leaves lines untouched and fills error) when it cannot
// be opened or read, or is not a regular file.
bool readTextLines(const QString& path, TextLines& lines, QString* error = nullptr);

// Writes a file as a ReplacedFile: a text file a line at a time, each line followed by CR LF in
// Windows-1252, in blocks: the lines are never all in memory at once, and the old file stays whole until
// commit() has the new one complete and on the disk.
class TextFileWriter {
public:
    explicit TextFileWriter(const QString& path);
    // False, with the reason, when the file cannot be written.
    bool open(QString* error = nullptr);
    void add(const QString& line);
    // A line already in Windows-1252 bytes, followed by CR LF.
    void addLine(QByteArrayView bytes);
    // Bytes as they are, after the lines added so far.
    void addBytes(QByteArrayView bytes);
    // True when every line was written and the new file took the old one's place; else the old file stays.
    bool commit(QString* error = nullptr);

private:
    bool flush();

    ReplacedFile file_;
    QByteArray block_;
};

// Writes lines to path atomically (the old file stays whole until the new one is complete).
// On failure returns false and fills error.
bool writeTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

// Writes bytes to path atomically.
bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A file's new bytes, among files written together.
struct FileBytes {
    QString path;
    QByteArray bytes;
};
// Writes files that make one document together (commitTogether): all new, or on any failure all as they
// were. False with the system's reason and, in failedPath, the file it concerns.
bool writeFilesTogether(std::span<const FileBytes> files, QString* error = nullptr,
                        QString* failedPath = nullptr);

// What an append that failed adds to its reason when the rows it wrote cannot be cut back.
inline const QString PartRowLeftText = QStringLiteral("Part Of A Row Stays At The End Of The File");

// Adds lines, each followed by CR LF, at the end of a text file (created when missing), in place: the file
// is opened for appending, the new lines are written whole and synced to the disk, and the bytes before
// them are never read or written again, so the cost does not grow with the file. An append that fails is
// cut back (a file it created is removed), leaving the earlier rows as they were; when the cut-back fails
// too, the reason says so (PartRowLeftText and its own reason). A file whose last line has no end (a write
// cut short) gets CR LF first, so the new lines start on a line of their own.
bool appendTextLines(const QString& path, const QStringList& lines, QString* error = nullptr);

} // namespace base
