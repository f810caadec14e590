#include "app/ui/elidedlabel.h"

#include <QPainter>
#include <QStyle>

#include <algorithm>

namespace app {

namespace {
// The least the label asks for: room for a few characters around the ellipsis.
constexpr int MinimumCharacters = 12;
} // namespace

void ElidedLabel::setWholeText(const QString& text) {
    setText(text);
    setToolTip(text);
}

QString ElidedLabel::shownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, contentsRect().width());
}

QSize ElidedLabel::minimumSizeHint() const {
    QSize hint = QLabel::minimumSizeHint();
    hint.setWidth(std::min(hint.width(), fontMetrics().averageCharWidth() * MinimumCharacters));
    return hint;
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(), shownText(),
                          foregroundRole());
}

} // namespace app
