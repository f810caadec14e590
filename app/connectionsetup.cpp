#include "app/connectionsetup.h"

#include "app/appservices.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/controllerport.h"

namespace app {

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString connectionName(int type) {
    switch (type) {
    case clink::ParallelPort:
        return QStringLiteral("Parallel Port");
    case clink::TcpIp:
        return QStringLiteral("TCP/IP");
    case clink::Usb:
        return QStringLiteral("USB");
    default:
        return QStringLiteral("Not selected");
    }
}
} // namespace

ConnectionSetup::ConnectionSetup(AppServices& services) : ConnectionSetup(services.link) {}

const QString ConnectionSetup::UsbEstablished = QStringLiteral("USB Connection Established");
const QString ConnectionSetup::UsbFailed = QStringLiteral("Unable to connect using USB");
const QString ConnectionSetup::ParallelEstablished = QStringLiteral("Parallel Connection Established");
const QString ConnectionSetup::ParallelFailed =
    QStringLiteral("Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");

QString ConnectionSetup::ethernetText(bool connected) {
    return connected ? QStringLiteral("Connection Established") + CrLf
                     : QStringLiteral("No Connection to Controller") + CrLf +
                           QStringLiteral("Could Be Established") + CrLf;
}

void ConnectionSetup::load() {
    rememberedLink_ = link_.state.ConnectionType;
    if (onEthernet())
        reconnect();
}

int ConnectionSetup::linkType() const {
    return link_.state.ConnectionType;
}

bool ConnectionSetup::onEthernet() const {
    return link_.state.ConnectionType == clink::TcpIp;
}

QString ConnectionSetup::connectionLabel() const {
    return QStringLiteral("Current Connection:  ") + connectionName(link_.state.ConnectionType);
}

QString ConnectionSetup::address() const {
    return link_.state.ControllerIpAddress;
}

QString ConnectionSetup::port() const {
    return link_.state.ControllerIpPort;
}

QString ConnectionSetup::ethernetSettingsText() const {
    return ethernetText(link_.socket.isConnected());
}

ConnectionSetup::Lamp ConnectionSetup::lamp() const {
    switch (link_.socket.state()) {
    case clink::EthernetLink::Connected:
        return Lamp::Connected;
    case clink::EthernetLink::Error:
        return Lamp::Failed;
    case clink::EthernetLink::HostLookup:
    case clink::EthernetLink::Connecting:
        return Lamp::Connecting;
    default:
        return Lamp::Unchanged;
    }
}

void ConnectionSetup::reconnect() {
    quint16 number = 0;
    if (!clink::parseControllerPort(link_.state.ControllerIpPort, &number))
        return; // the text says there is no connection
    link_.socket.connectTo(link_.state.ControllerIpAddress, number);
    link_.pump.doEvents();
}

ConnectionSetup::Outcome ConnectionSetup::choose(int type, const QString& addressText) {
    clink::LinkState& s = link_.state;
    s.ConnectionType = int16_t(type);
    Outcome outcome;
    switch (s.ConnectionType) {
    case clink::Usb:
        outcome.addressShown = false;
        outcome.settingsText = tryUsb() ? UsbEstablished : UsbFailed;
        break;
    case clink::TcpIp:
        outcome.addressShown = true;
        s.ControllerIpAddress = addressText.trimmed();
        reconnect();
        outcome.settingsText = ethernetSettingsText();
        break;
    case clink::ParallelPort:
        outcome.addressShown = false;
        outcome.settingsText = tryParallel(outcome.showWindow);
        break;
    default:
        break;
    }
    return outcome;
}

bool ConnectionSetup::tryUsb() {
    // One frame that nothing answers: a clean write and a read that times out mean the dongle is there.
    return link_.usb.SendCanFrame(clink::ids::ToolReply, clink::ids::ToolReply, {0, 0}, {});
}

QString ConnectionSetup::tryParallel(bool& showWindow) {
    // The port already chosen is left as it is: its text says what it is now.
    QString text = link_.spi.port().isOpen() ? ParallelEstablished : QString();
    if (rememberedLink_ != clink::ParallelPort) {
        if (link_.spi.port().open()) {
            link_.spi.InitializePort();
            text = ParallelEstablished;
        } else {
            text = ParallelFailed;
            showWindow = true;
        }
    }
    rememberedLink_ = clink::ParallelPort;
    return text;
}

void ConnectionSetup::setPort(const QString& text) {
    quint16 number = 0;
    if (clink::parseControllerPort(text, &number))
        link_.state.ControllerIpPort = QString::number(number);
}

std::optional<QString> ConnectionSetup::watch() {
    if (!onEthernet())
        return std::nullopt;
    const QString text = ethernetSettingsText();
    const int state = link_.socket.state();
    if (state == clink::EthernetLink::Closed || state == clink::EthernetLink::Error)
        reconnect();
    return text;
}

} // namespace app
