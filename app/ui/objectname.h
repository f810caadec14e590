#pragma once
// Gives a window's control its object name as it is built, so tests and tools find it by name:
//   layout->addWidget(named(new QPushButton(tr("&Send")), "cmdSend"));

#include <QString>

namespace app {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

} // namespace app
