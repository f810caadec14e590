#include "tests/windows/windowlayout.h"

#include <QAbstractScrollArea>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTextEdit>
#include <QWidget>

namespace shown {

namespace {

QString describe(const QWidget& w) {
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(&w))
        text = label->text();
    const QString name =
        w.objectName().isEmpty() ? QString::fromLatin1(w.metaObject()->className()) : w.objectName();
    return text.isEmpty() ? name : QStringLiteral("%1 \"%2\"").arg(name, text);
}

QString size(QSize s) {
    return QStringLiteral("%1x%2").arg(s.width()).arg(s.height());
}

// A control shown to the user: visible in the window, not one of the parts a Qt control is built of (the
// control sizes them: an editable list box's text field is one), and not inside a scrolled view (whose
// insides move and are cut on purpose).
bool shownControl(const QWidget& w, const QWidget& window) {
    if (!w.isVisibleTo(&window) || w.objectName().startsWith(QLatin1String("qt_")) ||
        qobject_cast<const QComboBox*>(w.parentWidget()))
        return false;
    for (const QWidget* p = w.parentWidget(); p && p != &window; p = p->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return false;
    }
    return true;
}

template <typename W> QList<W*> shownControls(const QWidget& window) {
    QList<W*> found;
    for (W* w : window.findChildren<W*>()) {
        if (shownControl(*w, window))
            found << w;
    }
    return found;
}

// A text without a line break.
bool oneLine(const QString& text) {
    return !text.trimmed().contains(QLatin1Char('\n')) && !text.trimmed().contains(QChar::ParagraphSeparator);
}

} // namespace

QStringList clippedControls(const QWidget& window) {
    QStringList found;
    for (const QWidget* w : shownControls<QWidget>(window)) {
        const QSize hint = w->minimumSizeHint();
        if (!hint.isValid())
            continue;
        if (w->width() < hint.width() || w->height() < hint.height())
            found << QStringLiteral("%1 is %2, below its minimum %3")
                         .arg(describe(*w), size(w->size()), size(hint));
    }
    return found;
}

QStringList hiddenTabs(const QWidget& window) {
    QStringList found;
    for (const QTabBar* bar : shownControls<QTabBar>(window)) {
        for (int i = 0; i < bar->count(); ++i) {
            if (!bar->rect().contains(bar->tabRect(i)))
                found << QStringLiteral("tab \"%1\" of %2 is not fully shown")
                             .arg(bar->tabText(i), describe(*bar));
        }
    }
    return found;
}

QStringList needlessScrollBars(const QWidget& window, const QWidget& frame, int workAreaWidth) {
    QStringList found;
    const int frameWidth = frame.width();
    for (const QAbstractScrollArea* area : shownControls<QAbstractScrollArea>(window)) {
        const QScrollBar* sideways = area->horizontalScrollBar();
        // The window could grow by what the list scrolls and still fit the work area.
        if (sideways->isVisible() && frameWidth + sideways->maximum() <= workAreaWidth)
            found << QStringLiteral("%1 scrolls sideways by %2 although the work area has room")
                         .arg(describe(*area))
                         .arg(sideways->maximum());
        QString text;
        if (const auto* edit = qobject_cast<const QTextEdit*>(area))
            text = edit->toPlainText();
        else if (const auto* plain = qobject_cast<const QPlainTextEdit*>(area))
            text = plain->toPlainText();
        else
            continue;
        if (!text.isEmpty() && oneLine(text) &&
            (area->verticalScrollBar()->isVisible() || sideways->isVisible()))
            found << QStringLiteral("%1 shows a scroll bar for one line \"%2\"").arg(describe(*area), text);
    }
    return found;
}

QStringList overlappingControls(const QWidget& window) {
    QStringList found;
    QList<const QWidget*> parents{&window};
    for (const QWidget* w : shownControls<QWidget>(window))
        parents << w;
    for (const QWidget* parent : parents) {
        if (qobject_cast<const QAbstractScrollArea*>(parent))
            continue;
        QList<const QWidget*> children;
        for (const QObject* o : parent->children()) {
            const auto* w = qobject_cast<const QWidget*>(o);
            if (w && !w->isWindow() && w->isVisibleTo(&window))
                children << w;
        }
        for (qsizetype i = 0; i < children.size(); ++i) {
            for (qsizetype j = i + 1; j < children.size(); ++j) {
                if (children[i]->geometry().intersects(children[j]->geometry()))
                    found << QStringLiteral("%1 and %2 overlap")
                                 .arg(describe(*children[i]), describe(*children[j]));
            }
        }
    }
    return found;
}

QStringList tooLarge(const QWidget& frame, QSize workArea) {
    if (frame.width() <= workArea.width() && frame.height() <= workArea.height())
        return {};
    return {QStringLiteral("the window is %1, larger than the work area %2")
                .arg(size(frame.size()), size(workArea))};
}

QStringList layoutProblems(const QWidget& window, const QWidget& frame, QSize workArea) {
    return clippedControls(window) + hiddenTabs(window) +
           needlessScrollBars(window, frame, workArea.width()) + overlappingControls(window) +
           tooLarge(frame, workArea);
}

} // namespace shown
