#pragma once
// The service feature's core module: what the calibration, device and settings-collection windows share
// beyond the program's services. Built once in the composition root; the windows take their sessions'
// parts from it.
//
//   service::ServiceModule service(ctx);            // the user's settings store
//   auto port = service.makeSerialPort();           // a serial port for a session

#include "app/appservices.h"
#include "base/serialport.h"
#include "service/filetransfer.h"
#include "service/serialdevices.h"

#include <QSettings>

#include <memory>

namespace service {

class ServiceModule {
public:
    // store: where the serial device names are kept (the user's settings when not given).
    explicit ServiceModule(app::AppServices& ctx, std::unique_ptr<QSettings> store = userSettingsStore());
    ServiceModule(const ServiceModule&) = delete;
    ServiceModule& operator=(const ServiceModule&) = delete;

    // A serial port over the machine's serial devices, not yet open.
    std::unique_ptr<base::SerialPort> makeSerialPort() const;

    app::AppServices& ctx;
    SerialDevices serialDevices;
    // The DSM terminal's file-transfer time-outs.
    TransferTimings transferTimings;
};

} // namespace service
