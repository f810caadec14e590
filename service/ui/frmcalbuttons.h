#pragma once
// frmCalButtons: the tool button calibration ("Brenstal - Calibrate Tool Buttons"). A list of prompts and
// results, a button per tool button ("Cal Trigger", "Cal Cw", "Cal Center", "Cal Ccw"), "Run Test" for the
// step that waits, the progress of the readings and the Exit menu. Every handler forwards to the
// ButtonCalibration; closing the window cancels a running calibration.

#include "app/ui/barprogress.h"
#include "app/ui/closewhenidle.h"
#include "service/buttoncalibration.h"

#include <QMap>
#include <QWidget>

class QListWidget;
class QProgressBar;
class QPushButton;

namespace app {
class AppContext;
}

namespace service {

class frmCalButtons : public QWidget {
    Q_OBJECT
public:
    explicit frmCalButtons(app::AppContext& ctx, QWidget* parent = nullptr);

    ButtonCalibration& calibration() { return calibration_; }

    void BtnCal_Click(int index) { calibration_.BtnCal_Click(index); }
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showButtons();

    ButtonCalibration calibration_;
    app::CloseWhenIdle closer_{*this};
    QListWidget* List1 = nullptr;
    QProgressBar* Bar1 = nullptr;
    std::unique_ptr<app::BarProgress> progress_;
    QMap<int, QPushButton*> BtnCal;
};

} // namespace service
