#include "monitor/seriallogger.h"

#include "app/appservices.h"
#include "base/cp1252.h"
#include "base/dialogs.h"
#include "base/programfolder.h"
#include "base/textlines.h"

#include <QFile>
#include <QFileInfo>

namespace monitor {

namespace {
const QString PortFailureText = QStringLiteral("Unable to open serial port %1: %2");
const QString LogFailureText = QStringLiteral("Unable to write %1: %2");
const QString LogUnreadableText = QStringLiteral("Unable To Read File %1\r\n%2");
} // namespace

SerialLoggerSession::SerialLoggerSession(base::SerialPort& port, base::Dialogs& dialogs, QObject* parent)
    : QObject(parent), port_(port), dialogs_(dialogs) {
    connect(&port_, &base::SerialPort::dataArrived, this, &SerialLoggerSession::onData);
}

QString SerialLoggerSession::logPath() {
    return base::programFile(WindowsLogPath);
}

bool SerialLoggerSession::open(const QString& device) {
    if (port_.isOpen() || port_.open(device, LineSettings))
        return true;
    dialogs_.message(PortFailureText.arg(device, port_.errorText()), base::ProgramTitle,
                     base::MessageIcon::Critical);
    return false;
}

void SerialLoggerSession::exit() {
    port_.close();
}

void SerialLoggerSession::onData() {
    if (!port_.isOpen())
        return;
    const QList<QStringList> reports = parser_.feed(base::fromCp1252(port_.readAll()));
    for (const QStringList& report : reports) {
        lines_ = report;
        logReport(report);
        emit reportShown();
    }
}

void SerialLoggerSession::logReport(const QStringList& lines) {
    QString error;
    if (base::appendTextLines(logPath(), lines + QStringList{QString()}, &error)) {
        logFailureShown_ = false;
        return;
    }
    // Once, not at every report, while the log cannot be written.
    if (!logFailureShown_)
        dialogs_.message(LogFailureText.arg(QFileInfo(logPath()).fileName(), error), base::ProgramTitle,
                         base::MessageIcon::Critical);
    logFailureShown_ = true;
}

void SerialLoggerSession::viewLog(app::TextViewer& viewer) {
    // No log yet reads as an empty one; a log that is there and cannot be read is not shown as empty.
    base::TextLines lines;
    QString error;
    if (QFile::exists(logPath()) && !base::readTextLines(logPath(), lines, &error)) {
        dialogs_.message(LogUnreadableText.arg(logPath(), error), base::ProgramTitle,
                         base::MessageIcon::Critical);
        return;
    }
    viewer.show(QFileInfo(logPath()).fileName(), lines);
}

} // namespace monitor
