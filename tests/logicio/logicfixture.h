#pragma once
// Headless services for the logic I/O core: scripted dialogs, value prompt and text viewer, a temporary
// program folder, and the logic module with its program-wide rungs and batch table.

#include "app/appservices.h"
#include "link/linkclock.h"
#include "logicio/logicmodule.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/tempfolder.h"

#include <gtest/gtest.h>

#include <deque>
#include <optional>

namespace logictest {

// Hand-built file bytes: bytes at an offset, a text left-aligned and padded with blanks to its width.
inline void put(QByteArray& file, int offset, const QByteArray& bytes) {
    file.replace(offset, bytes.size(), bytes);
}
inline void putText(QByteArray& file, int offset, int width, const QByteArray& text) {
    put(file, offset, text + QByteArray(width - text.size(), ' '));
}

inline constexpr int RecordSize = 1376;

// The record of an empty rung: 44 zero bytes, 160 blanks, "AND AND AND ", 160 blanks, then the two
// summaries padded to 500.
inline QByteArray emptyRecord(const QByteArray& inputSummary, const QByteArray& outputSummary) {
    QByteArray record(44, '\0');
    record += QByteArray(160, ' ') + "AND AND AND " + QByteArray(160, ' ');
    record += inputSummary + QByteArray(500 - inputSummary.size(), ' ');
    record += outputSummary + QByteArray(500 - outputSummary.size(), ' ');
    return record;
}

// Answers the value-entry dialog from a queue: a number entered, or nothing for Cancel.
class ScriptedValuePrompt : public app::ValueEntryPrompt {
public:
    struct Asked {
        QString prompt;
        double maximum;
    };
    app::ValueButton ask(app::ValueEntryForm& form) override {
        asked.push_back({form.prompt, form.value.maximum});
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected value prompt: " << form.prompt.toStdString();
            return app::ValueButton::Cancel;
        }
        const std::optional<double> answer = answers.front();
        answers.pop_front();
        if (!answer)
            return app::ValueButton::Cancel;
        form.value.setValue(*answer);
        return app::ValueButton::Enter;
    }

    std::deque<std::optional<double>> answers;
    std::vector<Asked> asked;
};

// The program's services with scripted seams: dialogs, value prompt and text viewer, a counting pump.
class ScriptedServices {
public:
    ScriptedServices() : services(makeSeams()) {}

    testsupport::ScriptedDialogs* dialogs = nullptr;
    ScriptedValuePrompt* values = nullptr;
    testsupport::ScriptedTextViewer* viewer = nullptr;
    app::AppServices services;

private:
    app::AppSeams makeSeams() {
        app::AppSeams seams;
        auto scriptedDialogs = std::make_unique<testsupport::ScriptedDialogs>();
        dialogs = scriptedDialogs.get();
        seams.dialogs = std::move(scriptedDialogs);
        seams.pump = std::make_unique<testsupport::CountingEventPump>();
        seams.clock = std::make_unique<clink::ManualLinkClock>();
        auto prompt = std::make_unique<ScriptedValuePrompt>();
        values = prompt.get();
        seams.valuePrompt = std::move(prompt);
        auto scriptedViewer = std::make_unique<testsupport::ScriptedTextViewer>();
        viewer = scriptedViewer.get();
        seams.textViewer = std::move(scriptedViewer);
        return seams;
    }
};

class LogicFixture : public ::testing::Test {
protected:
    QString path(const QString& name) const { return folder.file(name); }
    // The names the next file dialogs answer (an empty name is Cancel).
    void answerFiles(std::initializer_list<QString> names) {
        for (const QString& name : names)
            dialogs->fileNames.enqueue(name);
    }

    testsupport::TempProgramFolder folder;
    ScriptedServices scripted;
    testsupport::ScriptedDialogs* dialogs = scripted.dialogs;
    ScriptedValuePrompt* values = scripted.values;
    testsupport::ScriptedTextViewer* viewer = scripted.viewer;
    app::AppServices& services = scripted.services;
    logicio::LogicModule module{services};
};

} // namespace logictest
