#pragma once
// FrmMonitorButtons: the tool's four buttons (lblButton 0..3: clockwise, center, counter-clockwise,
// trigger), asked for every 30 ms while the window is open. A view over monitor::ButtonMonitor.

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

class ButtonMonitor;

class FrmMonitorButtons : public QWidget {
    Q_OBJECT
public:
    explicit FrmMonitorButtons(app::AppContext& ctx, QWidget* parent = nullptr);

    void Timer1_Timer();
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showLabels();

    std::shared_ptr<ButtonMonitor> session_;
    std::array<QLabel*, 4> lblButton{};
    QTimer* Timer1 = nullptr;
    bool closing_ = false;
    app::CloseWhenIdle closer_{*this};
};

} // namespace monitor
