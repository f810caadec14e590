// The condition and action tables against a golden copy of every text set, the code-to-text lookups
// outside the tables, the converter's name lookups and the facts of the two variants.
#include "logicio/logiccatalogue.h"
#include "tests/support/tempfolder.h"

#include <QMap>

#include <gtest/gtest.h>

using namespace logicio;

namespace {

// The golden file: "[set name]" then one "code|text|" line per entry.
QMap<QString, QStringList> goldenSets() {
    const QStringList lines = testsupport::fileLines(QStringLiteral(PALVERIN_GOLDEN_DIR "/catalogue.txt"));
    EXPECT_FALSE(lines.isEmpty());
    QMap<QString, QStringList> sets;
    QString current;
    for (const QString& line : lines) {
        if (line.startsWith(u'[')) {
            current = line.mid(1, line.size() - 2);
            continue;
        }
        const qsizetype bar = line.indexOf(u'|');
        EXPECT_EQ(line.left(bar).toInt(), sets[current].size()) << line.toStdString();
        sets[current].append(line.mid(bar + 1, line.size() - bar - 2));
    }
    return sets;
}

void expectSameTexts(const QStringList& actual, const QStringList& expected, const char* set) {
    ASSERT_EQ(actual.size(), expected.size()) << set;
    for (qsizetype i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], expected[i]) << set << " code " << i;
}

} // namespace

TEST(LogicCatalogue, EveryTextSetEqualsTheGoldenTables) {
    const QMap<QString, QStringList> golden = goldenSets();
    ASSERT_EQ(golden.size(), 5);
    expectSameTexts(conditionTexts(), golden[QStringLiteral("conditions")], "conditions");
    expectSameTexts(actionListTexts(LogicVariant::Version3), golden[QStringLiteral("v3 choice actions")],
                    "v3 lists");
    expectSameTexts(actionDecodeTexts(LogicVariant::Version3), golden[QStringLiteral("v3 decode actions")],
                    "v3 decoder");
    expectSameTexts(actionListTexts(LogicVariant::Version2), golden[QStringLiteral("v2 choice actions")],
                    "v2 lists");
    expectSameTexts(actionDecodeTexts(LogicVariant::Version2), golden[QStringLiteral("v2 decode actions")],
                    "v2 decoder");
    for (int code = 0; code < ConditionCount; ++code)
        EXPECT_EQ(ConditionText(code), conditionTexts()[code]);
    EXPECT_EQ(operatorTexts(), QStringList({QStringLiteral("AND"), QStringLiteral("OR")}));
}

TEST(LogicCatalogue, CodesOutsideATableGiveTheEmptyText) {
    for (int code : {0, 89, 127, -1, 1000})
        EXPECT_EQ(ConditionText(code), QString()) << code;
    for (int code : {0, 105, 108, 109, -1})
        EXPECT_EQ(ActionText(LogicVariant::Version2, code), QString()) << code;
    for (int code : {0, 109, 255, -1})
        EXPECT_EQ(ActionText(LogicVariant::Version3, code), QString()) << code;
    EXPECT_EQ(ActionText(LogicVariant::Version3, 108), QStringLiteral("Reset/Prev Batch"));
    EXPECT_EQ(actionListTexts(LogicVariant::Version3)[108], QStringLiteral("Prev/Reset Batch"));
    EXPECT_EQ(ActionText(LogicVariant::Version3, 78), QStringLiteral("Display Roatry Torque On 2nd Display"));
    EXPECT_EQ(ConditionText(62), QStringLiteral("Current Strategy= Torque Control / Angle Monitor"));
    EXPECT_EQ(OperatorText(2), QString());
}

