#include "service/ui/frmresetall.h"

#include "app/ui/appcontext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace service {

FrmResetAll::FrmResetAll(app::AppContext& ctx, QWidget* parent) : QWidget(parent), session_(ctx.services) {
    setObjectName(QStringLiteral("frmResetAll"));
    setWindowTitle(QStringLiteral("Reset All"));

    auto* menuBar = new QMenuBar(this);
    menuBar->addAction(QStringLiteral("&Close"), this, &FrmResetAll::cmdClose_Click)
        ->setObjectName(QStringLiteral("mnuClose"));
    // The menu's own "Reset All" has no action.
    menuBar->addAction(QStringLiteral("&Reset All"))->setObjectName(QStringLiteral("mnuResetAll"));

    auto* Label1 = new QLabel(
        QStringLiteral("Select/DeSelect the items you wish to reset back to Factory Defaults.  "), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    auto* grid = new QGridLayout;
    const auto item = [&](const char* name, const QString& text) {
        auto* box = new QCheckBox(text, this);
        box->setObjectName(QLatin1String(name));
        auto* done = new QLabel(QStringLiteral("Done"), this);
        done->setObjectName(QStringLiteral("Label2_%1").arg(Label2.size()));
        grid->addWidget(box, int(Label2.size()), 0);
        grid->addWidget(done, int(Label2.size()), 1);
        Label2.append(done);
        return box;
    };
    chkResetDSP = item("chkResetDSP", QStringLiteral("Reset DSP"));
    chkResetPset = item("chkResetPset", QStringLiteral("Reset Parameters"));
    chkResetLogic = item("chkResetLogic", QStringLiteral("Reset Logic I/O"));
    chkToolCal = item("chkToolCal", QStringLiteral("Reset Tool Calibration"));

    auto* cmdResetAll = new QPushButton(QStringLiteral("Reset All"), this);
    cmdResetAll->setObjectName(QStringLiteral("cmdResetAll"));
    connect(cmdResetAll, &QPushButton::clicked, this, &FrmResetAll::cmdResetAll_Click);
    auto* cmdClose = new QPushButton(QStringLiteral("Close"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &FrmResetAll::cmdClose_Click);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdResetAll);
    buttons->addWidget(cmdClose);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Label1);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->addStretch(1);

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setSingleShot(true);
    Timer1.setInterval(DoneShownMs);
    connect(&Timer1, &QTimer::timeout, this, &FrmResetAll::Timer1_Timer);
    connect(&session_, &ResetAllSession::itemDone, this,
            [this](ResetItem done) { Label2[int(done)]->setVisible(true); });
    Timer1_Timer();
}

void FrmResetAll::cmdResetAll_Click() {
    auto handler = closer_.handler();
    // The labels go 10 seconds after the press; a long run keeps them 10 seconds after its end.
    Timer1.start();
    session_.cmdResetAll_Click({.dsp = chkResetDSP->isChecked(),
                                .psets = chkResetPset->isChecked(),
                                .logic = chkResetLogic->isChecked(),
                                .toolCalibration = chkToolCal->isChecked()});
    Timer1.start();
}

void FrmResetAll::Timer1_Timer() {
    Timer1.stop();
    for (QLabel* done : Label2)
        done->setVisible(false);
}

void FrmResetAll::cmdClose_Click() {
    app::closeWindow(this);
}

void FrmResetAll::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, false, [this] { session_.cancel(); });
}

} // namespace service
