#pragma once
// The whole program as main() builds it (every feature module and window, the main window at its default
// size) over the stand-in on Ethernet, for opening each window through its launcher and looking at it
// shown: the event loop runs, so focus, layouts and the first timer ticks happen as they do for a user.

#include "app/ui/frmmain.h"
#include "ladder/laddermodule.h"
#include "logicio/logicmodule.h"
#include "pset/psetmodule.h"
#include "service/servicemodule.h"
#include "tests/support/ptypair.h"
#include "tests/support/ui/appfixture.h"

#include <QPointer>
#include <QTemporaryDir>

#include <functional>

namespace shown {

class ShownWindows : public apptest::AppFixture {
protected:
    ShownWindows();
    ~ShownWindows() override;

    // Clicks a menu entry of the main window (a hidden or disabled entry's handler is called all the same).
    void trigger(const char* menu);
    // Lets the event loop run until what is pending has been handled.
    static void settle();
    // The window a launcher opened last under that name, shown and settled; fails the test if none.
    QWidget* shownWindow(const QString& name);
    // The same for the window a menu entry of the main window opens.
    QWidget* shownWindow(const char* menu, const QString& name) {
        trigger(menu);
        return shownWindow(name);
    }
    // Runs check on each modal window of that name while it is shown; the window closes afterwards.
    void onModal(const QString& name, std::function<void(QWidget*)> check);
    // For a dialog that a window runs itself (not through the registry): once the event loop turns, the
    // modal window shown then is checked (caption "name:<caption>" added to seen), laid out and closed by
    // Esc as the user closes it.
    void onNextModal(const QString& name, QStringList& seen, std::function<void(QWidget*)> check = {});

    // The room a window has: the MDI area of the main window at its default size, or the main window's
    // size for a window of its own.
    QSize workArea(QWidget& window) const;
    // Checks the window's layout (nothing clipped, hidden, needlessly scrolled, overlapping or too large)
    // and saves its screenshot as <name>.png under the build folder.
    void expectLaidOut(QWidget& window, const QString& name);

    QTemporaryDir userStore;
    pset::PsetModule psetModule{ctx};
    ladder::LadderModule ladderModule{ctx, store(QStringLiteral("ladder.ini"))};
    logicio::LogicModule logicModule{ctx};
    service::ServiceModule serviceModule{
        ctx, {.logic = logicModule, .ladder = ladderModule}, store(QStringLiteral("service.ini"))};
    // The DSM terminal's and the barcode reader's serial lines: pseudo-terminals of this test alone, so a
    // window opening its port neither needs nor takes a serial port of the machine.
    testsupport::PtyPair dsmLine;
    testsupport::PtyPair scannerLine;
    std::unique_ptr<app::FrmMain> main;
    // The windows opened, by name, newest last.
    QMultiHash<QString, QPointer<QWidget>> opened;

private:
    std::unique_ptr<QSettings> store(const QString& file) const;
    QHash<QString, std::function<void(QWidget*)>> modalChecks_;
    // The name of the window the registry showed last (a modal window runs under it).
    QString lastOpened_;
};

// The caption, as the window's own title or its MDI frame's.
QString caption(QWidget& window);

} // namespace shown
