#include "app/ui/frmsetconnection.h"

#include "app/ui/timerpause.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"
#include "link/controllerport.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace app {

using namespace clink;

namespace {
const QString Caption = QStringLiteral("Set Controller Connection");
const QString CrLf = QStringLiteral("\r\n");
// Window size in pixels.
constexpr int WindowWidth = 272;
constexpr int WindowHeight = 247;
constexpr int LampSize = 18;
constexpr uint MaxPort = 65535;

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

// The port box: digits only, never a number above 65535 (an empty box or 0 is not yet a port).
class PortValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        if (input.isEmpty())
            return Intermediate;
        for (QChar c : input) {
            if (!c.isDigit())
                return Invalid;
        }
        bool ok = false;
        const uint value = input.toUInt(&ok);
        if (!ok || value > MaxPort)
            return Invalid;
        return value == 0 ? Intermediate : Acceptable;
    }
};

QString lampStyle(const char* colour) {
    return QStringLiteral("background-color: %1; border: 1px solid black; border-radius: %2px;")
        .arg(QLatin1String(colour))
        .arg(LampSize / 2);
}
} // namespace

const QString FrmSetConnection::UsbEstablished = QStringLiteral("USB Connection Established");
const QString FrmSetConnection::UsbFailed = QStringLiteral("Unable to connect using USB");
const QString FrmSetConnection::ParallelEstablished = QStringLiteral("Parallel Connection Established");
const QString FrmSetConnection::ParallelFailed =
    QStringLiteral("Connect Parallel Port (LPT1) Failed\r\nPlease select another connection type");
const QString FrmSetConnection::SavedText = QStringLiteral("Connection Saved in Defaults");

QString FrmSetConnection::ethernetText(bool connected) {
    return connected ? QStringLiteral("Connection Established") + CrLf
                     : QStringLiteral("No Connection to Controller") + CrLf +
                           QStringLiteral("Could Be Established") + CrLf;
}

