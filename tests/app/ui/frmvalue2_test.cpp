// frmValue2 over Ethernet against the stand-in: each Enter reads one tool EEPROM location and shows it;
// the window stays open.
#include "app/ui/frmvalue2.h"
#include "app/ui/windowregistry.h"
#include "tests/support/ui/appfixture.h"

#include <QAbstractSpinBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QTest>

namespace {

class EepromReader : public apptest::AppFixture {
protected:
    void SetUp() override { connectEthernet(); }
    void read(int location) {
        auto* box = window.findChild<QDoubleSpinBox*>(QStringLiteral("CWNumEdit1"));
        box->setValue(location);
        QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("btnEnter")), Qt::LeftButton);
    }
    app::FrmValue2 window{ctx};
};

TEST_F(EepromReader, ReadsEachLocationAndStaysOpen) {
    window.show();
    EXPECT_EQ(window.findChild<QDoubleSpinBox*>(QStringLiteral("CWNumEdit1"))->value(), 1);
    model.toolEeprom[45] = 128;
    model.toolEeprom[1023] = 7;
    read(45);
    read(1023);
    EXPECT_EQ(dialogs->messageTexts(), (QStringList{"Eeprom Location 45 = 128", "Eeprom Location 1023 = 7"}));
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::Information);
    EXPECT_EQ(ctx.values.results.ValueEntryResult, "1023");
    EXPECT_TRUE(window.isVisible());
}

TEST_F(EepromReader, AFailedReadGivesTheFailureBox) {
    window.show();
    s.ConnectionType = clink::NoConnection; // the transaction fails at once
    read(3);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "Read Tool Eeprom Failed");
    EXPECT_EQ(dialogs->messages[0].icon, base::MessageIcon::Critical);
    EXPECT_TRUE(window.isVisible());
}

} // namespace
