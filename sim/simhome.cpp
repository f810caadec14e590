#include "sim/simhome.h"

#include "base/textlines.h"

#include <QDir>

namespace sim {

bool prepareProgramFolder(const QString& folder, quint16 port, QString* error) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the folder");
        return false;
    }
    // Link selection until the program's own settings files take over: type, address, port.
    const QStringList lines = {QStringLiteral("2"), QStringLiteral("127.0.0.1"), QString::number(port)};
    return base::writeTextLines(QDir(folder).filePath(QStringLiteral("link.txt")), lines, error);
}

} // namespace sim
