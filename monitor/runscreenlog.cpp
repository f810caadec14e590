#include "monitor/runscreenlog.h"

#include "base/cp1252.h"
#include "base/programfolder.h"
#include "base/textlines.h"

#include <QFile>

namespace monitor {

namespace {
constexpr QChar Quote = u'"';
constexpr QChar Comma = u',';

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// The bytes that read as white space: tab, vertical tab, form feed, blank and the no-break space.
bool isBlank(char c) {
    return c == '\t' || c == '\v' || c == '\f' || c == ' ' || c == '\xA0';
}
} // namespace

const QStringList RundownLogFile::Header = {
    QStringLiteral("Time"),        QStringLiteral("Date"),        QStringLiteral("Final Tq"),
    QStringLiteral("Tq Target"),   QStringLiteral("Tq Hi Limit"), QStringLiteral("Tq Lo Limit"),
    QStringLiteral("Final Angle"), QStringLiteral("Angle Hi"),    QStringLiteral("Angle Lo"),
    QStringLiteral("Result"),      QStringLiteral("Units"),       QStringLiteral("BarCode"),
    QStringLiteral("PSet")};

QString RundownLogFile::path() {
    return base::programFile(WindowsPath);
}

QString RundownLogFile::row(const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields)
        quoted.append(Quote + f + Quote);
    return quoted.join(Comma);
}

QStringList RundownLogFile::fieldsOf(const QString& row) {
    // Commas inside quotes belong to the field; the quotes themselves and blanks around a field go.
    QStringList fields;
    QString field;
    bool quoted = false;
    for (const QChar c : row) {
        if (c == Quote) {
            quoted = !quoted;
        } else if (c == Comma && !quoted) {
            fields.append(field.trimmed());
            field.clear();
        } else {
            field.append(c);
        }
    }
    fields.append(field.trimmed());
    while (fields.size() < Fields)
        fields.append(QString());
    return fields.mid(0, Fields);
}

bool RundownLogFile::append(const QStringList& fields, QString* error) {
    QStringList rows;
    if (!QFile::exists(path()))
        rows.append(row(Header));
    rows.append(row(fields));
    return base::appendTextLines(path(), rows, error);
}

bool RundownLogFile::clear(QString* error) {
    if (!QFile::exists(path()))
        return true;
    return base::writeTextLines(path(), {row(Header)}, error);
}

std::optional<RundownLogRows> RundownLogFile::read(QString* error) {
    QFile file(path());
    if (!base::openRegularFile(file, QIODevice::ReadOnly, error))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return RundownLogRows(std::move(bytes));
}

RundownLogRows::RundownLogRows(QByteArray bytes) : bytes_(std::move(bytes)) {
    for (Span span = rowFrom(0); span.start < bytes_.size(); span = rowFrom(span.end + 1)) {
        if (count_ % RowsPerMark == 0)
            marks_.push_back(span.start);
        ++count_;
    }
}

RundownLogRows::Span RundownLogRows::rowFrom(qsizetype at) const {
    // A row begins at its first byte that is not a line end; rows of blanks only are left out.
    const char* data = bytes_.constData();
    const qsizetype size = bytes_.size();
    while (at < size) {
        const qsizetype start = at;
        bool blank = true;
        while (at < size && !isLineEnd(data[at])) {
            blank = blank && isBlank(data[at]);
            ++at;
        }
        if (!blank)
            return {start, at};
        ++at;
    }
    return {size, size};
}

RundownLogRows::Span RundownLogRows::row(qsizetype index) const {
    // From the row found last when it lies between the mark and the row, else from the mark.
    const qsizetype mark = index / RowsPerMark;
    qsizetype at = mark * RowsPerMark;
    Span span = last_;
    if (lastIndex_ >= at && lastIndex_ <= index)
        at = lastIndex_;
    else
        span = rowFrom(marks_[std::size_t(mark)]);
    while (at < index) {
        span = rowFrom(span.end + 1);
        ++at;
    }
    lastIndex_ = index;
    last_ = span;
    return span;
}

QStringList RundownLogRows::fields(qsizetype index) const {
    if (index < 0 || index >= size())
        return {};
    const Span span = row(index);
    return RundownLogFile::fieldsOf(base::fromCp1252(bytes_.mid(span.start, span.end - span.start)));
}

} // namespace monitor
