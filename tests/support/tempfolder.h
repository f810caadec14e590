#pragma once
// A temporary program folder for one test: $PALVERIN_HOME points at it while the object lives.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace testsupport {

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
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool write(const QString& name, const QByteArray& bytes) const {
        QFile f(file(name));
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    }

private:
    QTemporaryDir dir_;
    QByteArray old_;
};

} // namespace testsupport
