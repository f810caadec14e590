#include "pset/psetfile.h"

#include "base/cp1252.h"
#include "base/numbertext.h"
#include "base/textlines.h"

#include <QFile>

#include <algorithm>

namespace pset {

using app::PsetField;
using app::PsetRecord;

QByteArray encodePsetFile(const app::PsetTable& table) {
    QByteArray bytes;
    bytes.reserve(PsetFileBytes);
    for (int k = 1; k <= PsetFileRecords; ++k)
        for (int f = 0; f < PsetRecord::Fields; ++f)
            bytes += base::toCp1252(table[k].text(PsetField(f)));
    return bytes;
}

void decodePsetFile(const QByteArray& bytes, app::PsetTable& table) {
    for (int k = 1; k <= PsetFileRecords; ++k) {
        PsetRecord record;
        qsizetype at = qsizetype(k - 1) * PsetRecord::Bytes;
        for (int f = 0; f < PsetRecord::Fields; ++f) {
            const int width = PsetRecord::width(PsetField(f));
            if (at < bytes.size())
                record.setText(PsetField(f), base::fromCp1252(bytes.mid(at, width)));
            at += width;
        }
        table[k] = record;
    }
}

bool savePsetFile(const QString& path, const app::PsetTable& table, QString* error) {
    return base::writeFileAtomically(path, encodePsetFile(table), error);
}

bool loadPsetFile(const QString& path, app::PsetTable& table, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // Whole records and a partial last one are read; an empty file holds no project.
    const QByteArray bytes = file.read(PsetFileBytes);
    if (file.error() != QFileDevice::NoError || bytes.isEmpty()) {
        if (error)
            *error = bytes.isEmpty() && file.error() == QFileDevice::NoError
                         ? QStringLiteral("File Contains No Parameter Sets: ") + path
                         : file.errorString();
        return false;
    }
    app::PsetTable read = table;
    decodePsetFile(bytes, read);
    // A project file begins with its Pset count: anything else is another kind of file or a damaged one.
    if (!base::isNumberText(read[1].text(PsetField::NumPsets))) {
        if (error)
            *error = QStringLiteral("File Corrupt Or File Type Incorrect: ") + path;
        return false;
    }
    // A file cut short inside the Psets its first record counts has lost some of them: it replaces nothing.
    const int psets = std::clamp(read.count(), 1, PsetFileRecords);
    if (bytes.size() < qsizetype(psets) * PsetRecord::Bytes) {
        if (error)
            *error = QStringLiteral("File Ends Before Parameter Set %1 Is Complete: %2")
                         .arg(bytes.size() / PsetRecord::Bytes + 1)
                         .arg(path);
        return false;
    }
    table = read;
    return true;
}

} // namespace pset
