#pragma once
// A one-line label that shows as much of its text as its width allows: a text too long for it loses its
// middle to an ellipsis, so that both its beginning and its end (a path's file name) stay in view, and its
// tooltip holds the whole text. It asks for the width of the whole text but makes do with a few characters,
// so a long text never widens or squeezes the window around it.
//
//   auto* file = new app::ElidedLabel(this);
//   file->setWholeText("File: " + path);   // text() and toolTip() are the whole text

#include <QLabel>

namespace app {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Sets the text and the tooltip that shows it whole.
    void setWholeText(const QString& text);
    // The text as it is shown at the label's present width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace app
