#include "app/toolcalibration.h"

#include "app/reports/toolreports.h"
#include "base/eventpump.h"
#include "link/controllerlink.h"

namespace app {

namespace {
// "Read Cal Value Failed: Msg n" numbers location 45 as 1.
constexpr int CalMessageBase = CalValueLow - 1;
} // namespace

clink::PreCheck toolEepromCheck(const QString& parallelFailText) {
    clink::PreCheck check{.usb = clink::UsbCheck::Reopen};
    check.texts.parallel = parallelFailText;
    return check;
}

const CalibrationCopy ToolCalibrationReset{FactoryCalLow, CalValueLow,
                                           QStringLiteral("Tool Calibration Reset Failed "),
                                           QStringLiteral("Tool Calibration Reset Failed")};
const CalibrationCopy FactoryCalibrationSet{CalValueLow, FactoryCalLow,
                                            QStringLiteral("Tool Factory Calibration Set Failed "),
                                            QStringLiteral("Tool Factory Calibration Set Failed")};

QString readCalibrationLocations(clink::ControllerLink& link, int first, int last, base::Progress& progress) {
    clink::LinkState& s = link.state;
    progress.setRange(0, FactoryCalHigh);
    progress.setValue(0);
    link.dataTx.ClearReceiveBuffer();
    s.DataCount = 0;
    for (int address = first; address <= last; ++address) {
        link.pump.doEvents();
        // Every link appends at DataCount; the index only keeps the caller's view of where the byte goes.
        s.EepromReadIndex = address - CalValueLow;
        if (!link.dataTx.ReadToolEeprom(address)) {
            progress.setValue(0);
            return QStringLiteral("Read Cal Value Failed: Msg ") + QString::number(address - CalMessageBase);
        }
        progress.setValue(address);
    }
    return {};
}

QString writeCalibrationCopy(clink::ControllerLink& link, const CalibrationCopy& copy) {
    const clink::LinkState& s = link.state;
    const int low = s.DataBuffer[0];
    const int high = s.DataBuffer[1];
    if (!link.dataTx.WriteToolEeprom(copy.writeFirst, low))
        return copy.firstWriteFailed;
    if (!link.dataTx.WriteToolEeprom(copy.writeFirst + 1, high))
        return copy.secondWriteFailed;
    return {};
}

QString copyToolCalibration(clink::ControllerLink& link, const CalibrationCopy& copy,
                            base::Progress& progress) {
    QString failure = readCalibrationLocations(link, copy.readFirst, copy.readFirst + 1, progress);
    return failure.isEmpty() ? writeCalibrationCopy(link, copy) : failure;
}

} // namespace app
