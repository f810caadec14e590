#pragma once
// Access levels: what a login entry grants, the day's service access code, and which main-window menu
// items each level enables or shows. Pure functions; the login window and the main window apply them.

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace app {

enum AccessLevels : int16_t { UserLevel = 1, ServiceLevel = 2, FactoryLevel = 3 };

struct LoginState {
    // 1 at every start; set by each login, never saved.
    int16_t AccessLevel = UserLevel;
    // The day's service access code, built once at start-up (not rebuilt at midnight).
    QString TodaysPassword;
};

// Fixed entries the login knows besides the user password and the day's code.
inline const QString FactoryCode = QStringLiteral("6703");  // level 3
inline const QString ServiceCode = QStringLiteral("6482");  // level 2
inline const QString UserKeyword = QStringLiteral("QARTM"); // level 1

// The day's service access code for a date: the month as a letter ('A' January .. 'L' December) and four
// digits ((100 x day + month) x 7919 + 4127) mod 10000, zero-padded; for example "A3946" on 1 January.
// Multiplying by 7919 permutes the residues modulo 10000 and 100 x day + month stays below 10000, so no two
// dates of the year share a code: it changes every day, the 31 December one included. Its leading letter
// (never 'Q') keeps it apart from the fixed entries.
QString accessCodeForDate(const QDate& date);

// Level granted by a login entry, or nothing when the entry is not accepted. Both sides are compared in
// upper case: the user password and "QARTM" give 1, the day's code and "6482" give 2, "6703" gives 3.
std::optional<int16_t> levelForEntry(const QString& entry, const QString& password,
                                     const QString& todaysPassword);

// The state a level gives one menu item (by its QAction objectName); an unset member is left as it is.
struct MenuItemState {
    QString objectName;
    std::optional<bool> enabled;
    std::optional<bool> visible;
};

// The menu items that follow the access level and their state at that level. All other items keep their
// design state. A level outside 1..3 gives an empty list: no item changes.
std::vector<MenuItemState> menuStateForLevel(int level);

} // namespace app
