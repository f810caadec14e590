#include "app/ui/qtdialogs.h"

#include "app/ui/captionfit.h"
#include "app/ui/cursors.h"
#include "base/printout.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>

namespace app {

using base::MessageIcon;

namespace {
QMessageBox::Icon toQt(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// What the printer dialog offers: the printer and its page, printing to a file, a page range and collated
// copies; not a selection or the current page. Copies and the order are offered by every printer dialog.
constexpr QAbstractPrintDialog::PrintDialogOptions PrintOffered =
    QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
    QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
// A job of this many pages or fewer prints without a progress window.
constexpr int QuietPages = 3;
// The progress window is brought up to date, and the events that came are handled, this often while pages
// are printed: often enough for the windows to stay live, seldom enough to cost little beside the pages.
constexpr qint64 ProgressEveryMs = 50;

// The choices made in the printer dialog. A printer that makes copies itself (a print server does) is sent
// one.
base::PrintChoice chosen(const QPrinter& printer) {
    base::PrintChoice choice;
    if (printer.printRange() == QPrinter::PageRange) {
        choice.fromPage = printer.fromPage();
        choice.toPage = printer.toPage();
    }
    choice.copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    choice.collate = printer.collateCopies();
    choice.lastPageFirst = printer.pageOrder() == QPrinter::LastPageFirst;
    return choice;
}

// A print job's progress in a window of its own, modal for the whole program, with Cancel. The events
// that come meanwhile are handled between pages, so the windows keep repainting.
class PrintProgressWindow : public base::PrintProgress {
public:
    explicit PrintProgressWindow(QWidget* parent) : parent_(parent) {}
    void setRange(int minimum, int maximum) override {
        if (maximum - minimum <= QuietPages)
            return;
        window_ =
            std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), minimum, maximum, parent_);
        window_->setObjectName(QStringLiteral("PrintProgress"));
        window_->setWindowTitle(base::ProgramTitle);
        window_->setWindowModality(Qt::ApplicationModal);
        window_->setMinimumDuration(0);
        window_->setAutoClose(false);
        window_->setAutoReset(false);
        window_->show();
    }
    // The first page, the last and a page every ProgressEveryMs between are shown.
    void setValue(int value) override {
        if (!window_ ||
            (shown_.isValid() && shown_.elapsed() < ProgressEveryMs && value < window_->maximum()))
            return;
        window_->setLabelText(QStringLiteral("Printed %1 Of %2 Pages").arg(value).arg(window_->maximum()));
        window_->setValue(value);
        QCoreApplication::processEvents();
        shown_.start();
    }
    bool stopAsked() override { return window_ && window_->wasCanceled(); }

private:
    QWidget* parent_;
    std::unique_ptr<QProgressDialog> window_;
    QElapsedTimer shown_;
};
} // namespace

void QtDialogs::message(const QString& text, const QString& caption, MessageIcon icon) {
    const ArrowCursor arrow;
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok, parent_);
    fitCaption(box);
    box.setEscapeButton(QMessageBox::Ok);
    box.exec();
}

bool QtDialogs::askYesNo(const QString& text, const QString& caption, MessageIcon icon) {
    const ArrowCursor arrow;
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Yes | QMessageBox::No, parent_);
    fitCaption(box);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtDialogs::askOkCancel(const QString& text, const QString& caption, MessageIcon icon) {
    const ArrowCursor arrow;
    QMessageBox box(toQt(icon), caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent_);
    fitCaption(box);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

QString QtDialogs::openFileName(const QString& caption, const QString& filter) {
    const ArrowCursor arrow;
    return QFileDialog::getOpenFileName(parent_, caption, QDir::homePath(), filter);
}

QString QtDialogs::saveFileName(const QString& caption, const QString& filter, const QString& suggested) {
    const ArrowCursor arrow;
    const QString start = suggested.isEmpty() ? QDir::homePath() : QDir(QDir::homePath()).filePath(suggested);
    return QFileDialog::getSaveFileName(parent_, caption, start, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

bool QtDialogs::printerAvailable() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool QtDialogs::printPages(base::Printout& printout) {
    QPrinter printer;
    {
        const ArrowCursor arrow;
        QPrintDialog dialog(&printer, parent_);
        dialog.setOptions(PrintOffered);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    PrintProgressWindow progress(parent_);
    return base::printChosenPages(printout, printer, chosen(printer), progress, *this,
                                  printer.outputFileName()) == base::Printed::Done;
}

bool QtDialogs::inputText(const QString& prompt, const QString& caption, QString& value) {
    const ArrowCursor arrow;
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
}

} // namespace app
