#include "pset/ui/frmdefaults.h"

#include "app/ui/appcontext.h"
#include "pset/psetview.h"
#include "pset/ui/numbertextedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QRadioButton>
#include <QVBoxLayout>

namespace pset {

namespace {
const QString Caption = QStringLiteral(" Parameter Set Defaults");
constexpr int LptPorts = 2;
} // namespace

frmDefaults::frmDefaults(app::AppContext& ctx, QWidget* parent) : QDialog(parent), editor_(ctx.services) {
    setObjectName(QStringLiteral("frmDefaults"));
    setWindowTitle(Caption);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* menuBar = new QMenuBar(this);
    QAction* exit = menuBar->addAction(QStringLiteral("&Exit"), this, &frmDefaults::mnuExit_Click);
    exit->setObjectName(QStringLiteral("mnuExit"));

    auto* values = new QFormLayout;
    for (int i = 1; i <= DefaultValueCount; ++i) {
        const double maximum = i <= DefaultPercentCount ? DefaultPercentMaximum : EditorMaximum;
        auto* edit = new NumberTextEdit(maximum, this);
        edit->setObjectName(QStringLiteral("DefaultValue%1").arg(i));
        DefaultValue[std::size_t(i - 1)] = edit;
        values->addRow(defaultValueCaption(i), edit);
    }

    auto* units = new QGroupBox(QStringLiteral("Units"), this);
    units->setObjectName(QStringLiteral("frmUnits"));
    auto* unitsLayout = new QVBoxLayout(units);
    optStrategy = new QButtonGroup(this);
    for (int i = 1; i <= DefaultUnitsCount; ++i) {
        auto* option = new QRadioButton(defaultUnitsCaption(i), units);
        option->setObjectName(QStringLiteral("optStrategy%1").arg(i));
        optStrategy->addButton(option, i);
        unitsLayout->addWidget(option);
    }

    chkSoftStart = new QCheckBox(QStringLiteral("Soft Start"), this);
    chkSoftStart->setObjectName(QStringLiteral("chkSoftStart"));
    chkErgo = new QCheckBox(QStringLiteral("Ergo "), this);
    chkErgo->setObjectName(QStringLiteral("chkErgo"));

    // The parallel port is shown, never stored: the choice is for information only.
    auto* lpt = new QGroupBox(QStringLiteral("Parallel Port"), this);
    lpt->setObjectName(QStringLiteral("frmLpt"));
    auto* lptLayout = new QHBoxLayout(lpt);
    for (int i = 0; i < LptPorts; ++i) {
        auto* option = new QRadioButton(QStringLiteral("Lpt%1").arg(i + 1), lpt);
        option->setObjectName(QStringLiteral("OptLpt%1").arg(i));
        option->setChecked(i == 0);
        lptLayout->addWidget(option);
    }
    lpt->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(units);
    side->addWidget(chkSoftStart);
    side->addWidget(chkErgo);
    side->addWidget(lpt);
    side->addStretch(1);

    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addLayout(values, 1);
    layout->addLayout(side);

    Form_Load();
}

void frmDefaults::Form_Load() {
    const PsetDefaultsForm f = editor_.Form_Load();
    for (std::size_t i = 0; i < DefaultValue.size(); ++i)
        DefaultValue[i]->setValue(f.values[i]);
    chkSoftStart->setChecked(f.softStart);
    chkErgo->setChecked(f.ergo);
    if (QAbstractButton* option = optStrategy->button(f.units))
        option->setChecked(true);
}

PsetDefaultsForm frmDefaults::form() const {
    PsetDefaultsForm f;
    for (std::size_t i = 0; i < DefaultValue.size(); ++i)
        f.values[i] = DefaultValue[i]->value();
    f.units = std::max(0, optStrategy->checkedId());
    f.softStart = chkSoftStart->isChecked();
    f.ergo = chkErgo->isChecked();
    return f;
}

void frmDefaults::mnuExit_Click() {
    editor_.mnuExit_Click(form());
    close();
}

} // namespace pset
