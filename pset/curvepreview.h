#pragma once
// The project's reference curve in the Pset editor's graph: the samples drawn (smoothed with a fixed
// low-pass), the axes that frame them, the three status-bar panels, and the editor a dragged cursor sets.
//
//   const pset::CurvePreview p = pset::curvePreview(ctx.palverin.curve);
//   graph->plotY(1, p.samples);
//   graph->setAxisRange(1, 0, p.xMaximum);

#include "app/curvefile.h"
#include "pset/psetview.h"

#include <QString>

#include <optional>
#include <vector>

namespace pset {

// The preview's smoothing: a low-pass of this order with this cut-off, the curve's sample count taken as
// its sampling rate. A curve too short for the cut-off is drawn as it is.
inline constexpr double PreviewCutoff = 5;
inline constexpr int PreviewOrder = 2;

struct CurvePreview {
    // Plot 1: the smoothed samples against their index.
    std::vector<double> samples;
    // Axis 1 from 0 to the sample count + 10; axis 2 from -5 to the largest sample + 10.
    double xMaximum = 0;
    double yMinimum = 0;
    double yMaximum = 0;
    // Panels 2 and 3: "Max Torque: " and "Min Torque: " with the curve's extremes.
    QString maxPanel;
    QString minPanel;
};

// The preview of the curve read last.
CurvePreview curvePreview(const app::CurveData& curve);

// Panel 1: "Current Plot: " and the curve file.
QString currentPlotPanel(const QString& path);
// Panels 2 and 3 of a curve that could not be read: the captions without values.
QString maxTorquePanel();
QString minTorquePanel();

// The editor a graph cursor (1..9) sets, and the value it takes: the cursor's Y position for the torque
// cursors 1..6, its X position for the angle cursors 7..9, without sign. Nothing for another cursor.
struct CursorEdit {
    ValueEditor editor;
    double value;
};
std::optional<CursorEdit> cursorEdit(int cursor, double x, double y);

// Graph cursors: 1..6 on the torque axis, 7..9 on the angle axis.
inline constexpr int TorqueCursorCount = 6;
inline constexpr int CursorCount = TorqueCursorCount + AngleEditorCount;

} // namespace pset
