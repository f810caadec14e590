#include "controls/ui/chartwidget.h"

#include <QGraphicsLineItem>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace controls {

namespace {
constexpr int AxisCount = 3;
// A zoom rectangle smaller than this (pixels, either side) is a click, not a zoom.
constexpr int MinZoomPixels = 4;
constexpr double CursorPenWidth = 1.0;
// Cursors are drawn above the plots.
constexpr double CursorZ = 100.0;
const QString AxisLabelFormat = QStringLiteral("%g");
// About this many grid intervals along an axis.
constexpr double TargetTickCount = 5;

int axisIndex(int number) {
    return number - 1;
}

bool isYAxis(int number) {
    return number == ChartWidget::YAxis || number == ChartWidget::Y2Axis;
}
} // namespace

struct ChartWidget::Plot {
    QLineSeries* series = nullptr; // owned by the chart
    int yAxis = YAxis;
};

struct ChartWidget::Cursor {
    QString name;
    CursorKind kind = CursorKind::Cross;
    bool visible = true;
    bool enabled = true;
    CursorSnap snap = CursorSnap::Free;
    int snapPlot = 0;
    int yAxis = YAxis;
    QPointF position;
    QGraphicsLineItem* horizontal = nullptr; // owned by the chart
    QGraphicsLineItem* vertical = nullptr;
};

ChartWidget::ChartWidget(QWidget* parent) : QChartView(parent) {
    setObjectName(QStringLiteral("ChartWidget"));
    setRenderHint(QPainter::Antialiasing);
    setRubberBand(QChartView::NoRubberBand);
    QChart* c = chart();
    c->legend()->hide();
    c->setBackgroundRoundness(0);
    const Qt::Alignment sides[AxisCount] = {Qt::AlignBottom, Qt::AlignLeft, Qt::AlignRight};
    for (int i = 0; i < AxisCount; ++i) {
        auto* a = new QValueAxis(c);
        a->setLabelFormat(AxisLabelFormat);
        a->setTickType(QValueAxis::TicksDynamic);
        a->setTickAnchor(0);
        c->addAxis(a, sides[i]);
        connect(a, &QValueAxis::rangeChanged, this, &ChartWidget::updateCursors);
        axes_[i] = a;
    }
    for (int number = XAxis; number <= Y2Axis; ++number)
        showRange(number, full_[axisIndex(number)].minimum, full_[axisIndex(number)].maximum);
    axes_[axisIndex(Y2Axis)]->setVisible(false);
    connect(c, &QChart::plotAreaChanged, this, &ChartWidget::updateCursors);
    rubberBand_ = new QRubberBand(QRubberBand::Rectangle, viewport());
    rubberBand_->hide();
}

ChartWidget::~ChartWidget() = default;

void ChartWidget::setCaption(const QString& caption) {
    chart()->setTitle(caption);
}

QString ChartWidget::caption() const {
    return chart()->title();
}

void ChartWidget::clearData() {
    for (const auto& p : plots_)
        p->series->clear();
}

// --- plots ---

ChartWidget::Plot* ChartWidget::plotAt(int number) const {
    if (number < 1 || number > plotCount())
        return nullptr;
    return plots_[std::size_t(number - 1)].get();
}

int ChartWidget::plotCount() const {
    return int(plots_.size());
}

int ChartWidget::addPlot(const QColor& color) {
    auto p = std::make_unique<Plot>();
    p->series = new QLineSeries(chart());
    chart()->addSeries(p->series);
    // After adding: the chart's theme colours every series it takes in.
    p->series->setColor(color);
    attach(*p, YAxis);
    plots_.push_back(std::move(p));
    return plotCount();
}

void ChartWidget::removeLastPlot() {
    if (plots_.empty())
        return;
    QLineSeries* series = plots_.back()->series;
    plots_.pop_back();
    chart()->removeSeries(series);
    delete series;
    updateSecondAxis();
}

void ChartWidget::removeAllPlots() {
    while (!plots_.empty())
        removeLastPlot();
}

void ChartWidget::setPlotColor(int plot, const QColor& color) {
    if (Plot* p = plotAt(plot))
        p->series->setColor(color);
}

QColor ChartWidget::plotColor(int plot) const {
    const Plot* p = plotAt(plot);
    return p ? p->series->color() : QColor();
}

