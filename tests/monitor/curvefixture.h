#pragma once
// The curve session over a controller link: a recorded graph and progress panel, the value-entry dialog
// answered from a queue, curve files written into a temporary folder. CurveSessionOn<Base> puts it over
// any fixture that has a link and scripted dialogs (the stand-in's link fixtures, or a link to nothing).

#include "app/programcore.h"
#include "app/valueentry.h"
#include "base/busyguard.h"
#include "link/controllerlink.h"
#include "monitor/curvesession.h"
#include "tests/support/countingeventpump.h"
#include "tests/support/scripteddialogs.h"
#include "tests/support/tempfolder.h"

#include <QQueue>

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace curvetest {

// The graph as the session leaves it.
class RecordedGraph : public monitor::CurveGraph {
public:
    struct Plot {
        int axis = TorqueAxis;
        std::vector<double> samples;
    };
    struct Range {
        double minimum = 0;
        double maximum = 0;
    };

    int plotCount() const override { return int(plots.size()); }
    void addPlot() override { plots.emplace_back(); }
    void removeLastPlot() override;
    void removeAllPlots() override { plots.clear(); }
    void clearData() override;
    void drawPlot(int plot, int yAxis, std::span<const double> samples) override;
    void setAxisRange(int axis, double minimum, double maximum) override;

    const Plot& plot(int number) const { return plots.at(std::size_t(number - 1)); }

    std::vector<Plot> plots;
    std::array<Range, 4> ranges{}; // axes 1..3
    int draws = 0;
};

// The progress panel as the session leaves it.
class RecordedDisplay : public monitor::CurveCollectionDisplay {
public:
    void setRange(int minimum, int maximum) override { range = {minimum, maximum}; }
    void setValue(int v) override {
        value = v;
        if (onValue)
            onValue(v);
    }
    void setCountText(const QString& text) override { countText = text; }
    void setCollecting(bool on) override { collecting.push_back(on); }

    std::pair<int, int> range{};
    int value = -1;
    QString countText;
    std::vector<bool> collecting; // every change, in order
    // Runs after each pair has come (the bar shows its index).
    std::function<void(int)> onValue;
};

// The value-entry dialog: Enter with a number, or Cancel for an empty answer; a dialog nobody scripted fails
// the test.
class QueuedValuePrompt : public app::ValueEntryPrompt {
public:
    app::ValueButton ask(app::ValueEntryForm& form) override;

    QQueue<std::optional<int>> answers;
    std::vector<app::ValueEntryForm> shown;
};

// A controller link to nothing, for what does not talk to the controller.
class NoLink : public ::testing::Test {
protected:
    testsupport::CountingEventPump pump;
    clink::ManualLinkClock clock;
    testsupport::ScriptedDialogs dialogs;
    clink::ControllerLink link{pump, dialogs, clock};
};

// A curve file: header words 1..10 (line 5 = curve) and the raw samples.
QByteArray curveFileBytes(int curve, const std::vector<int>& samples, int timeScale = 500);

template <class Base> class CurveSessionOn : public Base {
protected:
    // Writes a curve file into the folder and returns its path.
    QString writeCurve(const QString& name, int curve, const std::vector<int>& samples) {
        EXPECT_TRUE(folder.write(name, curveFileBytes(curve, samples)));
        return folder.file(name);
    }
    // Adds a plot from a curve file the open dialog is answered with.
    void addCurve(const QString& path) {
        this->dialogs.fileNames.enqueue(path);
        session.Curve_AddPlot();
    }
    QStringList messages() const { return this->dialogs.messageTexts(); }

    testsupport::TempProgramFolder folder;
    app::ProgramCore palverin{this->link.state, this->dialogs, folder.path()};
    base::BusyState busy;
    QueuedValuePrompt prompt;
    app::ValueEntry values{prompt};
    RecordedGraph graph;
    RecordedDisplay display;
    monitor::CurveSession session{this->link, palverin, busy, values, graph, display};
};

} // namespace curvetest
