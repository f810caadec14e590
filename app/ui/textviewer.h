#pragma once
// The modal read-only text viewer: a log or data file's text in a monospace font, to scroll, select and
// copy, with Print (through Dialogs::print) and Close. The close box and Esc close it as Close does.

#include "app/appservices.h"

#include <QDialog>

class QPlainTextEdit;

namespace base {
class Dialogs;
}

namespace app {

class TextViewerDialog : public QDialog {
    Q_OBJECT
public:
    TextViewerDialog(base::Dialogs& dialogs, const QString& title, const QString& text,
                     QWidget* parent = nullptr);

    QString text() const;
    // Prints the whole text in the viewer's font.
    void cmdPrint_Click();

private:
    base::Dialogs& dialogs_;
    QPlainTextEdit* txtView = nullptr;
};

// The viewer behind AppServices::textViewer: runs the dialog over the active window until it is closed.
class QtTextViewer : public TextViewer {
public:
    explicit QtTextViewer(base::Dialogs& dialogs) : dialogs_(dialogs) {}
    void show(const QString& title, const QString& text) override;

private:
    base::Dialogs& dialogs_;
};

} // namespace app
