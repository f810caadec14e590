#pragma once
// ToolLed: the tool's four LEDs (yellow, red, green, blue), each off, on or flashing as the user chooses
// (optY, optR, optG, optB: 0 "Off", 1 "On", 2 "Flash"). The chosen states are sent to the tool at every
// tick and echoed in Text1; Exit closes the window at the next tick. A view over monitor::ToolLedSession.

#include "app/ui/closewhenidle.h"

#include <QWidget>

#include <array>
#include <memory>

class QButtonGroup;
class QLineEdit;
class QTimer;

namespace app {
class AppContext;
}

namespace monitor {

class ToolLedSession;

class ToolLed : public QWidget {
    Q_OBJECT
public:
    explicit ToolLed(app::AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();
    void Timer1_Timer();
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::shared_ptr<ToolLedSession> session_;
    std::array<QButtonGroup*, 4> options_{};
    QLineEdit* Text1 = nullptr;
    QTimer* Timer1 = nullptr;
    bool closing_ = false;
    app::CloseWhenIdle closer_{*this};
};

} // namespace monitor
