#include "tests/support/ui/appfixture.h"

#include "app/ui/installwindows.h"

#include <QListWidget>
#include <QTest>
#include <QTreeWidget>

namespace apptest {

void clickItem(QTreeWidget* tree, QTreeWidgetItem* item) {
    ASSERT_TRUE(tree && item);
    ASSERT_TRUE(tree->isVisible()) << "a click needs the tree on the screen";
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

void clickIndex(QTreeView* tree, const QModelIndex& index) {
    ASSERT_TRUE(tree && index.isValid());
    ASSERT_TRUE(tree->isVisible()) << "a click needs the tree on the screen";
    tree->scrollTo(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
}

AppFixture::AppFixture() {
    app::installWindows(ctx);
}

QStringList AppFixture::items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace apptest
