#pragma once
// The text viewer for tests: records what would have been shown instead of opening a window, and the
// pointer the program showed while it opened.

#include "app/appservices.h"

#include <QCursor>
#include <QGuiApplication>

#include <vector>

namespace testsupport {

// The pointer the program shows now: its override, else the ordinary arrow (always that in a core binary,
// whose QCoreApplication has no pointer).
inline Qt::CursorShape pointerShown() {
    const QCursor* pointer = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                 ? QGuiApplication::overrideCursor()
                                 : nullptr;
    return pointer ? pointer->shape() : Qt::ArrowCursor;
}

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
        shown.push_back({title, text.join(u'\n'), pointerShown()});
    }

    std::vector<Shown> shown;
};

} // namespace testsupport
