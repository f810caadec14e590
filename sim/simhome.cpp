#include "sim/simhome.h"

#include "app/linescrambler.h"
#include "app/settingsfiles.h"
#include "base/dialogs.h"
#include "link/linkstate.h"

#include <QDir>
#include <QStringList>

namespace sim {

namespace {

const QString LoopbackAddress = QStringLiteral("127.0.0.1");

} // namespace

bool prepareProgramFolder(const QString& folder, quint16 port, QString* error, QStringList* warnings) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the folder");
        return false;
    }
    clink::LinkState link;
    app::AppSettings settings;
    // No one to ask in a console run.
    base::UnattendedDialogs dialogs;
    const app::LineScrambler scrambler;
    app::SettingsFiles files(link, settings, dialogs, scrambler, folder);
    files.LoadIniFiles();
    const qsizetype loadMessages = dialogs.messages.size();

    link.ConnectionType = clink::TcpIp;
    link.ControllerIpAddress = LoopbackAddress;
    link.ControllerIpPort = QString::number(port);
    const bool saved = files.SaveIniFile();

    if (warnings)
        *warnings = dialogs.messages.mid(0, loadMessages);
    if (!saved && error)
        *error = dialogs.messages.mid(loadMessages).join(QStringLiteral("; "));
    return saved;
}

} // namespace sim
