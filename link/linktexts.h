#pragma once
// The boxes a transaction shows itself when its link cannot be used (critical icon, the program's title
// unless a caption is named).

#include <QString>

namespace clink {

inline const QString DongleConfigureFailedText = QStringLiteral("Unable To Configure Can Dongle");
inline const QString DongleConfigureAbortedText =
    QStringLiteral("Unable To Configure Can Dongle - Transfer Aborted");
inline const QString EthernetConfigureFailedText = QStringLiteral("Unable To Configure Ethernet");
inline const QString UsbConnectFailedText = QStringLiteral("Unable to connect using USB");

} // namespace clink
