#pragma once
// Every modal question and message of the program goes through this seam, so the core and the windows can
// be tested with scripted answers.

#include "base/eventpump.h"

#include <QString>
#include <QStringList>

namespace base {

class Printout;

// Caption of the program's message boxes.
inline const QString ProgramTitle = QStringLiteral("Palverin2006");

enum class MessageIcon { None, Information, Exclamation, Critical, Question };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An OK-only message box.
    virtual void message(const QString& text, const QString& caption = ProgramTitle,
                         MessageIcon icon = MessageIcon::None) = 0;
    // A Yes/No question; true for Yes. Closing the box is No. It shows the question mark unless another
    // icon is given.
    virtual bool askYesNo(const QString& text, const QString& caption = ProgramTitle,
                          MessageIcon icon = MessageIcon::Question) = 0;
    // The Yes/No question without an icon.
    bool askYesNoWithoutIcon(const QString& text, const QString& caption = ProgramTitle) {
        return askYesNo(text, caption, MessageIcon::None);
    }
    // An OK/Cancel question; true for OK. Closing the box is Cancel.
    virtual bool askOkCancel(const QString& text, const QString& caption = ProgramTitle,
                             MessageIcon icon = MessageIcon::None) = 0;
    // File dialogs; an empty name means cancelled. filter uses Qt's "Text (*.txt)" form.
    virtual QString openFileName(const QString& caption, const QString& filter) = 0;
    virtual QString saveFileName(const QString& caption, const QString& filter,
                                 const QString& suggested = {}) = 0;
    // True when a printer is installed, so that printing can be offered.
    virtual bool printerAvailable() = 0;
    // Asks for the printer and the pages first (nothing is laid out before the user chose, and Cancel
    // returns at once), then prints the pages chosen of printout (printChosenPages), showing the progress
    // of a job of more than a few pages with a way to stop it. False when the user cancelled, stopped the
    // job or printing failed.
    virtual bool printPages(Printout& printout) = 0;
    // Asks for a single line of text; false when cancelled.
    virtual bool inputText(const QString& prompt, const QString& caption, QString& value) = 0;
};

// Dialogs with no one to answer them (a console run, a benchmark): messages are collected, questions are
// answered No or Cancel, prompts are cancelled and nothing is printed.
class UnattendedDialogs : public Dialogs {
public:
    void message(const QString& text, const QString&, MessageIcon) override { messages.append(text); }
    bool askYesNo(const QString&, const QString&, MessageIcon) override { return false; }
    bool askOkCancel(const QString&, const QString&, MessageIcon) override { return false; }
    QString openFileName(const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    bool printerAvailable() override { return false; }
    bool printPages(Printout&) override { return false; }
    bool inputText(const QString&, const QString&, QString&) override { return false; }

    QStringList messages;
};

// The program's dialogs while it runs: everything goes to the dialogs given until the pump is stopped (the
// program is closing while a command waits), or while a Quiet scope lives (the user ended the command by
// closing its window). Meanwhile nothing is shown, so the command ends quietly: messages are dropped,
// questions answered No or Cancel, prompts cancelled and nothing printed. This is the one place of that rule:
// the link and the sessions show their boxes through these and never test for a closing themselves.
class StoppableDialogs : public Dialogs {
public:
    StoppableDialogs(Dialogs& dialogs, const EventPump& pump) : dialogs_(dialogs), pump_(pump) {}

    // Nothing is shown for the scope's lifetime.
    class Quiet {
    public:
        explicit Quiet(StoppableDialogs& dialogs) : dialogs_(dialogs) { ++dialogs_.quiet_; }
        ~Quiet() { --dialogs_.quiet_; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

    private:
        StoppableDialogs& dialogs_;
    };

    // The dialogs that show what is asked (a window sets itself as their parent).
    Dialogs& shown() { return dialogs_; }

    void message(const QString& text, const QString& caption, MessageIcon icon) override {
        if (showing())
            dialogs_.message(text, caption, icon);
    }
    bool askYesNo(const QString& text, const QString& caption, MessageIcon icon) override {
        return showing() && dialogs_.askYesNo(text, caption, icon);
    }
    bool askOkCancel(const QString& text, const QString& caption, MessageIcon icon) override {
        return showing() && dialogs_.askOkCancel(text, caption, icon);
    }
    QString openFileName(const QString& caption, const QString& filter) override {
        return showing() ? dialogs_.openFileName(caption, filter) : QString();
    }
    QString saveFileName(const QString& caption, const QString& filter, const QString& suggested) override {
        return showing() ? dialogs_.saveFileName(caption, filter, suggested) : QString();
    }
    bool printerAvailable() override { return showing() && dialogs_.printerAvailable(); }
    bool printPages(Printout& printout) override { return showing() && dialogs_.printPages(printout); }
    bool inputText(const QString& prompt, const QString& caption, QString& value) override {
        return showing() && dialogs_.inputText(prompt, caption, value);
    }

private:
    bool showing() const { return !pump_.stopped() && quiet_ == 0; }

    Dialogs& dialogs_;
    const EventPump& pump_;
    int quiet_ = 0;
};

} // namespace base