void ChartWidget::setPlotAxis(int plot, int yAxis) {
    if (Plot* p = plotAt(plot); p && isYAxis(yAxis))
        attach(*p, yAxis);
}

int ChartWidget::plotAxis(int plot) const {
    const Plot* p = plotAt(plot);
    return p ? p->yAxis : 0;
}

void ChartWidget::setPlotPointsVisible(int plot, bool visible) {
    if (Plot* p = plotAt(plot))
        p->series->setPointsVisible(visible);
}

void ChartWidget::plotY(int plot, std::span<const double> y, double xFirst, double xIncrement) {
    Plot* p = plotAt(plot);
    if (!p)
        return;
    QList<QPointF> points;
    points.reserve(qsizetype(y.size()));
    for (std::size_t i = 0; i < y.size(); ++i)
        points.append(QPointF(xFirst + double(i) * xIncrement, y[i]));
    p->series->replace(points);
}

void ChartWidget::plotXY(int plot, std::span<const double> x, std::span<const double> y) {
    Plot* p = plotAt(plot);
    if (!p)
        return;
    const std::size_t n = std::min(x.size(), y.size());
    QList<QPointF> points;
    points.reserve(qsizetype(n));
    for (std::size_t i = 0; i < n; ++i)
        points.append(QPointF(x[i], y[i]));
    p->series->replace(points);
}

void ChartWidget::clearPlot(int plot) {
    if (Plot* p = plotAt(plot))
        p->series->clear();
}

QList<QPointF> ChartWidget::plotData(int plot) const {
    const Plot* p = plotAt(plot);
    return p ? p->series->points() : QList<QPointF>();
}

void ChartWidget::attach(Plot& p, int yAxis) {
    // Attaching a series lets the chart adjust axis ranges; the ranges shown stay those of the widget.
    double shown[AxisCount][2];
    for (int i = 0; i < AxisCount; ++i) {
        shown[i][0] = axes_[i]->min();
        shown[i][1] = axes_[i]->max();
    }
    for (QAbstractAxis* a : p.series->attachedAxes())
        p.series->detachAxis(a);
    p.series->attachAxis(axes_[axisIndex(XAxis)]);
    p.series->attachAxis(axes_[axisIndex(yAxis)]);
    p.yAxis = yAxis;
    for (int i = 0; i < AxisCount; ++i)
        axes_[i]->setRange(shown[i][0], shown[i][1]);
    updateSecondAxis();
}

// --- axes ---

QValueAxis* ChartWidget::axis(int number) const {
    if (number < XAxis || number > Y2Axis)
        return nullptr;
    return axes_[axisIndex(number)];
}

void ChartWidget::setAxisCaption(int number, const QString& caption) {
    if (QValueAxis* a = axis(number)) {
        a->setTitleText(caption);
        updateSecondAxis();
    }
}

QString ChartWidget::axisCaption(int number) const {
    const QValueAxis* a = axis(number);
    return a ? a->titleText() : QString();
}

void ChartWidget::setAxisRange(int number, double minimum, double maximum) {
    if (!axis(number) || !std::isfinite(minimum) || !std::isfinite(maximum))
        return;
    if (maximum < minimum)
        std::swap(minimum, maximum);
    if (maximum == minimum)
        maximum = minimum + 1;
    full_[axisIndex(number)] = {minimum, maximum};
    showRange(number, minimum, maximum);
}

void ChartWidget::setAxisMinimum(int number, double minimum) {
    if (axis(number))
        setAxisRange(number, minimum, full_[axisIndex(number)].maximum);
}

void ChartWidget::setAxisMaximum(int number, double maximum) {
    if (axis(number))
        setAxisRange(number, full_[axisIndex(number)].minimum, maximum);
}

double ChartWidget::axisMinimum(int number) const {
    const QValueAxis* a = axis(number);
    return a ? a->min() : 0;
}

double ChartWidget::axisMaximum(int number) const {
    const QValueAxis* a = axis(number);
    return a ? a->max() : 0;
}

bool ChartWidget::axisVisible(int number) const {
    const QValueAxis* a = axis(number);
    return a && a->isVisible();
}

