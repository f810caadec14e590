#pragma once
// frmSetConnection: the user chooses the link to the dongle (parallel port, Ethernet, USB), the window tries
// it at once, shows whether it works and saves the choice in the settings file. Its timer watches the
// Ethernet connection: lamp colour, result text, and a new connect whenever the socket is unconnected.

#include <QTimer>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace clink {
class ControllerLink;
}

namespace app {

class FrmSetConnection : public QWidget {
    Q_OBJECT
public:
    static constexpr int TimerIntervalMs = 50;

    // save writes the settings file (link type, address and port among its lines).
    FrmSetConnection(clink::ControllerLink& link, std::function<void()> save, QWidget* parent = nullptr);

    void cboConnType_Click();
    void cmdSaveDefaults_Click();
    void txtIPPort_Change(const QString& text);
    void Timer1_Timer();

    // The result texts of the link test.
    static QString ethernetText(bool connected);
    static const QString UsbEstablished;
    static const QString UsbFailed;
    static const QString ParallelEstablished;
    static const QString ParallelFailed;
    static const QString SavedText;

private:
    void Form_Load();
    void showAddressControls(bool show);
    void setLamp();
    void setConnectionLabel();
    void reconnect();
    void saveUsb();
    void saveEthernet();
    void saveParallel();

    clink::ControllerLink& link_;
    std::function<void()> save_;
    // The link the window found when it loaded; the parallel-port path sets it to 1.
    int rememberedLink_ = 0;

    QComboBox* cboConnType = nullptr;
    QLabel* lblConnection = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* txtConnName = nullptr;
    QLabel* lblIPPort = nullptr;
    QLineEdit* txtIPPort = nullptr;
    QLabel* circStatus = nullptr;
    QLabel* lblSettings = nullptr;
    QLabel* lblSaved = nullptr;
    QPushButton* cmdSaveDefaults = nullptr;
    QTimer Timer1;
};

} // namespace app
