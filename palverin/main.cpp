// Palverin: service and configuration program for the tightening controller.
#include "app/appcontext.h"
#include "app/frmmain.h"
#include "app/startup.h"

#include <QApplication>
#include <QLockFile>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Palverin"));
    QApplication::setApplicationVersion(QStringLiteral(PALVERIN_VERSION));

    // A second copy ends at once, silently.
    QLockFile lock(app::singleInstanceLockPath());
    if (!lock.tryLock(0))
        return 0;

    app::AppContext ctx(app::productionSeams());
    app::FrmMain main(ctx);
    app::startProgram(ctx, main, QApplication::applicationVersion());
    return QApplication::exec();
}
