#pragma once
// The run screen's rundown result: 18 bytes that the controller sends in three messages on 10EF1102
// ([10 n r...] with n = 1, 2, 3 and six record bytes each). Words are unsigned, high byte first:
//
//   bytes 0-1 torque target x10    2-3 torque high x10    4-5 torque low x10    6-7 final angle (degrees)
//   bytes 8-9 angle high x10     10-11 angle low x10     12-13 final torque x10
//   byte 14 result (code = low five bits)   15 units code   16 current Pset   17 Psets in the controller
//
// A value x10 is shown divided in its shortest decimal form ("12.5", "12").

#include <QColor>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace monitor {

inline constexpr int RunRecordSize = 18;
using RunRecordBytes = std::array<int, RunRecordSize>;

struct RunResult {
    QString finalTorque;
    QString target;
    QString torqueHigh;
    QString torqueLow;
    QString finalAngle;
    QString angleHigh;
    QString angleLow;
    int resultCode = 0;
    int unitsCode = 0;
    int currentPset = 0;
    int psetCount = 0;
};

RunResult decodeRunRecord(const RunRecordBytes& bytes);

// The result colours of the final torque and final angle digits.
inline const QColor ResultGreen{0, 255, 0};
inline const QColor ResultRed{255, 0, 0};
inline const QColor ResultYellow{255, 255, 0};

struct ResultStatus {
    QString status; // "Status: Tq Lo/Angle Hi"
    QColor torqueColour;
    QColor angleColour;
    QString logText; // "Tq Lo/Angle Hi"
};
// Any odd code is an accept; the even codes 2, 4, 8, 10, 12, 16, 18 and 20 name what was out of limits.
// Nothing for the other even codes: the status and colours stay, the log gets the code in decimal.
std::optional<ResultStatus> resultStatus(int code);
// The result text of the log.
QString resultLogText(int code);

// 1 "In-Lb", 2 "Ft-Lb", 3 "Kg-Cm", 4 "Kg-M", 5 "Nm"; nothing for another code.
std::optional<QString> unitsText(int code);

} // namespace monitor
