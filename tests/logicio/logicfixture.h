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

// A file of 20 empty rungs as New leaves them, with both refreshed summaries.
inline QByteArray newProgramFile() {
    QByteArray file;
    for (int r = 0; r < 20; ++r)
        file += emptyRecord("Input  -> ", "Output -> ");
    return file;
}

// A condition longer than its 40-character file field.
inline const QString LongCondition = QStringLiteral("Current Strategy= Torque Control / Angle Monitor");

// The logic file of a program edited as follows, written byte by byte: New; rung 1 "Counter 1 = " with 5
// (list 0, entry 33), "OR" (list 1), "Input 2 On" (list 2, entry 2), "Timer 2 Start" with 30 s (list 7,
// entry 72), refreshed; rung 20 the strategy condition (list 0, entry 62), refreshed.
inline QByteArray goldenProgramFile() {
    QByteArray file = newProgramFile();
    put(file, 0, QByteArray::fromHex("05210000"));  // In1 = 33 x 256 + 5 = 8453
    put(file, 4, QByteArray::fromHex("00020000"));  // In2 = 512
    put(file, 16, QByteArray::fromHex("01000000")); // Op1 = OR
    put(file, 28, QByteArray::fromHex("1E480000")); // Out1 = 72 x 256 + 30 = 18462
    putText(file, 44, 40, "Counter 1 =  5");
    putText(file, 84, 40, "Input 2 On");
    putText(file, 204, 4, "OR");
    putText(file, 216, 40, "Timer 2 Start  (30 Sec)");
    putText(file, 376, 500, "Input  -> Counter 1 =  5  OR  Input 2 On");
    putText(file, 876, 500, "Output -> Timer 2 Start  (30 Sec)");
    const int last = 19 * RecordSize;
    put(file, last, QByteArray::fromHex("003E0000")); // 62 x 256
    putText(file, last + 44, 40, LongCondition.left(40).toLatin1());
    putText(file, last + 376, 500, ("Input  -> " + LongCondition).toLatin1());
    return file;
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
