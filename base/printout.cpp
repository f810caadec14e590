#include "base/printout.h"

#include "base/dialogs.h"
#include "base/replacedfile.h"

#include <QFile>
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

QString printedText(qint64 printed, qint64 sheets) {
    return QStringLiteral("%1 Of %2 Pages Printed").arg(printed).arg(sheets);
}

const QString IncompleteFileRemovedText = QStringLiteral("Incomplete File Removed");
} // namespace

Printed printChosenPages(Printout& printout, QPagedPaintDevice& printer, const PrintChoice& choice,
                         PrintProgress& progress, Dialogs& dialogs, const QString& printFile) {
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
    QPainter painter;
    // A job that did not end: the user is told how far it went, and a file it wrote is no printout.
    const auto ended = [&](Printed printed, QString text, qint64 done) {
        if (painter.isActive())
            painter.end();
        text += QStringLiteral("\r\n") + printedText(done, sheets);
        if (!printFile.isEmpty() && QFile::exists(printFile) && QFile::remove(printFile))
            text = notWrittenText(text, printFile, IncompleteFileRemovedText);
        dialogs.message(text, ProgramTitle,
                        printed == Printed::Failed ? MessageIcon::Critical : MessageIcon::Exclamation);
        return printed;
    };
    const auto failed = [&](int page, qint64 done) {
        return ended(Printed::Failed,
                     QStringLiteral("Printing Stopped - The Printer Failed At Page %1").arg(page), done);
    };
    if (!painter.begin(&printer))
        return failed(choice.lastPageFirst ? last : first, 0);
    progress.setRange(0, progressValue(sheets));
    for (qint64 sheet = 0; sheet < sheets; ++sheet) {
        // Collated copies repeat the range; others repeat each page before the next.
        const qint64 index = choice.collate ? sheet % range : sheet / copies;
        const int page = int(choice.lastPageFirst ? last - index : first + index);
        if (sheet > 0 && !printer.newPage())
            return failed(page, sheet);
        printout.paintPage(page, painter);
        progress.setValue(progressValue(sheet + 1));
        if (sheet + 1 < sheets && progress.stopAsked())
            return ended(Printed::Stopped, QStringLiteral("Printing Cancelled"), sheet + 1);
    }
    if (!painter.end())
        return failed(choice.lastPageFirst ? first : last, sheets - 1);
    return Printed::Done;
}

int ImagePrintout::layOut(const QPagedPaintDevice& device) {
    page_ = device.pageLayout().paintRectPixels(device.logicalDpiY()).size();
    return 1;
}

void ImagePrintout::paintPage(int, QPainter& painter) {
    painter.drawImage(QRect(QPoint(0, 0), image_.size().scaled(page_, Qt::KeepAspectRatio)), image_);
}

} // namespace base
