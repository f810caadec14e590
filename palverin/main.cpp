// Palverin: service and configuration program for the tightening controller. This is the composition root:
// it builds the production seams and the services, installs the windows and starts the program.
#include "app/appservices.h"
#include "app/ui/appcontext.h"
#include "app/ui/frmmain.h"
#include "app/ui/frmvalue.h"
#include "app/ui/qtdialogs.h"
#include "app/ui/startup.h"
#include "app/ui/textviewer.h"
#include "ladder/laddermodule.h"
#include "logicio/logicmodule.h"
#include "palverin/installwindows.h"
#include "pset/psetmodule.h"
#include "service/servicemodule.h"

#include <QApplication>
#include <QLockFile>

namespace {

// Qt dialogs, the Qt event pump, the steady clock, the real frmValue and the text viewer.
app::AppSeams productionSeams() {
    app::AppSeams seams;
    auto dialogs = std::make_unique<app::QtDialogs>();
    seams.textViewer = std::make_unique<app::QtTextViewer>(*dialogs);
    seams.dialogs = std::move(dialogs);
    seams.pump = std::make_unique<base::QtEventPump>();
    seams.clock = std::make_unique<clink::SteadyLinkClock>();
    seams.valuePrompt = std::make_unique<app::QtValueEntryPrompt>();
    return seams;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Palverin"));
    QApplication::setApplicationVersion(QStringLiteral(PALVERIN_VERSION));

    // A second copy ends at once, silently.
    QLockFile lock(app::singleInstanceLockPath());
    if (!lock.tryLock(0))
        return 0;

    app::AppServices services(productionSeams());
    // What the windows are given: the services without the link, and the window registry.
    app::AppContext ctx(services);
    // Feature modules, in the order of their dependencies.
    pset::PsetModule psetModule(services);
    ladder::LadderModule ladderModule(services);
    logicio::LogicModule logicModule(services);
    service::ServiceModule serviceModule(services, {.logic = logicModule, .ladder = ladderModule});
    palverin::installWindows(
        ctx, {.service = serviceModule, .pset = psetModule, .logicio = logicModule, .ladder = ladderModule});
    app::FrmMain main(ctx);
    app::startProgram(ctx, main, QApplication::applicationVersion());
    return QApplication::exec();
}
