#include "app/ui/captionfit.h"

#include <QGridLayout>
#include <QMessageBox>

namespace app {

int captionWidth(const QWidget& window) {
    return QFontMetrics(window.font()).horizontalAdvance(window.windowTitle()) + TitleBarChrome;
}

void fitCaption(QWidget& window) {
    const int needed = captionWidth(window);
    if (window.minimumWidth() < needed)
        window.setMinimumWidth(needed);
    if (window.width() < needed)
        window.resize(needed, window.height());
}

void fitCaption(QMessageBox& box) {
    // A message box lays itself out anew when shown: a row as wide as the caption keeps it that wide.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(captionWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace app
