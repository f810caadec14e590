#include "ladder/windowposition.h"

#include <QSettings>

namespace ladder {

std::unique_ptr<QSettings> userSettingsStore() {
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Palverin"),
                                       QStringLiteral("Palverin"));
}

void saveWindowPosition(QSettings& store, const QRect& geometry) {
    const auto twips = [](int pixels) { return QString::number(pixels * TwipsPerPixel); };
    store.beginGroup(QStringLiteral("Settings"));
    store.setValue(QStringLiteral("MainLeft"), twips(geometry.left()));
    store.setValue(QStringLiteral("MainTop"), twips(geometry.top()));
    store.setValue(QStringLiteral("MainWidth"), twips(geometry.width()));
    store.setValue(QStringLiteral("MainHeight"), twips(geometry.height()));
    store.endGroup();
    store.sync();
}

} // namespace ladder
