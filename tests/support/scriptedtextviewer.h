#pragma once
// The text viewer for tests: records what would have been shown instead of opening a window.

#include "app/appservices.h"

#include <vector>

namespace testsupport {

class ScriptedTextViewer : public app::TextViewer {
public:
    struct Shown {
        QString title;
        QString text;
    };
    void show(const QString& title, const QString& text) override { shown.push_back({title, text}); }

    std::vector<Shown> shown;
};

} // namespace testsupport
