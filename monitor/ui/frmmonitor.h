#pragma once
// FrmMonitor: the fault and rundown monitor. The launcher switches on one mode before showing it:
// SetFaults (caption "Brenstal - Monitor Faults", the fault tick Timer1) or SetRundown ("Brenstal -
// Monitor Rundowns", the rundown tick Timer2). List1 shows what the session found; Command1 runs the
// transmit test; Exit and every close send the closing frame. A view over monitor::MonitorSession.

#include "app/ui/closewhenidle.h"
#include "app/ui/monitorwindow.h"

#include <QWidget>

#include <memory>

class QListWidget;
class QPushButton;
class QTimer;

namespace app {
class AppContext;
}

namespace monitor {

class MonitorSession;
class TransmitTest;

class FrmMonitor : public QWidget, public app::MonitorWindow {
    Q_OBJECT
public:
    explicit FrmMonitor(app::AppContext& ctx, QWidget* parent = nullptr);
    ~FrmMonitor() override;

    void SetFaults(bool on) override;
    void SetRundown(bool on) override;

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();
    void Command1_Click();
    void mnuExit_Click();

    const MonitorSession& session() const { return *session_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showList();
    void sendTestSlice();
    void stopTimers();

    app::AppContext& ctx_;
    std::shared_ptr<MonitorSession> session_;
    std::shared_ptr<TransmitTest> test_;
    QListWidget* List1 = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QTimer* testSlices_ = nullptr;
    app::CloseWhenIdle closer_{*this};
};

} // namespace monitor
