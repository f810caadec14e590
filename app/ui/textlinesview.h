#pragma once
// The lines of a text file on screen, read-only, in a fixed-pitch font. Only the lines in view are decoded
// and drawn, and only the columns in view of them, so a file of any length or with lines of any length
// opens at once and costs little beyond its own bytes. A tab stands for blanks up to its stop (ShownLine).
// Text is selected with the mouse (Shift extends the selection, a double click takes a line) or Select All
// (Ctrl+A), and copied with Copy (Ctrl+C) or the context menu.

#include "base/textlines.h"

#include <QAbstractScrollArea>

#include <limits>

namespace app {

class TextLinesView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TextLinesView(QWidget* parent = nullptr);

    // Shows these lines from the top, nothing selected.
    void setLines(base::TextLines lines);
    const base::TextLines& lines() const { return lines_; }
    // The whole text, the lines joined by line feeds, tabs as they are.
    QString text() const;

    // The selected text as shown (tabs as blanks), the lines joined by line feeds; empty when nothing is.
    QString selectedText() const;
    void selectAll();
    void copy() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    static constexpr qsizetype LineEnd = std::numeric_limits<qsizetype>::max();

    // A place between two characters: a line and the number of columns before it.
    struct Position {
        qsizetype line = 0;
        qsizetype column = 0;
        auto operator<=>(const Position&) const = default;
    };
    // The columns of line that are selected, from and to; none when from is not before to.
    struct Columns {
        qsizetype from = 0;
        qsizetype to = 0;
    };

    int charWidth() const;
    int lineHeight() const;
    int visibleLines() const;
    Position positionAt(const QPoint& point) const;
    bool hasSelection() const { return anchor_ != cursor_; }
    Columns selectedColumns(qsizetype line) const;
    // Widens the horizontal range when a line in view shows wider than the longest line's bytes (tabs).
    void fitWidth(QByteArrayView line);
    void updateScrollBars();

    base::TextLines lines_;
    // The widest line in columns, as far as it is known.
    qsizetype widest_ = 0;
    Position anchor_;
    Position cursor_;
};

} // namespace app
