#include "app/ui/frmsetconnection.h"

#include "app/ui/timerpause.h"
#include "app/ui/workarea.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

#include <utility>

namespace app {

namespace {
const QString Caption = QStringLiteral("Set Controller Connection");
// Window size in pixels.
constexpr int WindowWidth = 272;
constexpr int WindowHeight = 247;
constexpr int LampSize = 18;
constexpr uint MaxPort = 65535;

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

const QString FrmSetConnection::SavedText = QStringLiteral("Connection Saved in Defaults");

FrmSetConnection::FrmSetConnection(AppServices& services, const base::BusyState& busy,
                                   std::function<bool()> save, QWidget* parent)
    : QWidget(parent), setup_(services), busy_(busy), save_(std::move(save)) {
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
    txtConnName->setText(setup_.address());
    setup_.load();
    if (setup_.onEthernet()) {
        showAddressControls(true);
        txtIPPort->setText(setup_.port());
        setLamp();
        lblSettings->setText(setup_.ethernetSettingsText());
    } else {
        showAddressControls(false);
        lblSettings->clear();
    }
    setLamp();
    setConnectionLabel();
    // Choosing the remembered link again tries and saves it, as a user's choice would.
    cboConnType->setCurrentIndex(setup_.linkType() - 1);
    loadSavePending_ = true;
    chooseLink();
}

void FrmSetConnection::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (std::exchange(loadSavePending_, false))
        QTimer::singleShot(0, this, [this] {
            TimerPause pause(Timer1);
            saveChoice();
        });
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
    switch (setup_.lamp()) {
    case ConnectionSetup::Lamp::Connected:
        circStatus->setStyleSheet(lampStyle("#00ff00"));
        break;
    case ConnectionSetup::Lamp::Failed:
        circStatus->setStyleSheet(lampStyle("#ff0000"));
        break;
    case ConnectionSetup::Lamp::Connecting:
        circStatus->setStyleSheet(lampStyle("#ffff00"));
        break;
    case ConnectionSetup::Lamp::Unchanged:
        break;
    }
}

void FrmSetConnection::setConnectionLabel() {
    lblConnection->setText(setup_.connectionLabel());
}

void FrmSetConnection::cboConnType_Click() {
    cmdSaveDefaults_Click();
}

void FrmSetConnection::cmdSaveDefaults_Click() {
    TimerPause pause(Timer1);
    chooseLink();
    saveChoice();
}

void FrmSetConnection::chooseLink() {
    const ConnectionSetup::Outcome outcome =
        setup_.choose(cboConnType->currentIndex() + 1, txtConnName->text());
    if (outcome.addressShown)
        showAddressControls(*outcome.addressShown);
    if (setup_.onEthernet()) {
        txtIPPort->setText(setup_.port());
        setLamp();
    }
    if (outcome.settingsText)
        lblSettings->setText(*outcome.settingsText);
    if (outcome.showWindow)
        show();
    setConnectionLabel();
    // The address and port fields just shown, or a longer result, take their room: the window grows to
    // them rather than squeeze them.
    app::fitWorkArea(*this);
}

void FrmSetConnection::saveChoice() {
    // The choice is saved also when its test failed; the saved text says only what was saved.
    lblSaved->setText(!save_ || save_() ? SavedText : QString());
}

void FrmSetConnection::txtIPPort_Change(const QString& text) {
    // Only a port from 1 to 65535 is taken; the box refuses anything else as it is typed.
    setup_.setPort(text);
}

void FrmSetConnection::Timer1_Timer() {
    // Paused while a command talks to the controller: the watch would dial the socket under it.
    if (busy_.busy())
        return;
    TimerPause pause(Timer1);
    lblSaved->clear();
    setLamp();
    const std::optional<QString> text = setup_.watch();
    if (text && *text != lblSettings->text()) {
        lblSettings->setText(*text);
        app::fitWorkArea(*this);
    }
}

} // namespace app
