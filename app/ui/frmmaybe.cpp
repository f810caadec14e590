#include "app/ui/frmmaybe.h"

#include "app/ui/windowregistry.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include <array>

namespace app {

namespace {
struct Choice {
    const char* caption;
    const QString& window;
};
const std::array<Choice, 3> Choices = {{
    {"Logic 2001", wnd::frmPLCIO},
    {"Logic 2002", wnd::frmLogicIo},
    {"Logic 2006", wnd::frmLogicIoB},
}};
} // namespace

FrmMaybe::FrmMaybe(WindowRegistry& windows, QWidget* parent) : QWidget(parent), windows_(windows) {
    setObjectName(wnd::frmMaybe);
    setWindowTitle(QStringLiteral(" Brenstal"));
    auto* layout = new QGridLayout(this);
    auto* text = new QLabel(QStringLiteral("Cannot Access Controller"), this);
    text->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(text, 0, 0, 1, int(Choices.size()));
    for (size_t i = 0; i < Choices.size(); ++i) {
        auto* button = new QPushButton(QString::fromLatin1(Choices[i].caption), this);
        button->setObjectName(QStringLiteral("cmdChoice_%1").arg(i));
        layout->addWidget(button, 1, int(i));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdChoice_Click(int(i)); });
    }
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    layout->addWidget(cancel, 2, int(Choices.size()) - 1);
    connect(cancel, &QPushButton::clicked, this, &FrmMaybe::cmdCancel_Click);
}

void FrmMaybe::cmdChoice_Click(int index) {
    if (index < 0 || index >= int(Choices.size()))
        return;
    windows_.open(Choices[size_t(index)].window);
    unload();
}

void FrmMaybe::cmdCancel_Click() {
    unload();
}

void FrmMaybe::unload() {
    closeWindow(this);
}

} // namespace app
