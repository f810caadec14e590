#pragma once
// The machine's serial devices and the one a window uses: kept by name in the user's settings store
// (section "Settings"), else the first serial port of the machine.

#include "base/usersettings.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace base {

// Port used when the machine lists none: the first serial port of a PC.
inline const QString FallbackSerialDevice = QStringLiteral("/dev/ttyS0");

// The serial devices of this machine by path, in the order of their names (ttyS2 before ttyS10).
QStringList availableSerialDevices();

// The device stored under key; when none is, the machine's first serial device, else the fallback.
QString chosenSerialDevice(const QSettings& store, const QString& key);

} // namespace base
