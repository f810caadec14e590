#pragma once
// Where the ladder editor's window stood when it closed, kept in the user's settings store: section
// "Settings", keys MainLeft, MainTop, MainWidth and MainHeight, each in pixels as decimal text. Nothing
// reads them back.

#include "base/usersettings.h"

#include <QRect>

class QSettings;

namespace ladder {

void saveWindowPosition(QSettings& store, const QRect& geometry);

} // namespace ladder
