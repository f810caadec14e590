// Curve files and collections: the lines a collection writes per word pair, the curve number of a file's
// header, and the collection file read back line by line.
#include "monitor/curvefiles.h"
#include "tests/monitor/curvefixture.h"

using namespace monitor;

TEST(CurveFiles, ThePairAtIndex4CarriesTheCurveNumberAndTheZeroLine) {
    EXPECT_EQ(collectedCurveLines(0, 3, 500, 0), (QStringList{"500", "0"}));
    EXPECT_EQ(collectedCurveLines(2, 3, 65535, 32768), (QStringList{"65535", "32768"}));
    EXPECT_EQ(collectedCurveLines(4, 3, 77, 88), (QStringList{"3", " 0 "}));
    EXPECT_EQ(collectedCurveLines(6, 2, 1, 2), (QStringList{"1", "2"}));
}

TEST(CurveFiles, HeaderLine5NamesTheCurve) {
    testsupport::TempProgramFolder folder;
    ASSERT_TRUE(folder.write("angle.dat", curvetest::curveFileBytes(3, {1, 2})));
    ASSERT_TRUE(folder.write("short.dat", "500\r\n0\r\n0\r\n0\r\n3\r\n"));
    EXPECT_EQ(curveFileNumber(folder.file("angle.dat")), 3);
    EXPECT_EQ(curveFileNumber(folder.file("short.dat")), std::nullopt);
    EXPECT_EQ(curveFileNumber(folder.file("missing.dat")), std::nullopt);
}

TEST(CurveFiles, CollectionsAreWholeLinesWithCrLf) {
    testsupport::TempProgramFolder folder;
    const QString path = folder.file("set.Acf");
    ASSERT_TRUE(writeCurveCollection(path, {"a", "None", "b"}));
    EXPECT_EQ(folder.read("set.Acf"), "a\r\nNone\r\nb\r\n");
    ASSERT_TRUE(writeCurveCollection(path, {}));
    EXPECT_EQ(folder.read("set.Acf"), "");
    EXPECT_EQ(readCurveCollection(path), QStringList{});

    // A comma belongs to the path, quotes around an entry go, an empty line is an empty slot, and lines
    // may end in CR LF, LF or CR.
    ASSERT_TRUE(folder.write("old.acf", "/data/run 1,2.dat\r\n\"/data/q.dat\"\n\rC:\\Curves\\x.dat"));
    EXPECT_EQ(readCurveCollection(folder.file("old.acf")),
              (QStringList{"/data/run 1,2.dat", "/data/q.dat", "None", "C:\\Curves\\x.dat"}));

    QString error;
    EXPECT_EQ(readCurveCollection(folder.file("missing.Acf"), &error), std::nullopt);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeCurveCollection(folder.file("no/such/folder.Acf"), {"a"}, &error));
}
