#include "base/textlines.h"

#include "base/cp1252.h"

#include <QFile>
#include <QFileInfo>
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
    if (!openRegularFile(file, QIODevice::ReadOnly, error))
        return false;
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

bool openRegularFile(QFile& file, QIODevice::OpenMode mode, QString* error) {
    if (const QFileInfo info(file.fileName()); info.exists() && !info.isFile()) {
        if (error)
            *error = NotARegularFileText;
        return false;
    }
    if (!file.open(mode)) {
        if (error)
            *error = file.errorString();
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
    QFile file(path);
    if (!openRegularFile(file, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered, error))
        return false;
    QByteArray bytes = joinLinesCrLf(lines);
    if (!endsWithLineEnd(path))
        bytes.prepend("\r\n");
    const qint64 before = file.size();
    if (file.write(bytes) == bytes.size() && file.flush())
        return true;
    if (error)
        *error = file.errorString();
    file.resize(before);
    return false;
}

bool writeTextLines(const QString& path, const QStringList& lines, QString* error) {
    return writeFileAtomically(path, joinLinesCrLf(lines), error);
}

} // namespace base
