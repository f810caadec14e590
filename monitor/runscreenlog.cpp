#include "monitor/runscreenlog.h"

#include "base/programfolder.h"
#include "base/textlines.h"

#include <QFile>

namespace monitor {

namespace {
constexpr QChar Quote = u'"';
constexpr QChar Comma = u',';
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
    return base::appendFileAtomically(path(), base::joinLinesCrLf(rows), error);
}

bool RundownLogFile::clear(QString* error) {
    if (!QFile::exists(path()))
        return true;
    return base::writeTextLines(path(), {row(Header)}, error);
}

std::optional<QList<QStringList>> RundownLogFile::read(QString* error) {
    QStringList lines;
    if (!base::readTextLines(path(), lines, error))
        return std::nullopt;
    QList<QStringList> rows;
    for (const QString& line : lines) {
        if (!line.trimmed().isEmpty())
            rows.append(fieldsOf(line));
    }
    return rows;
}

} // namespace monitor
