#pragma once
// frmSerialOut: the controller's serial-output mode ("Serial Out"). Reads the mode in force when it opens;
// Set sends the mode of the list and shows what the controller reports. Forwards to the SerialOutSession.

#include "app/ui/closewhenidle.h"
#include "service/serialout.h"

#include <QWidget>

class QComboBox;
class QLineEdit;

namespace app {
class AppContext;
}

namespace service {

class FrmSerialOut : public QWidget {
    Q_OBJECT
public:
    explicit FrmSerialOut(app::AppContext& ctx, QWidget* parent = nullptr);

    void cmdSet_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    void showResult();

    SerialOutSession session_;
    app::CloseWhenIdle closer_{*this};
    QComboBox* cboSerOut = nullptr;
    QLineEdit* txtResult = nullptr;
};

} // namespace service
