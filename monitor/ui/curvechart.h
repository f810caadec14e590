#pragma once
// The curve window's graph as the curve session drives it: plot k of the graph control in slot k's colour,
// time on axis 1, torque on axis 2, angle on axis 3.

#include "monitor/curvegraph.h"

#include <QColor>

namespace controls {
class ChartWidget;
}

namespace monitor {

// The colour of plot slot 1..10 (and of its legend label "Plot k"); green for any other number.
QColor PlotColor(int slot);

class CurveChart : public CurveGraph {
public:
    explicit CurveChart(controls::ChartWidget& chart) : chart_(chart) {}

    int plotCount() const override;
    void addPlot() override;
    void removeLastPlot() override;
    void removeAllPlots() override;
    void clearData() override;
    void drawPlot(int plot, int yAxis, std::span<const double> samples) override;
    void setAxisRange(int axis, double minimum, double maximum) override;

private:
    controls::ChartWidget& chart_;
};

} // namespace monitor
