#include "base/serial/serialdevicelist.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace base {

QStringList availableSerialDevices() {
    QStringList paths;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        paths.append(info.systemLocation());
    // By name, and the number at the end by its value: ttyS2 before ttyS10.
    const auto split = [](const QString& path) {
        qsizetype digits = path.size();
        while (digits > 0 && path[digits - 1].isDigit())
            --digits;
        return std::pair(path.left(digits), path.mid(digits).toULongLong());
    };
    std::sort(paths.begin(), paths.end(),
              [&](const QString& a, const QString& b) { return split(a) < split(b); });
    return paths;
}

QString chosenSerialDevice(const QSettings& store, const QString& key) {
    const QString stored = store.value(key).toString();
    if (!stored.isEmpty())
        return stored;
    const QStringList present = availableSerialDevices();
    return present.isEmpty() ? FallbackSerialDevice : present.first();
}

} // namespace base
