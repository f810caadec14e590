#pragma once
// The curve window's session: up to ten plot slots, each with its curve file and the samples loaded from
// it, drawn on the window's graph (torque curves against the torque axis, angle curves against the angle
// axis), an optional low-pass filter, the axis limits, curve files loaded one by one, collections of them
// saved and loaded, and curves collected from the controller into new curve files. Boxes and file choices
// go through the Dialogs seam, the number of a data-logger curve through the value-entry dialog.
//
// Every slot keeps its own samples, so a redraw (after a deletion, say) shows each slot's own curve.
// Curve files whose header names the angle curve are always read as stored and drawn on the angle axis.

#include "monitor/curvefiles.h"
#include "monitor/curvegraph.h"

#include <array>
#include <vector>

class QObject;

namespace app {
class AppServices;
class ProgramCore;
class ValueEntry;
} // namespace app
namespace base {
class BusyState;
class Dialogs;
} // namespace base
namespace clink {
class ControllerLink;
}

namespace monitor {

class CurveCollector;
enum class CurveSource;

// One plot slot: the curve file it names and, once that file has been read, its samples.
struct CurveSlot {
    QString path = NoCurve;
    bool loaded = false;
    // Samples in the units they were read with (angle curves as stored).
    std::vector<double> samples;
    // The file's header names the angle curve.
    bool angle = false;
};

// The slot selector cplot: first slot, slot count and the selected slot; all 0 without plots.
struct SlotSelector {
    int minimum = 0;
    int maximum = 0;
    int value = 0;
};

// The limits panel (MinNum, MaxNum, MinDeg, MaxDeg) and the graph-axis edits (Y1max, Y2max).
struct CurveLimits {
    static constexpr double InitialAxisMaximum = 200;
    double MinNum = 0;
    double MaxNum = 0;
    double MinDeg = 0;
    double MaxDeg = 0;
    double Y1max = InitialAxisMaximum;
    double Y2max = InitialAxisMaximum;
};

class CurveSession {
public:
    static constexpr int InitialFilePoints = 1000;
    static constexpr int DefaultFilterOrder = 2;

    CurveSession(app::AppServices& ctx, CurveGraph& graph, CurveCollectionDisplay& display);
    CurveSession(clink::ControllerLink& link, app::ProgramCore& palverin, base::BusyState& busy,
                 app::ValueEntry& values, CurveGraph& graph, CurveCollectionDisplay& display);

    // --- plots ---
    void Form_Load();
    // Adds a plot and loads a chosen curve file into it; a cancelled choice or a file that cannot be
    // loaded or drawn removes the plot again.
    void Curve_AddPlot();
    // Deletes the selected slot: the slots after it move down one and every slot is redrawn.
    void RemovePlot_Click();
    // Draws the selected slot / the given slot from its samples; false (with its box) when it cannot.
    bool Curve_DisplayPlot();
    bool Curve_DisplayPlot2(int slot);

    // --- files ---
    // Loads a chosen curve file into the selected slot (adds a plot when there is none).
    void mnuLoad_Click();
    void mnuSaveCollection_Click();
    void mnuLoadCollection_Click();
    // The save and open dialogs of curve files; "None" when nothing was chosen.
    QString Get_SaveDataFilename();
    QString Graph_GetFileName();

    // --- collection from the controller ---
    // Transfer > Receive: curves 1 tool torque, 2 aux transducer torque, 3 angle.
    void ReceiveControllerCurve(int curve);
    // Transfer > Receive > Data Logger Curve: asks for the curve number, then collects it the same way.
    void ReceiveDataLoggerCurve();
    // The window a collection belongs to: it stays usable while the collection holds the program busy (the
    // user may add or delete plots, or close it).
    void setWindow(const QObject* window) { window_ = window; }
    // The window is closing: a collection under way ends at once, without a message or a new plot.
    void cancelCollection();

    // --- controls ---
    void selectSlot(int slot);
    // Units option 1..5: the selected slot is read again in those units and redrawn.
    void Option1_Click(int units);
    void Order_ValueChanged(int order);
    void chkEnableFilter_Click(bool checked);
    // The user's torque / angle axis maximum: the axis runs from the curve's start level to it.
    void Y1max_ValueChanged(double value);
    void Y2max_ValueChanged(double value);
    // After the graph's axes went back to their full ranges: the axis edits show those maxima.
    void mnuZoomOut_Click();
    void mnuAutoscale_Click();
    // "# of Points": the words a collection asks for (0..MaxCurvePoints).
    void setFilePoints(int points);

    // --- state the window shows ---
    int slotCount() const { return selector_.maximum; }
    const CurveSlot& slot(int number) const;
    // The slots' paths, 1..slotCount().
    QStringList CurvePaths() const;
    const SlotSelector& cplot() const { return selector_; }
    const CurveLimits& limits() const { return limits_; }
    int DisplayUnits() const { return displayUnits_; }
    bool filterEnabled() const { return filter_; }
    int order() const { return order_; }
    int filePoints() const { return filePoints_; }
    // The Plot, View and Cursor menus and File > Print (File > Load is always enabled).
    bool curveMenusEnabled() const { return curveMenus_; }
    bool collecting() const { return collecting_; }

private:
    // Adds a graph plot and selects it as the new last slot; returns its number.
    int addSlot();
    // Reads path into slot k; false (slot unchanged) when it is not a curve file that can be read.
    bool loadSlot(int k, const QString& path);
    void invalidCurveFile(const QString& path);
    // Loads path into the new last slot k and draws it; when it cannot, the plot is removed again.
    bool showInNewSlot(int k, const QString& path);
    bool drawSlot(int k);
    // Reads the selected slot's file again and redraws it.
    void reloadSelected();
    void setAxisRange(int axis, double minimum, double maximum);
    // The checks before a collection: room for a plot and a point count.
    bool collectionAllowed();
    void receiveCurve(CurveSource source, int curve);
    void clearSlots();
    void EnableCurveMenus() { curveMenus_ = true; }
    void DisableCurveMenus() { curveMenus_ = false; }

    clink::ControllerLink& link_;
    base::Dialogs& dialogs_;
    app::ProgramCore& palverin_;
    base::BusyState& busy_;
    app::ValueEntry& values_;
    CurveGraph& graph_;
    CurveCollectionDisplay& display_;

    // Slots 1..MaxCurvePlots (0 unused).
    std::array<CurveSlot, MaxCurvePlots + 1> slots_;
    SlotSelector selector_;
    CurveLimits limits_;
    // The ranges last set on the torque and angle axes (what Zoom Out returns to).
    double torqueAxisMaximum_ = CurveLimits::InitialAxisMaximum;
    double angleAxisMaximum_ = CurveLimits::InitialAxisMaximum;
    int displayUnits_ = 1;
    bool filter_ = false;
    int order_ = DefaultFilterOrder;
    int filePoints_ = InitialFilePoints;
    bool curveMenus_ = false;
    bool collecting_ = false;
    const QObject* window_ = nullptr;
    // The collection under way.
    CurveCollector* collector_ = nullptr;
};

} // namespace monitor
