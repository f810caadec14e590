#include "app/ui/tabrows.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace app {

TabRows::TabRows(QTabWidget& tabs, int perRow, QWidget* parent)
    : QWidget(parent), tabs_(tabs), buttons_(new QButtonGroup(this)) {
    setObjectName(tabs.objectName() + QStringLiteral("_rows"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    for (int i = 0; i < tabs.count(); ++i) {
        auto* button = new QToolButton(this);
        button->setObjectName(QStringLiteral("%1_tab%2").arg(tabs.objectName()).arg(i));
        button->setText(tabs.tabText(i));
        button->setCheckable(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        buttons_->addButton(button, i);
        grid->addWidget(button, i / perRow, i % perRow);
    }
    for (int column = 0; column < perRow; ++column)
        grid->setColumnStretch(column, 1);
    tabs.tabBar()->hide();
    if (QAbstractButton* current = buttons_->button(tabs.currentIndex()))
        current->setChecked(true);
    connect(buttons_, &QButtonGroup::idClicked, &tabs, &QTabWidget::setCurrentIndex);
    connect(&tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (QAbstractButton* button = buttons_->button(index))
            button->setChecked(true);
    });
    setEnabled(tabs.isEnabled());
    tabs.installEventFilter(this);
}

bool TabRows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &tabs_ && event->type() == QEvent::EnabledChange)
        setEnabled(tabs_.isEnabled());
    return QWidget::eventFilter(watched, event);
}

} // namespace app
