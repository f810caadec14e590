#include "app/palverin2006.h"

#include "base/torque.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

namespace app {

Palverin2006::Palverin2006(clink::LinkState& link, base::Dialogs& dialogs, QString folder,
                           LineScrambler scrambler)
    : scrambler(std::move(scrambler)),
      settingsFiles(link, settings, dialogs, this->scrambler, std::move(folder)),
      login(access, settings, settingsFiles, dialogs) {}

bool Palverin2006::FileExists(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

void Palverin2006::BuildAccessCode() {
    access.TodaysPassword = accessCodeForDate(QDate::currentDate());
}

double Palverin2006::ConvertTorque(double value, int fromUnits, int toUnits) {
    return base::ConvertTorque(value, fromUnits, toUnits);
}

} // namespace app
