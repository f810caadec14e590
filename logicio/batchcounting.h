#pragma once
// The batch counting window's core: the batch shown, which of the window's controls are shown and usable,
// what they show, and the user's changes stored into the program-wide batch table (BatchTable).
//
// The window shows one batch at a time. Until the user chooses one, only the batch list and the four
// main editors are shown, and those editors are not usable (they have no batch to store into). Choosing a
// batch loads every control from it; an enabled batch also shows its options and its two inputs, and
// what they show is stored, so a value outside an editor's limits (a batch size of 0) becomes the limit.
// The editors are numbered 0..5: CWNumEdit1(0..3) (Pset, output for the batch, output for each fastener,
// batch size), CWNumEdit2 (reset/previous input) and CWNumEdit3 (next input).
//
//   BatchCountingEditor editor(module.batchTable());
//   editor.cboBatch_Click(2);               // "Batch 3"
//   editor.chkEnable_Click(true);           // word 14 bit 0; the options and inputs shown
//   editor.chkOption_Click(3, true);        // "Advance Pset": word 14 bit 4
//   editor.valueChanged(3, 150);            // batch size: 99 stored and returned
//   editor.view();                          // what the controls show

#include "logicio/batchtable.h"

#include <QRgb>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace logicio {

inline const QString BatchCountingCaption = QStringLiteral("Batch Counting");
inline const QString BatchEnableCaption = QStringLiteral("Enable");
inline const QString BatchOptionsCaption = QStringLiteral("Batch Count Options");
inline const QString BatchInputsHeading =
    QStringLiteral("Assign I/O to Reset Count/Move Previous or Move Next");
inline const QString BatchReturnCaption = QStringLiteral("Return");
// The note, one line per label.
inline const QStringList BatchNoteLines = {
    QStringLiteral("Any I/O or Counters"), QStringLiteral("assigned by Batch Counting"),
    QStringLiteral("overrides standard"), QStringLiteral("Logic I/O assignments")};

inline constexpr int BatchOptionCount = 6; // chkOption(0..5): flag bits 1..6
inline constexpr int BatchEditCount = 6;   // CWNumEdit1(0..3), CWNumEdit2, CWNumEdit3: fields 1..6
inline constexpr int BatchMainEdits = 4;   // CWNumEdit1(0..3)

struct BatchOptionText {
    QString caption;
    QString toolTip;
};
const std::array<BatchOptionText, BatchOptionCount>& batchOptionTexts();
// The label of each editor ("Run Parameter", ..., "Next Set").
const std::array<QString, BatchEditCount>& batchEditLabels();
// The batch list: "Batch 1" .. "Batch 8".
QStringList batchNames();

// What the window's controls show.
struct BatchCountingView {
    int batch = 0;             // the batch shown, 1..8; 0 before one is chosen
    bool enableShown = false;  // chkEnable
    bool enabled = false;      // chkEnable checked
    bool detailsShown = false; // frameOptions, lblNextSet, lblRstPrev, CWNumEdit2, CWNumEdit3
    bool editsUsable = false;  // the editors take input (a batch is chosen)
    std::array<bool, BatchOptionCount> options{};
    std::array<int, BatchEditCount> values{}; // each within its editor's limits
};

class BatchCountingEditor {
public:
    explicit BatchCountingEditor(BatchTable& table) : table_(table) {}

    // The table field an editor stores into, and its limits.
    static BatchTable::Field editField(int edit) { return BatchTable::Field(edit + 1); }
    static BatchTable::Limits editLimits(int edit) { return BatchTable::limits(editField(edit)); }

    const BatchCountingView& view() const { return view_; }

    // The user chose batch index + 1 in the list (index 0..7).
    void cboBatch_Click(int index);
    // The user checked or cleared Enable: bit 0 of the batch's flags, the other bits and words kept.
    void chkEnable_Click(bool checked);
    // The user checked or cleared option index (0..5): flag bit index + 1.
    void chkOption_Click(int index, bool checked);
    // The user changed editor edit (0..5) to value: stored held to the editor's limits. The value stored,
    // or nothing when no batch is chosen.
    std::optional<int> valueChanged(int edit, int value);

private:
    // Loads every control from the shown batch; an enabled batch stores what its editors show.
    void showBatch();

    BatchTable& table_;
    BatchCountingView view_;
};

// The title frame flashes when the window opens: red and light blue in turn for six timer ticks, then it
// stays light blue.
class BatchTitleFlash {
public:
    static constexpr int Flashes = 6;
    static constexpr int IntervalMs = 300;
    static constexpr QRgb Red = qRgb(0xFF, 0, 0);
    static constexpr QRgb LightBlue = qRgb(0xC0, 0xC0, 0xFF);

    // One tick of the window's timer.
    void Timer1_Timer();
    QRgb color() const { return red_ ? Red : LightBlue; }
    // The flashing is over: later ticks change nothing.
    bool done() const { return ticks_ >= Flashes; }

private:
    int ticks_ = 0;
    bool red_ = false;
};

} // namespace logicio
