#include "monitor/statssession.h"

#include "app/appservices.h"
#include "app/programcore.h"
#include "base/dialogs.h"
#include "base/textlines.h"

#include <QFileInfo>

namespace monitor {

namespace {
const QString FileWarning = QStringLiteral("File Warning");
const QString FileError = QStringLiteral("File Error");
const QString UnableToView = QStringLiteral("Unable To View File ");
} // namespace

StatsSession::StatsSession(base::Dialogs& dialogs, app::TextViewer& viewer)
    : dialogs_(dialogs), viewer_(viewer) {}

QString StatsSession::chooseReport() {
    return dialogs_.openFileName(LoadRundownDataTitle, RundownDataFilter);
}

bool StatsSession::load(const QString& path) {
    if (path.isEmpty() || !app::ProgramCore::FileExists(path))
        return false;
    base::TextLines lines;
    QString error;
    if (!base::readTextLines(path, lines, &error)) {
        dialogs_.message(error, base::ProgramTitle, base::MessageIcon::None);
        return false;
    }
    RundownReportRead read = readRundownReport(lines);
    switch (read.status) {
    case ReportStatus::NoData:
        dialogs_.message(read.error, FileWarning, base::MessageIcon::Information);
        return false;
    case ReportStatus::Corrupt:
        dialogs_.message(read.error, FileError, base::MessageIcon::Critical);
        return false;
    case ReportStatus::BadValue:
        dialogs_.message(read.error, base::ProgramTitle, base::MessageIcon::None);
        return false;
    case ReportStatus::Read:
        break;
    }
    report_ = std::move(read.data);
    stats_ = processStats(report_.torques, report_.hi, report_.lo);
    currentFile_ = path;
    return true;
}

void StatsSession::mnuViewData_Click() {
    if (currentFile_.trimmed().isEmpty())
        return;
    base::TextLines lines;
    QString error;
    if (!base::readTextLines(currentFile_, lines, &error)) {
        dialogs_.message(UnableToView + currentFile_ + QStringLiteral("\n") + error, base::ProgramTitle,
                         base::MessageIcon::Critical);
        return;
    }
    viewer_.show(QFileInfo(currentFile_).fileName(), lines);
}

QStringList StatsSession::labelTexts() const {
    return statsLabelTexts(stats_, {report_.targetText, report_.hiText, report_.loText}, currentFile_);
}

RunChartScale StatsSession::runChart() const {
    return runChartScale(stats_, report_.hi, report_.lo);
}

HistogramScale StatsSession::histogramRange() const {
    return histogramScale(stats_, report_.hi, report_.lo);
}

controls::Histogram StatsSession::histogram(int intervals) const {
    const HistogramScale range = histogramRange();
    return controls::histogram(report_.torques, intervals, range.bottom, range.top);
}

} // namespace monitor
