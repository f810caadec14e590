// The graph control on the offscreen platform: cursors dragged with the mouse report their position in
// axis values, snapping cursors land on data points, zoom and pan change the ranges and restore returns to
// the ranges set by the program, plots keep their axes, and the printed image holds the cursors.
#include "controls/ui/chartwidget.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

using controls::ChartWidget;
using controls::CursorKind;
using controls::CursorSnap;
using controls::PointerMode;

namespace {

constexpr int Width = 500;
constexpr int Height = 400;

class ChartTest : public ::testing::Test {
protected:
    ChartTest() {
        chart.resize(Width, Height);
        chart.setAxisRange(ChartWidget::XAxis, 0, 100);
        chart.setAxisRange(ChartWidget::YAxis, 0, 50);
        chart.setAxisRange(ChartWidget::Y2Axis, 0, 500);
        chart.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&chart));
        QCoreApplication::processEvents();
    }

    QPoint at(double x, double y, int yAxis = ChartWidget::YAxis) const {
        return chart.mapToViewport(QPointF(x, y), yAxis).toPoint();
    }
    // A press, two moves and a release with the left button on the plot area.
    void drag(QPoint from, QPoint to) {
        QWidget* v = chart.viewport();
        QTest::mousePress(v, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(v, (from + to) / 2);
        QTest::mouseMove(v, to);
        QTest::mouseRelease(v, Qt::LeftButton, Qt::NoModifier, to);
    }
    // One pixel of the plot area in values of each axis.
    double xPixel() const { return 100.0 / chart.chart()->plotArea().width(); }
    double yPixel(double span = 50.0) const { return span / chart.chart()->plotArea().height(); }

    ChartWidget chart;
};

TEST_F(ChartTest, MappingFollowsThePlotArea) {
    const QRectF area = chart.chart()->plotArea();
    ASSERT_GT(area.width(), 100);
    ASSERT_GT(area.height(), 100);
    const QPointF origin = chart.mapToViewport(QPointF(0, 0));
    EXPECT_NEAR(origin.x(), area.left(), 1.0);
    EXPECT_NEAR(origin.y(), area.bottom(), 1.0);
    const QPointF back = chart.mapToValue(chart.mapToViewport(QPointF(37, 12.5)));
    EXPECT_NEAR(back.x(), 37, 1e-9);
    EXPECT_NEAR(back.y(), 12.5, 1e-9);
    // The same pixel row reads ten times as much on an axis with ten times the range.
    EXPECT_NEAR(chart.mapToValue(chart.mapToViewport(QPointF(0, 20)), ChartWidget::Y2Axis).y(), 200, 1e-9);
}

TEST_F(ChartTest, DraggingAHorizontalCursorReportsTheNewValue) {
    const int hi = chart.addCursor(QStringLiteral("HiLimits"), CursorKind::Horizontal);
    const int lo = chart.addCursor(QStringLiteral("LoLimits"), CursorKind::Horizontal);
    chart.setCursorY(hi, 40);
    chart.setCursorY(lo, 10);
    QSignalSpy moved(&chart, &ChartWidget::cursorMoved);
    ASSERT_EQ(moved.count(), 0); // placing from code is silent

    // A click on the line that does not move the mouse grabs and moves nothing.
    QTest::mouseClick(chart.viewport(), Qt::LeftButton, Qt::NoModifier, at(50, 10.4));
    EXPECT_EQ(moved.count(), 0);
    EXPECT_DOUBLE_EQ(chart.cursorPosition(lo).y(), 10);

    drag(at(50, 10), at(50, 25));
    ASSERT_GE(moved.count(), 2);
    const QList<QVariant> last = moved.last();
    EXPECT_EQ(last.at(0).toInt(), lo);
    EXPECT_DOUBLE_EQ(last.at(1).toDouble(), 0); // a horizontal cursor keeps its X
    EXPECT_NEAR(last.at(2).toDouble(), 25, yPixel());
    EXPECT_NEAR(chart.cursorPosition(lo).y(), 25, yPixel());
    EXPECT_DOUBLE_EQ(chart.cursorPosition(hi).y(), 40);
}

TEST_F(ChartTest, CrossAndVerticalCursorsOnTheSecondAxis) {
    const int angle = chart.addCursor(QStringLiteral("AngleHi"), CursorKind::Vertical);
    const int cross = chart.addCursor(QStringLiteral("Cursor"), CursorKind::Cross);
    chart.setCursorAxis(cross, ChartWidget::Y2Axis);
    EXPECT_TRUE(chart.axisVisible(ChartWidget::Y2Axis));
    chart.setCursorPosition(angle, 20, 0);
    chart.setCursorPosition(cross, 70, 300);
    QSignalSpy moved(&chart, &ChartWidget::cursorMoved);

    drag(at(20, 45), at(30, 5));
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last().at(0).toInt(), angle);
    EXPECT_NEAR(chart.cursorPosition(angle).x(), 30, xPixel());
    EXPECT_DOUBLE_EQ(chart.cursorPosition(angle).y(), 0);

    moved.clear();
    drag(at(70, 300, ChartWidget::Y2Axis), at(80, 100, ChartWidget::Y2Axis));
    ASSERT_FALSE(moved.isEmpty());
    EXPECT_EQ(moved.last().at(0).toInt(), cross);
    EXPECT_NEAR(moved.last().at(1).toDouble(), 80, xPixel());
    EXPECT_NEAR(moved.last().at(2).toDouble(), 100, yPixel(500));
}

