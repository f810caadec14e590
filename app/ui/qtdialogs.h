#pragma once
// The program's dialogs on screen: message boxes, questions, file dialogs, printing and the text prompt,
// each a modal Qt dialog parented to the main window once it exists.

#include "base/dialogs.h"

class QWidget;

namespace app {

// Real Qt dialogs, parented to a window when one is set.
class QtDialogs : public base::Dialogs {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    void message(const QString& text, const QString& caption, base::MessageIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption, base::MessageIcon icon) override;
    bool askOkCancel(const QString& text, const QString& caption, base::MessageIcon icon) override;
    QString openFileName(const QString& caption, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& filter, const QString& suggested) override;
    bool printerAvailable() override;
    bool printPages(base::Printout& printout) override;
    bool inputText(const QString& prompt, const QString& caption, QString& value) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace app
