#pragma once
// The statistics window's session: loads a saved rundown report, computes the process statistics and
// gives the window its label texts, chart scales and histogram; shows the loaded file in the read-only
// viewer. Boxes and the file choice go through the Dialogs seam.
//
// A load that fails (no data, a corrupt report, a value that is not a number, an unreadable file) shows
// its message and changes nothing: the results, the file label and the file "Data File" shows stay those
// of the last good load.

#include "controls/histogram.h"
#include "monitor/processstats.h"
#include "monitor/rundownreportreader.h"

namespace app {
class TextViewer;
}
namespace base {
class Dialogs;
}

namespace monitor {

// The load dialog's title and filter: text files first, so they are the ones offered.
inline const QString LoadRundownDataTitle = QStringLiteral("Load Rundown Data");
inline const QString RundownDataFilter = QStringLiteral("Txt Files (*.txt *.Txt *.TXT);;All Files (*)");

class StatsSession {
public:
    StatsSession(base::Dialogs& dialogs, app::TextViewer& viewer);

    // Asks for a report to load (the load dialog); empty when cancelled.
    QString chooseReport();
    // Loads the report at path; a missing file is ignored without a message.
    bool load(const QString& path);
    // Shows the loaded report in the read-only viewer; nothing before the first load.
    void mnuViewData_Click();

    bool loaded() const { return !currentFile_.isEmpty(); }
    const QString& currentFile() const { return currentFile_; }
    const RundownReportData& report() const { return report_; }
    const ProcessStats& stats() const { return stats_; }

    // lblStats 0 to 12 (Show_StatsResults); all results 0 before a load.
    QStringList labelTexts() const;
    RunChartScale runChart() const;
    HistogramScale histogramRange() const;
    // The histogram of the loaded torques in the given number of intervals over histogramRange(); empty
    // for 0 intervals.
    controls::Histogram histogram(int intervals) const;

private:
    base::Dialogs& dialogs_;
    app::TextViewer& viewer_;
    QString currentFile_;
    RundownReportData report_;
    ProcessStats stats_;
};

} // namespace monitor
