#include "base/textprintout.h"

#include "base/cp1252.h"
#include "base/shownline.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace base {

int TextPrintout::layOut(const QPagedPaintDevice& device) {
    const QFontMetrics metrics(font_, &device);
    const QRect page = device.pageLayout().paintRectPixels(device.logicalDpiY());
    rowHeight_ = std::max(1, metrics.lineSpacing());
    ascent_ = metrics.ascent();
    rowsPerPage_ = std::max(1, page.height() / rowHeight_);
    columns_ = std::max(1, page.width() / std::max(1, metrics.horizontalAdvance(QLatin1Char('M'))));
    const qsizetype rowsPerMark = rowsPerPage_ * PagesPerMark;
    marks_.assign(1, Place{});
    stretch_.clear();
    stretchMark_ = -1;
    // Rows are counted line by line; a line without tabs is as many rows as its bytes fill.
    qsizetype rows = 0;
    qsizetype index = 0;
    for (auto line = lines_.begin(); line != lines_.end(); ++line, ++index) {
        const QByteArrayView bytes = *line;
        const bool plain = !bytes.contains('\t');
        const qsizetype width = plain ? bytes.size() : ShownLine::width(bytes);
        const qsizetype lineRows = std::max<qsizetype>(1, (width + columns_ - 1) / columns_);
        for (qsizetype mark = qsizetype(marks_.size()) * rowsPerMark; mark < rows + lineRows;
             mark += rowsPerMark) {
            const qsizetype column = (mark - rows) * columns_;
            if (plain) {
                marks_.push_back({index, column, column});
                continue;
            }
            ShownLine shown(bytes);
            shown.skipTo(column);
            marks_.push_back({index, shown.byte(), shown.column()});
        }
        rows += lineRows;
    }
    const qsizetype pages = std::max<qsizetype>(1, (rows + rowsPerPage_ - 1) / rowsPerPage_);
    pages_ = int(std::min<qsizetype>(pages, std::numeric_limits<int>::max()));
    return pages_;
}

TextPrintout::Place TextPrintout::rows(Place at, qsizetype count, QPainter* painter) const {
    for (qsizetype row = 0; row < count && at.line < lines_.size(); ++row) {
        ShownLine shown(lines_.bytesAt(at.line), at.byte, at.column);
        const qsizetype end = at.column + columns_;
        if (!painter) {
            shown.skipTo(end);
        } else if (const QByteArray text = shown.take(end); !text.isEmpty()) {
            painter->drawText(0, int(row) * rowHeight_ + ascent_, fromCp1252(text));
        }
        at = shown.atEnd() ? Place{at.line + 1, 0, 0} : Place{at.line, shown.byte(), shown.column()};
    }
    return at;
}

void TextPrintout::paintPage(int page, QPainter& painter) {
    const qsizetype index = qsizetype(page) - 1;
    const qsizetype mark = index / PagesPerMark;
    if (index < 0 || mark >= qsizetype(marks_.size()))
        return;
    if (mark != stretchMark_) {
        stretch_.clear();
        Place at = marks_[std::size_t(mark)];
        for (int p = 0; p < PagesPerMark && at.line < lines_.size(); ++p) {
            stretch_.push_back(at);
            at = rows(at, rowsPerPage_, nullptr);
        }
        stretchMark_ = mark;
    }
    const std::size_t inStretch = std::size_t(index % PagesPerMark);
    if (inStretch >= stretch_.size())
        return;
    painter.setFont(font_);
    rows(stretch_[inStretch], rowsPerPage_, &painter);
}

} // namespace base
