#include "sim/trayemitter.h"

namespace sim {

TrayEmitter::TrayEmitter(ControllerModel& model, TcpDongle& dongle, int periodMs)
    : model_(model), dongle_(dongle) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (model_.socketTray.attached)
            dongle_.emitSpontaneous(model_.trayFrame());
    });
    timer_.start(periodMs);
}

} // namespace sim
