#include "app/ui/startup.h"

#include "app/accesslevels.h"
#include "app/programlink.h"
#include "app/ui/appcontext.h"
#include "app/ui/frmmain.h"
#include "base/programfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace app {

namespace {
// Length of the folder hash in the lock file's name.
constexpr int LockNameHashLength = 16;
} // namespace

QString singleInstanceLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    const QByteArray hash = QCryptographicHash::hash(QDir(base::programFolder()).absolutePath().toUtf8(),
                                                     QCryptographicHash::Sha1)
                                .toHex()
                                .left(LockNameHashLength);
    return QDir(folder).filePath(QStringLiteral("palverin-%1.lock").arg(QString::fromLatin1(hash)));
}

void startProgram(AppContext& ctx, FrmMain& main, const QString& version) {
    // The main window first, with the menus of the level every start gives: a box of the settings or of
    // the link stands over it as the user will have it, not over an empty screen or another level's menus.
    main.setWindowTitle(mainWindowCaption(version));
    main.applyMenuState(UserLevel);
    main.show();
    ProgramLink link(ctx.services);
    link.prepare();
    const bool linked = link.open();
    // The connection window opens in the main window's work area, which has its size only once the main
    // window is shown: opened before, it would be squeezed to its title bar.
    if (!linked)
        ctx.windows.open(wnd::frmSetConnection);
}

} // namespace app
