// The curve window: opened through the registry with its controls and menus, plots added and deleted on
// the graph in their slots' colours, the angle axis, the view and cursor modes with Zoom Out, a curve
// collected from the stand-in over USB with the progress panel and the Transfer menu, and closing.
#include "controls/ui/chartwidget.h"
#include "controls/ui/numedit.h"
#include "monitor/ui/frmgraph.h"
#include "monitor/ui/installwindows.h"
#include "tests/monitor/curvefixture.h"
#include "tests/support/ui/appfixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using controls::ChartWidget;

namespace {

class CurveWindow : public apptest::AppFixture {
protected:
    CurveWindow() {
        monitor::installWindows(ctx);
        ctx.windows.setProgressBar(&mainBar);
        mainBar.hide();
        window = qobject_cast<monitor::frmGraph*>(ctx.windows.open(app::wnd::frmGraph));
    }
    ~CurveWindow() override { delete window.data(); }

    template <typename T> T* child(const QString& name) const { return window->findChild<T*>(name); }
    QAction* action(const QString& name) const { return child<QAction>(name); }
    bool menuEnabled(const QString& name) const { return child<QMenu>(name)->menuAction()->isEnabled(); }
    ChartWidget* graph() const { return child<ChartWidget>("cwgraph1"); }
    QString curve(const QString& name, int number, const std::vector<int>& samples) {
        EXPECT_TRUE(folder.write(name, curvetest::curveFileBytes(number, samples)));
        return folder.file(name);
    }
    void addPlot(const QString& path) {
        dialogs->fileNames.enqueue(path);
        child<QPushButton>("BtnAddPlot")->click();
    }

    QProgressBar mainBar;
    QPointer<monitor::frmGraph> window;
};

TEST_F(CurveWindow, OpensEmptyWithItsControlsAndOnlyLoadAndTransferEnabled) {
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), " Brenstal - Plotforge");
    EXPECT_EQ(graph()->axisCaption(1), "Time");
    EXPECT_EQ(graph()->axisCaption(2), "Torque");
    EXPECT_EQ(graph()->axisCaption(3), "Angle");
    EXPECT_EQ(graph()->plotCount(), 0);
    EXPECT_EQ(graph()->axisMaximum(2), 200);
    EXPECT_EQ(child<controls::NumEdit>("Y1max")->value(), 200);
    EXPECT_EQ(child<controls::NumEdit>("Y2max")->value(), 200);
    auto* points = child<controls::NumEdit>("cwFilePoints");
    EXPECT_EQ(points->value(), 1000);
    EXPECT_EQ(points->minimum(), 1);
    EXPECT_EQ(points->maximum(), 6010);
    auto* cplot = child<controls::NumEdit>("cplot");
    EXPECT_EQ(cplot->maximum(), 0);
    EXPECT_EQ(cplot->value(), 0);
    for (const char* name : {"MinNum", "MaxNum", "MinDeg", "MaxDeg", "Order"})
        EXPECT_NE(child<controls::NumEdit>(name), nullptr) << name;
    EXPECT_TRUE(child<QRadioButton>("Option1_1")->isChecked());
    EXPECT_EQ(child<QRadioButton>("Option1_5")->text(), "Nm");
    EXPECT_FALSE(child<QFrame>("frameBar")->isVisible());
    EXPECT_EQ(child<QLabel>("lbldcount")->text(), "0 of 0");
    EXPECT_EQ(child<QLabel>("lblCurrentMode")->text(), "Cursor Mode: Free Float");
    EXPECT_TRUE(action("mnuCFree")->isChecked());

    EXPECT_TRUE(action("mnuLoad")->isEnabled());
    EXPECT_FALSE(action("mnuPrint")->isEnabled());
    EXPECT_FALSE(menuEnabled("mnuPlot"));
    EXPECT_FALSE(menuEnabled("mnuView"));
    EXPECT_FALSE(menuEnabled("mnuCursor"));
    EXPECT_TRUE(menuEnabled("mnuTransfer"));
    EXPECT_EQ(action("mnuControllerCurve2")->text(), "&Aux Transducer Tq");
    EXPECT_EQ(child<QLabel>("lblPlot4")->palette().color(QPalette::WindowText), QColor(Qt::yellow));
}

TEST_F(CurveWindow, DeletingSlot2Of4RedrawsTheRestInTheColoursOfTheirNewSlots) {
    for (int k = 1; k <= 4; ++k)
        addPlot(curve(QStringLiteral("c%1.dat").arg(k), 1, {100 * k, 200 * k}));
    ASSERT_EQ(graph()->plotCount(), 4);
    EXPECT_TRUE(menuEnabled("mnuPlot"));
    EXPECT_TRUE(action("mnuPrint")->isEnabled());
    EXPECT_EQ(child<controls::NumEdit>("cplot")->value(), 4);

    child<controls::NumEdit>("cplot")->stepBy(-2); // the user selects slot 2
    EXPECT_EQ(window->session().cplot().value, 2);
    action("mnuDeletePlot")->trigger();
    ASSERT_EQ(graph()->plotCount(), 3);
    const int expected[] = {1, 3, 4};
    for (int k = 1; k <= 3; ++k) {
        const int file = expected[k - 1];
        EXPECT_EQ(graph()->plotData(k), (QList<QPointF>{{0, 10.0 * file}, {1, 20.0 * file}})) << k;
        EXPECT_EQ(graph()->plotColor(k), monitor::PlotColor(k)) << k;
    }
    EXPECT_EQ(monitor::PlotColor(2), QColor(0, 128, 128));
    EXPECT_EQ(monitor::PlotColor(10), QColor(Qt::red));
    EXPECT_EQ(monitor::PlotColor(11), QColor(Qt::green));
    EXPECT_EQ(child<controls::NumEdit>("cplot")->maximum(), 3);

    // An angle curve goes on the angle axis, scaled from its own samples.
    addPlot(curve("angle.dat", 3, {0, 50, 500}));
    EXPECT_EQ(graph()->plotAxis(4), 3);
    EXPECT_EQ(graph()->axisMaximum(3), 550);
    EXPECT_EQ(child<controls::NumEdit>("MaxDeg")->value(), 500);
    EXPECT_EQ(child<controls::NumEdit>("Y2max")->value(), 550);
}

