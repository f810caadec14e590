#include "base/textlines.h"

#include "base/cp1252.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

#include <unistd.h>

namespace base {

namespace {
// Bytes gathered before they are written to a file.
constexpr qsizetype WriteBlockBytes = 64 * 1024;

void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}
} // namespace

TextLines::TextLines(QByteArray bytes, Blank blank) : bytes_(std::move(bytes)), blank_(blank) {
    for (Span span = lineFrom(0); span.start < bytes_.size(); span = lineFrom(span.next)) {
        if (count_ % LinesPerMark == 0)
            marks_.push_back(span.start);
        ++count_;
        longest_ = std::max(longest_, span.end - span.start);
    }
}

TextLines::Span TextLines::line(qsizetype index) const {
    // The line after the one found last: the common case of lines taken in turn.
    if (index == lastIndex_ + 1 && lastIndex_ >= 0) {
        last_ = lineFrom(last_.next);
        lastIndex_ = index;
        return last_;
    }
    // From the line found last when it lies between the mark and the line, else from the mark.
    const qsizetype mark = index / LinesPerMark;
    qsizetype at = mark * LinesPerMark;
    Span span = last_;
    if (lastIndex_ >= at && lastIndex_ <= index)
        at = lastIndex_;
    else
        span = lineFrom(marks_[std::size_t(mark)]);
    while (at < index) {
        span = lineFrom(span.next);
        ++at;
    }
    lastIndex_ = index;
    last_ = span;
    return span;
}

QByteArrayView TextLines::bytesAt(qsizetype index) const {
    if (index < 0 || index >= count_)
        return {};
    const Span span = line(index);
    return QByteArrayView(bytes_.constData() + span.start, span.end - span.start);
}

QString TextLines::at(qsizetype index) const {
    return fromCp1252(bytesAt(index));
}

QStringList splitLines(const QByteArray& bytes) {
    const TextLines text(bytes);
    QStringList lines;
    lines.reserve(text.size());
    for (const QByteArrayView line : text)
        lines.append(fromCp1252(line));
    return lines;
}

QByteArray joinLinesCrLf(const QStringList& lines) {
    QByteArray out;
    for (const QString& line : lines) {
        out += toCp1252(line);
        out += "\r\n";
    }
    return out;
}

bool readTextLines(const QString& path, TextLines& lines, QString* error) {
    QFile file(path);
    if (!openRegularFile(file, QIODevice::ReadOnly, error))
        return false;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        setError(error, file.errorString());
        return false;
    }
    lines = TextLines(std::move(bytes));
    return true;
}

TextFileWriter::TextFileWriter(const QString& path) : file_(path) {
    block_.reserve(WriteBlockBytes);
}

bool TextFileWriter::open(QString* error) {
    return file_.open(error);
}

void TextFileWriter::add(const QString& line) {
    addLine(toCp1252(line));
}

void TextFileWriter::addLine(QByteArrayView bytes) {
    static constexpr char LineEnd[] = {'\r', '\n'};
    const qsizetype at = block_.size();
    block_.resize(at + bytes.size() + qsizetype(sizeof LineEnd));
    char* to = block_.data() + at;
    std::copy(bytes.cbegin(), bytes.cend(), to);
    std::copy(std::begin(LineEnd), std::end(LineEnd), to + bytes.size());
    if (block_.size() >= WriteBlockBytes)
        flush();
}

void TextFileWriter::addBytes(QByteArrayView bytes) {
    if (flush())
        file_.write(bytes);
}

bool TextFileWriter::flush() {
    const bool written = file_.write(block_);
    // Emptied, not released: the next block goes into the same room.
    block_.resize(0);
    return written;
}

bool TextFileWriter::commit(QString* error) {
    flush();
    return file_.commit(error);
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const FileBytes file[] = {{path, bytes}};
    return writeFilesTogether(file, error);
}

bool writeFilesTogether(std::span<const FileBytes> files, QString* error, QString* failedPath) {
    std::vector<std::unique_ptr<ReplacedFile>> replaced;
    std::vector<ReplacedFile*> written;
    const auto failedAt = [&](size_t k) {
        if (failedPath)
            *failedPath = files[k].path;
        return false;
    };
    for (size_t k = 0; k < files.size(); ++k) {
        replaced.push_back(std::make_unique<ReplacedFile>(files[k].path));
        if (!replaced.back()->open(error))
            return failedAt(k);
        replaced.back()->write(files[k].bytes);
        written.push_back(replaced.back().get());
    }
    const int failed = commitTogether(written, error);
    return failed < 0 || failedAt(size_t(failed));
}

bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error) {
    if (const QFileInfo info(file.fileName()); info.exists() && !info.isFile()) {
        setError(error, NotARegularFileText);
        return false;
    }
    if (!file.open(mode)) {
        setError(error, file.errorString());
        return false;
    }
    return true;
}

namespace {
// True when the file's last byte ends a line (or the file is empty or missing).
bool endsWithLineEnd(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0)
        return true;
    if (!file.seek(file.size() - 1))
        return true;
    char last = 0;
    return !file.getChar(&last) || last == '\r' || last == '\n';
}
} // namespace

bool appendTextLines(const QString& path, const QStringList& lines, QString* error) {
    const bool existed = QFileInfo::exists(path);
    QFile file(path);
    if (!openRegularFile(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, error))
        return false;
    QByteArray bytes = joinLinesCrLf(lines);
    if (!endsWithLineEnd(path))
        bytes.prepend("\r\n");
    const qint64 before = file.size();
    if (writeWhole(file, bytes, error) && syncToDisk(file, error))
        return true;
    // What this append wrote goes again, or the user is told that part of a row stays: the next append
    // starts on a line of its own after it.
    QString reason;
    if (existed && uninterrupted([&] { return ::ftruncate(file.handle(), before); }) != 0)
        reason = qt_error_string(errno);
    else if (!existed && !file.remove())
        reason = file.errorString();
    if (!reason.isEmpty() && error)
        *error += QStringLiteral("\r\n") + PartRowLeftText + QStringLiteral(": ") + reason;
    return false;
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error) {
    TextFileWriter file(path);
    if (!file.open(error))
        return false;
    for (const QString& line : lines)
        file.add(line);
    return file.commit(error);
}

} // namespace base
