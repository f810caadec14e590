#include "app/ui/frmvalue2.h"

#include "app/ui/appcontext.h"
#include "app/ui/commandframe.h"

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace app {

namespace {
constexpr int LastLocation = 1023;
constexpr int FirstValue = 1;
} // namespace

FrmValue2::FrmValue2(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), tool_(ctx.services, noProgress_) {
    setObjectName(wnd::frmValue2);
    setWindowTitle(QStringLiteral(" Brenstal"));
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("FrameValue"));
    auto* label = new QLabel(QStringLiteral("Tool Eeprom Location To Read"), panel);
    label->setObjectName(QStringLiteral("Label1"));
    CWNumEdit1 = new QDoubleSpinBox(panel);
    CWNumEdit1->setObjectName(QStringLiteral("CWNumEdit1"));
    CWNumEdit1->setDecimals(0);
    CWNumEdit1->setRange(0, LastLocation);
    CWNumEdit1->setValue(FirstValue);
    auto* enter = new QPushButton(QStringLiteral("Enter"), panel);
    enter->setObjectName(QStringLiteral("btnEnter"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), panel);
    cancel->setObjectName(QStringLiteral("btnCancel"));

    auto* grid = new QGridLayout(panel);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(CWNumEdit1, 1, 0, 1, 2);
    grid->addWidget(enter, 2, 0);
    grid->addWidget(cancel, 2, 1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(panel);

    connect(enter, &QPushButton::clicked, this, &FrmValue2::btnEnter_Click);
    connect(cancel, &QPushButton::clicked, this, &FrmValue2::btnCancel_Click);
}

void FrmValue2::btnEnter_Click() {
    CWNumEdit1->interpretText();
    tool_.readToolEepromLocation(CWNumEdit1->value());
}

void FrmValue2::btnCancel_Click() {
    closeWindow(this);
}

} // namespace app
