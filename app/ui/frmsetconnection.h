#pragma once
// frmSetConnection: the user chooses the link to the dongle (parallel port, Ethernet, USB), the window tries
// it at once, shows whether it works and saves the choice in the settings file. Its timer watches the
// Ethernet connection: lamp colour, result text, and a new connect whenever the socket is unconnected. The
// link work is its session's (app::ConnectionSetup); the window shows what it gives. It stays usable while a
// command talks to the controller (it is the window that can mend a dead link); its timer waits meanwhile.

#include "app/connectionsetup.h"
#include "base/busyguard.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class FrmSetConnection : public QWidget {
    Q_OBJECT
public:
    static constexpr int TimerIntervalMs = 50;
    static const QString SavedText;

    // services: the program's, whose link the window's session sets up; save writes the settings file (link
    // type, address and port among its lines), false when it could not (it told the user why); busy is the
    // program's busy state.
    FrmSetConnection(AppServices& services, const base::BusyState& busy, std::function<bool()> save,
                     QWidget* parent = nullptr);

    void cboConnType_Click();
    void cmdSaveDefaults_Click();
    void txtIPPort_Change(const QString& text);
    void Timer1_Timer();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    void chooseLink();
    void saveChoice();
    void showAddressControls(bool show);
    void setLamp();
    void setConnectionLabel();

    ConnectionSetup setup_;
    const base::BusyState& busy_;
    std::function<bool()> save_;
    // The link found at load is saved once the window shows, so that a failure to save stands over it.
    bool loadSavePending_ = false;

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
