#pragma once
// The main window's menu tree: every entry with its caption, name, design state and shortcut. Each entry
// becomes a QAction whose objectName is the entry's name; an entry with children opens a submenu (its QMenu
// and the menu's action carry the name). Hidden and disabled entries keep their handlers but cannot be
// chosen from the menu bar.

#include <QHash>
#include <QString>

#include <span>

class QAction;
class QMenu;
class QMenuBar;

namespace app {

enum MenuFlag : unsigned { Shown = 0, Hidden = 1, Disabled = 2 };

struct MenuEntry {
    const char* parent; // name of the submenu holding the entry; nullptr on the menu bar
    const char* name;
    const char* caption;
    unsigned flags = Shown;
    const char* shortcut = nullptr;
};

// The entries in menu order.
std::span<const MenuEntry> menuEntries();

struct MenuTree {
    QHash<QString, QAction*> actions; // by name, submenus included (their menu action)
    QHash<QString, QMenu*> menus;     // the submenus by name
};

// Builds the whole tree on a menu bar.
MenuTree buildMenuTree(QMenuBar& bar);

} // namespace app
