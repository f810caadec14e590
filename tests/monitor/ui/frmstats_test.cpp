// The statistics window: opened through the registry, its labels and menus, a load that fills the labels,
// the run chart and the histogram, cwAdj redrawing the histogram, printing the window's image, the data
// file in the viewer, and Exit.
#include "controls/ui/chartwidget.h"
#include "monitor/ui/frmstats.h"
#include "monitor/ui/installwindows.h"
#include "tests/monitor/statsfixture.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QSpinBox>

using controls::ChartWidget;

namespace {

class StatsWindow : public apptest::AppFixture {
protected:
    StatsWindow() {
        monitor::installWindows(ctx);
        window = qobject_cast<monitor::frmStats*>(ctx.windows.open(app::wnd::frmStats));
    }
    ~StatsWindow() override { delete window.data(); }

    template <typename T> T* child(const QString& name) const { return window->findChild<T*>(name); }
    QAction* action(const char* name) const { return child<QAction>(QString::fromLatin1(name)); }
    QStringList labels() const {
        QStringList texts;
        for (int i = 0; i < monitor::frmStats::LabelCount; ++i)
            texts << child<QLabel>(QStringLiteral("lblStats%1").arg(i))->text();
        return texts;
    }
    void load() {
        path = folder.file(QStringLiteral("run.txt"));
        ASSERT_TRUE(folder.write(QStringLiteral("run.txt"), statstest::threeRundownReport()));
        dialogs->fileNames.enqueue(path);
        action("mnuloadFile")->trigger();
    }

    QPointer<monitor::frmStats> window;
    QString path;
};

TEST_F(StatsWindow, OpensWithZeroResultsAndItsMenus) {
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), "  Brenstal - Stats");
    EXPECT_EQ(labels(), (QStringList{"Pop: 0", "Mean: .000", "Cp: .000", "Cpk: .000", "6Sigma: .000",
                                     "Range: .000", "Max: 0", "Min: 0", "", "Tq Target:", "Tq Hi:", "Tq Lo:",
                                     "File: ", "Statistics - Version 2001", "Sample Interval Adjust"}));
    EXPECT_TRUE(action("mnuloadFile")->isEnabled());
    EXPECT_FALSE(action("mnuSave")->isEnabled());
    EXPECT_TRUE(action("mnuViewRealtimeStats")->isEnabled());
    EXPECT_TRUE(action("mnuPrint")->isEnabled());
    EXPECT_EQ(action("mnuViewData")->text(), "Data File");
    EXPECT_FALSE(child<QSpinBox>("cwAdj")->isEnabled());
    EXPECT_EQ(child<ChartWidget>("cwStatsGraph1")->caption(), "XBar - R");
    EXPECT_EQ(child<ChartWidget>("cwgraph1")->caption(), "Histogram");
    EXPECT_EQ(child<QGroupBox>("frameHistogram")->title(), "Historgram");
    // Nothing loaded: Data File does nothing.
    action("mnuViewData")->trigger();
    EXPECT_TRUE(textViewer->shown.empty());
}

