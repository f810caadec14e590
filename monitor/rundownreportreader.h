#pragma once
// Reads the torques and torque limits of a saved controller rundown report (the layout the main window's
// Rundown Data report and the settings collection's "Rundowns.txt" write): the "File Type : Controller
// Rundown" line, the Pset's "Torque Target:", "Torque Hi Limit:" and "Torque Lo Limit:" lines, the column
// line holding "TORQUE X", a dashed line, one line per rundown with the torque in the 12-character cell
// from column 25, and a closing dashed line. Any number of rundown lines is read, each as it comes: the
// torques are kept as numbers, not as the lines that held them.

#include "base/textlines.h"

#include <QString>

#include <vector>

namespace monitor {

inline const QString NoRundownDataText = QStringLiteral("File Does Not Contain Any Data Rundown Data");
inline const QString CorruptReportText = QStringLiteral("File Corrupt Or File Type Incorrect");

struct RundownReportData {
    // The whole values after the labels, blanks around them removed ("1000", "25.5").
    QString targetText;
    QString hiText;
    QString loText;
    double target = 0;
    double hi = 0;
    double lo = 0;
    std::vector<double> torques; // the final torque of each rundown line, in file order
};

enum class ReportStatus {
    Read,     // data holds the report
    NoData,   // no rundown line (or no report heading): NoRundownDataText
    Corrupt,  // the rundown lines are not closed by a dashed line: CorruptReportText
    BadValue, // a torque or a limit is not a number: error says which
};

struct RundownReportRead {
    ReportStatus status = ReportStatus::NoData;
    RundownReportData data;
    QString error;
};

RundownReportRead readRundownReport(const base::TextLines& lines);

} // namespace monitor
