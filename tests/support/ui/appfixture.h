#pragma once
// The application context for tests: scripted dialogs, value entry and text viewer, a temporary program
// folder, the shell's windows installed, and the stand-in on each link.

#include "app/ui/appcontext.h"
#include "tests/support/servicesfixture.h"

class QListWidget;
class QModelIndex;
class QTreeView;
class QTreeWidget;
class QTreeWidgetItem;

namespace apptest {

// The user clicks an item of a shown tree, scrolled into view first.
void clickItem(QTreeWidget* tree, QTreeWidgetItem* item);
void clickIndex(QTreeView* tree, const QModelIndex& index);

using ScriptedValueEntry = testsupport::ScriptedValueEntry;

// The services with the window registry, the shell's windows installed.
class AppFixture : public testsupport::ServicesFixtureOf<app::AppContext> {
protected:
    AppFixture();
    // A control of a window by name; a missing one fails the case.
    template <class W> static W* child(QWidget* window, const QString& name) {
        W* found = window->findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    // The texts of a list's lines, top to bottom.
    static QStringList items(const QListWidget* list);
};

} // namespace apptest
