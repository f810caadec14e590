#pragma once
// File > Login: the login window. Enter (the button or the Enter key in the password box) checks the entry
// through Login, which sets AccessLevel or shows the wrong-entry message, and closes the window with
// Accepted in both cases; the main window then applies menuStateForLevel(AccessLevel). Closing the window
// by its close box checks nothing (Rejected).

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace app {

class Login;

class frmPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmPassword(Login& login, QWidget* parent = nullptr);

    void btnEnter_Click();

private:
    Login& login_;
    QLineEdit* txtPword;
    QPushButton* btnEnter;
};

} // namespace app
