#pragma once
// What the curve session drives of the curve window: its graph and the progress panel of a collection.
// The window implements both over its widgets; tests record them.

#include "base/progress.h"

#include <QString>

#include <span>

namespace monitor {

// The graph: plots numbered from 1 (plot k shows slot k, in slot k's colour), axis 1 the time (sample
// index), axis 2 the torque, axis 3 the angle.
class CurveGraph {
public:
    static constexpr int TimeAxis = 1;
    static constexpr int TorqueAxis = 2;
    static constexpr int AngleAxis = 3;

    virtual ~CurveGraph() = default;
    virtual int plotCount() const = 0;
    // Adds an empty plot after the last one, coloured for its number.
    virtual void addPlot() = 0;
    virtual void removeLastPlot() = 0;
    virtual void removeAllPlots() = 0;
    // Empties every plot; the plots stay.
    virtual void clearData() = 0;
    // Draws the plot against yAxis from samples, one per time-axis step from 0.
    virtual void drawPlot(int plot, int yAxis, std::span<const double> samples) = 0;
    virtual void setAxisRange(int axis, double minimum, double maximum) = 0;
};

// The progress panel of a curve collection: the bar (range and value), the "i / N" count and the
// collecting state (hourglass, panel shown, Transfer menu and point count disabled).
class CurveCollectionDisplay : public base::Progress {
public:
    virtual void setCountText(const QString& text) = 0;
    virtual void setCollecting(bool collecting) = 0;
};

} // namespace monitor
