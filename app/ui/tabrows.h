#pragma once
// The tabs of a tab widget that has more of them than one row shows whole: its captions as buttons in rows
// of at most perRow, the current page's button pressed. The tab widget's own bar is hidden; a button shows
// its page, a page chosen by the program presses its button, and the buttons follow the tab widget's
// enabled state.
//
//   layout->addWidget(new TabRows(*tabs, 6, this));
//   layout->addWidget(tabs, 1);

#include <QWidget>

class QButtonGroup;
class QTabWidget;

namespace app {

class TabRows : public QWidget {
    Q_OBJECT
public:
    TabRows(QTabWidget& tabs, int perRow, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabWidget& tabs_;
    QButtonGroup* buttons_ = nullptr;
};

} // namespace app
