// The shell's small widgets, shown: the tree that takes only the user's pick as a choice, the tab rows
// that show every tab caption, and a window kept inside the MDI area it opens in.
#include "app/ui/picktree.h"
#include "app/ui/tabrows.h"
#include "app/ui/workarea.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

void settle() {
    for (int round = 0; round < 5; ++round)
        QCoreApplication::processEvents();
}

void click(app::PickTree& tree, QTreeWidgetItem* item) {
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
}

TEST(PickTree, OnlyTheUsersMouseOrKeyPicks) {
    app::PickTree tree;
    for (int i = 0; i < 5; ++i)
        new QTreeWidgetItem(&tree, QStringList{QStringLiteral("Item %1").arg(i)});
    QSignalSpy picked(&tree, &app::PickTree::picked);
    tree.show();
    tree.activateWindow();
    tree.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    settle();
    // Taking the focus makes no item current.
    EXPECT_TRUE(tree.hasFocus());
    EXPECT_EQ(tree.currentItem(), nullptr);
    // The program marks an item: no pick.
    tree.setCurrentItem(tree.topLevelItem(3));
    EXPECT_EQ(picked.count(), 0);
    // A click on the item already current is a pick, as is a click on another.
    click(tree, tree.topLevelItem(3));
    EXPECT_EQ(picked.count(), 1);
    click(tree, tree.topLevelItem(1));
    EXPECT_EQ(picked.count(), 2);
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(1));
    // A key that moves the current item picks; one that cannot move it does not.
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(picked.count(), 3);
    EXPECT_EQ(tree.currentItem(), tree.topLevelItem(2));
    QTest::keyClick(&tree, Qt::Key_End);
    QTest::keyClick(&tree, Qt::Key_Down);
    EXPECT_EQ(picked.count(), 4);
    // A right click is no pick; a click beside the items neither.
    QTest::mouseClick(tree.viewport(), Qt::RightButton, {},
                      tree.visualItemRect(tree.topLevelItem(0)).center());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, QPoint(5, tree.viewport()->height() - 2));
    EXPECT_EQ(picked.count(), 4);
}

TEST(TabRows, EveryCaptionShownInRowsFollowingTheTabs) {
    QWidget window;
    auto* tabs = new QTabWidget(&window);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    for (int i = 0; i < 5; ++i)
        tabs->addTab(new QLabel(QStringLiteral("Page %1").arg(i)), QStringLiteral("Caption %1").arg(i));
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(new app::TabRows(*tabs, 2, &window));
    layout->addWidget(tabs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    settle();

    const auto button = [&](int i) {
        return window.findChild<QToolButton*>(QStringLiteral("SSTab1_tab%1").arg(i));
    };
    EXPECT_FALSE(tabs->tabBar()->isVisible());
    ASSERT_TRUE(button(4));
    EXPECT_EQ(button(4)->text(), "Caption 4");
    // Two per row: the fifth in the third row, under the first.
    EXPECT_EQ(button(4)->x(), button(0)->x());
    EXPECT_GT(button(4)->y(), button(2)->y());
    EXPECT_TRUE(button(0)->isChecked());
    // A button shows its page; a page chosen by the program presses its button.
    QTest::mouseClick(button(3), Qt::LeftButton);
    EXPECT_EQ(tabs->currentIndex(), 3);
    EXPECT_FALSE(button(0)->isChecked());
    tabs->setCurrentIndex(1);
    EXPECT_TRUE(button(1)->isChecked());
    EXPECT_FALSE(button(3)->isChecked());
    // Disabled with the tabs (a write in progress) and enabled again.
    tabs->setEnabled(false);
    EXPECT_FALSE(button(1)->isEnabled());
    tabs->setEnabled(true);
    EXPECT_TRUE(button(1)->isEnabled());
}

TEST(WorkArea, AWindowGrowsForItsContentsWithinTheMdiArea) {
    QMdiArea area;
    area.resize(600, 400);
    auto* window = new QWidget;
    auto* label = new QLabel(QStringLiteral("short"), window);
    (new QVBoxLayout(window))->addWidget(label);
    QMdiSubWindow* frame = area.addSubWindow(window);
    area.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&area));
    frame->setGeometry(300, 200, 200, 120);
    settle();
    EXPECT_EQ(&app::windowOf(*label), window);
    EXPECT_EQ(&app::frameOf(*window), frame);
    EXPECT_EQ(app::workArea(*window), area.contentsRect().size());

    // A longer text: the frame widens and moves left to stay in the area.
    label->setText(QString(40, u'W'));
    app::fitWorkArea(*window);
    EXPECT_GE(label->width(), label->minimumSizeHint().width());
    EXPECT_LE(frame->geometry().right(), area.contentsRect().width());
    EXPECT_EQ(frame->y(), 200);
    // A frame taller than the area shrinks to it, at its top.
    frame->resize(frame->width(), 900);
    app::fitWorkArea(*window);
    EXPECT_EQ(frame->height(), area.contentsRect().height());
    EXPECT_EQ(frame->y(), 0);
}

} // namespace
