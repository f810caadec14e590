#include "base/printout.h"

#include "base/dialogs.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>
#include <limits>

namespace base {

namespace {
int progressValue(qint64 value) {
    return int(std::min<qint64>(value, std::numeric_limits<int>::max()));
}

QString nothingToPrintText(int pages) {
    return QStringLiteral("Nothing To Print - The Last Page Is %1").arg(pages);
}
} // namespace

QString printerFailedText(int page) {
    return QStringLiteral("Printing Stopped - The Printer Failed At Page %1").arg(page);
}

Printed printChosenPages(Printout& printout, QPagedPaintDevice& printer, const PrintChoice& choice,
                         PrintProgress& progress, Dialogs& dialogs) {
    const int pages = printout.layOut(printer);
    const int first = std::max(1, choice.fromPage);
    const int last = choice.toPage > 0 ? std::min(choice.toPage, pages) : pages;
    if (first > last) {
        dialogs.message(nothingToPrintText(pages), ProgramTitle, MessageIcon::Exclamation);
        return Printed::Nothing;
    }
    const qint64 range = last - first + 1;
    const qint64 copies = std::max(1, choice.copies);
    const qint64 sheets = range * copies;
    const auto failed = [&dialogs](int page) {
        dialogs.message(printerFailedText(page), ProgramTitle, MessageIcon::Critical);
        return Printed::Failed;
    };
    QPainter painter;
    if (!painter.begin(&printer))
        return failed(choice.lastPageFirst ? last : first);
    progress.setRange(0, progressValue(sheets));
    for (qint64 sheet = 0; sheet < sheets; ++sheet) {
        // Collated copies repeat the range; others repeat each page before the next.
        const qint64 index = choice.collate ? sheet % range : sheet / copies;
        const int page = int(choice.lastPageFirst ? last - index : first + index);
        if (sheet > 0 && !printer.newPage()) {
            painter.end();
            return failed(page);
        }
        printout.paintPage(page, painter);
        progress.setValue(progressValue(sheet + 1));
        if (sheet + 1 < sheets && progress.stopAsked()) {
            painter.end();
            return Printed::Stopped;
        }
    }
    if (!painter.end())
        return failed(choice.lastPageFirst ? first : last);
    return Printed::Done;
}

} // namespace base
