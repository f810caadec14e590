#pragma once
// The modal read-only text viewer: a log or data file's lines in a monospace font, to scroll, select and
// copy, with Print (through Dialogs::printPages) and Close. The close box and Esc close it as Close does. The
// lines are shown as they scroll into view, so a file of any size opens at once.

#include "app/textviewer.h"

#include <QDialog>

namespace base {
class Dialogs;
}

namespace app {

class TextLinesView;

class TextViewerDialog : public QDialog {
    Q_OBJECT
public:
    TextViewerDialog(base::Dialogs& dialogs, const QString& title, base::TextLines text,
                     QWidget* parent = nullptr);

    // The lines shown, joined by line feeds.
    QString text() const;
    // Asks for the printer and the pages, then prints those pages of the text in the viewer's font.
    void cmdPrint_Click();

private:
    base::Dialogs& dialogs_;
    TextLinesView* txtView = nullptr;
};

// The viewer behind AppServices::textViewer: runs the dialog over the active window until it is closed,
// with the ordinary pointer while the command that opened it holds the hourglass.
class QtTextViewer : public TextViewer {
public:
    explicit QtTextViewer(base::Dialogs& dialogs) : dialogs_(dialogs) {}
    void show(const QString& title, const base::TextLines& text) override;

private:
    base::Dialogs& dialogs_;
};

} // namespace app
