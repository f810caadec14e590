#include "base/linereader.h"

#include "base/cp1252.h"
#include "base/textlines.h"

#include <QFile>

#include <algorithm>

namespace base {

namespace {
// Bytes taken from the device at a time.
constexpr qint64 BlockBytes = 64 * 1024;
const QString TooLargeText = QStringLiteral("The file is too large for its kind (%1 bytes, at most %2)");
const QString LineTooLongText = QStringLiteral("Line %1 is too long for its kind (at most %2 bytes)");
} // namespace

bool openBoundedFile(QFile& file, qint64 maxBytes, QString* error, bool* tooLarge) {
    if (tooLarge)
        *tooLarge = false;
    if (!openRegularFile(file, QIODevice::ReadOnly, error))
        return false;
    // The size of the open file: the name could have been replaced since it was looked at.
    if (const qint64 size = file.size(); size > maxBytes) {
        file.close();
        if (error)
            *error = TooLargeText.arg(size).arg(maxBytes);
        if (tooLarge)
            *tooLarge = true;
        return false;
    }
    return true;
}

LineReader::LineReader(QIODevice& device, qsizetype longestLine)
    : device_(device), longestLine_(longestLine) {}

bool LineReader::fill() {
    if (atEnd_ || failed_)
        return false;
    buffer_.remove(0, at_);
    at_ = 0;
    const QByteArray block = device_.read(BlockBytes);
    if (block.isEmpty()) {
        // A read error is told apart from the end by the device's own state.
        if (auto* file = qobject_cast<QFileDevice*>(&device_); file && file->error() != QFileDevice::NoError)
            failed_ = true;
        atEnd_ = true;
        return false;
    }
    buffer_ += block;
    return true;
}

std::optional<QByteArray> LineReader::nextBytes() {
    if (tooLong_)
        return std::nullopt;
    qsizetype scanned = at_;
    for (;;) {
        if (afterCr_ && at_ < buffer_.size()) {
            afterCr_ = false;
            if (buffer_.at(at_) == '\n') {
                ++at_;
                scanned = std::max(scanned, at_);
            }
        }
        const char* data = buffer_.constData();
        for (qsizetype i = std::max(scanned, at_); i < buffer_.size(); ++i) {
            const char c = data[i];
            if (c != '\r' && c != '\n')
                continue;
            if (i - at_ > longestLine_)
                break;
            QByteArray line = buffer_.mid(at_, i - at_);
            at_ = i + 1;
            afterCr_ = c == '\r';
            ++lines_;
            return line;
        }
        const qsizetype pending = buffer_.size() - at_;
        if (pending > longestLine_) {
            tooLong_ = true;
            return std::nullopt;
        }
        if (!fill()) {
            if (failed_ || pending == 0)
                return std::nullopt;
            QByteArray line = buffer_.mid(at_);
            at_ = buffer_.size();
            ++lines_;
            return line;
        }
        // fill() moved the unread bytes to the front; what was scanned stays scanned.
        scanned = pending;
    }
}

std::optional<QString> LineReader::next() {
    const std::optional<QByteArray> line = nextBytes();
    if (!line)
        return std::nullopt;
    return fromCp1252(*line);
}

bool LineReader::skip() {
    return nextBytes().has_value();
}

bool readFirstLines(const QString& path, qsizetype count, qsizetype longestLine, QStringList& lines,
                    QString* error, bool* tooLong) {
    QFile file(path);
    if (!openRegularFile(file, QIODevice::ReadOnly, error))
        return false;
    LineReader reader(file, longestLine);
    QStringList read;
    while (read.size() < count) {
        std::optional<QString> line = reader.next();
        if (!line)
            break;
        read.append(std::move(*line));
    }
    if (tooLong)
        *tooLong = reader.tooLong();
    if (reader.tooLong()) {
        if (error)
            *error = LineTooLongText.arg(reader.lineNumber() + 1).arg(longestLine);
        return false;
    }
    if (reader.failed()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lines = std::move(read);
    return true;
}

} // namespace base