void ChartWidget::restoreRanges() {
    for (int number = XAxis; number <= Y2Axis; ++number)
        showRange(number, full_[axisIndex(number)].minimum, full_[axisIndex(number)].maximum);
}

void ChartWidget::showRange(int number, double minimum, double maximum) {
    if (!(maximum > minimum))
        return;
    QValueAxis* a = axes_[axisIndex(number)];
    // Grid lines at round values (1, 2 or 5 times a power of ten) whatever the range's ends are.
    const double raw = (maximum - minimum) / TargetTickCount;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double ratio = raw / magnitude;
    const double step = ratio <= 1 ? 1 : ratio <= 2 ? 2 : ratio <= 5 ? 5 : 10;
    a->setTickInterval(step * magnitude);
    a->setRange(minimum, maximum);
}

void ChartWidget::updateSecondAxis() {
    bool used = !axisCaption(Y2Axis).isEmpty();
    for (const auto& p : plots_)
        used = used || p->yAxis == Y2Axis;
    for (const auto& c : cursors_)
        used = used || c->yAxis == Y2Axis;
    axes_[axisIndex(Y2Axis)]->setVisible(used);
}

// --- cursors ---

ChartWidget::Cursor* ChartWidget::cursorAt(int number) const {
    if (number < 1 || number > cursorCount())
        return nullptr;
    return cursors_[std::size_t(number - 1)].get();
}

int ChartWidget::addCursor(const QString& name, CursorKind kind, const QColor& color) {
    auto c = std::make_unique<Cursor>();
    c->name = name;
    c->kind = kind;
    const QPen pen(color, CursorPenWidth);
    c->horizontal = new QGraphicsLineItem(chart());
    c->vertical = new QGraphicsLineItem(chart());
    for (QGraphicsLineItem* line : {c->horizontal, c->vertical}) {
        line->setPen(pen);
        line->setZValue(CursorZ);
        line->hide();
    }
    cursors_.push_back(std::move(c));
    updateCursor(*cursors_.back());
    return cursorCount();
}

int ChartWidget::cursorCount() const {
    return int(cursors_.size());
}

QString ChartWidget::cursorName(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c ? c->name : QString();
}

CursorKind ChartWidget::cursorKind(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c ? c->kind : CursorKind::Cross;
}

void ChartWidget::setCursorVisible(int cursor, bool visible) {
    if (Cursor* c = cursorAt(cursor)) {
        c->visible = visible;
        updateCursor(*c);
    }
}

bool ChartWidget::cursorVisible(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c && c->visible;
}

void ChartWidget::setCursorEnabled(int cursor, bool enabled) {
    if (Cursor* c = cursorAt(cursor))
        c->enabled = enabled;
}

bool ChartWidget::cursorEnabled(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c && c->enabled;
}

void ChartWidget::setCursorSnap(int cursor, CursorSnap snap, int plot) {
    if (Cursor* c = cursorAt(cursor)) {
        c->snap = snap;
        c->snapPlot = plot;
    }
}

CursorSnap ChartWidget::cursorSnap(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c ? c->snap : CursorSnap::Free;
}

void ChartWidget::setCursorAxis(int cursor, int yAxis) {
    if (Cursor* c = cursorAt(cursor); c && isYAxis(yAxis)) {
        c->yAxis = yAxis;
        updateSecondAxis();
        updateCursor(*c);
    }
}

int ChartWidget::cursorAxis(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c ? c->yAxis : 0;
}

void ChartWidget::setCursorPosition(int cursor, double x, double y) {
    if (Cursor* c = cursorAt(cursor)) {
        c->position = QPointF(x, y);
        updateCursor(*c);
    }
}

void ChartWidget::setCursorX(int cursor, double x) {
    if (const Cursor* c = cursorAt(cursor))
        setCursorPosition(cursor, x, c->position.y());
}

void ChartWidget::setCursorY(int cursor, double y) {
    if (const Cursor* c = cursorAt(cursor))
        setCursorPosition(cursor, c->position.x(), y);
}

QPointF ChartWidget::cursorPosition(int cursor) const {
    const Cursor* c = cursorAt(cursor);
    return c ? c->position : QPointF();
}

void ChartWidget::updateCursors() {
    for (const auto& c : cursors_)
        updateCursor(*c);
}

