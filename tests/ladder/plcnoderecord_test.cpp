// The ladder file record: field offsets and widths, padding and cutting, Windows-1252 bytes, whole records
// only.
#include "ladder/plcnoderecord.h"

#include <gtest/gtest.h>

using ladder::PlcNodeRecord;

namespace {

QByteArray blanks(int n) {
    return QByteArray(n, ' ');
}

} // namespace

TEST(PlcNodeRecord, FieldsSitAtTheirOffsetsPaddedWithBlanks) {
    const PlcNodeRecord rung{QStringLiteral("Start"), QStringLiteral("Rung 1"), QStringLiteral("Rung 1"),
                             QStringLiteral("8"), QStringLiteral("0")};
    const QByteArray bytes = rung.encode();
    ASSERT_EQ(bytes.size(), 114);
    EXPECT_EQ(bytes, "Start" + blanks(30) + "Rung 1" + blanks(29) + "Rung 1" + blanks(24) + "8   " + "0" +
                         blanks(9));

    // Too long fields are cut at their widths; a character outside ASCII is one Windows-1252 byte.
    PlcNodeRecord lengthy;
    lengthy.Relative = QString(40, u'R');
    lengthy.Key = QStringLiteral("Current Strategy = Torque Control / Angle Monitor");
    lengthy.Text = lengthy.Key;
    lengthy.Image = QStringLiteral("12345");
    lengthy.Value = QStringLiteral("20.4") + QChar(0x00B0);
    const QByteArray cut = lengthy.encode();
    ASSERT_EQ(cut.size(), 114);
    EXPECT_EQ(cut.mid(0, 35), QByteArray(35, 'R'));
    EXPECT_EQ(cut.mid(35, 35), QByteArray("Current Strategy = Torque Control /"));
    EXPECT_EQ(cut.mid(70, 30), QByteArray("Current Strategy = Torque Cont"));
    EXPECT_EQ(cut.mid(100, 4), QByteArray("1234"));
    EXPECT_EQ(cut.mid(104, 10), QByteArray("20.4\xB0") + blanks(5));
}

TEST(PlcNodeRecord, DecodeKeepsTrailingBlanksAndRoundTrips) {
    const QByteArray bytes = "Rung 1" + blanks(29) + "Counter 3 = 12" + blanks(21) + "Counter 3 = 12" +
                             blanks(16) + "50  " + "12" + blanks(8);
    const PlcNodeRecord record = PlcNodeRecord::decode(bytes);
    EXPECT_EQ(record.Relative, QStringLiteral("Rung 1") + QString(29, u' '));
    EXPECT_EQ(record.Key, QStringLiteral("Counter 3 = 12") + QString(21, u' '));
    EXPECT_EQ(record.Text, QStringLiteral("Counter 3 = 12") + QString(16, u' '));
    EXPECT_EQ(record.Image, QStringLiteral("50  "));
    EXPECT_EQ(record.Value, QStringLiteral("12") + QString(8, u' '));
    EXPECT_EQ(record.encode(), bytes);

    // A short record reads its missing bytes as blanks.
    const PlcNodeRecord shortRecord = PlcNodeRecord::decode(QByteArray("Start"));
    EXPECT_EQ(shortRecord.Relative, QStringLiteral("Start") + QString(30, u' '));
    EXPECT_EQ(shortRecord.Value, QString(10, u' '));
}
