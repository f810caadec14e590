#pragma once
// FrmDspParameters: the DSP parameter editor ("  Brenstal - Dsp Parameters"). Twelve tabs of numeric fields
// and option groups, each with its "Write " button; the File menu's Exit. The rows come from the
// DspParameterEditor, which holds the values shown and writes one parameter at a time; while it writes, the
// tabs are off and the bar shows it.

#include "app/ui/cursors.h"
#include "service/dspparameters.h"

#include <QMap>
#include <QWidget>

#include <optional>

class QBoxLayout;
class QButtonGroup;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace app {
class AppContext;
}

namespace controls {
class NumEdit;
}

namespace service {

class FrmDspParameters : public QWidget {
    Q_OBJECT
public:
    explicit FrmDspParameters(app::AppContext& ctx, QWidget* parent = nullptr);
    ~FrmDspParameters() override;

    DspParameterEditor& editor() { return editor_; }

    void BtnWriteParameter_Click(int index);
    void mnuExit_Click();

private:
    void Form_Load();
    // One tab's frame with its rows.
    QWidget* buildTab(int tab);
    QWidget* buildButtonPositions();
    QButtonGroup* buildOptions(const DspOptionGroup& group, QWidget* parent, QBoxLayout* into);
    QPushButton* writeButton(int index, QWidget* parent);
    void showOption(const QString& group);
    void writingChanged(bool writing);

    DspParameterEditor editor_;
    QTabWidget* SSTab1 = nullptr;
    QProgressBar* Bar1 = nullptr;
    QMap<int, controls::NumEdit*> CwDspParameters;
    QMap<int, QPushButton*> BtnWriteParameter;
    QMap<QString, QButtonGroup*> options_;
    std::optional<app::WaitCursor> waitCursor_;
};

} // namespace service
