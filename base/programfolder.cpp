#include "base/programfolder.h"

#include <QDir>
#include <QStandardPaths>

namespace base {

QString programFolder() {
    QString folder = qEnvironmentVariable("PALVERIN_HOME");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return folder;
}

QString programFile(const QString& windowsPath) {
    QString name = windowsPath;
    name.replace(u'/', u'\\');
    const qsizetype slash = name.lastIndexOf(u'\\');
    if (slash >= 0)
        name = name.mid(slash + 1);
    if (name.size() >= 2 && name[1] == u':')
        name = name.mid(2);
    return QDir(programFolder()).filePath(name);
}

} // namespace base
