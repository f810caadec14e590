#include "app/ui/workarea.h"

#include <QGuiApplication>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace app {

namespace {
QMdiSubWindow* mdiFrame(QWidget& window) {
    return qobject_cast<QMdiSubWindow*>(window.parentWidget());
}
} // namespace

QWidget& windowOf(QWidget& control) {
    QWidget* w = &control;
    while (!w->isWindow() && w->parentWidget() && !qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        w = w->parentWidget();
    return *w;
}

QWidget& frameOf(QWidget& window) {
    if (QMdiSubWindow* frame = mdiFrame(window))
        return *frame;
    return window;
}

QSize workArea(QWidget& window) {
    if (QMdiSubWindow* frame = mdiFrame(window)) {
        if (QMdiArea* area = frame->mdiArea())
            return area->contentsRect().size();
    }
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableSize() : window.size();
}

void fitWorkArea(QWidget& window) {
    // What the contents need now, a text or a line just set included.
    if (QLayout* layout = window.layout())
        layout->activate();
    QWidget& frame = frameOf(window);
    const QSize room = workArea(window);
    const QSize wanted = frame.size().expandedTo(frame.minimumSizeHint()).expandedTo(frame.minimumSize());
    const QSize fitted = wanted.boundedTo(room);
    if (fitted != frame.size())
        frame.resize(fitted);
    if (&frame == &window && window.isWindow())
        return;
    // Inside the MDI area: moved back so that the whole frame lies in the area.
    const QPoint at(std::clamp(frame.x(), 0, std::max(0, room.width() - frame.width())),
                    std::clamp(frame.y(), 0, std::max(0, room.height() - frame.height())));
    if (at != frame.pos())
        frame.move(at);
}

} // namespace app
