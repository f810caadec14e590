#pragma once
// The system reports of System > View: the status report and the Parameter Sets report, and a Pset's texts
// in report order (which the rundown report prints too).

#include "link/linkstate.h"
#include "link/psetreport.h"

#include <QString>
#include <QStringList>

namespace app {

inline const QString SystemInformationLine = QStringLiteral("--------- SYSTEM INFORMATION --------");

// "--------- SYSTEM INFORMATION --------" and the four 40-character status lines.
QStringList systemStatusReport(const clink::SystemStatusRecord& status);

// A Pset's fifteen 40-character texts in report order: units, strategy, torque target, high and low limit,
// threshold, downshift, cycle complete, angle target, high and low limit, free speed, rpm downshift, soft
// start, ergo. (Text 3, the torque percent, is not reported.)
QStringList psetReportTexts(const clink::PsetReportRecord& record);

// The Parameter Sets report: its four header lines, then per Pset a blank line, the Pset's title lines and
// its texts.
QStringList parameterSetsHeader(const QString& time, const QString& date);
QStringList parameterSetLines(int pset, const clink::PsetReportRecord& record);

} // namespace app
