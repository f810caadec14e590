#include "ladder/windowposition.h"

#include <QSettings>

namespace ladder {

void saveWindowPosition(QSettings& store, const QRect& geometry) {
    const auto text = [](int pixels) { return QString::number(pixels); };
    store.beginGroup(QStringLiteral("Settings"));
    store.setValue(QStringLiteral("MainLeft"), text(geometry.left()));
    store.setValue(QStringLiteral("MainTop"), text(geometry.top()));
    store.setValue(QStringLiteral("MainWidth"), text(geometry.width()));
    store.setValue(QStringLiteral("MainHeight"), text(geometry.height()));
    store.endGroup();
    store.sync();
}

} // namespace ladder
