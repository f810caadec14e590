#pragma once
// The readable forms of the tool's EEPROM: the labelled tool parameter report and the plain listing of
// every location. The settings collection writes the same lines to its files (the parameter report in its
// file form, without the date line), so both come from here.

#include "app/reports/reportform.h"

#include <QString>
#include <QStringList>

namespace clink {
class DataBufferArray;
}

namespace app {

// Locations the parameter report reads (0..1023) and the listing lists (0..1024).
inline constexpr int ToolReportLocations = 1024;
inline constexpr int ToolListingLocations = 1025;
// Lines of the tool parameter report.
inline constexpr int ToolReportLines = 120;
// Tool EEPROM locations of the calibration values (low byte first) and of the tool id.
inline constexpr int CalValueLow = 45;
inline constexpr int CalValueHigh = 46;
inline constexpr int FactoryCalLow = 47;
inline constexpr int FactoryCalHigh = 48;
inline constexpr int ToolIdLowLocation = 2;
inline constexpr int ToolIdHighLocation = 3;
inline constexpr int ToolModelLocation = 31;
// The model character of a pistol: "P".
inline constexpr int PistolModel = 80;

// The tool id: location 2 high and 3 low for a pistol (model character "P" at 31), else 3 high and 2 low.
int toolIdFromEeprom(const clink::DataBufferArray& L);

// The 120-line tool parameter report of locations 0..1023 (element n = location n), with the time and
// date of its header; in the file form the 119 lines without "DATE   : ".
QStringList makeToolParameterReport(const QString& time, const QString& date, const clink::DataBufferArray& L,
                                    ReportForm form = ReportForm::Menu);

// "Address n: v" for n = 0 .. count - 1 (element n = location n).
QStringList makeToolEepromListing(const clink::DataBufferArray& L, int count = ToolListingLocations);

} // namespace app
