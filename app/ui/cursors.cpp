#include "app/ui/cursors.h"

#include <QApplication>

namespace app {

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

ArrowCursor::ArrowCursor() : pushed_(QApplication::overrideCursor() != nullptr) {
    if (pushed_)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
}
ArrowCursor::~ArrowCursor() {
    if (pushed_)
        QApplication::restoreOverrideCursor();
}

} // namespace app
