// Loading saved rundown reports: the exact results of a report file, values read whole, reports made by
// the report writer, any number of rundowns, the warning and error boxes that leave the last results
// alone, and the data file in the read-only viewer.
#include "monitor/statssession.h"

#include "app/reports/rundownreport.h"
#include "base/numbertext.h"
#include "base/textlines.h"
#include "tests/monitor/statsfixture.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/scriptedtextviewer.h"
#include "tests/support/tempfolder.h"

#include <QFile>

#include <cmath>

#include <gtest/gtest.h>

using namespace monitor;
using statstest::ReportContents;
using statstest::reportLines;

namespace {

class StatsLoad : public ::testing::Test {
protected:
    QString save(const QString& name, const QByteArray& bytes) {
        EXPECT_TRUE(folder.write(name, bytes));
        return folder.file(name);
    }
    QString save(const QString& name, const ReportContents& report) {
        return save(name, base::joinLinesCrLf(reportLines(report)));
    }
    // Chooses the file in the load dialog and loads it.
    bool choose(const QString& path) {
        dialogs.fileNames.enqueue(path);
        return session.load(session.chooseReport());
    }
    void expectOneMessage(const QString& text, const QString& caption, base::MessageIcon icon) {
        ASSERT_EQ(dialogs.messages.size(), 1u);
        EXPECT_EQ(dialogs.messages[0].text, text);
        EXPECT_EQ(dialogs.messages[0].caption, caption);
        EXPECT_EQ(dialogs.messages[0].icon, icon);
        dialogs.messages.clear();
    }

