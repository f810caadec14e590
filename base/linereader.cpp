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

LineReader::LineReader(QIODevice& device) : device_(device) {}

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
            QByteArray line = buffer_.mid(at_, i - at_);
            at_ = i + 1;
            afterCr_ = c == '\r';
            return line;
        }
        const qsizetype pending = buffer_.size() - at_;
        if (!fill()) {
            if (failed_ || pending == 0)
                return std::nullopt;
            QByteArray line = buffer_.mid(at_);
            at_ = buffer_.size();
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

} // namespace base
