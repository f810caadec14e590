#include "tests/support/scripteddialogs.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace testsupport {

void ScriptedDialogs::message(const QString& text, const QString& caption, base::MessageIcon icon) {
    messages.push_back({text, caption, icon});
    if (onMessage)
        onMessage(messages.back());
}

namespace {
bool answer(QQueue<bool>& answers, const QString& text, const QString& caption) {
    if (answers.isEmpty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString() << " [" << caption.toStdString()
                      << "]";
        return false;
    }
    return answers.dequeue();
}
} // namespace

bool ScriptedDialogs::askYesNo(const QString& text, const QString& caption, base::MessageIcon icon) {
    questions.append(text);
    asked.push_back({text, caption, icon});
    return answer(yesNoAnswers, text, caption);
}

bool ScriptedDialogs::askOkCancel(const QString& text, const QString& caption, base::MessageIcon icon) {
    questions.append(text);
    asked.push_back({text, caption, icon});
    return answer(okCancelAnswers, text, caption);
}

QString ScriptedDialogs::openFileName(const QString& caption, const QString&) {
    if (onFilePrompt)
        onFilePrompt(caption);
    if (fileNames.isEmpty()) {
        ADD_FAILURE() << "unexpected open-file prompt: " << caption.toStdString();
        return {};
    }
    return fileNames.dequeue();
}

QString ScriptedDialogs::saveFileName(const QString& caption, const QString&, const QString&) {
    if (onFilePrompt)
        onFilePrompt(caption);
    if (fileNames.isEmpty()) {
        ADD_FAILURE() << "unexpected save-file prompt: " << caption.toStdString();
        return {};
    }
    return fileNames.dequeue();
}

namespace {
// A PDF printer that fails to start page failAt of a job, and takes no page after that.
class FailingPdfWriter : public QPdfWriter {
public:
    FailingPdfWriter(const QString& file, int failAt) : QPdfWriter(file), failAt_(failAt) {}
    bool newPage() override {
        EXPECT_FALSE(failed_) << "a page asked for after the printer failed";
        failed_ = failed_ || ++page_ == failAt_;
        return !failed_ && QPdfWriter::newPage();
    }

private:
    int failAt_;
    int page_ = 1;
    bool failed_ = false;
};

// The job's progress as the user would press Cancel after stopAfter pages.
class StoppingProgress : public base::PrintProgress {
public:
    explicit StoppingProgress(int stopAfter) : stopAfter_(stopAfter) {}
    void setRange(int, int) override {}
    void setValue(int value) override { printed = value; }
    bool stopAsked() override { return stopAfter_ > 0 && printed >= stopAfter_; }
    int printed = 0;

private:
    int stopAfter_;
};

int pdfPages(const QByteArray& pdf) {
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page\\b"));
    return int(QString::fromLatin1(pdf).count(page));
}
} // namespace

bool ScriptedDialogs::printPages(base::Printout& printout) {
    if (!printerChosen)
        return false;
    if (const auto* image = dynamic_cast<const base::ImagePrintout*>(&printout))
        printedImages.push_back(image->image());
    const QTemporaryDir folder;
    // A printer that cannot start is one whose file cannot be made.
    QFile pdf(folder.filePath(printerFailsAtPage == 1 ? QStringLiteral("missing/printed.pdf")
                                                      : QStringLiteral("printed.pdf")));
    base::Printed printed = base::Printed::Failed;
    {
        FailingPdfWriter printer(pdf.fileName(), printerFailsAtPage);
        printer.setResolution(PrintResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        StoppingProgress progress(stopAfterPages);
        printed = base::printChosenPages(printout, printer, printChoice, progress, *this);
        reportedPages.push_back(progress.printed);
    }
    printedPages.push_back(pdf.open(QIODevice::ReadOnly) ? pdfPages(pdf.readAll()) : 0);
    return printed == base::Printed::Done;
}

bool ScriptedDialogs::inputText(const QString& prompt, const QString&, QString& value) {
    if (textAnswers.isEmpty()) {
        ADD_FAILURE() << "unexpected text prompt: " << prompt.toStdString();
        return false;
    }
    const QString answer = textAnswers.dequeue();
    if (answer.isNull())
        return false;
    value = answer;
    return true;
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList texts;
    for (const auto& m : messages)
        texts.append(m.text);
    return texts;
}

} // namespace testsupport
