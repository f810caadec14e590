#pragma once
// The converter from the older ladder file (*.Plc) to a version 2 logic file (*.Lio). The element nodes
// of rung r are the records whose stored parent key begins "Inputs r " or "Outputs r "; each becomes one
// condition or action of rung r, in file order, looked up by its name. Three combined ladder inputs
// ("Torque Or Angle Lo", "Torque Or Angle Hi", "Tool Cw OR Center Enabled") become two conditions joined
// by OR. A counter carries its count and a timer start its seconds from the record's value field.
//
// The name of an element is its key; a key made unique with a number ("Input 1 On1") is not in the
// tables, so its text is tried next. A name still unknown converts to code 0 and gets a warning line.
//
// The ladder file is read and checked one record at a time (ladder::readPlcProgram) and each record is
// placed as it comes: a file that is no ladder file is refused at its first damaged record, and however
// many records a file holds, the conversion keeps no more of them than a rung table can take.

#include "ladder/plcnoderecord.h"
#include "logicio/logicrung.h"

#include <QString>
#include <QStringList>

#include <array>
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

// The element records of a ladder file as the conversion needs them, gathered record by record: what the
// inputs and outputs of rungs 1 to 30 hold is counted, and the records of rungs 1 to 20 are kept, in file
// order, while their rung still fits a rung table (beyond that the check refuses the file anyway).
class LadderElements {
public:
    // Rungs the checks look at: nodes of higher rungs are ignored.
    static constexpr int CheckedRungs = 30;
    enum class Side { Inputs, Outputs };

    void add(const ladder::PlcNodeRecord& node);

    // The check of every rung up to 30: at most 4 inputs (a combined input counts 2), 4 outputs, 20 rungs;
    // the message of the first rung that fails, or nothing.
    QString failure() const;

    struct Element {
        Side side;
        ladder::PlcNodeRecord node;
    };
    // The elements kept for rung r (1 to 20), in file order.
    const std::vector<Element>& rung(int r) const { return kept_[std::size_t(r)]; }

private:
    struct Count {
        int inputs = 0;
        int outputs = 0;
    };
    std::array<Count, CheckedRungs + 1> counts_{};
    std::array<std::vector<Element>, LogicRungs::LastRung + 1> kept_;
};

// Checks and converts the elements gathered from a ladder file, or the records of one.
LadderConversion convertElements(const LadderElements& elements);
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
