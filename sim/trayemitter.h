#pragma once
// A socket tray on the bus as the Ethernet dongle hears it: while the model's tray is attached, its status
// frame every period, passed to the program when the dongle was last asked to accept the tray's identifier.
//
//   sim::TrayEmitter tray(model, dongle);
//   model.socketTray = {true, 3, 5};   // socket 3 out, lamps 1 and 3 on

#include "sim/controllermodel.h"
#include "sim/tcpdongle.h"

#include <QObject>
#include <QTimer>

namespace sim {

class TrayEmitter : public QObject {
    Q_OBJECT
public:
    // Often enough for the first wait of a listening pass to hear two frames.
    static constexpr int DefaultPeriodMs = 1;

    TrayEmitter(ControllerModel& model, TcpDongle& dongle, int periodMs = DefaultPeriodMs);

private:
    ControllerModel& model_;
    TcpDongle& dongle_;
    QTimer timer_;
};

} // namespace sim