TEST_F(ChartTest, DisabledHiddenOrOtherModeCursorsStayPut) {
    const int c = chart.addCursor(QStringLiteral("Targets"), CursorKind::Horizontal);
    chart.setCursorY(c, 20);
    QSignalSpy moved(&chart, &ChartWidget::cursorMoved);
    chart.setCursorEnabled(c, false);
    drag(at(50, 20), at(50, 30));
    chart.setCursorEnabled(c, true);
    chart.setCursorVisible(c, false);
    drag(at(50, 20), at(50, 30));
    chart.setCursorVisible(c, true);
    chart.setPointerMode(PointerMode::None);
    drag(at(50, 20), at(50, 30));
    // Pressing away from the line takes nothing either.
    chart.setPointerMode(PointerMode::Cursor);
    drag(at(50, 25), at(50, 30));
    EXPECT_EQ(moved.count(), 0);
    EXPECT_DOUBLE_EQ(chart.cursorPosition(c).y(), 20);
    EXPECT_EQ(chart.axisMinimum(ChartWidget::YAxis), 0);
}

TEST_F(ChartTest, SnapPicksTheNearestPoint) {
    const int torque = chart.addPlot(Qt::black);
    const int angle = chart.addPlot(Qt::blue);
    chart.setPlotAxis(angle, ChartWidget::Y2Axis);
    chart.plotY(torque, std::vector<double>{0, 10, 40, 20, 5}, 0, 10); // (0,0) (10,10) (20,40) (30,20) (40,5)
    chart.plotY(angle, std::vector<double>{250}, 22);                  // (22,250), near (20,25) on screen
    const int c = chart.addCursor(QStringLiteral("Cursor"), CursorKind::Cross);
    chart.setCursorSnap(c, CursorSnap::NearestPoint);
    chart.setCursorPosition(c, 40, 5);
    QSignalSpy moved(&chart, &ChartWidget::cursorMoved);

    // Free to (19, 33): the point (20, 40) of the torque plot is the nearest on the cursor's axis.
    drag(at(40, 5), at(19, 33));
    EXPECT_EQ(chart.cursorPosition(c), QPointF(20, 40));
    EXPECT_EQ(moved.last().at(1).toDouble(), 20);
    EXPECT_EQ(moved.last().at(2).toDouble(), 40);

    // Snapping to the angle plot only: its one point, read on the cursor's axis.
    chart.setCursorAxis(c, ChartWidget::Y2Axis);
    chart.setCursorSnap(c, CursorSnap::NearestPoint, angle);
    drag(at(20, 40, ChartWidget::Y2Axis), at(90, 10, ChartWidget::Y2Axis));
    EXPECT_NEAR(chart.cursorPosition(c).x(), 22, 1e-9);
    EXPECT_NEAR(chart.cursorPosition(c).y(), 250, 1e-9);

    // Free again: the cursor follows the mouse.
    chart.setCursorSnap(c, CursorSnap::Free);
    drag(at(22, 250, ChartWidget::Y2Axis), at(55, 100, ChartWidget::Y2Axis));
    EXPECT_NEAR(chart.cursorPosition(c).x(), 55, xPixel());
}

TEST_F(ChartTest, ZoomAndPanThenRestoreTheRangesSetByTheProgram) {
    chart.setPointerMode(PointerMode::Zoom);
    drag(at(20, 40), at(60, 10));
    EXPECT_NEAR(chart.axisMinimum(ChartWidget::XAxis), 20, xPixel());
    EXPECT_NEAR(chart.axisMaximum(ChartWidget::XAxis), 60, xPixel());
    EXPECT_NEAR(chart.axisMinimum(ChartWidget::YAxis), 10, yPixel());
    EXPECT_NEAR(chart.axisMaximum(ChartWidget::YAxis), 40, yPixel());
    EXPECT_NEAR(chart.axisMinimum(ChartWidget::Y2Axis), 100, yPixel(500));
    EXPECT_NEAR(chart.axisMaximum(ChartWidget::Y2Axis), 400, yPixel(500));

    // A click is not a zoom.
    const double before = chart.axisMaximum(ChartWidget::XAxis);
    drag(at(30, 20), at(30, 20));
    EXPECT_EQ(chart.axisMaximum(ChartWidget::XAxis), before);

    chart.restoreRanges();
    chart.setPointerMode(PointerMode::Pan);
    drag(at(50, 25), at(40, 35)); // the data move left and up: the view moves right and down
    // Wider axis labels move the plot area while panning: a few pixels of slack.
    const double slack = 3;
    EXPECT_NEAR(chart.axisMinimum(ChartWidget::XAxis), 10, slack * xPixel());
    EXPECT_NEAR(chart.axisMaximum(ChartWidget::XAxis), 110, slack * xPixel());
    EXPECT_NEAR(chart.axisMinimum(ChartWidget::YAxis), -10, slack * yPixel());
    EXPECT_NEAR(chart.axisMinimum(ChartWidget::Y2Axis), -100, slack * yPixel(500));

    chart.restoreRanges();
    EXPECT_EQ(chart.axisMinimum(ChartWidget::XAxis), 0);
    EXPECT_EQ(chart.axisMaximum(ChartWidget::XAxis), 100);
    EXPECT_EQ(chart.axisMaximum(ChartWidget::YAxis), 50);
    EXPECT_EQ(chart.axisMaximum(ChartWidget::Y2Axis), 500);
}

