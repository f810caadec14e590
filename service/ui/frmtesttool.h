#pragma once
// frmTestTool: the tool cycle-count test ("Test Tool Cycle Counter"), a modal dialog. Start Test clears the
// tool's counters and asks for a power cycle; Continue starts the cycles, one per tick of Timer1 500 ms
// after the last one ended, until a check fails. Closing the dialog stops the test. Forwards to the
// ToolCycleTest.

#include "app/ui/closewhenidle.h"
#include "service/toolcycletest.h"

#include <QDialog>
#include <QTimer>

class QListWidget;
class QPushButton;

namespace app {
class AppContext;
}

namespace service {

class FrmTestTool : public QDialog {
    Q_OBJECT
public:
    static constexpr int CycleIntervalMs = 500;

    explicit FrmTestTool(app::AppContext& ctx, QWidget* parent = nullptr);

    ToolCycleTest& test() { return test_; }
    void Command2_Click();
    void Command1_Click();
    void Timer1_Timer();

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showList();
    // A close (or Escape) stops the test; while a handler runs the close waits for it (event ignored).
    void stopTest(QCloseEvent* event);

    ToolCycleTest test_;
    app::CloseWhenIdle closer_{*this};
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;
    QListWidget* List1 = nullptr;
    QTimer Timer1{this};
};

} // namespace service
