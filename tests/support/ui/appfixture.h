#pragma once
// The application context for tests: scripted dialogs, value entry and text viewer, a temporary program
// folder, the shell's windows installed, and the stand-in on each link.

#include "app/ui/appcontext.h"
#include "tests/support/servicesfixture.h"

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
};

} // namespace apptest
