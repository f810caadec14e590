#pragma once
// ChartWidget: the graph of the Pset editor, the curve window and the statistics window.
//
// A Qt Charts view with numbered plots, three numbered axes and numbered cursors, all counted from 1 the
// way the windows speak of them ("plot 1 carries the curve", "cursor 3", "axis 2"):
//
//   axes     1 = X (bottom), 2 = Y (left), 3 = second Y (right; shown once its caption is set or a plot or
//            cursor uses it). setAxisRange() also sets the "full" range that restoreRanges() returns to
//            after the user has zoomed or panned. A range with max <= min is widened (equal ends get
//            max = min + 1, swapped ends are put in order), so the mapping never divides by zero.
//   plots    line series; each has a colour and is drawn against axis 1 and axis 2 or 3. Data are a Y array
//            against its index (plotY) or a Y array against an X array (plotXY); a new plot is empty.
//   cursors  horizontal (a line at Y), vertical (a line at X) or cross (both), each against axis 1 and
//            axis 2 or 3. A visible, enabled cursor can be dragged with the mouse in the Cursor pointer
//            mode; a snapping cursor jumps to the data point nearest to the mouse (of one plot, or of every
//            plot on the cursor's Y axis). A drag emits cursorMoved(index, x, y) on every move, with the
//            position in axis values; a click that does not move the mouse leaves the cursor where it is
//            and emits nothing, nor does setting a position from code.
//   pointer  Zoom: drag a rectangle, every axis takes its part; Pan: drag the plot area; Cursor: drag
//            cursors; None: the mouse does nothing.
//
//   auto* graph = new controls::ChartWidget(this);
//   graph->setAxisCaption(2, "Torque");
//   graph->setAxisRange(1, 0, samples.size() + 10);
//   const int plot = graph->addPlot(Qt::black);
//   graph->plotY(plot, samples);                            // x = 0, 1, 2 ...
//   const int hi = graph->addCursor("HiLimits", controls::CursorKind::Horizontal, Qt::red);
//   graph->setCursorY(hi, 55);
//   connect(graph, &controls::ChartWidget::cursorMoved, this, [](int i, double x, double y) { ... });
//
// For printing, renderImage() draws the chart with its cursors into an image; QWidget::grab() of a
// window that holds the graph shows it as well.

#include <QChartView>
#include <QColor>
#include <QList>
#include <QPointF>

#include <memory>
#include <optional>
#include <span>
#include <vector>

class QGraphicsLineItem;
class QLineSeries;
class QRubberBand;
class QValueAxis;

namespace controls {

enum class CursorKind { Horizontal, Vertical, Cross };
enum class CursorSnap { Free, NearestPoint };
enum class PointerMode { None, Zoom, Pan, Cursor };

class ChartWidget : public QChartView {
    Q_OBJECT
public:
    static constexpr int XAxis = 1;
    static constexpr int YAxis = 2;
    static constexpr int Y2Axis = 3;
    // How near (in pixels) to a cursor line a mouse press must be to take the cursor.
    static constexpr double CursorGrabDistance = 5.0;

    explicit ChartWidget(QWidget* parent = nullptr);
    ~ChartWidget() override;

    // The title above the plot area.
    void setCaption(const QString& caption);
    QString caption() const;

    // Clears the data of every plot; plots, colours, axes and cursors stay.
    void clearData();

    // --- plots, 1..plotCount() ---
    int plotCount() const;
    // Adds an empty plot against axes 1 and 2; returns its number.
    int addPlot(const QColor& color = Qt::black);
    void removeLastPlot();
    void removeAllPlots();
    void setPlotColor(int plot, const QColor& color);
    QColor plotColor(int plot) const;
    // Draws the plot against axis 2 or 3 from now on.
    void setPlotAxis(int plot, int yAxis);
    int plotAxis(int plot) const;
    // Marks every data point of the plot (for sparse data such as a histogram).
    void setPlotPointsVisible(int plot, bool visible);
    // Replaces the plot's data by y against x = xFirst, xFirst + xIncrement, ...
    void plotY(int plot, std::span<const double> y, double xFirst = 0, double xIncrement = 1);
    // Replaces the plot's data by y against x; the shorter array sets the point count.
    void plotXY(int plot, std::span<const double> x, std::span<const double> y);
    void clearPlot(int plot);
    QList<QPointF> plotData(int plot) const;

