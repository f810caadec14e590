// Curve files and collections: the lines a collection writes per word pair, the curve number of a file's
// header, and the collection file read back line by line.
#include "app/curvefile.h"
#include "base/torque.h"
#include "monitor/curvefiles.h"
#include "tests/monitor/curvefixture.h"

#include <QDir>

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

    // Line 5 is taken as a whole number only where an int holds it: "3e9" names no curve (a plain
    // conversion would be undefined); a fraction is cut.
    const auto withLine5 = [&](const char* name, const QByteArray& line5) {
        const QByteArray header = "0\r\n0\r\n0\r\n0\r\n" + line5 + "\r\n0\r\n0\r\n0\r\n0\r\n0\r\n";
        EXPECT_TRUE(folder.write(name, header));
        return curveFileNumber(folder.file(name));
    };
    EXPECT_EQ(withLine5("big.dat", "3e9"), std::nullopt);
    EXPECT_EQ(withLine5("neg.dat", "-3e9"), std::nullopt);
    EXPECT_EQ(withLine5("frac.dat", " 3.7 "), 3);
    EXPECT_EQ(withLine5("edge.dat", "2147483647"), 2147483647);

    // Only the header is read, but a file larger than any curve file is none.
    QByteArray large = curvetest::curveFileBytes(3, {});
    large += QByteArray(int(app::MaxCurveFileBytes), '\n');
    ASSERT_TRUE(folder.write("large.dat", large));
    EXPECT_EQ(curveFileNumber(folder.file("large.dat")), std::nullopt);
    ASSERT_TRUE(QDir().mkpath(folder.file("dir.dat")));
    EXPECT_EQ(curveFileNumber(folder.file("dir.dat")), std::nullopt);
}

TEST(CurveFiles, CurveFilesAreReadUpToTheirLastUsedSampleAndRefusedBeyondTheirSize) {
    testsupport::TempProgramFolder folder;
    app::CurveData curve;
    // 7,000 samples in a file of ordinary size: the first 6,000 are read.
    std::vector<int> samples(7000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = int(i % 100);
    ASSERT_TRUE(folder.write("long.dat", curvetest::curveFileBytes(1, samples, 4)));
    ASSERT_TRUE(app::LoadCurveFile(folder.file("long.dat"), base::LbIn, curve));
    EXPECT_EQ(curve.CurveSampleCount, app::CurveData::MaxSamples);
    EXPECT_DOUBLE_EQ(curve.CurveSamples[5999], 9.9);

    // One byte over the bound: refused, the curve read before stays.
    QByteArray over = curvetest::curveFileBytes(1, {5});
    over += QByteArray(int(app::MaxCurveFileBytes - over.size() + 1), '\n');
    ASSERT_TRUE(folder.write("over.dat", over));
    EXPECT_FALSE(app::LoadCurveFile(folder.file("over.dat"), base::LbIn, curve));
    EXPECT_EQ(curve.CurveSampleCount, app::CurveData::MaxSamples);
    // At the bound it is a curve file with one sample.
    over.chop(1);
    ASSERT_TRUE(folder.write("at.dat", over));
    ASSERT_TRUE(app::LoadCurveFile(folder.file("at.dat"), base::LbIn, curve));
    EXPECT_EQ(curve.CurveSampleCount, 6000); // the line feeds are empty samples, read as 0
}

TEST(CurveFiles, CollectionsAreWholeLinesWithCrLf) {
    testsupport::TempProgramFolder folder;
    const QString path = folder.file("set.Acf");
    ASSERT_TRUE(writeCurveCollection(path, {"a", "None", "b"}));
    EXPECT_EQ(folder.read("set.Acf"), "a\r\nNone\r\nb\r\n");
    ASSERT_TRUE(writeCurveCollection(path, {}));
    EXPECT_EQ(folder.read("set.Acf"), "");
    ASSERT_TRUE(readCurveCollection(path));
    EXPECT_EQ(readCurveCollection(path)->entries, QStringList{});
    EXPECT_EQ(readCurveCollection(path)->total, 0);

    // A comma belongs to the path, quotes around an entry go, an empty line is an empty slot, and lines
    // may end in CR LF, LF or CR.
    ASSERT_TRUE(folder.write("old.acf", "/data/run 1,2.dat\r\n\"/data/q.dat\"\n\rC:\\Curves\\x.dat"));
    EXPECT_EQ(readCurveCollection(folder.file("old.acf"))->entries,
              (QStringList{"/data/run 1,2.dat", "/data/q.dat", "None", "C:\\Curves\\x.dat"}));

    QString error;
    EXPECT_EQ(readCurveCollection(folder.file("missing.Acf"), &error), std::nullopt);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(writeCurveCollection(folder.file("no/such/folder.Acf"), {"a"}, &error));
}

TEST(CurveFiles, CollectionsKeepTheirSlotsEntriesCountTheRestAndRefuseWhatCannotBeOne) {
    testsupport::TempProgramFolder folder;
    QByteArray twelve;
    for (int k = 1; k <= 12; ++k)
        twelve += "/c/" + QByteArray::number(k) + ".dat\r\n";
    ASSERT_TRUE(folder.write("twelve.Acf", twelve));
    const auto read = readCurveCollection(folder.file("twelve.Acf"));
    ASSERT_TRUE(read);
    ASSERT_EQ(read->entries.size(), MaxCurvePlots);
    EXPECT_EQ(read->entries.last(), "/c/10.dat");
    EXPECT_EQ(read->total, 12);

    // Line feeds far beyond ten paths: refused with the collection's message before they are read.
    QString error;
    ASSERT_TRUE(folder.write("feeds.Acf", QByteArray(int(MaxCollectionFileBytes) + 1, '\n')));
    EXPECT_EQ(readCurveCollection(folder.file("feeds.Acf"), &error), std::nullopt);
    EXPECT_EQ(error, "Not A Valid Curve Collection: " + folder.file("feeds.Acf"));
    ASSERT_TRUE(folder.write("feeds.Acf", QByteArray(int(MaxCollectionFileBytes), '\n')));
    ASSERT_TRUE(readCurveCollection(folder.file("feeds.Acf")));
    EXPECT_EQ(readCurveCollection(folder.file("feeds.Acf"))->total, MaxCollectionFileBytes);
    ASSERT_TRUE(QDir().mkpath(folder.file("dir.Acf")));
    EXPECT_EQ(readCurveCollection(folder.file("dir.Acf"), &error), std::nullopt);
    EXPECT_EQ(error, "Not a regular file");
}
