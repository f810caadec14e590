#pragma once
// The text viewer for tests: records what would have been shown instead of opening a window, and the
// pointer the program showed while it opened.

#include "app/appservices.h"

#include <QCursor>
#include <QGuiApplication>

#include <vector>

namespace testsupport {

class ScriptedTextViewer : public app::TextViewer {
public:
    struct Shown {
        QString title;
        QString text; // the lines joined by line feeds
        Qt::CursorShape pointer;
    };
    void show(const QString& title, const base::TextLines& lines) override {
        QStringList text;
        for (qsizetype i = 0; i < lines.size(); ++i)
            text.append(lines.at(i));
        const QCursor* pointer = QGuiApplication::overrideCursor();
        shown.push_back({title, text.join(u'\n'), pointer ? pointer->shape() : Qt::ArrowCursor});
    }

    std::vector<Shown> shown;
};

} // namespace testsupport
