// The numeric edit: the program's changes never pass for the user's, and the user's edits by typing,
// keys and steps do.
#include "controls/ui/numedit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class NumEditTest : public ::testing::Test {
protected:
    NumEditTest() {
        edit.setDecimals(0);
        edit.setRange(0, 500);
        edit.setValue(10);
        edit.show();
        edit.setFocus();
        changed.clear();
        user.clear();
    }
    double lastUserValue() const { return user.isEmpty() ? -1 : user.last().at(0).toDouble(); }

    controls::NumEdit edit;
    QSignalSpy changed{&edit, &controls::NumEdit::valueChanged};
    QSignalSpy user{&edit, &controls::NumEdit::userEdited};
};

TEST_F(NumEditTest, ProgramChangesEmitValueChangedOnly) {
    edit.setValue(20);
    edit.setValue(20);   // no change, no signal
    edit.setMaximum(15); // clamps 20 to 15
    edit.setDecimals(1);
    edit.setValue(12.34); // rounded to the decimals
    edit.setRange(13, 14);
    EXPECT_EQ(changed.count(), 4);
    EXPECT_EQ(user.count(), 0);
    EXPECT_DOUBLE_EQ(edit.value(), 13.0);
    EXPECT_DOUBLE_EQ(changed.at(2).at(0).toDouble(), 12.3);
}

TEST_F(NumEditTest, StepsAndTypedValuesAreTheUsers) {
    QTest::keyClick(&edit, Qt::Key_Up);
    EXPECT_EQ(user.count(), 1);
    EXPECT_DOUBLE_EQ(lastUserValue(), 11);

    // Typing commits once, on Enter, with the whole number.
    auto* field = edit.findChild<QLineEdit*>();
    ASSERT_TRUE(field);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("125"));
    EXPECT_EQ(user.count(), 1);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(user.count(), 2);
    EXPECT_DOUBLE_EQ(lastUserValue(), 125);
    EXPECT_EQ(changed.count(), 2);
}

TEST_F(NumEditTest, SuffixIsShownButNotPartOfTheValue) {
    edit.setSuffix(QStringLiteral(" Deg"));
    edit.setValue(45);
    EXPECT_EQ(edit.text(), "45 Deg");
    edit.setEnabled(false);
    EXPECT_FALSE(edit.isEnabled());
    EXPECT_DOUBLE_EQ(edit.value(), 45);
}

} // namespace
