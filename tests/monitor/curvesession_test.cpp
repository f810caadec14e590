// The curve session without the controller: plots added from curve files and deleted (each slot redrawn
// from its own samples), drawing on the torque or angle axis with the axis scaling, units, filter and
// limits, and curve collections saved and loaded.
#include "base/torque.h"
#include "tests/monitor/curvefixture.h"

using monitor::CurveGraph;
using monitor::CurveLimits;

namespace {

class CurveSession : public curvetest::CurveSessionOn<curvetest::NoLink> {
protected:
    CurveSession() { session.Form_Load(); }

    // Four torque curves whose samples tell them apart.
    std::vector<QString> addFourCurves() {
        std::vector<QString> paths;
        for (int k = 1; k <= 4; ++k) {
            paths.push_back(writeCurve(QStringLiteral("c%1.dat").arg(k), 1, {10 * k, 20 * k, 30 * k}));
            addCurve(paths.back());
        }
        return paths;
    }
    std::vector<double> samplesOf(int k) const { return {double(k), 2.0 * k, 3.0 * k}; }
    void saveCollection(const QString& path) {
        dialogs.fileNames.enqueue(path);
        session.mnuSaveCollection_Click();
    }
    void loadCollection(const QString& path) {
        dialogs.fileNames.enqueue(path);
        session.mnuLoadCollection_Click();
    }
};

TEST_F(CurveSession, OpensWithNoPlotsAndTheAxisLimitsAt200) {
    EXPECT_EQ(session.slotCount(), 0);
    EXPECT_EQ(session.cplot().maximum, 0);
    EXPECT_EQ(session.cplot().value, 0);
    EXPECT_FALSE(session.curveMenusEnabled());
    EXPECT_EQ(session.filePoints(), 1000);
    EXPECT_EQ(session.limits().Y1max, 200);
    EXPECT_EQ(session.limits().Y2max, 200);
    EXPECT_EQ(graph.ranges[CurveGraph::TorqueAxis].maximum, 200);
    EXPECT_EQ(graph.ranges[CurveGraph::AngleAxis].maximum, 200);
}

TEST_F(CurveSession, DeletingSlot2Of4RedrawsTheLaterSlotsWithTheirOwnSamples) {
    const std::vector<QString> paths = addFourCurves();
    ASSERT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(graph.plotCount(), 4);
    EXPECT_TRUE(session.curveMenusEnabled());
    EXPECT_EQ(session.cplot().value, 4);
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(graph.plot(k).samples, samplesOf(k)) << k;

    session.selectSlot(2);
    session.RemovePlot_Click();
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_EQ(graph.plotCount(), 3);
    EXPECT_EQ(graph.plot(1).samples, samplesOf(1));
    EXPECT_EQ(graph.plot(2).samples, samplesOf(3));
    EXPECT_EQ(graph.plot(3).samples, samplesOf(4));
    EXPECT_EQ(session.CurvePaths(), (QStringList{paths[0], paths[2], paths[3]}));
    EXPECT_EQ(session.cplot().maximum, 3);
    EXPECT_EQ(session.cplot().value, 2);

    // Deleting the last slot selected clamps the selector; deleting every slot disables the menus.
    session.selectSlot(3);
    session.RemovePlot_Click();
    EXPECT_EQ(session.cplot().value, 2);
    session.RemovePlot_Click();
    session.RemovePlot_Click();
    EXPECT_EQ(graph.plotCount(), 0);
    EXPECT_EQ(session.cplot().minimum, 0);
    EXPECT_EQ(session.cplot().maximum, 0);
    EXPECT_EQ(session.cplot().value, 0);
    EXPECT_FALSE(session.curveMenusEnabled());
}

TEST_F(CurveSession, DrawingScalesTheAxesFromTheCurve) {
    // In Nm: raw 6000 -> 67.8, raw 500 -> 5.65, raw 65535 reads as -1 -> -0.0113.
    session.Option1_Click(base::Nm);
    std::vector<int> raw(30, 500);
    raw[0] = 6000;   // the largest; sample 0 does not count for the start level
    raw[25] = 65535; // the smallest, after the start samples
    addCurve(writeCurve("tq.dat", 1, raw));
    ASSERT_EQ(graph.plotCount(), 1);
    EXPECT_EQ(graph.plot(1).axis, CurveGraph::TorqueAxis);
    EXPECT_DOUBLE_EQ(graph.plot(1).samples[0], 67.8);
    const CurveLimits& l = session.limits();
    EXPECT_DOUBLE_EQ(l.MaxNum, 67.8);
    EXPECT_DOUBLE_EQ(l.MinNum, 5.65);
    EXPECT_EQ(graph.ranges[CurveGraph::TimeAxis].minimum, 0);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::TimeAxis].maximum, 1.1 * 30);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::TorqueAxis].maximum, 1.1 * 67.8);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::TorqueAxis].minimum, -0.0113 - 0.5 * 0.0113);
    EXPECT_DOUBLE_EQ(l.Y1max, 1.1 * 67.8);
    EXPECT_EQ(l.Y2max, 200);

    // The user's maximum runs the axis from the start level; Zoom Out shows the maximum last set again.
    session.Y1max_ValueChanged(50);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::TorqueAxis].minimum, 5.65);
    EXPECT_EQ(graph.ranges[CurveGraph::TorqueAxis].maximum, 50);
    session.mnuZoomOut_Click();
    EXPECT_EQ(session.limits().Y1max, 50);
    EXPECT_EQ(session.limits().Y2max, 200);
    // Autoscale: both value axes from the torque limits.
    session.mnuAutoscale_Click();
    EXPECT_EQ(graph.ranges[CurveGraph::TimeAxis].maximum, 4000);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::AngleAxis].minimum, 5.65 - 5);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::AngleAxis].maximum, 67.8 + 5);
}

