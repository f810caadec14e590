#pragma once
// Where the ladder editor's window stood when it closed, kept in the user's settings store: section
// "Settings", keys MainLeft, MainTop, MainWidth and MainHeight, each in twips (15 per pixel) as decimal
// text. Nothing reads them back.

#include <QRect>

#include <memory>

class QSettings;

namespace ladder {

inline constexpr int TwipsPerPixel = 15;

// The user's settings store of the program.
std::unique_ptr<QSettings> userSettingsStore();

void saveWindowPosition(QSettings& store, const QRect& geometry);

} // namespace ladder
