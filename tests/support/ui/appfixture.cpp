#include "tests/support/ui/appfixture.h"

#include "app/ui/installwindows.h"
#include "tests/support/waitfor.h"

#include <QTcpServer>
#include <QTest>
#include <QTreeWidget>

namespace apptest {

namespace {
std::unique_ptr<app::AppContext> makeContext(testsupport::ScriptedDialogs*& dialogs,
                                             ScriptedValueEntry*& values,
                                             testsupport::ScriptedTextViewer*& viewer) {
    app::AppSeams seams;
    auto scripted = std::make_unique<testsupport::ScriptedDialogs>();
    dialogs = scripted.get();
    seams.dialogs = std::move(scripted);
    seams.pump = std::make_unique<base::QtEventPump>();
    seams.clock = std::make_unique<clink::ManualLinkClock>();
    auto prompt = std::make_unique<ScriptedValueEntry>();
    values = prompt.get();
    seams.valuePrompt = std::move(prompt);
    auto scriptedViewer = std::make_unique<testsupport::ScriptedTextViewer>();
    viewer = scriptedViewer.get();
    seams.textViewer = std::move(scriptedViewer);
    return std::make_unique<app::AppContext>(std::move(seams));
}
} // namespace

void clickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
    ASSERT_TRUE(tree && item);
    ASSERT_TRUE(tree->isVisible()) << "a click needs the tree on the screen";
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

AppFixture::AppFixture()
    : ctxOwner(makeContext(dialogs, valueEntry, textViewer)), ctx(*ctxOwner), s(ctx.state) {
    app::installWindows(ctx);
}

void AppFixture::useEthernet(quint16 port) {
    s.ConnectionType = clink::TcpIp;
    s.ControllerIpAddress = QStringLiteral("127.0.0.1");
    s.ControllerIpPort = QString::number(port);
}

void AppFixture::connectEthernet() {
    ASSERT_TRUE(dongle.port() != 0 || dongle.listen(0));
    useEthernet(dongle.port());
    s.TransferDelay = 8;
    ctx.link.socket.connectTo(s.ControllerIpAddress, dongle.port());
    ASSERT_TRUE(waitFor([&] { return ctx.link.socket.isConnected() && dongle.hasClient(); }));
}

quint16 AppFixture::refusedPort() {
    QTcpServer closed;
    if (!closed.listen(QHostAddress::LocalHost, 0))
        return 0;
    const quint16 port = closed.serverPort();
    closed.close();
    return port;
}

void AppFixture::useParallelPort() {
    ctx.link.spi.usePort(chip);
    s.ConnectionType = clink::ParallelPort;
}

void AppFixture::useUsb() {
    ctx.link.usb.setDevice(ftdi);
    s.ConnectionType = clink::Usb;
}

void AppFixture::saveSettings() {
    const auto type = s.ConnectionType;
    const QString address = s.ControllerIpAddress;
    const QString port = s.ControllerIpPort;
    ctx.palverin.LoadIniFiles();
    s.ConnectionType = type;
    s.ControllerIpAddress = address;
    s.ControllerIpPort = port;
    ASSERT_TRUE(ctx.palverin.SaveIniFile());
}

bool AppFixture::waitFor(const std::function<bool()>& cond, int ms) {
    return testsupport::waitFor(cond, ms);
}

int AppFixture::filterFramesReceived(clink::CanId id) const {
    int n = 0;
    for (const auto& f : dongle.frames) {
        if (f.accept == id && f.message.id == id && sim::isZeroData(f.message))
            ++n;
    }
    return n;
}

} // namespace apptest