TEST_F(CurveSession, AnAngleCurveIsShownAsStoredOnTheAngleAxisWhateverTheUnits) {
    session.Option1_Click(base::Nm);
    addCurve(writeCurve("angle.dat", 3, {0, 100, 900, 450}));
    ASSERT_EQ(graph.plotCount(), 1);
    EXPECT_EQ(graph.plot(1).axis, CurveGraph::AngleAxis);
    EXPECT_EQ(graph.plot(1).samples, (std::vector<double>{0, 100, 900, 450}));
    EXPECT_EQ(session.limits().MaxDeg, 900);
    EXPECT_EQ(session.limits().MinDeg, 100);
    EXPECT_DOUBLE_EQ(session.limits().Y2max, 990);
    EXPECT_DOUBLE_EQ(graph.ranges[CurveGraph::AngleAxis].maximum, 990);
    // Another units button reads the selected slot again: the angle stays as stored.
    session.Option1_Click(base::LbIn);
    EXPECT_EQ(graph.plot(1).samples[2], 900);
    // The start level never exceeds 5000.
    addCurve(writeCurve("wide.dat", 3, std::vector<int>(25, 30000)));
    EXPECT_EQ(session.limits().MinDeg, 5000);
    EXPECT_EQ(session.limits().MaxDeg, 30000);
}

TEST_F(CurveSession, AUnitsChangeRedrawsOnlyTheSelectedSlot) {
    addCurve(writeCurve("a.dat", 1, {100, 200}));
    addCurve(writeCurve("b.dat", 1, {100, 200}));
    session.selectSlot(1);
    session.Option1_Click(base::KgCm);
    EXPECT_DOUBLE_EQ(graph.plot(1).samples[1], 200 * 1.152 / 10);
    EXPECT_DOUBLE_EQ(graph.plot(2).samples[1], 20);
    EXPECT_EQ(session.DisplayUnits(), base::KgCm);
}

TEST_F(CurveSession, RefusedChoicesAndFilesLeaveNoPlot) {
    // Cancelled dialog, a missing file, and a file shorter than its header.
    dialogs.fileNames.enqueue("");
    session.Curve_AddPlot();
    addCurve(folder.file("missing.dat"));
    ASSERT_TRUE(folder.write("short.dat", "500\r\n1\r\n2\r\n"));
    addCurve(folder.file("short.dat"));
    EXPECT_EQ(graph.plotCount(), 0);
    EXPECT_EQ(session.slotCount(), 0);
    EXPECT_EQ(messages(),
              (QStringList{"File does not exists", "Not A Valid Curve File: " + folder.file("short.dat")}));
    EXPECT_EQ(dialogs.messages[0].caption, "File Error");
    EXPECT_EQ(dialogs.messages[1].icon, base::MessageIcon::Critical);

    // Load into the selected slot: a cancel keeps the slot's curve.
    const QString a = writeCurve("a.dat", 1, {100, 200});
    dialogs.fileNames.enqueue(a); // File > Load with no plot adds one
    session.mnuLoad_Click();
    ASSERT_EQ(graph.plotCount(), 1);
    dialogs.fileNames.enqueue("");
    session.mnuLoad_Click();
    EXPECT_EQ(session.CurvePaths(), QStringList{a});
    const QString b = writeCurve("b.dat", 1, {300, 400, 500});
    dialogs.fileNames.enqueue(b);
    session.mnuLoad_Click();
    EXPECT_EQ(session.CurvePaths(), QStringList{b});
    EXPECT_EQ(graph.plot(1).samples, (std::vector<double>{30, 40, 50}));
}

