#pragma once
// frmLogData: the serial rundown logger. Shows the last rundown report the NSM unit printed on its RS-232
// output (List1) and adds each to the log file; "&View Log File" shows the log, "&Exit" (or closing the
// window) stops listening. A view over monitor::SerialLoggerSession.

#include <QWidget>

#include <memory>

class QListWidget;

namespace app {
class AppContext;
}
namespace base {
class SerialPort;
}

namespace monitor {

class SerialLoggerSession;

class frmLogData : public QWidget {
    Q_OBJECT
public:
    // The port is the machine's serial device kept in the user's settings (the first one when none is).
    explicit frmLogData(app::AppContext& ctx, QWidget* parent = nullptr);
    // The same on a port of the caller's (tests).
    frmLogData(app::AppContext& ctx, std::unique_ptr<base::SerialPort> port, const QString& device,
               QWidget* parent = nullptr);
    ~frmLogData() override;

    void Form_Load(const QString& device);
    void mnuExit_Click();
    void mnuViewLog_Click();

    const SerialLoggerSession& session() const { return *session_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showReport();

    app::AppContext& ctx_;
    std::unique_ptr<base::SerialPort> port_;
    std::unique_ptr<SerialLoggerSession> session_;
    QListWidget* List1 = nullptr;
};

} // namespace monitor
