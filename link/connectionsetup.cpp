#include "link/connectionsetup.h"

#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/controllerport.h"

namespace clink {

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString connectionName(int type) {
    switch (type) {
    case ParallelPort:
        return QStringLiteral("Parallel Port");
    case TcpIp:
        return QStringLiteral("TCP/IP");
    case Usb:
        return QStringLiteral("USB");
    default:
        return QStringLiteral("Not selected");
    }
}
} // namespace

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
    return link_.state.ConnectionType == TcpIp;
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
    case EthernetLink::Connected:
        return Lamp::Connected;
    case EthernetLink::Error:
        return Lamp::Failed;
    case EthernetLink::HostLookup:
    case EthernetLink::Connecting:
        return Lamp::Connecting;
    default:
        return Lamp::Unchanged;
    }
}

void ConnectionSetup::reconnect() {
    quint16 number = 0;
    if (!parseControllerPort(link_.state.ControllerIpPort, &number))
        return; // the text says there is no connection
    link_.socket.connectTo(link_.state.ControllerIpAddress, number);
    link_.pump.doEvents();
}

ConnectionSetup::Outcome ConnectionSetup::choose(int type, const QString& addressText) {
    LinkState& s = link_.state;
    s.ConnectionType = int16_t(type);
    Outcome outcome;
    switch (s.ConnectionType) {
    case Usb:
        outcome.addressShown = false;
        outcome.settingsText = tryUsb() ? UsbEstablished : UsbFailed;
        break;
    case TcpIp:
        outcome.addressShown = true;
        s.ControllerIpAddress = addressText.trimmed();
        reconnect();
        outcome.settingsText = ethernetSettingsText();
        break;
    case ParallelPort:
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
    return link_.usb.SendCanFrame(ids::ToolReply, ids::ToolReply, {0, 0}, {});
}

QString ConnectionSetup::tryParallel(bool& showWindow) {
    // The port already chosen is left as it is: its text says what it is now.
    QString text = link_.spi.port().isOpen() ? ParallelEstablished : QString();
    if (rememberedLink_ != ParallelPort) {
        if (link_.spi.port().open()) {
            link_.spi.InitializePort();
            text = ParallelEstablished;
        } else {
            text = ParallelFailed;
            showWindow = true;
        }
    }
    rememberedLink_ = ParallelPort;
    return text;
}

void ConnectionSetup::setPort(const QString& text) {
    quint16 number = 0;
    if (parseControllerPort(text, &number))
        link_.state.ControllerIpPort = QString::number(number);
}

std::optional<QString> ConnectionSetup::watch() {
    if (!onEthernet())
        return std::nullopt;
    const QString text = ethernetSettingsText();
    const int state = link_.socket.state();
    if (state == EthernetLink::Closed || state == EthernetLink::Error)
        reconnect();
    return text;
}

} // namespace clink
