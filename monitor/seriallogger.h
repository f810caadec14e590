#pragma once
// The serial rundown logger's session (frmLogData): reads the NSM unit's rundown reports from a serial
// port (9600 baud, 8 data bits, no parity, 1 stop bit), shows the last one and adds each to the log
// "C:\FinalData.txt" in the program's folder: its lines, then one empty line. The port's device is kept
// in the user's settings (LoggerPortKey), else the machine's first serial port.

#include "base/serialport.h"
#include "monitor/nsmreport.h"

#include <QObject>
#include <QStringList>

namespace base {
class Dialogs;
}
namespace app {
class TextViewer;
}

namespace monitor {

class SerialLoggerSession : public QObject {
    Q_OBJECT
public:
    static inline const QString WindowsLogPath = QStringLiteral("C:\\FinalData.txt");
    static inline const QString LoggerPortKey = QStringLiteral("Settings/LoggerPort");
    static inline const base::SerialSettings LineSettings{};

    SerialLoggerSession(base::SerialPort& port, base::Dialogs& dialogs, QObject* parent = nullptr);

    // The log's place in the program's folder.
    static QString logPath();

    // Opens the port and listens; false (after one message naming the device) when it cannot be opened.
    bool open(const QString& device);
    // Exit: the port is closed, nothing more is read.
    void exit();
    bool listening() const { return port_.isOpen(); }

    // The last report's lines.
    const QStringList& lines() const { return lines_; }
    // Shows the log in the read-only viewer (empty when there is none yet); a log that cannot be read gets
    // a box with the reason instead.
    void viewLog(app::TextViewer& viewer);

signals:
    // A report arrived: lines() holds it.
    void reportShown();

private:
    void onData();
    void logReport(const QStringList& lines);

    base::SerialPort& port_;
    base::Dialogs& dialogs_;
    NsmReportParser parser_;
    QStringList lines_;
    bool logFailureShown_ = false;
};

} // namespace monitor
