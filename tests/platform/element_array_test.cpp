// Element arrays and the lesson tree over many rows: a row loaded after
// others were unloaded is a fresh copy of element 0, an unloaded row is gone
// from the screen, and tree nodes keep their numbers.
#include <gtest/gtest.h>

#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include "platform/ui/tree_view.h"
#include "platform/ui/ui.h"

namespace {

struct Rows : ::testing::Test {
  ui::Window w;
  ui::Picture panel{w};
  ui::ElementArray<ui::Label> rows;
  void SetUp() override {
    w.move(0, 0, 6000, 4000);
    panel.move(0, 0, 6000, 4000);
    ui::Label& model = rows.add(0, panel);
    model.setFont({"Times New Roman", 14.25});
    model.setForeColor(ui::rgb(1, 2, 3));
    model.setCaption("template");
    model.move(300, 300, 3000, 600);
    w.showCentered();
    QVERIFY(QTest::qWaitForWindowExposed(w.widget()->windowHandle()));
  }
  // A press of the learner's mouse at (x, y) twips of the window.
  void pressAt(int x, int y) {
    QTest::mousePress(w.widget()->windowHandle(), Qt::LeftButton, {},
                      QPoint(ui::pixels(x), ui::pixels(y)));
    QTest::mouseRelease(w.widget()->windowHandle(), Qt::LeftButton, {},
                        QPoint(ui::pixels(x), ui::pixels(y)));
  }
};

TEST_F(Rows, ARowLoadedAfterUnloadsIsAFreshCopyOfElementZero) {
  for (int i = 1; i <= 3; ++i) {
    ui::Label& row = rows.load(i);
    row.setCaption("row " + std::to_string(i));
    row.setForeColor(ui::rgb(9, 9, 9));
    row.setWordWrap(true);
    row.move(0, 1000 * i, 100, 100);
    row.setVisible(true);
  }
  for (int i = 3; i >= 1; --i) rows.unload(i);
  EXPECT_EQ(rows.count(), 1);
  EXPECT_EQ(rows.ubound(), 0);

  ui::Label& again = rows.load(7);
  EXPECT_EQ(again.caption(), "template");
  EXPECT_EQ(again.foreColor(), ui::rgb(1, 2, 3));
  EXPECT_EQ(again.font().name, "Times New Roman");
  EXPECT_EQ(again.left(), 300);
  EXPECT_EQ(again.width(), 3000);
  EXPECT_FALSE(again.visible());
  EXPECT_FALSE(again.widget()->isVisible());
  EXPECT_EQ(again.widget()->accessibleName(), "template");
  EXPECT_EQ(rows.ubound(), 7);
  int pressed = -1;
  rows.MouseDown = [&](int i, const ui::MouseEvent&) { pressed = i; };
  again.setVisible(true);
  pressAt(600, 400);
  EXPECT_EQ(pressed, 7);
}

TEST_F(Rows, AnUnloadedRowIsGoneFromTheScreen) {
  ui::Label& row = rows.load(1);
  row.move(300, 2000, 3000, 600);
  row.setVisible(true);
  QWidget* shown = row.widget();
  std::vector<int> pressed;
  rows.MouseDown = [&](int i, const ui::MouseEvent&) { pressed.push_back(i); };
  rows.Click = [&](int i) { pressed.push_back(100 + i); };
  pressAt(600, 2200);
  EXPECT_EQ(pressed, (std::vector<int>{1, 101}));

  rows.unload(1);
  EXPECT_FALSE(rows.exists(1));
  EXPECT_FALSE(shown->isVisible());
  pressAt(600, 2200);
  EXPECT_EQ(pressed.size(), 2u);  // nothing reached the array
}

TEST(Tree, NodesKeepTheirNumbersInABigTreeAndAfterAClear) {
  ui::Window w;
  MSComctlLib::TreeView tree(w);
  for (int round = 0; round < 2; ++round) {
    tree.clear();
    int root = tree.addNode(0, "key", "root", 2);
    ASSERT_EQ(root, 1);
    for (int i = 1; i <= 1000; ++i) {
      int n = tree.addNode(root, "", "lesson " + std::to_string(i), 1);
      ASSERT_EQ(n, i + 1);
    }
    EXPECT_EQ(tree.nodeCount(), 1001);
    EXPECT_EQ(tree.nodeKey(1), "key");
    EXPECT_EQ(tree.nodeText(701), "lesson 700");
    EXPECT_EQ(tree.nodeParent(701), 1);
    EXPECT_EQ(tree.nodeParent(1), 0);
    EXPECT_EQ(tree.nodeText(1002), "");
  }
  int clicked = 0;
  tree.NodeClick = [&](int i) { clicked = i; };
  tree.selectNode(1000);
  EXPECT_EQ(tree.selectedNode(), 1000);
  EXPECT_EQ(clicked, 0);
  auto* qt = static_cast<QTreeWidget*>(tree.widget());
  EXPECT_EQ(qt->currentItem()->text(0), "lesson 999");
}

}  // namespace
