#pragma once
// frmGraph: the curve window. Up to ten torque or angle curves overlaid on one graph (time, torque and
// angle axes), curve files loaded into plot slots, collections of them saved and loaded, curves collected
// from the controller, the units, an optional filter, the axis limits, zoom, pan and a free or snapping
// cursor. A view over monitor::CurveSession.

#include "app/ui/closewhenidle.h"
#include "app/ui/cursors.h"
#include "monitor/curvesession.h"
#include "monitor/ui/curvechart.h"

#include <QWidget>

#include <array>
#include <optional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QProgressBar;

namespace app {
class AppContext;
}
namespace controls {
class ChartWidget;
class NumEdit;
} // namespace controls

namespace monitor {

class frmGraph : public QWidget, private CurveCollectionDisplay {
    Q_OBJECT
public:
    explicit frmGraph(app::AppContext& ctx, QWidget* parent = nullptr);
    ~frmGraph() override;

    void Form_Load();
    void BtnAddPlot_Click();
    void mnuDeletePlot_Click();
    void mnuLoad_Click();
    void mnuLoadCollection_Click();
    void mnuSaveCollection_Click();
    void mnuExit_Click();
    void mnuZoom_Click();
    void mnuPan_Click();
    void mnuZoomOut_Click();
    void mnuAutoscale_Click();
    void mnuCursorOn_Click();
    void mnuCFree_Click();
    void mnuCsnap_Click();
    void mnuControllerCurve_Click(int curve);
    void mnuDataLoggerCurve_Click();
    void Option1_Click(int index);

    const CurveSession& session() const { return session_; }

protected:
    // A close while a curve is being collected cancels the collection; the window closes once it has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    // CurveCollectionDisplay: the progress panel.
    void setRange(int minimum, int maximum) override;
    void setValue(int value) override;
    void setCountText(const QString& text) override;
    void setCollecting(bool collecting) override;

    void buildMenus(QMenu* file, QMenu* plot, QMenu* view, QMenu* cursor, QMenu* transfer);
    QWidget* buildControls();
    // The progress panel, shown under the graph while a curve is collected.
    QFrame* buildProgressPanel();
    // Shows the session's state: the slot selector, limits, axis edits and menus.
    void refresh();
    void setViewChecks(QAction* checked);

    app::AppContext& ctx_;
    controls::ChartWidget* cwgraph1;
    CurveChart chart_;
    CurveSession session_;

    controls::NumEdit* cplot = nullptr;
    QButtonGroup* Option1 = nullptr;
    QCheckBox* chkEnableFilter = nullptr;
    controls::NumEdit* Order = nullptr;
    controls::NumEdit* Y1max = nullptr;
    controls::NumEdit* Y2max = nullptr;
    controls::NumEdit* MinNum = nullptr;
    controls::NumEdit* MaxNum = nullptr;
    controls::NumEdit* MinDeg = nullptr;
    controls::NumEdit* MaxDeg = nullptr;
    controls::NumEdit* cwFilePoints = nullptr;
    QFrame* Frame5 = nullptr;
    QFrame* frameBar = nullptr;
    QProgressBar* Bar1 = nullptr;
    QLabel* lbldcount = nullptr;
    QLabel* lblCurrentMode = nullptr;
    QLabel* lblView = nullptr;
    std::array<QLabel*, MaxCurvePlots> legend_{};

    QAction* mnuLoad = nullptr;
    QAction* mnuPrint = nullptr;
    QMenu* mnuPlot = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuCursor = nullptr;
    QMenu* mnuTransfer = nullptr;
    QAction* mnuZoom = nullptr;
    QAction* mnuPan = nullptr;
    QAction* mnuCursorOn = nullptr;
    QAction* mnuCFree = nullptr;
    QAction* mnuCsnap = nullptr;

    // The hourglass while a curve is collected.
    std::optional<app::WaitCursor> waitCursor_;
    app::CloseWhenIdle closer_{*this};
};

} // namespace monitor
