#pragma once
// FormCalibration: the manual torque calibration (" Brenstal - Calibration"). The "&Manual Cal" menu starts
// a calibration, the list shows its steps, the "Calibration" frame takes the true torque when it is asked
// for ("Enter"), and "&Exit" cancels a running calibration or closes the window. Every handler forwards to
// the ManualCalibration; closing the window cancels a running calibration.

#include "app/ui/closewhenidle.h"
#include "service/manualcalibration.h"

#include <QWidget>

class QAction;
class QGroupBox;
class QListWidget;
class QPushButton;

namespace app {
class AppContext;
}

namespace controls {
class NumEdit;
}

namespace service {

class FormCalibration : public QWidget {
    Q_OBJECT
public:
    // The true torque is typed with one decimal (it is sent in tenths).
    static constexpr int EntryDecimals = 1;

    explicit FormCalibration(app::AppContext& ctx, QWidget* parent = nullptr);

    ManualCalibration& calibration() { return calibration_; }

    void mnuManualCalibration_Click() { calibration_.mnuManualCalibration_Click(); }
    void btnManualCal_Click();
    void mnuExit_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showState();

    ManualCalibration calibration_;
    app::CloseWhenIdle closer_{*this};
    QAction* mnuManualCalibration = nullptr;
    QGroupBox* frameManualCal = nullptr;
    controls::NumEdit* CWCalValue = nullptr;
    QPushButton* btnManualCal = nullptr;
    QListWidget* List1 = nullptr;
};

} // namespace service