TEST_F(StatsWindow, LoadFillsTheResultsRunChartAndHistogram) {
    load();
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(labels().mid(0, 13), (QStringList{"Pop: 3", "Mean: 12.000", "Cp: .667", "Cpk: .667",
                                                "6Sigma: 12.000", "Range: 4.000", "Max: 14", "Min: 10", "",
                                                "Tq Target: 12", "Tq Hi: 16", "Tq Lo: 8", "File: " + path}));

    auto* run = child<ChartWidget>("cwStatsGraph1");
    EXPECT_EQ(run->plotData(1), (QList<QPointF>{{1, 10}, {2, 12}, {3, 14}}));
    EXPECT_EQ(run->axisMinimum(ChartWidget::XAxis), 0);
    EXPECT_EQ(run->axisMaximum(ChartWidget::XAxis), 4);
    EXPECT_EQ(run->axisMinimum(ChartWidget::YAxis), 4);
    EXPECT_EQ(run->axisMaximum(ChartWidget::YAxis), 18);
    ASSERT_EQ(run->cursorCount(), 3);
    EXPECT_EQ(run->cursorName(1), "TqHi");
    EXPECT_EQ(run->cursorPosition(1), QPointF(16, 16));
    EXPECT_EQ(run->cursorPosition(2), QPointF(12, 12));
    EXPECT_EQ(run->cursorPosition(3), QPointF(8, 8));
    EXPECT_TRUE(run->cursorVisible(2));

    auto* adj = child<QSpinBox>("cwAdj");
    EXPECT_TRUE(adj->isEnabled());
    EXPECT_EQ(adj->maximum(), 4);
    EXPECT_EQ(adj->value(), 3);
    auto* hist = child<ChartWidget>("cwgraph1");
    // Three intervals over [2, 24]: centres 2 + 11/3, 13, 24 - 11/3.
    const QList<QPointF> bins = hist->plotData(1);
    ASSERT_EQ(bins.size(), 3);
    EXPECT_DOUBLE_EQ(bins[1].x(), 13);
    EXPECT_EQ(bins[0].y(), 0);
    EXPECT_EQ(bins[1].y(), 3);
    EXPECT_EQ(hist->axisMinimum(ChartWidget::XAxis), 2);
    EXPECT_EQ(hist->axisMaximum(ChartWidget::XAxis), 24);
    EXPECT_EQ(hist->cursorPosition(1), QPointF(12, 0));
    EXPECT_EQ(hist->cursorPosition(2), QPointF(16, 0));
    EXPECT_EQ(hist->cursorPosition(3), QPointF(8, 0));

    // Four intervals of 5.5 from 2: 10 and 12 in [7.5, 13), 14 in [13, 18.5).
    adj->setValue(4);
    const QList<QPointF> four = hist->plotData(1);
    ASSERT_EQ(four.size(), 4);
    EXPECT_EQ(four[1].y(), 2);
    EXPECT_EQ(four[2].y(), 1);
    adj->setValue(0);
    EXPECT_TRUE(hist->plotData(1).isEmpty());
}

TEST_F(StatsWindow, FailedLoadKeepsTheWindowAsItWas) {
    ASSERT_TRUE(folder.write(QStringLiteral("other.txt"), QByteArray("Company   : Brenstal\r\n")));
    dialogs->fileNames.enqueue(folder.file(QStringLiteral("other.txt")));
    // The file is chosen under the ordinary pointer and read under the hourglass.
    QList<Qt::CursorShape> pointers;
    dialogs->onFilePrompt = [&](const QString&) { pointers << testsupport::pointerShown(); };
    dialogs->onMessage = [&](const auto&) { pointers << testsupport::pointerShown(); };
    action("mnuloadFile")->trigger();
    ASSERT_EQ(dialogs->messageTexts(), QStringList{"File Does Not Contain Any Data Rundown Data"});
    EXPECT_EQ(pointers, (QList<Qt::CursorShape>{Qt::ArrowCursor, Qt::WaitCursor}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(labels()[12], "File: ");
    EXPECT_FALSE(child<QSpinBox>("cwAdj")->isEnabled());
    EXPECT_TRUE(child<ChartWidget>("cwStatsGraph1")->plotData(1).isEmpty());
}

TEST_F(StatsWindow, PrintSendsTheWindowImageAndDataFileOpensTheViewer) {
    load();
    window->resize(900, 640);
    // Cancel in the job stops it at the copies printed, and says so.
    dialogs->printChoice.copies = 3;
    dialogs->stopAfterPages = 1;
    action("mnuPrint")->trigger();
    ASSERT_EQ(dialogs->printedImages.size(), 1u);
    EXPECT_EQ(dialogs->printedImages[0].size(), window->grab().size());
    EXPECT_FALSE(dialogs->printedImages[0].isNull());
    EXPECT_EQ(dialogs->printedPages, std::vector<int>{1});
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Printing Cancelled\r\n1 Of 3 Pages Printed"});

    action("mnuViewData")->trigger();
    ASSERT_EQ(textViewer->shown.size(), 1u);
    EXPECT_EQ(textViewer->shown[0].title, "run.txt");
    EXPECT_TRUE(textViewer->shown[0].text.contains("Torque Hi Limit: 16"));
    // The file is read under the hourglass, which goes when the viewer is done.
    EXPECT_EQ(textViewer->shown[0].pointer, Qt::WaitCursor);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(StatsWindow, ExitClosesTheWindow) {
    action("mnuExit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

} // namespace
