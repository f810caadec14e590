#pragma once
// The service feature's core module: what the calibration, device and settings-collection windows share
// beyond the program's services. Built once in the composition root, after the cores the settings
// collection drives; the windows take their sessions' parts from it.
//
//   service::ServiceModule service(ctx, {.logic = logicModule, .ladder = ladderModule});
//   auto port = service.makeSerialPort();           // a serial port for a session

#include "base/serialport.h"
#include "base/usersettings.h"
#include "service/filetransfer.h"
#include "service/serialdevices.h"

#include <QSettings>

#include <memory>
#include <optional>

namespace app {
class AppServices;
}
namespace ladder {
class LadderModule;
}
namespace logicio {
class LogicModule;
}

namespace service {

// The program cores whose controller programs the settings collection receives and writes. (Its Psets
// are the program's Pset table, in the services.)
struct ProgramCores {
    logicio::LogicModule& logic;
    ladder::LadderModule& ladder;
};

class ServiceModule {
public:
    // store: where the serial device names are kept (the user's settings when not given).
    explicit ServiceModule(app::AppServices& ctx,
                           std::unique_ptr<QSettings> store = base::userSettingsStore());
    // With the cores the settings collection needs.
    ServiceModule(app::AppServices& ctx, ProgramCores cores,
                  std::unique_ptr<QSettings> store = base::userSettingsStore());
    ServiceModule(const ServiceModule&) = delete;
    ServiceModule& operator=(const ServiceModule&) = delete;

    // A serial port over the machine's serial devices, not yet open.
    std::unique_ptr<base::SerialPort> makeSerialPort() const;

    app::AppServices& ctx;
    // Nothing when the module was built without them (then there is no settings collection).
    const std::optional<ProgramCores> cores;
    SerialDevices serialDevices;
    // The DSM terminal's file-transfer time-outs.
    TransferTimings transferTimings;
};

} // namespace service
