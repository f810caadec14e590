#pragma once
// The serial ports of the service windows: which device each one uses (kept in the user's settings store,
// section "Settings", and defaulting to the first serial port of the machine) and the line settings in
// the "38400,n,8,1" form the devices are documented with.

#include "base/serial/serialdevicelist.h"
#include "base/serialport.h"

#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace service {

// Line settings written as "baud,parity,data bits,stop bits" ("9600,n,8,1"; parity n, e, o, m or s; stop
// bits 1, 1.5 or 2). Nothing when the text is not of that form.
std::optional<base::SerialSettings> parseLineSettings(const QString& text);
QString lineSettingsText(const base::SerialSettings& settings);

class SerialDevices {
public:
    // Port used when the machine lists none: the first serial port of a PC.
    static inline const QString FallbackPort = base::FallbackSerialDevice;

    explicit SerialDevices(std::unique_ptr<QSettings> store);

    // The DSM unit's port ("port 1" of the terminal).
    QString dsmPort() const { return device(DsmKey); }
    void setDsmPort(const QString& device) { setDevice(DsmKey, device); }
    // The barcode reader of the match file editor.
    QString scannerPort() const { return device(ScannerKey); }
    void setScannerPort(const QString& device) { setDevice(ScannerKey, device); }

    // The serial devices of this machine by path, in the order of their names.
    static QStringList available();

private:
    static inline const QString DsmKey = QStringLiteral("Settings/DsmPort");
    static inline const QString ScannerKey = QStringLiteral("Settings/ScannerPort");

    QString device(const QString& key) const;
    void setDevice(const QString& key, const QString& device);

    std::unique_ptr<QSettings> store_;
};

} // namespace service
