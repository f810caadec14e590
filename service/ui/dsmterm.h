#pragma once
// DsmTerm: the serial terminal to the system's DSM unit ("Dsm Terminal"). The screen fills the window; the
// File menu runs the three scripted transfers and the Connection menu opens, closes and sets up the port.
// While a transfer runs its commands are off and a status line with Cancel shows how far it is; closing
// the window cancels it. Every handler forwards to the DsmSession.

#include "app/ui/closewhenidle.h"
#include "service/dsmsession.h"

#include <QWidget>

#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace app {
class AppContext;
}

namespace service {

class ServiceModule;
class TerminalView;

class DsmTerm : public QWidget {
    Q_OBJECT
public:
    DsmTerm(app::AppContext& ctx, ServiceModule& module, QWidget* parent = nullptr);

    DsmSession& session() { return session_; }

    // The port-properties dialog (tests answer it).
    std::function<std::optional<PortProperties>(const PortProperties&)> askProperties;

    void mnuFileReceive_Click();
    void sndNewMAtch_Click();
    void SndNewPgrm_Click();
    void mnuFileExit_Click();
    void mnuConnectionConnect_Click();
    void mnuConnectionDisconnect_Click();
    void mnuConnectionProperties_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void transferringChanged(bool running);
    void scheduleRender();

    DsmSession session_;
    app::CloseWhenIdle closer_{*this};
    TerminalView* SaxComm = nullptr;
    QMenu* mnuFileSend = nullptr;
    QList<QAction*> idleOnly_;
    QLabel* lblStatus = nullptr;
    QPushButton* cmdCancel = nullptr;
    QWidget* statusRow_ = nullptr;
    bool renderPending_ = false;
};

} // namespace service
