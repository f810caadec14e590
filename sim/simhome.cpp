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

// No one to ask in a console run: messages are collected, questions are answered No.
class CollectedMessages : public base::Dialogs {
public:
    void message(const QString& text, const QString&, base::MessageIcon) override { texts.append(text); }
    bool askYesNo(const QString&, const QString&) override { return false; }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool print(const QTextDocument&) override { return false; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }

    QStringList texts;
};

} // namespace

bool prepareProgramFolder(const QString& folder, quint16 port, QString* error, QStringList* warnings) {
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot create the folder");
        return false;
    }
    clink::LinkState link;
    app::AppSettings settings;
    CollectedMessages messages;
    const app::LineScrambler scrambler;
    app::SettingsFiles files(link, settings, messages, scrambler, folder);
    files.LoadIniFiles();
    const qsizetype loadMessages = messages.texts.size();

    link.ConnectionType = clink::TcpIp;
    link.ControllerIpAddress = LoopbackAddress;
    link.ControllerIpPort = QString::number(port);
    const bool saved = files.SaveIniFile();

    if (warnings)
        *warnings = messages.texts.mid(0, loadMessages);
    if (!saved && error)
        *error = messages.texts.mid(loadMessages).join(QStringLiteral("; "));
    return saved;
}

} // namespace sim
