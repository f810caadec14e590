#pragma once
// A printout of numbered pages and the job that prints the pages the user chose of it: the range, the
// copies the printer does not make itself, collated or not, and the order. Only the chosen pages are
// painted, one at a time; the job reports its progress after each, stops when the user asks, and stops at
// once with a message when the printer fails to start or to take a page.
//
//   base::TextPrintout printout(lines, font);
//   dialogs.printPages(printout);   // the printer dialog, then printChosenPages on the printer chosen

#include "base/progress.h"

#include <QImage>
#include <QString>

class QPagedPaintDevice;
class QPainter;

namespace base {

class Dialogs;

class Printout {
public:
    virtual ~Printout() = default;
    // Lays the printout out on the pages of device and gives the number of pages, at least 1.
    virtual int layOut(const QPagedPaintDevice& device) = 0;
    // Paints page (counted from 1) of the last layout through painter, which is active on that device.
    virtual void paintPage(int page, QPainter& painter) = 0;
};

// What the user chose in the printer dialog.
struct PrintChoice {
    int fromPage = 0; // the first page to print; 0 from the first
    int toPage = 0;   // the last; 0 to the last
    int copies = 1;   // the copies the program prints (1 when the printer makes the copies itself)
    bool collate = true;
    bool lastPageFirst = false;
};

// The progress of a print job, a page at a time, with a way for the user to stop it.
class PrintProgress : public Progress {
public:
    // True once the user asked the job to stop.
    virtual bool stopAsked() = 0;
};

enum class Printed { Done, Stopped, Failed, Nothing };

// Prints the pages choice asks for of printout on printer. Pages outside the range are never painted. A
// range past the last page prints nothing; a printer that fails gets no more pages. Both say so through
// dialogs, as does a job the user stopped, with the pages printed of the job. printFile: the file the
// printer writes, when it prints to a file; a job that did not end is no printout, and its file is removed.
Printed printChosenPages(Printout& printout, QPagedPaintDevice& printer, const PrintChoice& choice,
                         PrintProgress& progress, Dialogs& dialogs, const QString& printFile = {});

// An image on one page, as large as the page holds it in its proportions (a window printed as it shows).
class ImagePrintout : public Printout {
public:
    explicit ImagePrintout(QImage image) : image_(std::move(image)) {}
    const QImage& image() const { return image_; }
    int layOut(const QPagedPaintDevice& device) override;
    void paintPage(int page, QPainter& painter) override;

private:
    QImage image_;
    QSize page_;
};

} // namespace base
