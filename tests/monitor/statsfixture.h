#pragma once
// Rundown reports for the statistics tests, in the layout of the main window's Rundown Data report.

#include <QString>
#include <QStringList>

namespace statstest {

struct ReportContents {
    QString target = QStringLiteral("12");
    QString hi = QStringLiteral("16");
    QString lo = QStringLiteral("8");
    QStringList torques; // the torque cells, as printed
    bool closed = true;  // the closing dashed line
};

// The report's lines: header, the Pset's texts (40 characters each), column line, dashes, one line of
// five 12-character cells per torque, dashes.
QStringList reportLines(const ReportContents& report);

// The three rundowns 10.00, 12.00 and 14.00 with Hi 16, Lo 8 and target 12, as a saved file reads (CR LF).
QByteArray threeRundownReport();

} // namespace statstest
