#pragma once
// Prepares a program folder whose settings select the Ethernet link to the stand-in.

#include <QString>

namespace sim {

bool prepareProgramFolder(const QString& folder, quint16 port, QString* error);

} // namespace sim