void ChartWidget::updateCursor(const Cursor& c) {
    const QRectF area = chart()->plotArea();
    const QPointF at = toChart(c.position, c.yAxis);
    // A line outside the shown ranges is not drawn (it would lie over the axes).
    const bool showH = c.visible && c.kind != CursorKind::Vertical && area.isValid() &&
                       at.y() >= area.top() && at.y() <= area.bottom();
    const bool showV = c.visible && c.kind != CursorKind::Horizontal && area.isValid() &&
                       at.x() >= area.left() && at.x() <= area.right();
    c.horizontal->setLine(QLineF(area.left(), at.y(), area.right(), at.y()));
    c.vertical->setLine(QLineF(at.x(), area.top(), at.x(), area.bottom()));
    c.horizontal->setVisible(showH);
    c.vertical->setVisible(showV);
}

// --- mapping ---

QPointF ChartWidget::toChart(QPointF value, int yAxis) const {
    const QRectF area = chart()->plotArea();
    const QValueAxis* x = axes_[axisIndex(XAxis)];
    const QValueAxis* y = axes_[axisIndex(yAxis)];
    return {area.left() + (value.x() - x->min()) / (x->max() - x->min()) * area.width(),
            area.bottom() - (value.y() - y->min()) / (y->max() - y->min()) * area.height()};
}

QPointF ChartWidget::fromChart(QPointF point, int yAxis) const {
    const QRectF area = chart()->plotArea();
    const QValueAxis* x = axes_[axisIndex(XAxis)];
    const QValueAxis* y = axes_[axisIndex(yAxis)];
    if (area.width() <= 0 || area.height() <= 0)
        return {x->min(), y->min()};
    return {x->min() + (point.x() - area.left()) / area.width() * (x->max() - x->min()),
            y->min() + (area.bottom() - point.y()) / area.height() * (y->max() - y->min())};
}

QPointF ChartWidget::chartPoint(QPointF viewportPoint) const {
    const QPointF scene = viewportTransform().inverted().map(viewportPoint);
    return chart()->mapFromScene(scene);
}

QPointF ChartWidget::mapToViewport(QPointF value, int yAxis) const {
    if (!isYAxis(yAxis))
        return {};
    return viewportTransform().map(chart()->mapToScene(toChart(value, yAxis)));
}

QPointF ChartWidget::mapToValue(QPointF viewportPoint, int yAxis) const {
    if (!isYAxis(yAxis))
        return {};
    return fromChart(chartPoint(viewportPoint), yAxis);
}

// --- mouse ---

void ChartWidget::setPointerMode(PointerMode mode) {
    mode_ = mode;
    dragged_ = 0;
    panning_ = false;
    rubberBand_->hide();
}

