#include "app/ui/frmpassword.h"

#include "app/login.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

frmPassword::frmPassword(Login& login, QWidget* parent)
    : QDialog(parent), login_(login), txtPword(new QLineEdit(this)), btnEnter(new QPushButton(this)) {
    setWindowTitle(QStringLiteral(" Brenstal -Palverin"));
    setModal(true);
    txtPword->setObjectName(QStringLiteral("txtPword"));
    txtPword->setEchoMode(QLineEdit::Password);
    btnEnter->setObjectName(QStringLiteral("btnEnter"));
    btnEnter->setText(QStringLiteral("Enter"));
    // The default button: the Enter key in the password box presses it.
    btnEnter->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please Enter Password "), this));
    layout->addWidget(txtPword);
    layout->addWidget(btnEnter);
    connect(btnEnter, &QPushButton::clicked, this, &frmPassword::btnEnter_Click);
}

void frmPassword::btnEnter_Click() {
    login_.CheckPassword(txtPword->text());
    accept();
}

} // namespace app
