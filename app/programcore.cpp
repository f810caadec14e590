#include "app/programcore.h"

#include "base/torque.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>

namespace app {

ProgramCore::ProgramCore(clink::LinkState& link, base::Dialogs& dialogs, QString folder,
                         LineScrambler scrambler)
    : scrambler(std::move(scrambler)),
      settingsFiles(link, settings, dialogs, this->scrambler, std::move(folder)),
      login(access, settings, settingsFiles, dialogs) {}

bool ProgramCore::FileExists(const QString& path) {
    if (!QFileInfo(path).isFile())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

void ProgramCore::BuildAccessCode() {
    access.TodaysPassword = accessCodeForDate(QDate::currentDate());
}

double ProgramCore::ConvertTorque(double value, int fromUnits, int toUnits) {
    return base::ConvertTorque(value, fromUnits, toUnits);
}

} // namespace app
