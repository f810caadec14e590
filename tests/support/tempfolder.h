#pragma once
// A temporary program folder for one test: $PALVERIN_HOME points at it while the object lives.

#include "base/textlines.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace testsupport {

// The bytes of a file, none when it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines of a text file as the program's readers split them.
inline QStringList fileLines(const QString& path) {
    return base::splitLines(fileBytes(path));
}

class TempProgramFolder {
public:
    TempProgramFolder() : old_(qgetenv("PALVERIN_HOME")) { qputenv("PALVERIN_HOME", dir_.path().toUtf8()); }
    ~TempProgramFolder() {
        if (old_.isEmpty())
            qunsetenv("PALVERIN_HOME");
        else
            qputenv("PALVERIN_HOME", old_);
    }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QByteArray read(const QString& name) const { return fileBytes(file(name)); }
    bool write(const QString& name, const QByteArray& bytes) const {
        QFile f(file(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};

} // namespace testsupport
