#include "app/accesslevels.h"

#include <array>

namespace app {

namespace {

constexpr int CodeMultiplier = 7919;
constexpr int CodeOffset = 4127;
constexpr int CodeModulus = 10000;
constexpr int CodeDigits = 4;
constexpr int DayWeight = 100;

// Items enabled from level 2 on.
constexpr std::array<const char*, 7> WriteItems = {
    "mnuEncryptToolFile", "mnuWriteDspEeprom",      "mnuWriteToolEeprom",        "mnuXducerWrite",
    "mnuWriteToolId",     "mnuWriteToolParameters", "mnuReadAllToolEeLocations",
};
// Items enabled and shown at level 3 only.
constexpr std::array<const char*, 2> FactoryItems = {"mnuTempPassword", "mnuSetFactoryCalibration"};
// Menu shown from level 2 on.
constexpr const char* NsmMenu = "mnuNsm";

} // namespace

QString accessCodeForDate(const QDate& date) {
    const int number = ((DayWeight * date.day() + date.month()) * CodeMultiplier + CodeOffset) % CodeModulus;
    return QChar(u'A' + (date.month() - 1)) + QStringLiteral("%1").arg(number, CodeDigits, 10, QChar(u'0'));
}

std::optional<int16_t> levelForEntry(const QString& entry, const QString& password,
                                     const QString& todaysPassword) {
    const QString t = entry.toUpper();
    if (t == FactoryCode)
        return FactoryLevel;
    // A code not built yet (empty) grants nothing.
    if ((!todaysPassword.isEmpty() && t == todaysPassword.toUpper()) || t == ServiceCode)
        return ServiceLevel;
    if (t == password.toUpper() || t == UserKeyword)
        return UserLevel;
    return std::nullopt;
}

std::vector<MenuItemState> menuStateForLevel(int level) {
    if (level < UserLevel || level > FactoryLevel)
        return {};
    std::vector<MenuItemState> states;
    const bool writes = level >= ServiceLevel;
    const bool factory = level == FactoryLevel;
    for (const char* name : WriteItems)
        states.push_back({QString::fromLatin1(name), writes, std::nullopt});
    for (const char* name : FactoryItems)
        states.push_back({QString::fromLatin1(name), factory, factory});
    states.push_back({QString::fromLatin1(NsmMenu), std::nullopt, writes});
    return states;
}

} // namespace app
