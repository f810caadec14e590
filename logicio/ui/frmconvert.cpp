#include "logicio/ui/frmconvert.h"

#include "app/ui/windowregistry.h"

#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace logicio {

namespace {
constexpr int ListWidth = 560;
constexpr int ListHeight = 360;
} // namespace

frmConvert::frmConvert(app::AppServices& services, QWidget* parent) : QDialog(parent), converter_(services) {
    setObjectName(app::wnd::frmConvert);
    setWindowTitle(ConverterCaption);
    setAttribute(Qt::WA_DeleteOnClose);

    Command1 = new QPushButton(ConvertButtonText, this);
    Command1->setObjectName(QStringLiteral("Command1"));
    connect(Command1, &QPushButton::clicked, this, &frmConvert::Command1_Click);
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setMinimumSize(ListWidth, ListHeight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Command1, 0, Qt::AlignLeft);
    layout->addWidget(List1, 1);
}

void frmConvert::Command1_Click() {
    List1->clear();
    // The converted rungs are listed before the new file's name is asked.
    converter_.convertFile([this] { showList(); });
    showList();
}

void frmConvert::showList() {
    List1->clear();
    List1->addItems(converter_.lines());
}

} // namespace logicio