    testsupport::TempProgramFolder folder;
    testsupport::ScriptedDialogs dialogs;
    testsupport::ScriptedTextViewer viewer;
    StatsSession session{dialogs, viewer};
};

TEST_F(StatsLoad, ThreeRundownReportGivesTheExactResults) {
    const QString path = save("run.txt", statstest::threeRundownReport());
    EXPECT_TRUE(choose(path));
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(session.labelTexts(), (QStringList{"Pop: 3", "Mean: 12.000", "Cp: .667", "Cpk: .667",
                                                 "6Sigma: 12.000", "Range: 4.000", "Max: 14", "Min: 10", "",
                                                 "Tq Target: 12", "Tq Hi: 16", "Tq Lo: 8", "File: " + path}));
    EXPECT_EQ(session.currentFile(), path);
    // Three intervals over [2, 24]: every rundown falls in the middle one.
    const controls::Histogram h = session.histogram(3);
    EXPECT_EQ(h.counts, (std::vector<int>{0, 3, 0}));
    EXPECT_TRUE(session.histogram(0).counts.empty());
}

TEST_F(StatsLoad, LimitsNearTheEndsOfTheDoubleRangeStillGiveAHistogram) {
    ReportContents report;
    report.hi = "1e308";
    report.lo = "-1e308";
    report.torques = QStringList{"10.00", "12.00", "14.00"};
    EXPECT_TRUE(choose(save("wide.txt", base::joinLinesCrLf(reportLines(report)))));
    EXPECT_EQ(session.report().hi, 1e308);
    // Over [-1.7e308, 1.5e308] all three sit in the middle of three intervals, and in the one interval.
    EXPECT_EQ(session.histogram(3).counts, (std::vector<int>{0, 3, 0}));
    const controls::Histogram one = session.histogram(1);
    EXPECT_EQ(one.counts, std::vector<int>{3});
    ASSERT_EQ(one.centres.size(), 1u);
    EXPECT_TRUE(std::isfinite(one.centres[0]));
}

TEST_F(StatsLoad, ValuesAreReadWholeAndLineEndsMayBeBareLineFeeds) {
    ReportContents report;
    report.target = "25.5";
    report.hi = "1000";
    report.lo = "100";
    report.torques = QStringList{"1234.56", "125.50", "3276.75"};
    QByteArray bytes = base::joinLinesCrLf(reportLines(report));
    bytes.replace("\r\n", "\n");
    EXPECT_TRUE(choose(save("lf.txt", bytes)));
    EXPECT_EQ(session.report().torques, (std::vector<double>{1234.56, 125.5, 3276.75}));
    EXPECT_EQ(session.report().hi, 1000);
    const QStringList labels = session.labelTexts();
    EXPECT_EQ(labels[6], "Max: 3276.75");
    EXPECT_EQ(labels[7], "Min: 125.5");
    EXPECT_EQ(labels[9], "Tq Target: 25.5");
    EXPECT_EQ(labels[10], "Tq Hi: 1000");
    EXPECT_EQ(labels[11], "Tq Lo: 100");
}

TEST_F(StatsLoad, ReportFromTheReportWriterLoadsWithItsTorques) {
    app::RundownReportInput in;
    in.time = "10:15:30 AM";
    in.date = "3/14/2009";
    in.psetText = "3";
    in.torqueTarget = 50;
    in.psetLines = QStringList{base::fixed40("Units: Nm"), base::fixed40("Torque Target: 50"),
                               base::fixed40("Torque Hi Limit: 55"), base::fixed40("Torque Lo Limit: 45")};
    clink::DataBufferArray log;
    // Records 1, 2 and 4: raw torques 1000, 1100 and 900 tenths (x 50 / 100 = 50, 55, 45); 3 is empty.
    const int raw[] = {1000, 1100, 0, 900};
    for (int r = 0; r < 4; ++r) {
        log.put(7 * r + 1, raw[r] / 256);
        log.put(7 * r + 2, raw[r] % 256);
        log.put(7 * r + 4, 10 + r);
    }
    const QStringList report = app::makeRundownReport(in, log);
    EXPECT_TRUE(choose(save("writer.txt", base::joinLinesCrLf(report))));
    EXPECT_EQ(session.report().torques, (std::vector<double>{50, 55, 45}));
    EXPECT_EQ(session.report().target, 50);
    EXPECT_EQ(session.report().hi, 55);
    EXPECT_EQ(session.report().lo, 45);
    EXPECT_EQ(session.labelTexts()[0], "Pop: 3");

    // The golden report of the writer's own tests loads as well, negative-free and with a record gap.
    EXPECT_TRUE(choose(QStringLiteral(PALVERIN_GOLDEN_DIR "/rundown_report.txt")));
    EXPECT_EQ(session.report().torques, (std::vector<double>{50, 60, 0.05, 0.5, 12.8, 3276.75}));
}

TEST_F(StatsLoad, AnyNumberOfRundownsIsRead) {
    ReportContents report;
    for (int i = 0; i < 150; ++i)
        report.torques << QString::number(10 + i % 5) + ".00";
    EXPECT_TRUE(choose(save("many.txt", report)));
    EXPECT_EQ(session.stats().count, 150);
    EXPECT_EQ(session.labelTexts()[0], "Pop: 150");
    EXPECT_EQ(session.labelTexts()[1], "Mean: 12.000");
    EXPECT_EQ(session.runChart().xMaximum, 151);
    int binned = 0;
    for (int c : session.histogram(151).counts)
        binned += c;
    EXPECT_EQ(binned, 150);
}

TEST_F(StatsLoad, OneRundownOrEqualRundownsLoadWithoutCapability) {
    ReportContents one;
    one.torques = QStringList{"11.00"};
    EXPECT_TRUE(choose(save("one.txt", one)));
    EXPECT_EQ(session.labelTexts().mid(0, 6),
              (QStringList{"Pop: 1", "Mean: 11.000", "Cp: n/a", "Cpk: n/a", "6Sigma: .000", "Range: .000"}));
    ReportContents equal;
    equal.torques = QStringList{"12.30", "12.30", "12.30", "12.30"};
    EXPECT_TRUE(choose(save("equal.txt", equal)));
    EXPECT_EQ(session.labelTexts()[0], "Pop: 4");
    EXPECT_EQ(session.labelTexts()[2], "Cp: n/a");
    EXPECT_EQ(session.labelTexts()[6], "Max: 12.3");
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StatsLoad, ReportWithoutClosingDashesIsCorruptAndChangesNothing) {
    const QString good = save("run.txt", statstest::threeRundownReport());
    ASSERT_TRUE(choose(good));
    const QStringList before = session.labelTexts();

    ReportContents open;
    open.torques = QStringList{"1.00", "2.00"};
    open.closed = false;
    EXPECT_FALSE(choose(save("open.txt", open)));
    expectOneMessage("File Corrupt Or File Type Incorrect", "File Error", base::MessageIcon::Critical);
    EXPECT_EQ(session.labelTexts(), before);
    EXPECT_EQ(session.currentFile(), good);
}

TEST_F(StatsLoad, FilesWithoutRundownsWarn) {
    ReportContents empty;
    EXPECT_FALSE(choose(save("empty.txt", empty)));
    expectOneMessage("File Does Not Contain Any Data Rundown Data", "File Warning",
                     base::MessageIcon::Information);
    // Not a rundown report at all: the heading never comes.
    ReportContents other;
    other.torques = QStringList{"10.00"};
    QStringList lines = reportLines(other);
    lines[1] = "File Type : Controller Faults";
    EXPECT_FALSE(choose(save("other.txt", base::joinLinesCrLf(lines))));
    expectOneMessage("File Does Not Contain Any Data Rundown Data", "File Warning",
                     base::MessageIcon::Information);
    EXPECT_FALSE(session.loaded());
    EXPECT_EQ(session.labelTexts()[12], "File: ");
}

TEST_F(StatsLoad, ValuesThatAreNotNumbersEndTheLoadWithTheirLine) {
    ReportContents bad;
    bad.torques = QStringList{"10.00", "abc"};
    EXPECT_FALSE(choose(save("bad.txt", bad)));
    expectOneMessage("Torque Value Is Not A Number In Line 17: \"abc\"", "Palverin2006",
                     base::MessageIcon::None);

    ReportContents noHi;
    noHi.torques = QStringList{"10.00"};
    noHi.hi = "";
    EXPECT_FALSE(choose(save("nohi.txt", noHi)));
    expectOneMessage("Torque Hi Limit Is Missing Or Not A Number", "Palverin2006", base::MessageIcon::None);

    ReportContents badTarget;
    badTarget.torques = QStringList{"10.00"};
    badTarget.target = "1E999";
    EXPECT_FALSE(choose(save("target.txt", badTarget)));
    expectOneMessage("Torque Target Is Missing Or Not A Number", "Palverin2006", base::MessageIcon::None);
    EXPECT_FALSE(session.loaded());
}

TEST_F(StatsLoad, CancelAndMissingFilesAreQuiet) {
    EXPECT_FALSE(choose(QString()));
    EXPECT_FALSE(choose(folder.file("gone.txt")));
    EXPECT_FALSE(choose(folder.path())); // a folder is not a file
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(session.loaded());
}

TEST_F(StatsLoad, DataFileOpensInTheViewerOnceLoaded) {
    session.mnuViewData_Click();
    EXPECT_TRUE(viewer.shown.empty());

    const QString path = save("run.txt", statstest::threeRundownReport());
    ASSERT_TRUE(choose(path));
    session.mnuViewData_Click();
    ASSERT_EQ(viewer.shown.size(), 1u);
    EXPECT_EQ(viewer.shown[0].title, "run.txt");
    EXPECT_EQ(viewer.shown[0].text,
              reportLines(ReportContents{.torques = {"10.00", "12.00", "14.00"}}).join('\n'));

    // The file went away since the load: a box says so, nothing is shown.
    ASSERT_TRUE(QFile::remove(path));
    session.mnuViewData_Click();
    EXPECT_EQ(viewer.shown.size(), 1u);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(dialogs.messages[0].text.startsWith("Unable To View File " + path));
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
}

} // namespace
