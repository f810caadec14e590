#include "service/ui/frmserialout.h"

#include "app/ui/appcontext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace service {

FrmSerialOut::FrmSerialOut(app::AppContext& ctx, QWidget* parent) : QWidget(parent), session_(ctx.services) {
    setObjectName(QStringLiteral("frmSerialOut"));
    setWindowTitle(QStringLiteral("Serial Out"));

    auto* Label1 = new QLabel(QStringLiteral("Retrieve/Set Serial Out Option"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cboSerOut = new QComboBox(this);
    cboSerOut->setObjectName(QStringLiteral("cboSerOut"));
    cboSerOut->addItems(SerialOutModes);
    txtResult = new QLineEdit(this);
    txtResult->setObjectName(QStringLiteral("txtResult"));
    txtResult->setReadOnly(true);
    auto* cmdSet = new QPushButton(QStringLiteral("Set"), this);
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    connect(cmdSet, &QPushButton::clicked, this, &FrmSerialOut::cmdSet_Click);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(cboSerOut, 1, 0);
    grid->addWidget(cmdSet, 1, 1);
    grid->addWidget(txtResult, 2, 0, 1, 2);
    grid->setRowStretch(3, 1);
    txtResult->setMinimumWidth(txtResult->fontMetrics().horizontalAdvance(serialOutModeText(2)) * 5 / 4);

    Form_Load();
}

void FrmSerialOut::Form_Load() {
    auto handler = closer_.handler();
    session_.Form_Load();
    showResult();
}

void FrmSerialOut::cmdSet_Click() {
    auto handler = closer_.handler();
    session_.cmdSet_Click(cboSerOut->currentIndex());
    showResult();
}

void FrmSerialOut::showResult() {
    txtResult->setText(session_.txtResult());
    if (session_.cboSerOut() >= 0)
        cboSerOut->setCurrentIndex(session_.cboSerOut());
}

void FrmSerialOut::closeEvent(QCloseEvent* event) {
    closer_.closeEvent(event, false, {});
}

} // namespace service
