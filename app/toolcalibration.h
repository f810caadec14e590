#pragma once
// The tool's calibration values in its EEPROM: the working value at 45/46 and the factory value at 47/48,
// each low byte first. Reading them, and copying one pair over the other (the reset to the factory value,
// and setting the factory value from the working one), on the selected link; the caller shows a failure.
//
//   const QString failure = app::copyToolCalibration(ctx.link, app::ToolCalibrationReset, progress);
//   if (!failure.isEmpty())
//       ctx.dialogs.message(failure, base::ProgramTitle, base::MessageIcon::Critical);

#include "base/progress.h"
#include "link/linkcheck.h"

#include <QString>

namespace clink {
class ControllerLink;
}

namespace app {

// The check before the tool EEPROM is read or written (its reply 12EF0602, through app::LinkGate): over USB
// a failed filter frame reopens the device; the parallel-port failure text is the command's own.
clink::PreCheck
toolEepromCheck(const QString& parallelFailText = QStringLiteral("Unable To Configure Candongle"));

// Where a copy reads and writes (the first of two locations each), and the texts of its failed writes.
struct CalibrationCopy {
    int readFirst;
    int writeFirst;
    QString firstWriteFailed;
    QString secondWriteFailed;
};

// The factory value over the working value, and the working value over the factory value.
extern const CalibrationCopy ToolCalibrationReset;
extern const CalibrationCopy FactoryCalibrationSet;

// Reads the locations first..last into DataBuffer(0..) of an empty receive buffer, one DoEvents before each
// read; progress runs over the locations up to the factory value's. Returns the failure ("Read Cal Value
// Failed: Msg " and the location's number, 45 counting as 1), empty when every read succeeded.
QString readCalibrationLocations(clink::ControllerLink& link, int first, int last, base::Progress& progress);

// Writes the two values read (DataBuffer(0..1)) to the copy's other two locations. A failed first write
// stops the copy: half a calibration value is never left behind as a success. Returns the failure, empty
// on success.
QString writeCalibrationCopy(clink::ControllerLink& link, const CalibrationCopy& copy);
// Reads the two locations of the copy, then writes them (both steps above).
QString copyToolCalibration(clink::ControllerLink& link, const CalibrationCopy& copy,
                            base::Progress& progress);

} // namespace app
