#pragma once
// The project's parameter sets as the program keeps them: PsetTable, records 0..10 of PsetRecord, of which
// Psets 1..8 are used (records 0, 9 and 10 are spare; record 9 is read as the record after Pset 8 when a
// Pset is removed). The Pset editor, the data-logger route report and the settings collection share the one
// table that AppServices owns.
//
// A PsetRecord is eighteen fixed-width text fields: seventeen of 10 characters and the curve file path of
// 40. Every field holds decimal text, left-aligned and blank-padded to its width; a longer text is cut at
// the width. Numbers are read back with the lenient parse (leading number, blank reads 0).
//
//   app::PsetRecord& p = ctx.psetTable[3];
//   p.setNumber(app::PsetField::TqTarget, 12.5);    // "12.5      "
//   double target = p.number(app::PsetField::TqTarget);

#include <QString>

#include <array>

namespace app {

// The leading number of a text rounded to a whole number, halves to even (blank reads 0).
int wholeNumber(const QString& text);

// Strategy codes of a Pset.
enum PsetStrategy : int {
    TorqueControl = 1,
    TorqueControlAngleMonitor = 2,
    TorqueMonitorAngleControl = 3,
    TorqueControlAngleControl = 4,
    RevTorqueControlAngleControl = 28,
    RevTorqueMonitorAngleControl = 29,
    RevTorqueControlAngleMonitor = 30,
    RevTorqueControl = 31,
};

// The fields in their record (and file) order.
enum class PsetField : int {
    NumPsets,      // Psets in the project; meaningful in record 1 only
    Units,         // torque units code: 1 lb-in, 2 lb-ft, 3 kg-cm, 4 kg-m, 5 Nm
    Strategy,      // strategy code 1, 2, 3, 4, 28, 29, 30, 31
    TqTarget,      // torque target, in the record's units
    TqHi,          // torque high limit
    TqLo,          // torque low limit
    TqPercent,     // torque window in percent of the target (an editing aid, never sent)
    TqDownshift,   // torque at which the tool shifts to its downshift speed
    TqThreshold,   // threshold torque
    AngleTarget,   // degrees
    AngleHi,       // degrees
    AngleLo,       // degrees
    CycleComplete, // cycle-complete torque
    RpmDownshift,  // motor speed after the downshift
    RpmFreeSpeed,  // free-running motor speed
    SoftStart,     // "1" on, "0" off
    Ergo,          // "1" on, "0" off
    CurveFile,     // the project's reference curve (*.dat) or "None"; meaningful in record 1 only
};

class PsetRecord {
public:
    static constexpr int Fields = 18;
    static constexpr int FieldWidth = 10;
    static constexpr int CurveFileWidth = 40;
    // Bytes of a record in a Pset file: the fields back to back.
    static constexpr int Bytes = (Fields - 1) * FieldWidth + CurveFileWidth;

    // A cleared record: every field blank (reads as 0).
    PsetRecord();

    static int width(PsetField field) { return field == PsetField::CurveFile ? CurveFileWidth : FieldWidth; }

    // The field's fixed-width text, trailing blanks included.
    const QString& text(PsetField field) const { return fields_[index(field)]; }
    // Stores text left-aligned, blank-padded and cut at the field's width.
    void setText(PsetField field, const QString& text);
    // The field's leading number (blank text reads 0).
    double number(PsetField field) const;
    // The field's number rounded to a whole number, halves to even.
    int whole(PsetField field) const { return wholeNumber(text(field)); }
    // Stores a number in its shortest decimal form (12.5, 80, 0.33333333 when cut).
    void setNumber(PsetField field, double value);

    bool operator==(const PsetRecord&) const = default;

private:
    static size_t index(PsetField field) { return size_t(field); }
    std::array<QString, Fields> fields_;
};

class PsetTable {
public:
    static constexpr int Records = 11;
    static constexpr int MaxPsets = 8;

    // Record n (0..10); n outside the table is a programming error.
    PsetRecord& operator[](int n) { return records_.at(size_t(n)); }
    const PsetRecord& operator[](int n) const { return records_.at(size_t(n)); }

    // The project's size: NumPsets of record 1, rounded.
    int count() const { return records_[1].whole(PsetField::NumPsets); }
    void setCount(int count) { records_[1].setNumber(PsetField::NumPsets, count); }

    bool operator==(const PsetTable&) const = default;

private:
    std::array<PsetRecord, Records> records_{};
};

} // namespace app