TEST(LogicCatalogue, ConverterLooksNamesUpExactly) {
    EXPECT_EQ(InputName(QStringLiteral("Counter 1 = ")), 33);
    EXPECT_EQ(InputName(QStringLiteral("Counter 1 =")), 0);
    EXPECT_EQ(InputName(QStringLiteral("Counter 1 > ")), 0);
    EXPECT_EQ(InputName(QStringLiteral("Counter 8 < ")), 0);
    EXPECT_EQ(InputName(QStringLiteral("System Error")), 0);
    EXPECT_EQ(InputName(QStringLiteral("input 1 on")), 0);
    EXPECT_EQ(InputName(QStringLiteral("Input 1 On")), 1);
    EXPECT_EQ(InputName(QStringLiteral("Tool Cw Enabled")), 57);
    EXPECT_EQ(InputName(QStringLiteral("Socket 8 Selected")), 87);
    EXPECT_EQ(InputName(QString()), 0);
    EXPECT_EQ(OutputName(QStringLiteral("Timer 2 Start")), 72);
    EXPECT_EQ(OutputName(QStringLiteral("Timer 1 Clear")), 74);
    EXPECT_EQ(OutputName(QStringLiteral("Display Rotary Torque On 2nd Display")), 0);
    EXPECT_EQ(OutputName(QStringLiteral("Display Roatry Torque On 2nd Display")), 78);
    EXPECT_EQ(OutputName(QStringLiteral("Display Counter 3 Count")), 82);
    EXPECT_EQ(OutputName(QStringLiteral("Display Counter 4 Count")), 0);
    EXPECT_EQ(OutputName(QStringLiteral("Socket Tray Led 1 On")), 88);
    EXPECT_EQ(OutputName(QStringLiteral("Socket Tray Leds Off")), 104);
    EXPECT_EQ(OutputName(QStringLiteral("Next Batch")), 0);
    EXPECT_EQ(OutputName(QString()), 0);
}

TEST(LogicCatalogue, VariantsDifferWhereTheEditorsDiffer) {
    const LogicVersion& v2 = logicVersion(LogicVariant::Version2);
    const LogicVersion& v3 = logicVersion(LogicVariant::Version3);
    EXPECT_EQ(v2.caption, QStringLiteral("Brenstal Logic I/O Ver. 2"));
    EXPECT_EQ(v3.caption, QStringLiteral("Brenstal Logic I/O Ver. 3"));
    EXPECT_EQ(actionListTexts(v2.variant).size(), v2.actionCount);
    EXPECT_EQ(actionListTexts(v3.variant).size(), v3.actionCount);
    EXPECT_EQ(v2.blocks * 6, 630);
    EXPECT_EQ(v3.blocks * 6, 702);
    EXPECT_EQ(v3.encodedWords, 702);
    EXPECT_EQ(v2.minimumControllerType, 4);
    EXPECT_EQ(v3.minimumControllerType, 5);
    EXPECT_TRUE(v3.openFilter.contains(QStringLiteral("*.Lio")));
    EXPECT_FALSE(v3.saveFilter.contains(QStringLiteral("*.Lio")));
    EXPECT_TRUE(v3.openFilter.startsWith(QStringLiteral("Batch Logic Files")));
    // "All Files" shows names without an extension too.
    EXPECT_EQ(v2.saveFilter, QStringLiteral("Logic Files (*.Lio *.lio *.LIO);;All Files (*)"));
    EXPECT_EQ(v2.openFilter, v2.saveFilter);
    EXPECT_EQ(v3.saveFilter, QStringLiteral("Batch Logic Files (*.Bio *.bio *.BIO);;All Files (*)"));
    EXPECT_EQ(v3.openFilter, QStringLiteral("Batch Logic Files (*.Bio *.bio *.BIO);;Logic Files (*.Lio *.lio "
                                            "*.LIO);;All Files (*)"));
    EXPECT_EQ(decodeVariantForControllerType(5), LogicVariant::Version3);
    EXPECT_EQ(decodeVariantForControllerType(6), LogicVariant::Version3);
    EXPECT_EQ(decodeVariantForControllerType(4), LogicVariant::Version2);
    EXPECT_EQ(decodeVariantForControllerType(0), LogicVariant::Version2);
}
