#include "app/ui/textlinesview.h"

#include "base/shownline.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace app {

namespace {
// Columns drawn beyond those that fit, so a partly scrolled column at either edge is drawn too.
constexpr qsizetype EdgeColumns = 2;
constexpr qsizetype IntLimit = std::numeric_limits<int>::max();

int clampedInt(qsizetype value) {
    return int(std::clamp<qsizetype>(value, 0, IntLimit));
}
} // namespace

TextLinesView::TextLinesView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    setFocusPolicy(Qt::StrongFocus);
}

void TextLinesView::setLines(base::TextLines lines) {
    lines_ = std::move(lines);
    widest_ = lines_.longest();
    anchor_ = cursor_ = Position{};
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

QString TextLinesView::text() const {
    QString text;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        if (i > 0)
            text += u'\n';
        text += lines_.at(i);
    }
    return text;
}

int TextLinesView::charWidth() const {
    return std::max(1, fontMetrics().horizontalAdvance(QLatin1Char('M')));
}

int TextLinesView::lineHeight() const {
    return std::max(1, fontMetrics().lineSpacing());
}

int TextLinesView::visibleLines() const {
    return std::max(1, viewport()->height() / lineHeight());
}

void TextLinesView::updateScrollBars() {
    const int lines = visibleLines();
    verticalScrollBar()->setRange(0, clampedInt(lines_.size() - lines));
    verticalScrollBar()->setPageStep(lines);
    verticalScrollBar()->setSingleStep(1);
    const qsizetype width = std::min(widest_, IntLimit / charWidth()) * charWidth();
    horizontalScrollBar()->setRange(0, clampedInt(width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(charWidth());
}

void TextLinesView::fitWidth(QByteArrayView line) {
    if (line.size() == 0 || !line.contains('\t'))
        return;
    if (const qsizetype columns = base::ShownLine::width(line); columns > widest_) {
        widest_ = columns;
        updateScrollBars();
    }
}

void TextLinesView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

TextLinesView::Columns TextLinesView::selectedColumns(qsizetype line) const {
    const auto [begin, end] = std::minmax(anchor_, cursor_);
    if (!hasSelection() || line < begin.line || line > end.line)
        return {};
    return {line == begin.line ? begin.column : 0, line == end.line ? end.column : LineEnd};
}

void TextLinesView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const int height = lineHeight();
    const int width = charWidth();
    const int ascent = fontMetrics().ascent();
    const qsizetype firstLine = verticalScrollBar()->value();
    const int scrolled = horizontalScrollBar()->value();
    const qsizetype firstColumn = scrolled / width;
    const qsizetype lastColumn = firstColumn + viewport()->width() / width + EdgeColumns;
    const int left = -(scrolled % width);
    const int rows = viewport()->height() / height + 1;
    for (int row = 0; row < rows && firstLine + row < lines_.size(); ++row) {
        const qsizetype line = firstLine + row;
        const QByteArrayView bytes = lines_.bytesAt(line);
        fitWidth(bytes);
        const int top = row * height;
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(left, top + ascent, base::ShownLine::columns(bytes, firstColumn, lastColumn));
        const Columns selected = selectedColumns(line);
        const qsizetype from = std::max(selected.from, firstColumn);
        const qsizetype to = std::min(selected.to, lastColumn);
        if (from >= to)
            continue;
        const int x = left + int(from - firstColumn) * width;
        painter.fillRect(x, top, int(to - from) * width, height, palette().brush(QPalette::Highlight));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(x, top + ascent, base::ShownLine::columns(bytes, from, to));
    }
}

TextLinesView::Position TextLinesView::positionAt(const QPoint& point) const {
    const qsizetype row = point.y() < 0 ? -1 : point.y() / lineHeight();
    const qsizetype line = std::clamp<qsizetype>(verticalScrollBar()->value() + row, 0,
                                                 std::max<qsizetype>(lines_.size() - 1, 0));
    // A click nearer the right half of a character places the position after it.
    const qsizetype x = qsizetype(horizontalScrollBar()->value()) + point.x() + charWidth() / 2;
    return {line, std::max<qsizetype>(x / charWidth(), 0)};
}

void TextLinesView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    cursor_ = positionAt(event->position().toPoint());
    if (!(event->modifiers() & Qt::ShiftModifier))
        anchor_ = cursor_;
    viewport()->update();
}

void TextLinesView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    // Dragging past the top or bottom scrolls a line at a time.
    const QPoint point = event->position().toPoint();
    if (point.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.y() > viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    cursor_ = positionAt(point);
    viewport()->update();
}

void TextLinesView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || lines_.isEmpty())
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    const qsizetype line = positionAt(event->position().toPoint()).line;
    anchor_ = {line, 0};
    cursor_ = {line, LineEnd};
    viewport()->update();
}

void TextLinesView::selectAll() {
    if (lines_.isEmpty())
        return;
    anchor_ = {0, 0};
    cursor_ = {lines_.size() - 1, LineEnd};
    viewport()->update();
}

QString TextLinesView::selectedText() const {
    if (!hasSelection())
        return {};
    const auto [begin, end] = std::minmax(anchor_, cursor_);
    QString text;
    for (qsizetype line = begin.line; line <= end.line && line < lines_.size(); ++line) {
        if (line > begin.line)
            text += u'\n';
        const Columns columns = selectedColumns(line);
        text += base::ShownLine::columns(lines_.bytesAt(line), columns.from, columns.to);
    }
    return text;
}

void TextLinesView::copy() const {
    if (hasSelection())
        QApplication::clipboard()->setText(selectedText());
}

void TextLinesView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy))
        return copy();
    if (event->matches(QKeySequence::SelectAll))
        return selectAll();
    if (event->matches(QKeySequence::MoveToStartOfDocument))
        return verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    if (event->matches(QKeySequence::MoveToEndOfDocument))
        return verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
    QAbstractScrollArea::keyPressEvent(event);
}

void TextLinesView::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    QAction* copyAction = menu.addAction(QStringLiteral("&Copy"), this, &TextLinesView::copy);
    copyAction->setShortcut(QKeySequence::Copy);
    copyAction->setEnabled(hasSelection());
    menu.addAction(QStringLiteral("Select All"), this, &TextLinesView::selectAll)
        ->setShortcut(QKeySequence::SelectAll);
    menu.exec(event->globalPos());
}

} // namespace app