int ChartWidget::cursorHit(QPointF chartPos) const {
    int best = 0;
    double bestDistance = CursorGrabDistance;
    for (int i = 1; i <= cursorCount(); ++i) {
        const Cursor& c = *cursorAt(i);
        if (!c.visible || !c.enabled)
            continue;
        const QPointF at = toChart(c.position, c.yAxis);
        double distance = std::numeric_limits<double>::infinity();
        if (c.horizontal->isVisible())
            distance = std::min(distance, std::abs(chartPos.y() - at.y()));
        if (c.vertical->isVisible())
            distance = std::min(distance, std::abs(chartPos.x() - at.x()));
        if (distance <= bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

std::optional<QPointF> ChartWidget::nearestPoint(const Cursor& c, QPointF chartPos) const {
    std::optional<QPointF> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (int i = 1; i <= plotCount(); ++i) {
        const Plot& p = *plotAt(i);
        if (c.snapPlot != 0 ? i != c.snapPlot : p.yAxis != c.yAxis)
            continue;
        for (const QPointF& value : p.series->points()) {
            const QPointF at = toChart(value, p.yAxis);
            const double dx = at.x() - chartPos.x();
            const double dy = at.y() - chartPos.y();
            const double distance = dx * dx + dy * dy;
            if (distance < bestDistance) {
                bestDistance = distance;
                // The point itself on the cursor's axis; a point of the other Y axis is read where it shows.
                best = p.yAxis == c.yAxis ? value : fromChart(at, c.yAxis);
            }
        }
    }
    return best;
}

void ChartWidget::dragCursorTo(QPointF viewportPoint) {
    Cursor* c = cursorAt(dragged_);
    if (!c)
        return;
    const QRectF area = chart()->plotArea();
    QPointF at = chartPoint(viewportPoint);
    at.setX(std::clamp(at.x(), area.left(), area.right()));
    at.setY(std::clamp(at.y(), area.top(), area.bottom()));
    std::optional<QPointF> point;
    if (c->snap == CursorSnap::NearestPoint)
        point = nearestPoint(*c, at);
    const QPointF value = point ? *point : fromChart(at, c->yAxis);
    if (c->kind != CursorKind::Horizontal)
        c->position.setX(value.x());
    if (c->kind != CursorKind::Vertical)
        c->position.setY(value.y());
    updateCursor(*c);
    emit cursorMoved(dragged_, c->position.x(), c->position.y());
}

void ChartWidget::followMouse(QPointF viewportPoint) {
    if (!cursorFollows_ && viewportPoint.toPoint() == pressPoint_)
        return;
    cursorFollows_ = true;
    dragCursorTo(viewportPoint);
}

void ChartWidget::zoomTo(const QRectF& chartRect) {
    const QPointF topLeft = chartRect.topLeft();
    const QPointF bottomRight = chartRect.bottomRight();
    const QPointF low = fromChart(QPointF(topLeft.x(), bottomRight.y()), YAxis);
    const QPointF high = fromChart(QPointF(bottomRight.x(), topLeft.y()), YAxis);
    const double low2 = fromChart(bottomRight, Y2Axis).y();
    const double high2 = fromChart(topLeft, Y2Axis).y();
    showRange(XAxis, low.x(), high.x());
    showRange(YAxis, low.y(), high.y());
    showRange(Y2Axis, low2, high2);
}

void ChartWidget::panBy(QPointF chartDelta) {
    const QRectF area = chart()->plotArea();
    if (area.width() <= 0 || area.height() <= 0)
        return;
    const QValueAxis* x = axes_[axisIndex(XAxis)];
    const double dx = -chartDelta.x() / area.width() * (x->max() - x->min());
    showRange(XAxis, x->min() + dx, x->max() + dx);
    for (int number : {YAxis, Y2Axis}) {
        const QValueAxis* y = axes_[axisIndex(number)];
        const double dy = chartDelta.y() / area.height() * (y->max() - y->min());
        showRange(number, y->min() + dy, y->max() + dy);
    }
}

void ChartWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || mode_ == PointerMode::None) {
        event->ignore();
        return;
    }
    const QPointF at = chartPoint(event->position());
    pressPoint_ = event->position().toPoint();
    switch (mode_) {
    case PointerMode::Cursor:
        dragged_ = cursorHit(at);
        cursorFollows_ = false;
        break;
    case PointerMode::Zoom:
        rubberBand_->setGeometry(QRect(pressPoint_, QSize()));
        rubberBand_->show();
        break;
    case PointerMode::Pan:
        panning_ = true;
        lastChartPoint_ = at;
        break;
    case PointerMode::None:
        break;
    }
    event->accept();
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event) {
    if (dragged_ != 0) {
        followMouse(event->position());
    } else if (rubberBand_->isVisible()) {
        rubberBand_->setGeometry(QRect(pressPoint_, event->position().toPoint()).normalized());
    } else if (panning_) {
        const QPointF at = chartPoint(event->position());
        panBy(at - lastChartPoint_);
        lastChartPoint_ = at;
    }
    event->accept();
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (dragged_ != 0) {
        followMouse(event->position());
        dragged_ = 0;
    } else if (rubberBand_->isVisible()) {
        rubberBand_->hide();
        const QRect band = QRect(pressPoint_, event->position().toPoint()).normalized();
        if (band.width() >= MinZoomPixels && band.height() >= MinZoomPixels)
            zoomTo(QRectF(chartPoint(band.topLeft()), chartPoint(band.bottomRight())));
    } else if (panning_) {
        panning_ = false;
    }
    event->accept();
}

QImage ChartWidget::renderImage(QSize size) {
    if (size.isEmpty())
        size = viewport()->size();
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    render(&painter, QRectF(image.rect()), viewport()->rect());
    return image;
}

} // namespace controls
