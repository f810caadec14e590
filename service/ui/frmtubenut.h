#pragma once
// frmTubeNut: the tube-nut settings ("Brenstal - Tube Nut Parameters"): the three tube-nut torques of the
// tool, each with its "Write " button, and the File menu's Exit. The values are read when the window opens;
// a field shows a value only once one was read or entered; every handler forwards to the TubeNutSettings.

#include "app/ui/cursors.h"
#include "service/tubenut.h"

#include <QMap>
#include <QSet>
#include <QWidget>

#include <optional>

class QPushButton;

namespace app {
class AppContext;
}

namespace controls {
class NumEdit;
}

namespace service {

class frmTubeNut : public QWidget {
    Q_OBJECT
public:
    explicit frmTubeNut(app::AppContext& ctx, QWidget* parent = nullptr);

    TubeNutSettings& settings() { return settings_; }

    void BtnWriteParameter_Click(int location) { settings_.BtnWriteParameter_Click(location); }
    void mnuExit_Click();

private:
    void watchEntry(int location, controls::NumEdit* field);
    void showValue(int location);
    void showValues();
    void writingChanged(bool writing);

    TubeNutSettings settings_;
    QMap<int, controls::NumEdit*> CwDspParameters;
    QMap<int, QPushButton*> BtnWriteParameter;
    // Fields the user has typed in since they were last committed.
    QSet<int> typed_;
    std::optional<app::WaitCursor> waitCursor_;
};

} // namespace service