TEST_F(CurveWindow, ViewAndCursorModesAndZoomOut) {
    addPlot(curve("a.dat", 1, {100, 400, 300}));
    action("mnuZoom")->trigger();
    EXPECT_EQ(graph()->pointerMode(), controls::PointerMode::Zoom);
    EXPECT_EQ(child<QLabel>("lblView")->text(), "View Mode: Zoom");
    action("mnuPan")->trigger();
    EXPECT_EQ(graph()->pointerMode(), controls::PointerMode::Pan);
    EXPECT_FALSE(action("mnuZoom")->isChecked());
    EXPECT_EQ(child<QLabel>("lblView")->text(), "View Mode: Pan");

    action("mnuCursorOn")->trigger();
    EXPECT_TRUE(action("mnuCursorOn")->isChecked());
    EXPECT_FALSE(action("mnuPan")->isChecked());
    EXPECT_EQ(graph()->pointerMode(), controls::PointerMode::Cursor);
    EXPECT_TRUE(graph()->cursorVisible(1));
    EXPECT_FALSE(graph()->cursorVisible(2));
    EXPECT_EQ(child<QLabel>("lblView")->text(), "View Mode:");
    action("mnuCsnap")->trigger();
    EXPECT_EQ(graph()->cursorSnap(1), controls::CursorSnap::NearestPoint);
    EXPECT_FALSE(action("mnuCFree")->isChecked());
    EXPECT_EQ(child<QLabel>("lblCurrentMode")->text(), "Cursor Mode: Snap");
    action("mnuCursorOn")->trigger();
    EXPECT_FALSE(graph()->cursorVisible(1));

    // The user's torque maximum, a zoom, then Zoom Out: the axis and the edit show the full range again.
    child<controls::NumEdit>("Y1max")->stepBy(1);
    const double userMaximum = graph()->axisMaximum(2);
    EXPECT_EQ(userMaximum, 44 + 1);
    EXPECT_EQ(graph()->axisMinimum(2), 30); // the start level
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    action("mnuZoom")->trigger();
    QWidget* plotArea = graph()->viewport();
    const QPoint from = graph()->mapToViewport({0.5, 40}).toPoint();
    const QPoint to = graph()->mapToViewport({2, 35}).toPoint();
    QTest::mousePress(plotArea, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(plotArea, to);
    QTest::mouseRelease(plotArea, Qt::LeftButton, Qt::NoModifier, to);
    ASSERT_LT(graph()->axisMaximum(2), 41);
    action("mnuZoomOut")->trigger();
    EXPECT_EQ(graph()->axisMaximum(2), userMaximum);
    EXPECT_EQ(graph()->axisMinimum(2), 30);
    EXPECT_EQ(child<controls::NumEdit>("Y1max")->value(), userMaximum);
    EXPECT_FALSE(action("mnuZoom")->isChecked());
}

TEST_F(CurveWindow, ACurveFromTheControllerWithTheTransferMenuOffMeanwhile) {
    useUsb();
    ASSERT_TRUE(ctx.link.usb.ReopenDevice());
    model.curves[1] = {500, 0, 0, 0, 0, 0, 0, 0, 0, 0, 100, 300, 200};
    child<controls::NumEdit>("cwFilePoints")->setValue(12);
    child<controls::NumEdit>("cwFilePoints")->stepBy(2); // 14 by the user
    const QString path = folder.file("tool.dat");
    dialogs->fileNames.enqueue(path);
    bool transferEnabled = true;
    bool panelShown = false;
    QTimer::singleShot(0, window, [&] {
        transferEnabled = menuEnabled("mnuTransfer");
        panelShown = child<QFrame>("frameBar")->isVisible();
    });
    action("mnuControllerCurve1")->trigger();
    EXPECT_FALSE(transferEnabled);
    EXPECT_TRUE(panelShown);
    EXPECT_EQ(dialogs->messageTexts(), QStringList{"Data Transfer Complete"});
    EXPECT_EQ(folder.read("tool.dat").count("\r\n"), 16);
    ASSERT_EQ(graph()->plotCount(), 1);
    EXPECT_EQ(graph()->plotData(1).size(), 6);
    EXPECT_EQ(child<QProgressBar>("Bar1")->maximum(), 16);
    EXPECT_EQ(child<QLabel>("lbldcount")->text(), "14 / 14");
    EXPECT_FALSE(child<QFrame>("frameBar")->isVisible());
    EXPECT_TRUE(menuEnabled("mnuTransfer"));
    EXPECT_TRUE(child<QFrame>("Frame5")->isEnabled());
    EXPECT_TRUE(menuEnabled("mnuView"));
}

TEST_F(CurveWindow, ExitClosesTheWindowAndShowsTheMainProgressBar) {
    action("mnuExit")->trigger();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_FALSE(mainBar.isHidden());
}

} // namespace
