#include "monitor/runscreenlog.h"

#include "base/cp1252.h"
#include "base/programfolder.h"
#include "base/textlines.h"

#include <QFile>

namespace monitor {

namespace {
constexpr char Quote = '"';
constexpr char Comma = ',';

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
        quoted.append(QLatin1Char(Quote) + f + QLatin1Char(Quote));
    return quoted.join(QLatin1Char(Comma));
}

QStringList RundownLogFile::fieldsOf(QByteArrayView row) {
    // Commas inside quotes belong to the field; the quotes themselves and blanks around a field go.
    QStringList fields;
    QByteArray field;
    bool quoted = false;
    const auto endField = [&] {
        fields.append(base::fromCp1252(field).trimmed());
        field.clear();
    };
    for (const char c : row) {
        if (c == Quote) {
            quoted = !quoted;
        } else if (c == Comma && !quoted) {
            endField();
            if (fields.size() == Fields)
                return fields;
        } else if (field.size() < LongestField && !(field.isEmpty() && base::isBlankByte(c))) {
            field.append(c);
        }
    }
    endField();
    while (fields.size() < Fields)
        fields.append(QString());
    return fields;
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

QStringList RundownLogRows::fields(qsizetype index) const {
    if (index < 0 || index >= size())
        return {};
    return RundownLogFile::fieldsOf(rows_.bytesAt(index));
}

} // namespace monitor
