#pragma once
// The Parameter Sets window over the stand-in, for the window tests: opened through the registry on the
// simulated USB dongle, its children by objectName, the update cycle waited for, values typed as the user
// types them.

#include "controls/ui/chartwidget.h"
#include "pset/psetmodule.h"
#include "pset/ui/frmpset.h"
#include "pset/ui/installwindows.h"
#include "pset/ui/numbertextedit.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QTest>

namespace psetuitest {

using app::PsetField;
using controls::ChartWidget;
using pset::NumberTextEdit;

class PsetWindow : public apptest::AppFixture {
protected:
    PsetWindow() { pset::installWindows(ctx, module); }
    ~PsetWindow() override { delete window.data(); }

    // The window over the simulated USB dongle, which answers the opening's status reads.
    void openOnUsb() {
        useUsb();
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
        saveSettings();
        open();
    }
    void open() {
        window = qobject_cast<pset::frmPset*>(ctx.windows.open(app::wnd::frmPset));
        ASSERT_TRUE(window);
    }
    template <typename T> T* child(const char* name) const {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const { return child<QAction>(name); }
    NumberTextEdit* edit(const char* name) const { return child<NumberTextEdit>(name); }
    ChartWidget* graph() const { return child<ChartWidget>("cwgraph1"); }
    QString text(int n, PsetField f) const { return table()[n].text(f).trimmed(); }
    app::PsetTable& table() const { return ctx.psetTable; }
    // Waits until the update cycle and a new project's timer are done.
    bool settled() {
        return waitFor([&] { return !window->cycle().pending() && !window->session().newProjectPending(); });
    }
    // New Project from the menu, completed by its timer.
    void newProject() {
        action("mnuNewPset")->trigger();
        ASSERT_TRUE(settled());
    }
    // Types a value into an editor as the user does: replace the text, then Enter.
    void type(NumberTextEdit* editor, const QString& value) {
        editor->setFocus();
        editor->selectAll();
        QTest::keyClicks(editor, value);
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QStringList panels() const {
        QStringList texts;
        for (int i = 1; i <= 3; ++i)
            texts << child<QLabel>(QStringLiteral("sbPanel%1").arg(i).toLatin1().constData())->text();
        return texts;
    }

    pset::PsetModule module{ctx};
    QPointer<pset::frmPset> window;
};

} // namespace psetuitest
