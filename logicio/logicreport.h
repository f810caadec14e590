#pragma once
// The printed logic report ("Default.txt"): a five-line header, then six lines per rung built from the
// rung's texts (not its stored summaries).

#include "logicio/logicrung.h"

#include <QString>
#include <QStringList>

namespace logicio {

inline constexpr int LogicReportHeaderLines = 5;
inline constexpr int LogicReportLinesPerRung = 6;
inline constexpr int LogicReportLines = LogicReportHeaderLines + LogicRungs::Count * LogicReportLinesPerRung;

// fileName: the logic file last opened or saved in the editor (empty before); date: today in the
// system's short date form.
QStringList makeLogicReport(const LogicRungs& rungs, const QString& fileName, const QString& date);

} // namespace logicio
