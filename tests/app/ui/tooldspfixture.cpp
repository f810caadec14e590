#include "tests/app/ui/tooldspfixture.h"

#include <QMdiArea>

namespace apptest {

ToolDspFixture::ToolDspFixture() {
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
}

void ToolDspFixture::trigger(const char* name) {
    QAction* action = main.action(QString::fromLatin1(name));
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

QStringList ToolDspFixture::report() const {
    app::FrmOutput* w = const_cast<app::FrmMain&>(main).frame().OutputWindow();
    return w ? w->lines() : QStringList();
}

int ToolDspFixture::reportWindows() const {
    return int(main.mdiArea()->subWindowList().size());
}

void ToolDspFixture::enterEeprom(int address, int data) {
    valueEntry->enterEeprom(address, data);
}

void ToolDspFixture::enterValue(int value) {
    valueEntry->enterValue(value);
}

void ToolDspFixture::cancelEntry() {
    valueEntry->cancel();
}

void ToolDspFixture::expectNothingWhileBusy(std::initializer_list<const char*> names) {
    const size_t before = model.received.size();
    {
        base::BusyGuard other(ctx.busy);
        for (const char* name : names)
            trigger(name);
    }
    EXPECT_EQ(model.received.size(), before);
    EXPECT_TRUE(messages().isEmpty());
    EXPECT_TRUE(valueEntry->shown.empty());
    EXPECT_EQ(reportWindows(), 0);
}

} // namespace apptest
