#include "base/numbertext.h"

#include <gtest/gtest.h>

using namespace base;

TEST(NumberText, TextValueReadsTheLeadingNumber) {
    EXPECT_EQ(textValue(QStringLiteral("  12.5abc")), 12.5);
    EXPECT_EQ(textValue(QStringLiteral("1 2")), 12);
    EXPECT_EQ(textValue(QStringLiteral("-3.25")), -3.25);
    EXPECT_EQ(textValue(QStringLiteral("")), 0);
    EXPECT_EQ(textValue(QStringLiteral("abc")), 0);
    EXPECT_EQ(textValue(QStringLiteral("1.5E2x")), 150);
    EXPECT_EQ(textValue(QStringLiteral("2D3")), 2000);
    EXPECT_EQ(textValue(QStringLiteral("&H1F")), 31);
    EXPECT_EQ(textValue(QStringLiteral("&HFFFF")), -1);
    EXPECT_EQ(textValue(QStringLiteral("&O17")), 15);
    EXPECT_EQ(textValue(QStringLiteral(".5")), 0.5);
    EXPECT_EQ(textValue(QStringLiteral("12E")), 12);
}

TEST(NumberText, CIntRoundsHalfToEvenAndRefusesOverflow) {
    EXPECT_EQ(CInt(2.5), int16_t(2));
    EXPECT_EQ(CInt(3.5), int16_t(4));
    EXPECT_EQ(CInt(-2.5), int16_t(-2));
    EXPECT_EQ(CInt(2.6), int16_t(3));
    EXPECT_EQ(CInt(32767.4), int16_t(32767));
    EXPECT_FALSE(CInt(32767.5).has_value());
    EXPECT_FALSE(CInt(-32769).has_value());
    EXPECT_EQ(Int(-1.5), -2);
    EXPECT_EQ(Int(1.99), 1);
}

TEST(NumberText, NumberTextPrintsTheShortestGeneralDecimal) {
    EXPECT_EQ(numberText(12.3 * 10 / 100), QStringLiteral("1.23"));
    EXPECT_EQ(numberText(1 + 14.0 / 100), QStringLiteral("1.14"));
    EXPECT_EQ(numberText(234.5), QStringLiteral("234.5"));
    EXPECT_EQ(numberText(120), QStringLiteral("120"));
    EXPECT_EQ(numberText(0.5), QStringLiteral("0.5"));
    EXPECT_EQ(numberText(-0.25), QStringLiteral("-0.25"));
    EXPECT_EQ(numberText(0), QStringLiteral("0"));
    EXPECT_EQ(numberText(1e16), QStringLiteral("1E+16"));
}

TEST(NumberText, FormatFixedRoundsHalfAwayFromZeroOnTheDecimalText) {
    EXPECT_EQ(formatFixed(0.125, 2), QStringLiteral("0.13"));
    EXPECT_EQ(formatFixed(1.005, 2), QStringLiteral("1.01"));
    EXPECT_EQ(formatFixed(2.5, 0), QStringLiteral("3"));
    EXPECT_EQ(formatFixed(-0.125, 2), QStringLiteral("-0.13"));
    EXPECT_EQ(formatFixed(9.995, 2), QStringLiteral("10.00"));
    EXPECT_EQ(formatFixed(0, 2), QStringLiteral("0.00"));
    EXPECT_EQ(formatFixed(0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(formatFixed(-0.001, 2), QStringLiteral("0.00"));
    EXPECT_EQ(formatFixed(123.45, 1), QStringLiteral("123.5"));
    EXPECT_EQ(formatFixed(7, 1), QStringLiteral("7.0"));
}

TEST(NumberText, FixedFieldsPadAndCut) {
    EXPECT_EQ(fixedField(QStringLiteral("abc"), 5), QStringLiteral("abc  "));
    EXPECT_EQ(fixedField(QStringLiteral("abcdefg"), 5), QStringLiteral("abcde"));
    EXPECT_EQ(fixed40(QStringLiteral("x")).size(), 40);
    EXPECT_EQ(rtrim(QStringLiteral("ab  ")), QStringLiteral("ab"));
}

TEST(NumberText, TrimTakesBlanksOnlyFromBothEnds) {
    EXPECT_EQ(Trim(QStringLiteral("  Rung 1   ")), QStringLiteral("Rung 1"));
    EXPECT_EQ(Trim(QStringLiteral("a b")), QStringLiteral("a b"));
    EXPECT_EQ(Trim(QStringLiteral("    ")), QString());
    EXPECT_EQ(Trim(QString()), QString());
    // Tabs and line ends are not blanks: they stay.
    EXPECT_EQ(Trim(QStringLiteral(" \tx\n ")), QStringLiteral("\tx\n"));
}

#include "base/torque.h"

TEST(Torque, FixedFactorsAndUnchangedCodes) {
    EXPECT_DOUBLE_EQ(ConvertTorque(10, LbFt, LbIn), 120);
    EXPECT_DOUBLE_EQ(ConvertTorque(10, KgCm, KgCm), 10);
    EXPECT_DOUBLE_EQ(ConvertTorque(10, LbIn, TenthsLbIn), 100);
    EXPECT_DOUBLE_EQ(ConvertTorque(10, 7, LbIn), 10);
    EXPECT_DOUBLE_EQ(ConvertTorque(10, Nm, TenthsLbIn), 10);
    EXPECT_DOUBLE_EQ(ConvertTorque(10, LbIn, 0), 10);
    // Not inverses: there and back changes the value.
    EXPECT_DOUBLE_EQ(ConvertTorque(100, LbIn, Nm), 11.3);
    EXPECT_DOUBLE_EQ(ConvertTorque(11.3, Nm, LbIn), 11.3 * 8.851);
}

TEST(NumberText, IsNumberTextTakesTheWholeTextAsOneNumber) {
    for (const char* yes : {"2.9", " -4 ", "+1E3", "7.", ".5", "1d2", "\t12"})
        EXPECT_TRUE(isNumberText(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"", " ", "8 ms", "abc", "1 2", "&H10", "1e", ".", "-"})
        EXPECT_FALSE(isNumberText(QString::fromLatin1(no))) << no;
    EXPECT_FALSE(isNumberText(QStringLiteral("\u0663"))); // a digit of another script
}
