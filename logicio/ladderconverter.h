#pragma once
// The converter from the older ladder file (*.Plc) to a version 2 logic file (*.Lio). The element nodes
// of rung r are the records whose stored parent key begins "Inputs r " or "Outputs r "; each becomes one
// condition or action of rung r, in file order, looked up by its name. Three combined ladder inputs
// ("Torque Or Angle Lo", "Torque Or Angle Hi", "Tool Cw OR Center Enabled") become two conditions joined
// by OR. A counter carries its count and a timer start its seconds from the record's value field.
//
// The name of an element is its key; a key made unique with a number ("Input 1 On1") is not in the
// tables, so its text is tried next. A name still unknown converts to code 0 and gets a warning line.

#include "ladder/plcnoderecord.h"
#include "logicio/logicrung.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace app {
class AppServices;
}

namespace logicio {

inline const QString ConverterCaption =
    QStringLiteral("  Brenstal - Convert Logic I/O File   (2001 TO 2002)");
inline const QString ConvertButtonText = QStringLiteral("Convert Logic File ");
inline const QString ConvertCaption = QStringLiteral("Convert File");

struct LadderConversion {
    bool ok = false;
    QString failure;   // the message when the ladder does not fit (caption "Convert File")
    LogicRungs rungs;  // the converted rungs 1..20
    QStringList lines; // the listing the window shows: per rung a blank line and both summaries
};

// Checks and converts the records of a ladder file.
LadderConversion convertLadder(const std::vector<ladder::PlcNodeRecord>& nodes);

// The converter window's core: Convert asks for a ladder file, converts it, lists the result and asks
// where to write the logic file.
class LadderConverter {
public:
    explicit LadderConverter(app::AppServices& services) : services_(services) {}

    // listed runs once the listing of a conversion is ready, before the name of the new file is asked (the
    // window shows the listing then).
    void convertFile(const std::function<void()>& listed = {});
    // What the window's list shows after the last conversion.
    const QStringList& lines() const { return lines_; }

private:
    void saveLioFile(const LogicRungs& rungs);

    app::AppServices& services_;
    QStringList lines_;
};

} // namespace logicio
