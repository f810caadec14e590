#include "base/usersettings.h"

namespace base {

std::unique_ptr<QSettings> userSettingsStore() {
    return std::make_unique<QSettings>(QSettings::UserScope, QStringLiteral("Palverin"),
                                       QStringLiteral("Palverin"));
}

} // namespace base
