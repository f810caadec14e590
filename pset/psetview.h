#pragma once
// What the Pset editor window shows of a Pset, as data: the value editors and the record fields they
// show, the strategy menu with its label captions and angle layouts, the units captions, the percent
// derived from symmetric limits and the limits a percent gives, and the graph's axes of a project without
// curve. The window (frmPset) puts these on its widgets; the session applies what changes the records.
//
//   const pset::PsetView view = pset::psetView(table, 2, false);
//   label->setText(view.numPsets);                     // "Number Of Psets: 3         "
//   if (const pset::StrategyEntry* s = pset::strategyEntry(view.strategy)) ...

#include "app/psettable.h"

#include <QString>

#include <array>
#include <optional>
#include <span>

namespace pset {

// The eleven value editors of the window, in the order of the graph's cursors 1..9 (torque target, high,
// low, downshift, threshold, cycle complete; angle target, high, low) and then the two speeds.
enum class ValueEditor : int {
    neTqTarget,
    neTqHi,
    neTqLo,
    neDown,
    neThresh,
    neCycleComplete,
    neAngleTarget,
    neAngleHi,
    neAngleLo,
    neFree,
    neDownShift,
};
inline constexpr int ValueEditorCount = 11;
// The three angle editors, from neAngleTarget on.
inline constexpr int AngleEditorCount = 3;
inline constexpr int FirstAngleEditor = int(ValueEditor::neAngleTarget);
using EditorNumbers = std::array<double, ValueEditorCount>;
// The values the user entered in the editors since they were last stored, by editor; the editors the
// user did not touch have none, and their fields keep what the record holds.
using EditedValues = std::array<std::optional<double>, ValueEditorCount>;

// What the user may enter: torques, angles and speeds go to the controller as ten times their value in
// 16 bits; the torque window is a percentage of the target. A record may hold more (a file's values after
// a units conversion): the editors show it as it is and the send refuses it.
inline constexpr double EditorMaximum = 6553.5;
inline constexpr double PercentMaximum = 100;

// The record field a value editor shows.
app::PsetField editorField(ValueEditor editor);

// Which angle editors a strategy uses.
enum class AngleLayout { None, LimitsOnly, All };

// One item of the strategy menu: the strategy code (the item's index), its menu caption, the caption of
// the strategy label and the angle editors it uses.
struct StrategyEntry {
    int code;
    const char* menuCaption;
    const char* labelCaption;
    AngleLayout angles;
};
// The eight strategies in menu order.
std::span<const StrategyEntry> strategyTable();
// The entry of a strategy code; nullptr for a code that is not one of the eight.
const StrategyEntry* strategyEntry(int code);
// The angle editors (target, high, low) a layout enables; a disabled one is set to 0 and its cursor hidden.
std::array<bool, AngleEditorCount> angleEditorsEnabled(AngleLayout layout);

// "Units: In-Lb" ... "Units: Nm" for the units codes 1..5; nothing for another code.
std::optional<QString> unitsCaption(int units);

// The torque window in percent of the target when the limits lie symmetric around it, below it by more
// than nothing: (t - l) / (t x 0.1) x 10. Nothing for asymmetric limits, and for a target of 0 or less
// (no percentage of it exists).
std::optional<double> derivedPercent(double target, double hi, double lo);

// The limits a percentage of the target gives: target +/- target x percent / 100.
struct TorqueLimits {
    double hi = 0;
    double lo = 0;
};
TorqueLimits percentLimits(double target, double percent);

// The graph's maxima of a project without a reference curve: the angle axis 70 above the angle high limit,
// the torque axis 5 above the torque high limit.
struct GraphMaxima {
    double angle = 0;
    double torque = 0;
};

// The curve file name of a project without reference curve (and of a cancelled curve choice).
inline const QString NoCurveFile = QStringLiteral("None");
// The project's reference curve (the curve file of record 1), or empty when it has none: a blank name or
// one beginning with "None".
QString projectCurvePath(const app::PsetTable& table);

// What ShowPset shows for Pset n.
struct PsetView {
    // lblNumOfPsets: "Number Of Psets: " and the whole 10-character count of record 1.
    QString numPsets;
    // lblStrategy and lblUnits; nothing leaves the label as it is (a code outside the tables).
    std::optional<QString> strategyCaption;
    std::optional<QString> unitsCaption;
    // The value editors and the check boxes.
    EditorNumbers editors{};
    bool softStart = false;
    bool ergo = false;
    // The percent editor, when derived from symmetric limits (and the user is not driving the limits).
    std::optional<double> percent;
    // The strategy whose steps run for the shown Pset.
    int strategy = 0;
    // The axes' maxima when the project has no curve; with one the axes stay as the curve set them.
    std::optional<GraphMaxima> noCurveAxes;
};

// The view of Pset n (a record of the table); the percent is derived only when percentEdited is false.
PsetView psetView(const app::PsetTable& table, int n, bool percentEdited);

} // namespace pset