    // --- axes 1..3 ---
    void setAxisCaption(int axis, const QString& caption);
    QString axisCaption(int axis) const;
    // Sets the shown range and the full range restoreRanges() returns to.
    void setAxisRange(int axis, double minimum, double maximum);
    // One end of the full range; the other end keeps its full value.
    void setAxisMinimum(int axis, double minimum);
    void setAxisMaximum(int axis, double maximum);
    double axisMinimum(int axis) const;
    double axisMaximum(int axis) const;
    // Axes 1 and 2 always show; axis 3 shows once its caption is set or a plot or cursor uses it.
    bool axisVisible(int axis) const;
    // Every axis back to the range last set with setAxisRange (the end of a zoom or pan).
    void restoreRanges();

    // --- cursors, 1..cursorCount() ---
    // Adds a visible, enabled, free cursor at (0, 0) against axes 1 and 2; returns its number.
    int addCursor(const QString& name, CursorKind kind, const QColor& color = Qt::red);
    int cursorCount() const;
    QString cursorName(int cursor) const;
    CursorKind cursorKind(int cursor) const;
    void setCursorVisible(int cursor, bool visible);
    bool cursorVisible(int cursor) const;
    // An enabled cursor can be dragged; a disabled one is still drawn.
    void setCursorEnabled(int cursor, bool enabled);
    bool cursorEnabled(int cursor) const;
    // plot 0: snap to the nearest point of every plot on the cursor's Y axis; else only to that plot.
    void setCursorSnap(int cursor, CursorSnap snap, int plot = 0);
    CursorSnap cursorSnap(int cursor) const;
    void setCursorAxis(int cursor, int yAxis);
    int cursorAxis(int cursor) const;
    void setCursorPosition(int cursor, double x, double y);
    void setCursorX(int cursor, double x);
    void setCursorY(int cursor, double y);
    QPointF cursorPosition(int cursor) const;

    // --- mouse ---
    void setPointerMode(PointerMode mode);
    PointerMode pointerMode() const { return mode_; }

    // Axis values <-> viewport pixels (the Y value read on axis 2 or 3).
    QPointF mapToViewport(QPointF value, int yAxis = YAxis) const;
    QPointF mapToValue(QPointF viewportPoint, int yAxis = YAxis) const;

    // The chart with its cursors drawn into an image of the given size (the widget's size when empty).
    QImage renderImage(QSize size = {});

signals:
    // A cursor was dragged by the user to (x, y), in values of axis 1 and the cursor's Y axis.
    void cursorMoved(int index, double x, double y);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Plot;
    struct Cursor;
    struct Range {
        double minimum = 0;
        double maximum = 10;
    };

    // Numbers out of range give nullptr: a wrong number is ignored, never a crash.
    QValueAxis* axis(int number) const;
    Plot* plotAt(int number) const;
    Cursor* cursorAt(int number) const;
    void attach(Plot& p, int yAxis);
    void showRange(int axis, double minimum, double maximum);
    void updateSecondAxis();
    void updateCursors();
    void updateCursor(const Cursor& c);
    // Values <-> chart-item coordinates (the plot area is in those).
    QPointF toChart(QPointF value, int yAxis) const;
    QPointF fromChart(QPointF point, int yAxis) const;
    QPointF chartPoint(QPointF viewportPoint) const;
    int cursorHit(QPointF chartPos) const;
    // The data point a snapping cursor takes, in values of its axes; nothing without data.
    std::optional<QPointF> nearestPoint(const Cursor& c, QPointF chartPos) const;
    void dragCursorTo(QPointF viewportPoint);
    // The grabbed cursor follows the mouse once it has left the pixel pressed.
    void followMouse(QPointF viewportPoint);
    void zoomTo(const QRectF& chartRect);
    void panBy(QPointF chartDelta);

    std::vector<std::unique_ptr<Plot>> plots_;
    std::vector<std::unique_ptr<Cursor>> cursors_;
    QValueAxis* axes_[3] = {};
    Range full_[3];
    PointerMode mode_ = PointerMode::Cursor;
    int dragged_ = 0;            // the cursor being dragged, 0 for none
    bool cursorFollows_ = false; // the grabbed cursor follows the mouse (it has left the pixel pressed)
    bool panning_ = false;
    QPoint pressPoint_;
    QPointF lastChartPoint_;
    QRubberBand* rubberBand_ = nullptr;
};

} // namespace controls