FrmSetConnection::FrmSetConnection(ControllerLink& link, std::function<void()> save, QWidget* parent)
    : QWidget(parent), link_(link), save_(std::move(save)) {
    setObjectName(QStringLiteral("frmSetConnection"));
    setWindowTitle(Caption);

    cboConnType = new QComboBox(this);
    cboConnType->setObjectName(QStringLiteral("cboConnType"));
    cboConnType->addItems(
        {QStringLiteral("Parallel Port"), QStringLiteral("Ethernet"), QStringLiteral("USB")});
    cboConnType->setPlaceholderText(QStringLiteral("Select Connection Type"));
    lblConnection = new QLabel(this);
    lblConnection->setObjectName(QStringLiteral("lblConnection"));
    Label1 = new QLabel(QStringLiteral("Controller Window's Name or IP Address"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    txtConnName = new QLineEdit(this);
    txtConnName->setObjectName(QStringLiteral("txtConnName"));
    lblIPPort = new QLabel(QStringLiteral("TCP/IP Port"), this);
    lblIPPort->setObjectName(QStringLiteral("lblIPPort"));
    txtIPPort = new QLineEdit(this);
    txtIPPort->setObjectName(QStringLiteral("txtIPPort"));
    txtIPPort->setValidator(new PortValidator(txtIPPort));
    circStatus = new QLabel(this);
    circStatus->setObjectName(QStringLiteral("circStatus"));
    circStatus->setFixedSize(LampSize, LampSize);
    lblSettings = new QLabel(this);
    lblSettings->setObjectName(QStringLiteral("lblSettings"));
    lblSaved = new QLabel(this);
    lblSaved->setObjectName(QStringLiteral("lblSaved"));
    cmdSaveDefaults = new QPushButton(QStringLiteral("Connect"), this);
    cmdSaveDefaults->setObjectName(QStringLiteral("cmdSaveDefaults"));

    auto* address = new QGridLayout;
    address->addWidget(Label1, 0, 0, 1, 2);
    address->addWidget(txtConnName, 1, 0);
    address->addWidget(circStatus, 1, 1);
    address->addWidget(lblIPPort, 2, 0, 1, 2);
    address->addWidget(txtIPPort, 3, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cboConnType);
    layout->addWidget(lblConnection);
    layout->addLayout(address);
    layout->addWidget(lblSettings);
    layout->addWidget(lblSaved);
    layout->addStretch();
    layout->addWidget(cmdSaveDefaults);
    resize(WindowWidth, WindowHeight);

    connect(cboConnType, &QComboBox::activated, this, [this](int) { cboConnType_Click(); });
    connect(cmdSaveDefaults, &QPushButton::clicked, this, &FrmSetConnection::cmdSaveDefaults_Click);
    connect(txtIPPort, &QLineEdit::textEdited, this, &FrmSetConnection::txtIPPort_Change);
    Timer1.setInterval(TimerIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &FrmSetConnection::Timer1_Timer);

    Form_Load();
    Timer1.start();
}

void FrmSetConnection::Form_Load() {
    LinkState& s = link_.state;
    txtConnName->setText(s.ControllerIpAddress);
    rememberedLink_ = s.ConnectionType;
    if (s.ConnectionType == TcpIp) {
        showAddressControls(true);
        txtIPPort->setText(s.ControllerIpPort);
        reconnect();
        setLamp();
        lblSettings->setText(ethernetText(link_.socket.isConnected()));
    } else {
        showAddressControls(false);
        lblSettings->clear();
    }
    setLamp();
    setConnectionLabel();
    // Choosing the remembered link again saves it, as a user's choice would.
    cboConnType->setCurrentIndex(s.ConnectionType - 1);
    cboConnType_Click();
}

void FrmSetConnection::showAddressControls(bool show) {
    for (QWidget* w : {static_cast<QWidget*>(txtConnName), static_cast<QWidget*>(Label1),
                       static_cast<QWidget*>(circStatus), static_cast<QWidget*>(txtIPPort),
                       static_cast<QWidget*>(lblIPPort)})
        w->setVisible(show);
}

void FrmSetConnection::setLamp() {
    if (circStatus->isHidden())
        return;
    switch (link_.socket.state()) {
    case EthernetLink::Connected:
        circStatus->setStyleSheet(lampStyle("#00ff00"));
        break;
    case EthernetLink::Error:
        circStatus->setStyleSheet(lampStyle("#ff0000"));
        break;
    case EthernetLink::HostLookup:
    case EthernetLink::Connecting:
        circStatus->setStyleSheet(lampStyle("#ffff00"));
        break;
    default:
        break; // other states leave the lamp as it is
    }
}

void FrmSetConnection::setConnectionLabel() {
    lblConnection->setText(QStringLiteral("Current Connection:  ") +
                           connectionName(link_.state.ConnectionType));
}

void FrmSetConnection::reconnect() {
    quint16 port = 0;
    if (!parseControllerPort(link_.state.ControllerIpPort, &port))
        return; // an invalid port is never dialled; the text says there is no connection
    link_.socket.connectTo(link_.state.ControllerIpAddress, port);
    link_.pump.doEvents();
}

void FrmSetConnection::cboConnType_Click() {
    cmdSaveDefaults_Click();
}

void FrmSetConnection::cmdSaveDefaults_Click() {
    TimerPause pause(Timer1);
    link_.state.ConnectionType = int16_t(cboConnType->currentIndex() + 1);
    switch (link_.state.ConnectionType) {
    case Usb:
        saveUsb();
        break;
    case TcpIp:
        saveEthernet();
        break;
    case ParallelPort:
        saveParallel();
        break;
    default:
        break;
    }
    setConnectionLabel();
    if (save_)
        save_();
    lblSaved->setText(SavedText);
}

void FrmSetConnection::saveUsb() {
    showAddressControls(false);
    // One frame that nothing answers: a clean write and a read that times out mean the dongle is there.
    const bool ok = link_.usb.SendCanFrame(ids::ToolReply, ids::ToolReply, {0, 0}, {});
    lblSettings->setText(ok ? UsbEstablished : UsbFailed);
}

void FrmSetConnection::saveEthernet() {
    LinkState& s = link_.state;
    showAddressControls(true);
    s.ControllerIpAddress = txtConnName->text().trimmed();
    txtIPPort->setText(s.ControllerIpPort);
    reconnect();
    setLamp();
    lblSettings->setText(ethernetText(link_.socket.isConnected()));
}

void FrmSetConnection::saveParallel() {
    showAddressControls(false);
    if (rememberedLink_ != ParallelPort) {
        if (link_.spi.port().open()) {
            link_.spi.InitializePort();
            lblSettings->setText(ParallelEstablished);
        } else {
            lblSettings->setText(ParallelFailed);
            show();
        }
    }
    rememberedLink_ = ParallelPort;
}

void FrmSetConnection::txtIPPort_Change(const QString& text) {
    // Only a port from 1 to 65535 is taken; the box refuses anything else as it is typed.
    quint16 port = 0;
    if (parseControllerPort(text, &port))
        link_.state.ControllerIpPort = QString::number(port);
}

void FrmSetConnection::Timer1_Timer() {
    TimerPause pause(Timer1);
    lblSaved->clear();
    setLamp();
    if (link_.state.ConnectionType != TcpIp)
        return;
    lblSettings->setText(ethernetText(link_.socket.isConnected()));
    const int state = link_.socket.state();
    if (state == EthernetLink::Closed || state == EthernetLink::Error)
        reconnect();
}

} // namespace app
