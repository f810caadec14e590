#pragma once
// FrmTestSocketTray: the socket-tray test ("Brenstal - Test Socket Tray"). Run Test starts listening for the
// tray's status, one pass per tick of Timer1, until Stop Test; the list shows which socket is out and which
// lamps are on. While it runs the program is busy with this window alone usable; closing it stops the test.
// Forwards to the SocketTrayTest.

#include "app/ui/closewhenidle.h"
#include "service/sockettray.h"

#include <QTimer>
#include <QWidget>

class QAction;
class QListWidget;
class QPushButton;

namespace app {
class AppContext;
}

namespace service {

class FrmTestSocketTray : public QWidget {
    Q_OBJECT
public:
    explicit FrmTestSocketTray(app::AppContext& ctx, QWidget* parent = nullptr);

    SocketTrayTest& test() { return test_; }
    void btnRunTest_Click();
    void btnStopTest_Click();
    void Timer1_Timer();
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showRunning(bool running);
    void showList();

    SocketTrayTest test_;
    app::CloseWhenIdle closer_{*this};
    QListWidget* List1 = nullptr;
    QPushButton* btnRunTest = nullptr;
    QPushButton* btnStopTest = nullptr;
    QAction* mnuExit = nullptr;
    // One listening pass per tick.
    QTimer Timer1{this};
};

} // namespace service