TEST_F(CurveSession, TheFilterWarnsAndAShortCurveCannotBeFiltered) {
    addCurve(writeCurve("a.dat", 1, std::vector<int>(40, 100)));
    session.chkEnableFilter_Click(true);
    // 40 samples: the cut-off 24 is not below half the sampling rate.
    EXPECT_EQ(messages().size(), 2);
    EXPECT_EQ(dialogs.messages[0].text, "Adding A Filter Will Effect The Peak Value");
    EXPECT_EQ(dialogs.messages[0].caption, "Add Filter");
    EXPECT_EQ(dialogs.messages[1].caption, "Error - Display Plot");
    EXPECT_EQ(dialogs.messages[1].icon, base::MessageIcon::Exclamation);
    // A curve that can be filtered is drawn filtered: a step is rounded.
    std::vector<int> step(200, 0);
    std::fill(step.begin() + 100, step.end(), 1000);
    addCurve(writeCurve("step.dat", 1, step));
    ASSERT_EQ(graph.plotCount(), 2);
    EXPECT_GT(graph.plot(2).samples[101], 0);
    EXPECT_LT(graph.plot(2).samples[101], 100);
    session.chkEnableFilter_Click(false);
    EXPECT_EQ(graph.plot(2).samples[101], 100);
}

TEST_F(CurveSession, ACollectionOf3SlotsSavesAndLoadsBack) {
    // Curve files "a" and "b" beside the collection, named as the collection names them.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    writeCurve("a", 1, {10, 20});
    writeCurve("b", 1, {30, 40});
    addCurve("a");
    const QByteArray collection = "a\r\nNone\r\nb\r\n";
    ASSERT_TRUE(folder.write("old.Acf", collection));
    dialogs.okCancelAnswers.enqueue(true);
    loadCollection(folder.file("old.Acf"));
    EXPECT_EQ(dialogs.questions, QStringList{"All Current Plots Will Be Removed - Load Collection ?"});
    ASSERT_EQ(session.slotCount(), 3);
    EXPECT_EQ(graph.plotCount(), 3);
    EXPECT_EQ(graph.plot(1).samples, (std::vector<double>{1, 2}));
    EXPECT_TRUE(graph.plot(2).samples.empty());
    EXPECT_EQ(graph.plot(3).samples, (std::vector<double>{3, 4}));
    EXPECT_EQ(session.CurvePaths(), (QStringList{"a", "None", "b"}));
    EXPECT_TRUE(session.curveMenusEnabled());
    EXPECT_EQ(messages(), QStringList{"Collection Loaded Successfully"});
    EXPECT_EQ(dialogs.messages.back().icon, base::MessageIcon::Exclamation);
    EXPECT_EQ(dialogs.messages.back().caption, "Load Collection");

    saveCollection(folder.file("saved.Acf"));
    EXPECT_EQ(folder.read("saved.Acf"), collection);
    EXPECT_EQ(dialogs.messages.back().text, "Successful - Data Stored");
    EXPECT_EQ(dialogs.messages.back().caption, "Collection Saved");
    EXPECT_EQ(dialogs.messages.back().icon, base::MessageIcon::Information);

    // An existing file is overwritten only after OK; a cancelled dialog is quiet.
    dialogs.messages.clear();
    dialogs.okCancelAnswers.enqueue(false);
    session.RemovePlot_Click();
    saveCollection(folder.file("old.Acf"));
    EXPECT_EQ(dialogs.questions.back(), "This file already exists. - Overwrite File ?");
    EXPECT_EQ(dialogs.asked.back().caption, "File Exists Warning");
    EXPECT_EQ(folder.read("old.Acf"), collection);
    saveCollection("");
    EXPECT_TRUE(dialogs.messages.empty());
    ASSERT_TRUE(QDir::setCurrent(cwd));
}

