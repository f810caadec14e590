#pragma once
// frmValue2: reads one tool EEPROM location each time Enter is pressed and shows its value; it stays open
// for further reads until it is closed. The command that opens it has checked the link.

#include "app/sessions/toolsession.h"

#include <QWidget>

class QDoubleSpinBox;

namespace app {

class AppContext;

class FrmValue2 : public QWidget {
    Q_OBJECT
public:
    explicit FrmValue2(AppContext& ctx, QWidget* parent = nullptr);

    void btnEnter_Click();
    void btnCancel_Click();

private:
    AppContext& ctx_;
    NoCommandProgress noProgress_;
    ToolSession tool_;
    QDoubleSpinBox* CWNumEdit1 = nullptr;
};

} // namespace app
