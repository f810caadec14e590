#pragma once
// frmStats: process statistics of a saved rundown report. The results (lblStats 0 to 12), the run chart
// "XBar - R" with the torque limits as cursors, and the histogram whose number of intervals cwAdj sets;
// File > Print prints the window's image, View > Data File shows the loaded report. A view over
// monitor::StatsSession.

#include "monitor/statssession.h"

#include <QWidget>

#include <array>

class QAction;
class QLabel;
class QSpinBox;

namespace app {
class AppContext;
class ElidedLabel;
} // namespace app
namespace controls {
class ChartWidget;
}

namespace monitor {

class frmStats : public QWidget {
    Q_OBJECT
public:
    explicit frmStats(app::AppContext& ctx, QWidget* parent = nullptr);

    // Labels 0 to 12 carry the results, 13 and 14 the window's own texts.
    static constexpr int LabelCount = 15;

    void Form_Load();
    void mnuloadFile_Click();
    void mnuPrint_Click();
    void mnuViewData_Click();
    void mnuExit_Click();
    void cwAdj_ValueChanged();

    const StatsSession& session() const { return session_; }

private:
    void Show_StatsResults();
    void Plot_StatsGraph();
    void Plot_RundownGraph();

    app::AppContext& ctx_;
    StatsSession session_;
    std::array<QLabel*, LabelCount> lblStats{};
    // lblStats 12, the loaded file's name.
    app::ElidedLabel* fileLabel_ = nullptr;
    controls::ChartWidget* cwStatsGraph1 = nullptr;
    controls::ChartWidget* cwgraph1 = nullptr;
    QSpinBox* cwAdj = nullptr;
    QAction* mnuloadFile = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuViewData = nullptr;
    QAction* mnuViewRealtimeStats = nullptr;
    // Set while the load sets cwAdj, whose change would draw the histogram once more.
    bool settingAdj_ = false;
};

} // namespace monitor
