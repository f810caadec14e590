#include "monitor/ui/curvechart.h"

#include "controls/ui/chartwidget.h"

#include <QGuiApplication>
#include <QPalette>

namespace monitor {

namespace {
// Slot 2 takes the desktop's colour, which this system does not have: a fixed teal stands for it.
const QColor DesktopColor(0, 128, 128);
enum Slot { Slot1 = 1, Slot2, Slot3, Slot4, Slot5, Slot6, Slot7, Slot8, Slot9, Slot10 };
} // namespace

QColor PlotColor(int slot) {
    switch (slot) {
    case Slot1:
        return Qt::black;
    case Slot2:
        return DesktopColor;
    case Slot3:
    case Slot10:
        return Qt::red;
    case Slot4:
        return Qt::yellow;
    case Slot5:
        return Qt::blue;
    case Slot6:
        return Qt::cyan;
    case Slot7:
        return Qt::magenta;
    case Slot9:
        return QGuiApplication::palette().color(QPalette::Highlight);
    default:
        return Qt::green;
    }
}

int CurveChart::plotCount() const {
    return chart_.plotCount();
}

void CurveChart::addPlot() {
    chart_.addPlot(PlotColor(chart_.plotCount() + 1));
}

void CurveChart::removeLastPlot() {
    chart_.removeLastPlot();
}

void CurveChart::removeAllPlots() {
    chart_.removeAllPlots();
}

void CurveChart::clearData() {
    chart_.clearData();
}

void CurveChart::drawPlot(int plot, int yAxis, std::span<const double> samples) {
    chart_.setPlotAxis(plot, yAxis);
    chart_.plotY(plot, samples);
}

void CurveChart::setAxisRange(int axis, double minimum, double maximum) {
    chart_.setAxisRange(axis, minimum, maximum);
}

} // namespace monitor
