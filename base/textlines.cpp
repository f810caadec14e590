#include "base/textlines.h"

#include "base/cp1252.h"

#include <QFile>
#include <QSaveFile>

namespace base {

QStringList splitLines(const QByteArray& bytes) {
    QStringList lines;
    QByteArray current;
    bool pending = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.append(fromCp1252(current));
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            continue;
        }
        current.append(c);
        pending = true;
    }
    if (pending)
        lines.append(fromCp1252(current));
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

bool readTextLines(const QString& path, QStringList& lines, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    lines = splitLines(bytes);
    return true;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool appendFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QByteArray whole;
    QFile file(path);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly)) {
            if (error)
                *error = file.errorString();
            return false;
        }
        whole = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            if (error)
                *error = file.errorString();
            return false;
        }
        file.close();
    }
    return writeFileAtomically(path, whole + bytes, error);
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error) {
    return writeFileAtomically(path, joinLinesCrLf(lines), error);
}

} // namespace base
