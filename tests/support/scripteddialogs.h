#pragma once
// Dialogs for tests: records every message and answers questions and file prompts from queues. A prompt
// with no scripted answer fails the test.

#include "base/dialogs.h"
#include "base/printout.h"

#include <QImage>
#include <QQueue>
#include <QStringList>

#include <functional>
#include <vector>

namespace testsupport {

class ScriptedDialogs : public base::Dialogs {
public:
    struct Message {
        QString text;
        QString caption;
        base::MessageIcon icon;
    };

    // A yes/no or OK/Cancel question as it was asked.
    struct Question {
        QString text;
        QString caption;
        base::MessageIcon icon;
    };

    void message(const QString& text, const QString& caption, base::MessageIcon icon) override;
    bool askYesNo(const QString& text, const QString& caption, base::MessageIcon icon) override;
    bool askOkCancel(const QString& text, const QString& caption, base::MessageIcon icon) override;
    QString openFileName(const QString& caption, const QString& filter) override;
    QString saveFileName(const QString& caption, const QString& filter, const QString& suggested) override;
    bool printerAvailable() override { return printerPresent; }
    // Prints the pages of printChoice on a PDF printer (A4, PrintResolution dots per inch) writing to a
    // temporary file, and counts the pages in the file.
    bool printPages(base::Printout& printout) override;
    bool inputText(const QString& prompt, const QString& caption, QString& value) override;

    // Scripted answers, consumed in order.
    QQueue<bool> yesNoAnswers;
    QQueue<bool> okCancelAnswers; // true = OK
    QQueue<QString> fileNames;    // empty text = cancelled
    QQueue<QString> textAnswers;  // a null QString = cancelled
    // Runs at each open-file or save-file prompt, with its caption, before the prompt is answered.
    std::function<void(const QString& caption)> onFilePrompt;
    // Runs after each message has been recorded (a test changes the stand-in from there).
    std::function<void(const Message& shown)> onMessage;

    std::vector<Message> messages;
    QStringList questions;       // texts of the yes/no and OK/Cancel questions asked
    std::vector<Question> asked; // the same questions with their captions and icons
    bool printerPresent = true;  // what printerAvailable() answers
    static constexpr int PrintResolution = 300;
    bool printerChosen = true;         // false: Cancel at the printer prompt
    base::PrintChoice printChoice;     // the pages and copies chosen at the printer prompt
    int stopAfterPages = 0;            // Cancel in the job's progress after this many pages (0: never)
    int printerFailsAtPage = 0;        // the printer fails to take this page of the job (1: to start)
    std::vector<int> printedPages;     // the pages in each printout's file
    std::vector<int> reportedPages;    // the pages each job reported printed
    std::vector<QImage> printedImages; // the images of the image printouts asked for, in order

    QStringList messageTexts() const;
};

} // namespace testsupport
