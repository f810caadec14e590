// The settings-file line scrambler: exact groups, round trips and damaged lines.
#include "app/linescrambler.h"
#include "base/cp1252.h"

#include <gtest/gtest.h>

using app::LineScrambler;

namespace {
LineScrambler fixedFactor(int r) {
    return LineScrambler([r] { return r; });
}
QString code(int a) {
    return QString(QChar(a));
}
} // namespace

TEST(LineScrambler, GroupsMatchTheKnownVectors) {
    EXPECT_EQ(fixedFactor(10).EncodeLine("A"), QStringLiteral("3B]$"));
    EXPECT_EQ(fixedFactor(28).EncodeLine("A"), QStringLiteral("4\"!|!"));
    EXPECT_EQ(fixedFactor(28).EncodeLine(code(0)), QStringLiteral("4\"6jb"));
    EXPECT_EQ(fixedFactor(10).EncodeLine(code(255)), QStringLiteral("3,`#"));
    EXPECT_EQ(fixedFactor(10).EncodeLine(" "), QStringLiteral("3F+x"));
    EXPECT_EQ(fixedFactor(10).EncodeLine(" A"), QStringLiteral("3F+x3B]$"));
    // Factors outside 10..28 are held to the range.
    EXPECT_EQ(fixedFactor(3).EncodeLine("A"), QStringLiteral("3B]$"));
    EXPECT_EQ(fixedFactor(40).EncodeLine("A"), QStringLiteral("4\"!|!"));
}

TEST(LineScrambler, EveryCodeSurvivesEveryFactor) {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    const QString all = base::fromCp1252(bytes); // every character code 0..255
    int failures = 0;
    for (int r = LineScrambler::LowestFactor; r <= LineScrambler::HighestFactor; ++r) {
        for (const QChar c : all) {
            const QString encoded = fixedFactor(r).EncodeLine(QString(c));
            const bool shape =
                (encoded.size() == 4 && encoded[0] == u'3') || (encoded.size() == 5 && encoded[0] == u'4');
            if (!shape || LineScrambler::DecodeLine(encoded) != QString(c))
                ++failures;
        }
    }
    EXPECT_EQ(failures, 0);

    // Windows-1252 characters above 0x7F travel as their byte value.
    const QString text = QStringLiteral("\u20AC caf\u00E9 \u2122");
    EXPECT_EQ(LineScrambler::DecodeLine(fixedFactor(17).EncodeLine(text)), text);
    // The euro sign is byte 0x80: c = 355 - 128 = 227, P = 2270, number 22 10 70 = 221070.
    EXPECT_EQ(fixedFactor(10).EncodeLine(QStringLiteral("\u20AC")), QStringLiteral("3:U*"));
}

TEST(LineScrambler, RandomFactorsScrambleDifferentlyAndDecodeTheSame) {
    const LineScrambler scrambler;
    const QString text = QStringLiteral("FILE TYPE: BRENSTAL.INI and some more text");
    const QString first = scrambler.EncodeLine(text);
    const QString second = scrambler.EncodeLine(text);
    EXPECT_NE(first, second);
    EXPECT_EQ(LineScrambler::DecodeLine(first), text);
    EXPECT_EQ(LineScrambler::DecodeLine(second), text);
    for (const QChar c : first)
        EXPECT_TRUE((c >= u'0' && c <= u'9') || (c.unicode() >= 33 && c.unicode() <= 125));
    EXPECT_EQ(scrambler.EncodeLine(QString()), QString());
    EXPECT_EQ(LineScrambler::DecodeLine(QString()), QString());
}

TEST(LineScrambler, DamagedGroupsAreSkipped) {
    const QString ab = fixedFactor(10).EncodeLine("AB");
    // A stray character, a group whose number has too few digits, a zero factor, a code beyond 255 and a
    // cut-off last group: each is skipped and the rest decodes.
    EXPECT_EQ(LineScrambler::DecodeLine("x" + ab), QStringLiteral("AB"));
    EXPECT_EQ(LineScrambler::DecodeLine("3!!!" + ab), QStringLiteral("AB"));
    EXPECT_EQ(LineScrambler::DecodeLine("0" + ab), QStringLiteral("AB"));
    EXPECT_EQ(LineScrambler::DecodeLine(ab + "3B]"), QStringLiteral("AB"));
    EXPECT_EQ(LineScrambler::DecodeLine(ab + "9}}}}}}}}}"), QStringLiteral("AB"));
    // Groups spelt from their six-digit number D1 D2 R1 R2 D3 D4: 10 00 00 has factor 0; 10 10 00 is
    // P 1000 / 10 = 100, code 255; 10 99 00 is P 1000 / 99 = 10, code 345, beyond a byte.
    const auto group = [](int x) {
        QString g = QStringLiteral("3");
        for (int place = 93 * 93; place >= 1; place /= 93) {
            g.append(QChar(33 + x / place));
            x %= place;
        }
        return g;
    };
    EXPECT_EQ(LineScrambler::DecodeLine(group(100000) + ab), QStringLiteral("AB"));
    EXPECT_EQ(LineScrambler::DecodeLine(group(101000)), QString(QChar(255)));
    EXPECT_EQ(LineScrambler::DecodeLine(group(109900) + ab), QStringLiteral("AB"));
}
