// Curve files: samples, times, extremes and the files the loader refuses; torque units.
#include "app/programcore.h"
#include "base/torque.h"
#include "tests/support/tempfolder.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace app;

namespace {

class CurveFileTest : public ::testing::Test {
protected:
    // A curve file with header line 1 = interval and the given sample lines.
    QString writeCurve(const QString& name, const QByteArray& interval, const QList<QByteArray>& samples,
                       int headerLines = 10) {
        QByteArray bytes = interval + "\r\n";
        for (int i = 1; i < headerLines; ++i)
            bytes += "header\r\n";
        for (const QByteArray& s : samples)
            bytes += s + "\r\n";
        EXPECT_TRUE(home.write(name, bytes));
        return home.file(name);
    }
    testsupport::TempProgramFolder home;
    CurveData curve;
};

} // namespace

TEST_F(CurveFileTest, SamplesAreConvertedToTheCallersUnits) {
    ASSERT_TRUE(LoadCurveFile(writeCurve("a.dat", "500", {"65535", "1000", "", "x"}), base::LbIn, curve));
    EXPECT_EQ(curve.CurveSampleCount, 4);
    EXPECT_DOUBLE_EQ(curve.CurveSamples[0], -0.1);
    EXPECT_DOUBLE_EQ(curve.CurveSamples[1], 100);
    EXPECT_EQ(curve.CurveSamples[2], 0);
    EXPECT_EQ(curve.CurveMaxValue, 100);
    EXPECT_EQ(curve.CurveMinValue, 0); // -0.1 rounds to 0
    for (int i = 0; i <= 4; ++i)
        EXPECT_DOUBLE_EQ(curve.CurveTimes[i], 0.5 * i);

    ASSERT_TRUE(LoadCurveFile(writeCurve("b.dat", "2", {"1000"}), base::Nm, curve));
    EXPECT_EQ(curve.CurveSampleCount, 1);
    EXPECT_DOUBLE_EQ(curve.CurveSamples[0], 11.3);
    EXPECT_EQ(curve.CurveMaxValue, 11);
    EXPECT_EQ(curve.CurveMinValue, 11);
    // Entries beyond the new count keep the older load's values.
    EXPECT_DOUBLE_EQ(curve.CurveSamples[1], 100);

    // Extremes are whole numbers rounded half to even, and never pass their starting values.
    ASSERT_TRUE(LoadCurveFile(writeCurve("c.dat", "1", {"25", "-7", "65000"}), base::LbIn, curve));
    EXPECT_EQ(curve.CurveMaxValue, 2);   // 2.5
    EXPECT_EQ(curve.CurveMinValue, -54); // (65000 - 65536) / 10 = -53.6
    ASSERT_TRUE(LoadCurveFile(writeCurve("d.dat", "1", {"32767"}), base::TenthsLbIn, curve));
    EXPECT_EQ(curve.CurveMaxValue, 32767);
}

TEST_F(CurveFileTest, AHeaderOnlyFileHasNoSamples) {
    ASSERT_TRUE(LoadCurveFile(writeCurve("h.dat", "500", {}), base::Nm, curve));
    EXPECT_EQ(curve.CurveSampleCount, 0);
    EXPECT_EQ(curve.CurveMaxValue, 0);
    EXPECT_EQ(curve.CurveMinValue, 32000);
    EXPECT_EQ(curve.CurveTimes[0], 0);
}

TEST_F(CurveFileTest, LongFilesStopAtTheArraysEnd) {
    QList<QByteArray> samples;
    for (int i = 0; i < CurveData::MaxSamples + 50; ++i)
        samples.append(QByteArray::number(i % 100));
    ASSERT_TRUE(LoadCurveFile(writeCurve("long.dat", "4", samples), base::LbIn, curve));
    EXPECT_EQ(curve.CurveSampleCount, CurveData::MaxSamples);
    EXPECT_DOUBLE_EQ(curve.CurveTimes[CurveData::MaxSamples], 24.0);
    EXPECT_DOUBLE_EQ(curve.CurveSamples[CurveData::MaxSamples - 1], 9.9);
}

TEST_F(CurveFileTest, RefusedFilesChangeNothing) {
    ASSERT_TRUE(LoadCurveFile(writeCurve("good.dat", "10", {"50", "60"}), base::LbIn, curve));
    const std::vector<QString> refused = {
        QString(),
        QStringLiteral("None"),
        QStringLiteral("None.dat"),
        home.file("missing.dat"),
        home.path(),                                 // a folder
        QStringLiteral("/dev/zero"),                 // a device: it would never end
        writeCurve("short.dat", "10", {}, 9),        // nine lines
        writeCurve("words.dat", "fast", {"1", "2"}), // header line 1 not a number
    };
    for (const QString& path : refused)
        EXPECT_FALSE(LoadCurveFile(path, base::LbIn, curve)) << path.toStdString();
    // A FIFO: opening it would wait for a writer.
    const QString fifo = home.file("pipe.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_FALSE(LoadCurveFile(fifo, base::LbIn, curve));
    EXPECT_EQ(curve.CurveSampleCount, 2);
    EXPECT_DOUBLE_EQ(curve.CurveSamples[1], 6);
    EXPECT_DOUBLE_EQ(curve.CurveTimes[2], 0.02);

    // "None" is recognised in that spelling only: "none.dat" is an ordinary file name.
    writeCurve("none.dat", "10", {"7"});
    const QString old = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    EXPECT_FALSE(LoadCurveFile(QStringLiteral("None.dat"), base::LbIn, curve));
    EXPECT_TRUE(LoadCurveFile(QStringLiteral("none.dat"), base::LbIn, curve));
    QDir::setCurrent(old);
    EXPECT_EQ(curve.CurveSampleCount, 1);
}

TEST(ProgramCore, FacadeNamesReachTheSharedProcedures) {
    EXPECT_EQ(ProgramCore::ConvertTorque(10, 2, 1), 120);
    EXPECT_EQ(ProgramCore::ConvertTorque(10, 3, 3), 10);
    EXPECT_EQ(ProgramCore::ConvertTorque(10, 1, 6), 100);
    EXPECT_EQ(ProgramCore::ConvertTorque(10, 7, 1), 10);

    testsupport::TempProgramFolder home;
    ASSERT_TRUE(home.write("f.txt", "x"));
    EXPECT_TRUE(ProgramCore::FileExists(home.file("f.txt")));
    EXPECT_FALSE(ProgramCore::FileExists(home.file("g.txt")));
    EXPECT_FALSE(ProgramCore::FileExists(home.path()));
    EXPECT_EQ(ProgramCore::DecodeLine(QStringLiteral("3B]$")), QStringLiteral("A"));
}
