#pragma once
// frmRunScreen1 ("Lumenquest"): the operator's run screen. The last rundown's final torque and final
// angle in large digits coloured by the result, the Pset's limits, the status, units, current Pset and
// number of Psets; every rundown is added to the rundown log, which "View Rundowns" shows in frmResults and
// "Clear Rundowns" empties. A view over monitor::RunScreenSession.

#include "monitor/runscreen.h"

#include "app/ui/closewhenidle.h"

#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QTimer;

namespace app {
class AppContext;
}

namespace monitor {

class frmRunScreen1 : public QWidget {
    Q_OBJECT
public:
    explicit frmRunScreen1(app::AppContext& ctx, QWidget* parent = nullptr);
    ~frmRunScreen1() override;

    void Form_Load();
    void EndTimer_Timer();
    void RundownTimer_Timer();
    void mnuClose_Click();
    void mnuViewRundowns_Click();
    void mnuClearRundowns_Click();

    const RunScreenSession& session() const { return *session_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void started(RunScreenSession::Start start);
    void showLabels();

    app::AppContext& ctx_;
    std::shared_ptr<RunScreenSession> session_;
    std::array<QLabel*, RunScreenSession::LabelCount> lbl{};
    QLabel* Label2 = nullptr;
    QTimer* EndTimer = nullptr;
    QTimer* RundownTimer = nullptr;
    app::CloseWhenIdle closer_{*this};
};

} // namespace monitor
