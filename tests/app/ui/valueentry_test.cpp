// The number-entry dialog: what each panel's buttons leave in the shared results, the close box as Cancel,
// and every opening starting from the load state; then the real dialog driven by clicks.
#include "app/ui/frmvalue.h"
#include "tests/support/ui/appfixture.h"

#include <QAbstractButton>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTest>

using app::ValueButton;
using app::ValueEntryForm;
using app::ValueEntryResults;
using app::ValuePanel;

namespace {

ValueEntryResults marked() {
    return {QStringLiteral("r"), QStringLiteral("d"), QStringLiteral("o")};
}

TEST(ValueEntryButtons, ValuePanelEnterAndCancel) {
    ValueEntryForm form;
    form.CwMaxVal(65535);
    form.CwMinVal(0);
    form.CwVal(65535);
    ValueEntryResults r = marked();
    applyValueEntryButton(form, ValueButton::Enter, r);
    EXPECT_EQ(r.ValueEntryResult, "65535");
    EXPECT_EQ(r.ValueEntryData, "d");
    EXPECT_EQ(r.ValueEntryOption, "o");
    applyValueEntryButton(form, ValueButton::Cancel, r);
    EXPECT_TRUE(r.ValueEntryResult.isEmpty());
    EXPECT_EQ(r.ValueEntryData, "d");
}

TEST(ValueEntryButtons, LoggerPanelEnterGivesRecordsFileAndNmByDefault) {
    ValueEntryForm form;
    form.SetframeLogger(true);
    form.CwMinVal2(1);
    form.CwMaxVal2(20);
    form.CwVal2(7);
    form.CwMinVal3(1);
    form.CwMaxVal3(100);
    form.CwVal3(42);
    ValueEntryResults r = marked();
    applyValueEntryButton(form, ValueButton::Enter, r);
    EXPECT_EQ(r.ValueEntryResult, "42");
    EXPECT_EQ(r.ValueEntryData, "7");
    EXPECT_EQ(r.ValueEntryOption, "5");
}

TEST(ValueEntryButtons, LoggerCancelIsCancelButAnOptionClickStays) {
    ValueEntryForm form;
    form.SetframeLogger(true);
    form.option = 2;
    form.optionClicked = true;
    ValueEntryResults r = marked();
    applyValueEntryButton(form, ValueButton::Cancel, r);
    EXPECT_TRUE(r.ValueEntryResult.isEmpty());
    EXPECT_EQ(r.ValueEntryData, "d");
    EXPECT_EQ(r.ValueEntryOption, "2");
}

TEST(ValueEntryButtons, EepromPanelEnterAndCancel) {
    ValueEntryForm form;
    form.SetFrameEeprom(true);
    form.CwEeAddMax(1023);
    form.CwEeAddMin(0);
    form.CwEeAddValue(1023);
    form.CwEeDataMax(255);
    form.CwEeDataMin(0);
    form.CwEeDataValue(200);
    ValueEntryResults r = marked();
    applyValueEntryButton(form, ValueButton::Enter, r);
    EXPECT_EQ(r.ValueEntryResult, "1023");
    EXPECT_EQ(r.ValueEntryData, "200");
    r = marked();
    applyValueEntryButton(form, ValueButton::Cancel, r);
    EXPECT_EQ(r.ValueEntryResult, "0");
    EXPECT_EQ(r.ValueEntryData, "d");
}

TEST(ValueEntryForm, FalseChangesNoPanelAndFieldsStayInRange) {
    ValueEntryForm form;
    form.SetFrameEeprom(false);
    form.SetframeLogger(false);
    EXPECT_EQ(form.panel, ValuePanel::Value);
    form.SetFrameEeprom(true);
    form.SetFrameValue(false);
    EXPECT_EQ(form.panel, ValuePanel::Eeprom);
    // Value beyond the range is held at the edge; a lower maximum pulls the value down.
    form.CwVal(300);
    EXPECT_EQ(form.value.text(), "255");
    form.CwMaxVal(10);
    EXPECT_EQ(form.value.text(), "10");
    // The load state: prompt of 32 X, Nm selected, EEPROM title "Data".
    ValueEntryForm fresh;
    EXPECT_EQ(fresh.prompt, QString(32, u'X'));
    EXPECT_EQ(fresh.option, 5);
    EXPECT_EQ(fresh.eepromTitle, "Data");
    EXPECT_EQ(fresh.loggerFile.text(), "1");
    EXPECT_EQ(fresh.eeAddress.text(), "0");
}

class ValueEntryShow : public apptest::AppFixture {};

TEST_F(ValueEntryShow, EveryOpeningStartsFromTheLoadState) {
    ctx.values.frmValue().SetFrameEeprom(true);
    ctx.values.frmValue().CwEeAddValue(45);
    valueEntry->answers.enqueue({ValueButton::Enter, {}});
    EXPECT_TRUE(ctx.values.show());
    EXPECT_EQ(ctx.values.results.ValueEntryResult, "45");
    valueEntry->answers.enqueue({ValueButton::Cancel, {}});
    EXPECT_FALSE(ctx.values.show());
    ASSERT_EQ(valueEntry->shown.size(), 2u);
    EXPECT_EQ(valueEntry->shown[1].panel, ValuePanel::Value);
    EXPECT_EQ(valueEntry->shown[1].value.text(), "1");
    EXPECT_TRUE(ctx.values.results.ValueEntryResult.isEmpty());
}

// The real dialog, clicked offscreen.
class FrmValueClicks : public ::testing::Test {
protected:
    template <class T> T* child(app::FrmValue& dialog, const char* name) {
        T* w = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void type(app::FrmValue& dialog, const char* field, const QString& text) {
        auto* box = child<QDoubleSpinBox>(dialog, field);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    void click(app::FrmValue& dialog, const char* button) {
        QTest::mouseClick(child<QAbstractButton>(dialog, button), Qt::LeftButton);
    }
};

TEST_F(FrmValueClicks, ValuePanelShowsThePromptAndReturnsTheTypedNumber) {
    ValueEntryForm form;
    form.SetFrameValue(true);
    form.LblCaption(QStringLiteral("Select Pset To Read Rundown From"));
    form.CwMaxVal(8);
    form.CwMinVal(1);
    form.CwVal(1);
    app::FrmValue dialog(form);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), " Brenstal");
    EXPECT_EQ(child<QStackedWidget>(dialog, "")->currentWidget()->objectName(), "FrameValue");
    EXPECT_EQ(child<QLabel>(dialog, "Label1")->text(), "Select Pset To Read Rundown From");
    type(dialog, "CWNumEdit1", QStringLiteral("6"));
    click(dialog, "btnEnter");
    EXPECT_EQ(dialog.button(), ValueButton::Enter);
    ValueEntryResults r;
    applyValueEntryButton(form, dialog.button(), r);
    EXPECT_EQ(r.ValueEntryResult, "6");
}

TEST_F(FrmValueClicks, LoggerPanelOptionAndEnter) {
    ValueEntryForm form;
    form.SetframeLogger(true);
    app::FrmValue dialog(form);
    dialog.show();
    EXPECT_EQ(child<QStackedWidget>(dialog, "")->currentWidget()->objectName(), "frameLogger");
    type(dialog, "CWNumEdit2", QStringLiteral("12"));
    type(dialog, "CWNumEdit3", QStringLiteral("100"));
    click(dialog, "opt1_3");
    click(dialog, "btnRead2");
    ValueEntryResults r;
    applyValueEntryButton(form, dialog.button(), r);
    EXPECT_EQ(r.ValueEntryResult, "100");
    EXPECT_EQ(r.ValueEntryData, "12");
    EXPECT_EQ(r.ValueEntryOption, "3");
}

TEST_F(FrmValueClicks, EepromCancelEscAndCloseBoxAreCancel) {
    for (int way = 0; way < 3; ++way) {
        ValueEntryForm form;
        form.SetFrameEeprom(true);
        form.CwEeAddValue(45);
        app::FrmValue dialog(form);
        dialog.show();
        if (way == 0)
            click(dialog, "btnCancelEeprom");
        else if (way == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        EXPECT_EQ(dialog.button(), ValueButton::Cancel) << way;
        ValueEntryResults r = marked();
        applyValueEntryButton(form, dialog.button(), r);
        EXPECT_EQ(r.ValueEntryResult, "0") << way;
        EXPECT_EQ(r.ValueEntryData, "d") << way;
    }
}

TEST_F(FrmValueClicks, EnterKeyInTheFieldIsTheShownPanelsEnter) {
    ValueEntryForm form;
    form.SetFrameEeprom(true);
    app::FrmValue dialog(form);
    dialog.show();
    type(dialog, "CWEeAddress", QStringLiteral("1023"));
    type(dialog, "CWEeData", QStringLiteral("300"));
    QTest::keyClick(child<QDoubleSpinBox>(dialog, "CWEeData"), Qt::Key_Return);
    EXPECT_EQ(dialog.button(), ValueButton::Enter);
    ValueEntryResults r;
    applyValueEntryButton(form, dialog.button(), r);
    EXPECT_EQ(r.ValueEntryResult, "1023");
    // 300 cannot be typed into a 0..255 field.
    EXPECT_EQ(r.ValueEntryData, "30");
}

} // namespace