TEST_F(CurveSession, ACollectionLoadKeepsThePlotsUntilAFileIsRead) {
    const QString a = writeCurve("a.dat", 1, {10, 20});
    addCurve(a);
    // Cancelled question, cancelled dialog, missing file: the plot stays.
    dialogs.okCancelAnswers.enqueue(false);
    session.mnuLoadCollection_Click();
    dialogs.okCancelAnswers.enqueue(true);
    loadCollection("");
    dialogs.okCancelAnswers.enqueue(true);
    dialogs.okCancelAnswers.enqueue(true);
    loadCollection(folder.file("missing.Acf"));
    EXPECT_EQ(dialogs.questions.back(), "File Does Not Exist");
    EXPECT_EQ(dialogs.asked.back().caption, "Collection Load");
    EXPECT_EQ(session.CurvePaths(), QStringList{a});
    EXPECT_EQ(graph.plot(1).samples, (std::vector<double>{1, 2}));
    EXPECT_TRUE(session.curveMenusEnabled());
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(CurveSession, ATwelveEntryCollectionLoadsTen) {
    QStringList entries;
    for (int k = 1; k <= 12; ++k)
        entries << writeCurve(QStringLiteral("c,%1.dat").arg(k), 1, {10 * k});
    ASSERT_TRUE(monitor::writeCurveCollection(folder.file("twelve.Acf"), entries));
    loadCollection(folder.file("twelve.Acf"));
    ASSERT_EQ(session.slotCount(), 10);
    EXPECT_EQ(graph.plotCount(), 10);
    EXPECT_EQ(session.CurvePaths(), entries.mid(0, 10));
    EXPECT_EQ(graph.plot(10).samples, std::vector<double>{10});
    EXPECT_EQ(messages(), (QStringList{"The Collection Holds 12 Curves - Only The First 10 Were Loaded",
                                       "Collection Loaded Successfully"}));
    // The graph is full: no eleventh plot.
    session.Curve_AddPlot();
    EXPECT_EQ(graph.plotCount(), 10);
}

TEST_F(CurveSession, HostileCollectionsAndCurveFilesAreRefusedOrReadWithinBounds) {
    // A curve file whose line 5 is "3e9": no curve number an int holds, so a torque curve, not an angle.
    ASSERT_TRUE(folder.write("big.dat", "0\r\n0\r\n0\r\n0\r\n3e9\r\n0\r\n0\r\n0\r\n0\r\n0\r\n10\r\n20\r\n"));
    const QString angle = writeCurve("angle.dat", 3, {50, 70});
    ASSERT_TRUE(monitor::writeCurveCollection(folder.file("set.Acf"), {folder.file("big.dat"), angle}));
    loadCollection(folder.file("set.Acf"));
    ASSERT_EQ(session.slotCount(), 2);
    EXPECT_EQ(graph.plot(1).axis, CurveGraph::TorqueAxis);
    EXPECT_EQ(graph.plot(1).samples, (std::vector<double>{1, 2}));
    EXPECT_EQ(graph.plot(2).axis, CurveGraph::AngleAxis);
    EXPECT_EQ(messages(), QStringList{"Collection Loaded Successfully"});

    // Megabytes of line feeds are no collection: refused with the load's failure box, the plots stay.
    ASSERT_TRUE(folder.write("feeds.Acf", QByteArray(2 * 1024 * 1024, '\n')));
    dialogs.okCancelAnswers.enqueue(true);
    loadCollection(folder.file("feeds.Acf"));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[1].text, "Not A Valid Curve Collection: " + folder.file("feeds.Acf"));
    EXPECT_EQ(dialogs.messages[1].caption, "Curve Collection Save");
    EXPECT_EQ(dialogs.messages[1].icon, base::MessageIcon::Critical);
    EXPECT_EQ(session.slotCount(), 2);

    // A curve file of megabytes: "Not A Valid Curve File", the slot keeps its curve.
    ASSERT_TRUE(folder.write("feeds.dat", "500\r\n" + QByteArray(2 * 1024 * 1024, '\n')));
    dialogs.fileNames.enqueue(folder.file("feeds.dat"));
    session.mnuLoad_Click();
    EXPECT_EQ(dialogs.messages.back().text, "Not A Valid Curve File: " + folder.file("feeds.dat"));
    EXPECT_EQ(graph.plot(1).samples, (std::vector<double>{1, 2}));
}

TEST_F(CurveSession, ACollectionNamesTheCurveFilesItCouldNotRead) {
    const QString good = writeCurve("good.dat", 1, {10, 20});
    ASSERT_TRUE(folder.write("short.dat", "500\r\n0\r\n0\r\n"));
    const QString missing = folder.file("missing.dat");
    ASSERT_TRUE(monitor::writeCurveCollection(folder.file("mixed.Acf"),
                                              {folder.file("short.dat"), "None", good, missing}));
    loadCollection(folder.file("mixed.Acf"));
    ASSERT_EQ(session.slotCount(), 4);
    EXPECT_TRUE(graph.plot(1).samples.empty());
    EXPECT_EQ(graph.plot(3).samples, (std::vector<double>{1, 2}));
    EXPECT_EQ(session.CurvePaths(), (QStringList{folder.file("short.dat"), "None", good, missing}));
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_EQ(dialogs.messages[0].text, "Not A Valid Curve File: " + folder.file("short.dat") +
                                            "\r\nNot A Valid Curve File: " + missing);
    EXPECT_EQ(dialogs.messages[0].caption, "File Error");
    EXPECT_EQ(dialogs.messages[0].icon, base::MessageIcon::Critical);
    EXPECT_EQ(dialogs.messages[1].text, "Collection Loaded Successfully");
}

} // namespace
