#pragma once
// frmDefaults: the default values of a new Pset, opened modal from the Pset editor's Defaults menu. Seven
// value editors, the units choice, soft start and ergo, and the parallel port shown for information.
// Opening shows what the settings file holds; Exit asks whether to save, then closes; the close box
// closes without saving. A view over pset::PsetDefaultsEditor.

#include "pset/defaultsform.h"

#include <QDialog>

#include <array>

class QButtonGroup;
class QCheckBox;

namespace app {
class AppContext;
}

namespace pset {

class NumberTextEdit;

class frmDefaults : public QDialog {
    Q_OBJECT
public:
    explicit frmDefaults(app::AppContext& ctx, QWidget* parent = nullptr);

    void Form_Load();
    void mnuExit_Click();

    // What the controls hold.
    PsetDefaultsForm form() const;

private:
    PsetDefaultsEditor editor_;
    std::array<NumberTextEdit*, DefaultValueCount> DefaultValue{};
    QButtonGroup* optStrategy = nullptr;
    QCheckBox* chkSoftStart = nullptr;
    QCheckBox* chkErgo = nullptr;
};

} // namespace pset
