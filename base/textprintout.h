#pragma once
// Text lines printed in a font: as many rows as fit a page, each row cut at the page's width and the rest of
// its line on the next row, tabs as blanks to their stops. The layout is one pass over the lines that keeps
// where every PagesPerMark-th page begins; a page is found from the mark before it, so any page prints at
// once, in any order, and the memory does not grow with the pages.

#include "base/printout.h"
#include "base/textlines.h"

#include <QFont>

#include <vector>

namespace base {

class TextPrintout : public Printout {
public:
    static constexpr int PagesPerMark = 64;

    // The lines are not copied: they must outlive the printout.
    TextPrintout(const TextLines& lines, const QFont& font) : lines_(lines), font_(font) {}

    int layOut(const QPagedPaintDevice& device) override;
    void paintPage(int page, QPainter& painter) override;

private:
    // Where a row begins: a line, the byte and the column of that line the row starts at.
    struct Place {
        qsizetype line = 0;
        qsizetype byte = 0;
        qsizetype column = 0;
    };
    // Goes count rows down from at, painting them from the top of the page when painter is given; where the
    // row after them begins.
    Place rows(Place at, qsizetype count, QPainter* painter) const;

    const TextLines& lines_;
    QFont font_;
    qsizetype columns_ = 1;
    qsizetype rowsPerPage_ = 1;
    int rowHeight_ = 1;
    int ascent_ = 0;
    int pages_ = 1;
    // Where pages 1, 1 + PagesPerMark, 1 + 2 * PagesPerMark ... begin.
    std::vector<Place> marks_;
    // Where each page of the marked stretch painted last begins.
    std::vector<Place> stretch_;
    qsizetype stretchMark_ = -1;
};

} // namespace base
