#pragma once
// Prepares a program folder whose settings select the Ethernet link to the stand-in on 127.0.0.1. Kept
// out of the stand-in's library: it writes the program's own settings files through the program's
// settings code.

#include <QString>

namespace sim {

// Loads the folder's settings (creating them with defaults when missing), selects Ethernet to
// 127.0.0.1:port and saves them. The password, Pset defaults and TransferDelay already there are kept.
// Returns false and fills error when the folder or the files cannot be written; warnings (a corrupt file
// reset to its defaults) go to warnings.
bool prepareProgramFolder(const QString& folder, quint16 port, QString* error,
                          QStringList* warnings = nullptr);

} // namespace sim
