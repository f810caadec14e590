#pragma once
// The seam of the modal read-only text viewer (a log or data file's lines, with Print); app/ui/textviewer.h
// shows the real one, tests install a scripted one.

#include "base/textlines.h"

#include <QString>

namespace app {

// Shows a text in a modal read-only viewer with Print, and returns when the user closes it.
class TextViewer {
public:
    virtual ~TextViewer() = default;
    virtual void show(const QString& title, const base::TextLines& text) = 0;
};

} // namespace app
