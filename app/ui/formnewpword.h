#pragma once
// System > Change Password: shows the current password (filled 100 ms after opening) and stores the one
// typed under "New Password" after the user confirms; Exit closes without saving.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTimer;

namespace app {

class Login;
struct AppSettings;

class formNewPword : public QDialog {
    Q_OBJECT
public:
    formNewPword(Login& login, const AppSettings& settings, QWidget* parent = nullptr);

    void Timer1_Timer();
    void Command1_Click(); // Save
    void Command2_Click(); // Exit

private:
    Login& login_;
    const AppSettings& settings_;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* Command1;
    QPushButton* Command2;
    QTimer* Timer1;
};

} // namespace app
