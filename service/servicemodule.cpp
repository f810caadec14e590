#include "service/servicemodule.h"

#include "base/serial/qtserialport.h"

namespace service {

ServiceModule::ServiceModule(app::AppServices& ctx, std::unique_ptr<QSettings> store)
    : ctx(ctx), serialDevices(std::move(store)) {}

ServiceModule::ServiceModule(app::AppServices& ctx, ProgramCores cores, std::unique_ptr<QSettings> store)
    : ctx(ctx), cores(cores), serialDevices(std::move(store)) {}

std::unique_ptr<base::SerialPort> ServiceModule::makeSerialPort() const {
    return std::make_unique<base::QtSerialPort>();
}

} // namespace service
