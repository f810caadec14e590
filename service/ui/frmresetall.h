#pragma once
// frmResetAll: reset of chosen controller settings to factory defaults ("Reset All"). Four items to tick,
// "Done" beside each item the run completed, hidden again by Timer1 ten seconds later. Forwards to the
// ResetAllSession.

#include "app/ui/closewhenidle.h"
#include "service/resetall.h"

#include <QList>
#include <QTimer>
#include <QWidget>

class QCheckBox;
class QLabel;

namespace app {
class AppContext;
}

namespace service {

class FrmResetAll : public QWidget {
    Q_OBJECT
public:
    // How long the "Done" labels stay.
    static constexpr int DoneShownMs = 10000;

    explicit FrmResetAll(app::AppContext& ctx, QWidget* parent = nullptr);

    void cmdResetAll_Click();
    void cmdClose_Click();
    void Timer1_Timer();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ResetAllSession session_;
    app::CloseWhenIdle closer_{*this};
    QCheckBox* chkResetDSP = nullptr;
    QCheckBox* chkResetPset = nullptr;
    QCheckBox* chkResetLogic = nullptr;
    QCheckBox* chkToolCal = nullptr;
    // "Done" beside the DSP, Pset, logic and tool-calibration items.
    QList<QLabel*> Label2;
    QTimer Timer1{this};
};

} // namespace service
