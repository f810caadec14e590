#include "tests/app/ui/tooldspfixture.h"

#include <QMdiArea>

namespace apptest {

ToolDspFixture::ToolDspFixture() {
    ctx.now = [] { return QDateTime(QDate(2009, 6, 14), QTime(15, 7, 30)); };
}

void ToolDspFixture::connect(Link link) {
    switch (link) {
    case Link::Ethernet:
        connectEthernet();
        break;
    case Link::Usb:
        useUsb();
        ASSERT_TRUE(ctx.link.usb.ReopenDevice());
        break;
    case Link::ParallelPort:
        useParallelPort();
        ASSERT_TRUE(chip.open());
        s.TransferDelay = 1;
        ctx.link.spi.InitializePort();
        break;
    }
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

std::vector<std::pair<int, int>> ToolDspFixture::toolWrites() const {
    std::vector<std::pair<int, int>> writes;
    const clink::CanMessage* last = nullptr;
    for (const clink::CanMessage& m : model.received) {
        if (m.id != clink::ids::ToolEepromRequest || m.data[0] != 0x60)
            continue;
        // Over Ethernet a write is repeated until it is confirmed twice: count each write once.
        if (last && *last == m)
            continue;
        writes.emplace_back(m.data[1] * 256 + m.data[2], m.data[3]);
        last = &m;
    }
    return writes;
}

} // namespace apptest
