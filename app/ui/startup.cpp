#include "app/ui/startup.h"

#include "app/ui/appcontext.h"
#include "app/ui/frmmain.h"
#include "base/eventpump.h"
#include "base/programfolder.h"
#include "link/controllerport.h"
#include "link/ethernet.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace app {

namespace {
// TransferDelay until "delays.ini" has been read.
constexpr long StartupTransferDelay = 2;
// Length of the folder hash in the lock file's name.
constexpr int LockNameHashLength = 16;

const QString ParallelFailedText =
    QStringLiteral("Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");
const QString ParallelFailedCaption = QStringLiteral("Connect Parallel Port");

// Gains the printer port and drives it idle; without it the user is asked for another link.
void openParallelPort(AppContext& ctx) {
    if (!ctx.link.spi.port().open()) {
        ctx.dialogs.message(ParallelFailedText, ParallelFailedCaption, base::MessageIcon::None);
        ctx.windows.open(wnd::frmSetConnection);
        return;
    }
    ctx.link.spi.InitializePort();
}

// Connects the Ethernet link and waits (bounded) until the attempt is over; then announces the program to
// the dongle, connected or not.
void openEthernet(AppContext& ctx) {
    clink::EthernetLink& socket = ctx.link.socket;
    if (!socket.isConnected())
        clink::reconnectController(ctx.link);
    ctx.pump.doEvents();
    const long budget = long(std::chrono::nanoseconds(StartupConnectWait) / base::DoEventsSlice);
    ctx.pump.waitUntil(
        [&socket] {
            const int state = socket.state();
            return state != clink::EthernetLink::HostLookup && state != clink::EthernetLink::Connecting;
        },
        budget);
    ctx.link.ethernet.SendFilterFrame(clink::ids::ConnectFilter);
}
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
    clink::LinkState& s = ctx.state;
    s.AckReceived = false;
    s.TransferDelay = StartupTransferDelay;
    s.PortShadow = 0;
    ctx.palverin.LoadIniFiles();

    if (s.ConnectionType == clink::ParallelPort)
        openParallelPort(ctx);

    ctx.palverin.access.AccessLevel = UserLevel;
    ctx.palverin.BuildAccessCode();

    if (s.ConnectionType == clink::TcpIp) {
        openEthernet(ctx);
        if (!ctx.link.socket.isConnected())
            ctx.windows.open(wnd::frmSetConnection);
    }

    if (s.ConnectionType == clink::Usb) {
        // A failed set-up is reported by the device set-up itself; start-up goes on.
        ctx.link.usb.OpenDevice();
        ctx.link.usb.ConfigureDevice();
    }

    main.show();
    main.setWindowTitle(mainWindowCaption(version));
    main.applyMenuState(ctx.palverin.access.AccessLevel);
}

} // namespace app
