#pragma once
// The application context for tests: scripted dialogs, value entry and text viewer, a temporary program
// folder, the shell's windows installed, and the stand-in on each link.

#include "app/appservices.h"
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

// The program's services as main() builds them, with the window context over them: a case reaches the link
// (ctx.link, ctx.state) to set the stand-in up and look at what the windows did, and hands ctx to a window,
// which takes its AppContext from it, as the program's windows take theirs, without the link.
class WindowTestContext : public app::AppServices {
public:
    explicit WindowTestContext(app::AppSeams seams)
        : AppServices(std::move(seams)), context(*this), windows(context.windows) {}

    app::AppContext context;
    app::WindowRegistry& windows;

    operator app::AppContext&() { return context; }
};

// The services with the window registry, the shell's windows installed.
class AppFixture : public testsupport::ServicesFixtureOf<WindowTestContext> {
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
