#pragma once
// The check the calibration windows make before they read or write the tool EEPROM: the link prepared for
// its reply (12EF0602): on the parallel port the dongle set up for it, over Ethernet and USB its filter frame
// (USB reopens the device when the frame fails). A failure is shown with the critical icon and the program's
// title.

#include <QString>

namespace clink {
class ControllerLink;
}

namespace service {

inline const QString CandongleFailedText = QStringLiteral("Unable To Configure Candongle");

// True when the tool EEPROM may be used; otherwise the failure has been shown.
bool toolEepromLinkCheck(clink::ControllerLink& link, const QString& parallelFailText = CandongleFailedText);

} // namespace service