TEST_F(ChartTest, PlotsKeepTheirAxesColoursAndTheRangesShown) {
    EXPECT_FALSE(chart.axisVisible(ChartWidget::Y2Axis));
    const int p1 = chart.addPlot(Qt::black);
    const int p2 = chart.addPlot(Qt::red);
    EXPECT_EQ(chart.plotCount(), 2);
    chart.plotY(p1, std::vector<double>{1000, -1000, 3}, 5, 0.5);
    chart.plotXY(p2, std::vector<double>{1, 2, 3}, std::vector<double>{7, 8});
    EXPECT_EQ(chart.plotData(p1), (QList<QPointF>{{5, 1000}, {5.5, -1000}, {6, 3}}));
    EXPECT_EQ(chart.plotData(p2), (QList<QPointF>{{1, 7}, {2, 8}}));
    // Data far outside the ranges do not rescale the axes.
    EXPECT_EQ(chart.axisMaximum(ChartWidget::YAxis), 50);
    chart.setPlotAxis(p2, ChartWidget::Y2Axis);
    EXPECT_EQ(chart.plotAxis(p2), ChartWidget::Y2Axis);
    EXPECT_TRUE(chart.axisVisible(ChartWidget::Y2Axis));
    EXPECT_EQ(chart.axisMaximum(ChartWidget::Y2Axis), 500);
    EXPECT_EQ(chart.plotColor(p2), QColor(Qt::red));
    EXPECT_EQ(chart.plotColor(p1), QColor(Qt::black)); // not the chart theme's first colour

    chart.clearData();
    EXPECT_EQ(chart.plotCount(), 2);
    EXPECT_TRUE(chart.plotData(p1).isEmpty());
    chart.removeLastPlot();
    EXPECT_FALSE(chart.axisVisible(ChartWidget::Y2Axis));
    chart.removeAllPlots();
    EXPECT_EQ(chart.plotCount(), 0);

    // Wrong numbers are ignored.
    chart.plotY(3, std::vector<double>{1});
    chart.setCursorY(1, 5);
    chart.setAxisRange(4, 0, 1);
    EXPECT_TRUE(chart.plotData(3).isEmpty());
    EXPECT_EQ(chart.axisCaption(0), QString());
}

TEST_F(ChartTest, RangesAreKeptInOrderAndOneEndCanChange) {
    chart.setAxisRange(ChartWidget::YAxis, 9, 3);
    EXPECT_EQ(chart.axisMinimum(ChartWidget::YAxis), 3);
    EXPECT_EQ(chart.axisMaximum(ChartWidget::YAxis), 9);
    chart.setAxisRange(ChartWidget::YAxis, 4, 4);
    EXPECT_EQ(chart.axisMaximum(ChartWidget::YAxis), 5);
    chart.setAxisMaximum(ChartWidget::XAxis, 250);
    EXPECT_EQ(chart.axisMinimum(ChartWidget::XAxis), 0);
    EXPECT_EQ(chart.axisMaximum(ChartWidget::XAxis), 250);
    chart.setAxisCaption(ChartWidget::Y2Axis, QStringLiteral("Angle"));
    EXPECT_TRUE(chart.axisVisible(ChartWidget::Y2Axis));
    EXPECT_EQ(chart.axisCaption(ChartWidget::Y2Axis), "Angle");
}

TEST_F(ChartTest, RenderedImageShowsTheCursorLine) {
    chart.setCaption(QStringLiteral("XBar - R"));
    const int c = chart.addCursor(QStringLiteral("TqHi"), CursorKind::Horizontal, QColor(255, 0, 0));
    chart.setCursorY(c, 25);
    const QImage image = chart.renderImage();
    ASSERT_EQ(image.size(), chart.viewport()->size());
    const QPoint line = at(50, 25);
    int red = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        const QColor pixel = image.pixelColor(line.x(), line.y() + dy);
        red += pixel.red() > 200 && pixel.green() < 120 && pixel.blue() < 120 ? 1 : 0;
    }
    EXPECT_GE(red, 1);
    // Hidden, the line is not drawn.
    chart.setCursorVisible(c, false);
    const QImage hidden = chart.renderImage(QSize(Width / 2, Height / 2));
    EXPECT_EQ(hidden.size(), QSize(Width / 2, Height / 2));
    const QColor pixel = chart.renderImage().pixelColor(line);
    EXPECT_FALSE(pixel.red() > 200 && pixel.green() < 120);
}

} // namespace
