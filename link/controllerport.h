#pragma once
// The controller's TCP port as the settings hold it (text), the reconnect to the stored address, and the
// release of the open link when the program ends.

#include <QString>

namespace clink {

class ControllerLink;

// Port of the Ethernet dongle when the settings hold none.
inline constexpr quint16 DefaultControllerPort = 1100;

// The port number of a port text; nothing for a text that is not a number from 1 to 65535.
bool parseControllerPort(const QString& text, quint16* port);
// The port number to connect to: the text's port, or the default port for an invalid text.
quint16 controllerPortNumber(const QString& text);

// Closes the socket and connects it again to ControllerIpAddress at ControllerIpPort.
void reconnectController(ControllerLink& link);
// On the Ethernet link, connects a socket that is not connected again (the main window's reconnect timer).
void keepControllerConnected(ControllerLink& link);
// Releases the open link as the program ends: the printer port on the parallel port, the device on USB (a
// failure is only recorded); the Ethernet socket is left as it is.
void releaseController(ControllerLink& link);

} // namespace clink
