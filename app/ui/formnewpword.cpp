#include "app/ui/formnewpword.h"

#include "app/appsettings.h"
#include "app/login.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace app {

namespace {
constexpr int FillDelayMs = 100;
}

formNewPword::formNewPword(Login& login, const AppSettings& settings, QWidget* parent)
    : QDialog(parent), login_(login), settings_(settings), Text1(new QLineEdit(this)),
      Text2(new QLineEdit(this)), Command1(new QPushButton(QStringLiteral("Save"), this)),
      Command2(new QPushButton(QStringLiteral("Exit"), this)), Timer1(new QTimer(this)) {
    setWindowTitle(QStringLiteral(" Brenstal "));
    setModal(true);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text2->setObjectName(QStringLiteral("Text2"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Current Password"), this), 0, 0);
    layout->addWidget(Text1, 1, 0);
    layout->addWidget(new QLabel(QStringLiteral("New Password"), this), 0, 1);
    layout->addWidget(Text2, 1, 1);
    layout->addWidget(Command1, 2, 0);
    layout->addWidget(Command2, 2, 1);

    connect(Command1, &QPushButton::clicked, this, &formNewPword::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &formNewPword::Command2_Click);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &formNewPword::Timer1_Timer);
    Timer1->start(FillDelayMs);
}

void formNewPword::Timer1_Timer() {
    Timer1->stop();
    Text1->setText(settings_.Password);
}

void formNewPword::Command1_Click() {
    if (login_.SaveNewPassword(Text2->text()))
        accept();
}

void formNewPword::Command2_Click() {
    reject();
}

} // namespace app
