#pragma once
// Answers the value-entry dialog from a queue: the button and the values the user leaves in the fields. A
// dialog with no scripted answer fails the test.

#include "app/valueentry.h"

#include <QQueue>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace testsupport {

class ScriptedValueEntry : public app::ValueEntryPrompt {
public:
    struct Answer {
        app::ValueButton button = app::ValueButton::Enter;
        std::function<void(app::ValueEntryForm&)> edit; // what the user types or clicks
    };

    app::ValueButton ask(app::ValueEntryForm& form) override {
        shown.push_back(form);
        if (answers.isEmpty()) {
            ADD_FAILURE() << "unexpected value-entry dialog";
            return app::ValueButton::Cancel;
        }
        const Answer answer = answers.dequeue();
        if (answer.edit)
            answer.edit(form);
        return answer.button;
    }

    // Enter with the EEPROM panel's address and data, Enter with the value panel's value, or Cancel.
    void enterEeprom(int address, int data) {
        answers.enqueue({app::ValueButton::Enter, [address, data](app::ValueEntryForm& f) {
                             f.eeAddress.setValue(address);
                             f.eeData.setValue(data);
                         }});
    }
    void enterValue(int value) {
        answers.enqueue(
            {app::ValueButton::Enter, [value](app::ValueEntryForm& f) { f.value.setValue(value); }});
    }
    void cancel() { answers.enqueue({app::ValueButton::Cancel, {}}); }

    QQueue<Answer> answers;
    std::vector<app::ValueEntryForm> shown; // the forms as the dialog showed them
};

} // namespace testsupport
