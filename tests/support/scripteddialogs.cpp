#include "tests/support/scripteddialogs.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextImageFormat>
#include <QUrl>

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

bool ScriptedDialogs::print(const QTextDocument& document) {
    printed.append(document.toPlainText());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                const QString name = format.toImageFormat().name();
                printedImages.push_back(
                    document.resource(QTextDocument::ImageResource, QUrl(name)).value<QImage>());
            }
        }
    }
    return true;
}

namespace {
// A PDF printer that counts its pages.
class CountingPdfWriter : public QPdfWriter {
public:
    using QPdfWriter::QPdfWriter;
    bool newPage() override {
        ++pages;
        return QPdfWriter::newPage();
    }
    int pages = 1;
};
} // namespace

bool ScriptedDialogs::printPages(const base::PagePainter& paint) {
    if (!printerChosen)
        return false;
    QTemporaryFile file;
    if (!file.open())
        return false;
    CountingPdfWriter printer(&file);
    printer.setResolution(PrintResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&printer);
    const bool painted = paint(painter, printer);
    painter.end();
    printedPages.push_back(printer.pages);
    return painted;
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
