#pragma once
// The program's folder: where the settings files and the program's own logs live.
// $PALVERIN_HOME when set, else the per-user application data folder (created on first use).

#include <QString>

namespace base {

QString programFolder();

// Maps the Windows path a file of the program is known by ("\Pset_RundownData.txt", "C:\FinalData.txt",
// "Brenstal.ini") to a file in the program's folder.
QString programFile(const QString& windowsPath);

} // namespace base
