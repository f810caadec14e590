#pragma once
// Every modal question and message of the program goes through this seam, so the core and the windows can
// be tested with scripted answers.

#include <QString>
#include <QStringList>

class QTextDocument;
class QWidget;

namespace base {

// Caption of the program's message boxes.
inline const QString ProgramTitle = QStringLiteral("Palverin2006");

enum class MessageIcon { None, Information, Exclamation, Critical, Question };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An OK-only message box.
    virtual void message(const QString& text, const QString& caption = ProgramTitle,
                         MessageIcon icon = MessageIcon::None) = 0;
    // A Yes/No question; true for Yes. Closing the box is No.
    virtual bool askYesNo(const QString& text, const QString& caption = ProgramTitle) = 0;
    // File dialogs; an empty name means cancelled. filter uses Qt's "Text (*.txt)" form.
    virtual QString openFileName(const QString& caption, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& filter, const QString& suggested = {}) = 0;
    // Prints a document; false when the user cancelled or printing failed.
    virtual bool print(const QTextDocument& document) = 0;
    // Asks for a single line of text; false when cancelled.
    virtual bool inputText(const QString& prompt, const QString& caption, QString& value) = 0;
};

// Real Qt dialogs, parented to a window when one is set.
class QtDialogs : public Dialogs {
public:
    void setParentWindow(QWidget* parent) { parent_ = parent; }
    void message(const QString& text, const QString& caption, MessageIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption) override;
    QString openFileName(const QString& caption, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& filter, const QString& suggested) override;
    bool print(const QTextDocument& document) override;
    bool inputText(const QString& prompt, const QString& caption, QString& value) override;

private:
    QWidget* parent_ = nullptr;
};

} // namespace base
