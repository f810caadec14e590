#include "app/ui/qtdialogs.h"

#include "app/ui/captionfit.h"
#include "app/ui/cursors.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

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

bool QtDialogs::print(const QTextDocument& document) {
    const ArrowCursor arrow;
    QPrinter printer;
    QPrintDialog dialog(&printer, parent_);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    document.print(&printer);
    return true;
}

bool QtDialogs::printPages(const base::PagePainter& paint) {
    QPrinter printer;
    {
        const ArrowCursor arrow;
        QPrintDialog dialog(&printer, parent_);
        if (dialog.exec() != QDialog::Accepted)
            return false;
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const bool painted = paint(painter, printer);
    return painter.end() && painted;
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
