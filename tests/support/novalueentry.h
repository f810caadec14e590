#pragma once
// A value-entry prompt for tests whose commands never ask for a value: a prompt fails the test.

#include "app/valueentry.h"

#include <gtest/gtest.h>

namespace testsupport {

class NoValueEntry : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm&) override {
        ADD_FAILURE() << "unexpected value-entry dialog";
        return app::ValueButton::Cancel;
    }
};

} // namespace testsupport
