// The conventions of the window-system facade, with real Qt events where the
// convention lives in Qt (key preview, mouse capture).
#include "platform/ui/ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QWidget>

#include "platform/ui/skinned_button.h"
#include "platform/ui/tree_view.h"

namespace {

TEST(Twips, GeometryIsKeptInTwipsAndShownInPixels) {
  ui::Window w;
  ui::Label l(w);
  l.move(-8975, 4029, 7785, 1020);
  EXPECT_EQ(l.left(), -8975);  // read back exactly, not as pixels
  EXPECT_EQ(l.top(), 4029);
  EXPECT_EQ(l.widget()->x(), -598);
  EXPECT_EQ(l.widget()->y(), 269);
  EXPECT_EQ(l.widget()->width(), 519);
  EXPECT_EQ(ui::pixels(11700), 780);
  EXPECT_EQ(ui::pixels(8325), 555);
}

TEST(Conventions, ACheckBoxRunsItsReactionOnlyWhenItsValueChanges) {
  ui::Window w;
  ui::CheckBox c(w);
  int runs = 0;
  c.Click = [&] { ++runs; };
  c.setValue(0);
  EXPECT_EQ(runs, 0);
  c.setValue(1);
  c.setValue(1);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(c.value(), 1);
}

TEST(Conventions, AComboRunsChangeWhenItsTextChangesAndClickWhenAnEntryIsChosen) {
  ui::Window w;
  ui::ComboBox c(w);
  c.addItem("60");
  c.addItem("70");
  std::vector<std::string> events;
  c.Change = [&] { events.push_back("change " + c.text()); };
  c.Click = [&] { events.push_back("click " + c.text()); };
  c.setText("50");
  c.setText("50");
  c.choose(1);
  EXPECT_EQ(events, (std::vector<std::string>{"change 50", "change 70", "click 70"}));
}

TEST(Conventions, SelectingFromCodeRunsNothing) {
  ui::Window w;
  ui::ListBox list(w);
  list.addItem("a");
  list.addItem("b");
  int runs = 0;
  list.MouseUp = [&](const ui::MouseEvent&) { ++runs; };
  list.setListIndex(1);
  EXPECT_EQ(list.text(), "b");
  list.setListIndex(5);
  EXPECT_EQ(list.listIndex(), -1);
  MSComctlLib::TreeView tree(w);
  tree.NodeClick = [&](int) { ++runs; };
  int root = tree.addNode(0, "k", "root", 2);
  tree.addNode(root, "", "child", 1);
  tree.selectNode(2);
  EXPECT_EQ(tree.selectedNode(), 2);
  EXPECT_EQ(runs, 0);
  tree.clickNode(2);
  EXPECT_EQ(runs, 1);
}

TEST(Conventions, OneOptionOfAContainerIsSelected) {
  ui::Window w;
  ui::Frame f(w);
  ui::OptionButton a(f), b(f), c(f);
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  a.setValue(true);
  b.setValue(true);
  EXPECT_FALSE(a.value());
  EXPECT_TRUE(b.value());
  b.setValue(true);
  EXPECT_EQ(clicks, 1);
}

TEST(Conventions, ArrayRowsAreHiddenCopiesOfElementZero) {
  ui::Window w;
  ui::Picture panel(w);
  ui::ElementArray<ui::Label> rows;
  ui::Label& model = rows.add(0, panel);
  model.setFont({"Times New Roman", 14.25});
  model.setForeColor(ui::rgb(1, 2, 3));
  model.move(1000, 240, 500, 300);
  model.setMousePointer(ui::Pointer::Hand);
  ui::Label& row = rows.load(3);
  EXPECT_EQ(row.left(), 1000);
  EXPECT_EQ(row.foreColor(), ui::rgb(1, 2, 3));
  EXPECT_EQ(row.font().name, "Times New Roman");
  EXPECT_EQ(row.mousePointer(), ui::Pointer::Hand);
  EXPECT_FALSE(row.visible());
  EXPECT_EQ(row.parent(), &panel);
  int pressed = -1;
  rows.MouseDown = [&](int i, const ui::MouseEvent&) { pressed = i; };
  row.pressMouse();
  EXPECT_EQ(pressed, 3);
  rows.unload(3);
  EXPECT_EQ(rows.count(), 1);
  rows.unload(0);  // the template stays
  EXPECT_TRUE(rows.exists(0));
}

TEST(Conventions, TheWindowSeesEveryKeyBeforeTheFocusedElement) {
  ui::Window w;
  w.move(0, 0, 11700, 8325);
  ui::TextBox box(w);
  box.move(100, 100, 3000, 400);
  std::vector<std::string> order;
  w.KeyDown = [&](int code) { order.push_back("form " + std::to_string(code)); };
  box.KeyPress = [&](int& code) {
    order.push_back("box " + std::to_string(code));
    if (code == ui::kKeyReturn) code = 0;  // swallowed
  };
  w.showCentered();
  QApplication::setActiveWindow(w.widget());
  box.setFocus();
  QTest::keyClick(box.widget(), Qt::Key_A);
  QTest::keyClick(box.widget(), Qt::Key_Return);
  QTest::keyClick(box.widget(), Qt::Key_F7);
  EXPECT_EQ(order,
            (std::vector<std::string>{"form 65", "box 97", "form 13", "box 13", "form 118"}));
  EXPECT_EQ(box.text(), "a");  // Enter inserted nothing
}

TEST(Conventions, TheElementPressedGetsTheMovesAndTheRelease) {
  ui::Window w;
  w.move(0, 0, 11700, 8325);
  ui::Label a(w), b(w);
  a.move(0, 0, 1500, 1500);
  b.move(3000, 0, 1500, 1500);
  std::vector<std::string> seen;
  a.MouseDown = [&](const ui::MouseEvent&) { seen.push_back("a down"); };
  a.MouseMove = [&](const ui::MouseEvent& e) {
    if (e.buttons & ui::kLeftButton) seen.push_back("a move");
  };
  a.MouseUp = [&](const ui::MouseEvent&) { seen.push_back("a up"); };
  b.MouseUp = [&](const ui::MouseEvent&) { seen.push_back("b up"); };
  w.showCentered();
  QTest::mousePress(a.widget(), Qt::LeftButton, {}, QPoint(10, 10));
  QMouseEvent move(QEvent::MouseMove, QPointF(250, 10), a.widget()->mapToGlobal(QPointF(250, 10)),
                   Qt::NoButton, Qt::LeftButton, {});
  QApplication::sendEvent(a.widget(), &move);
  QTest::mouseRelease(a.widget(), Qt::LeftButton, {}, QPoint(250, 10));
  EXPECT_EQ(seen, (std::vector<std::string>{"a down", "a move", "a up"}));
}

TEST(MessageBoxes, TestsReadAndAnswerThem) {
  std::vector<ui::MessageBoxCall> calls;
  ui::setMessageBoxResponder([&](const ui::MessageBoxCall& c) {
    calls.push_back(c);
    return 1;
  });
  ui::msgBox("本句得分：90", ui::kInformation, "本句成绩");
  ui::setMessageBoxResponder(nullptr);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].title, "本句成绩");
  EXPECT_EQ(calls[0].style, ui::kInformation);
}

TEST(Timers, TestsFireTicksOnlyWhileEnabled) {
  ui::Timer t;
  int ticks = 0;
  t.Tick = [&] { ++ticks; };
  t.setInterval(30);
  EXPECT_FALSE(t.fire());
  t.setEnabled(true);
  EXPECT_TRUE(t.fire());
  EXPECT_EQ(ticks, 1);
  ui::processEvents(80);
  EXPECT_GE(ticks, 2);  // the real timer ticks too
  t.setEnabled(false);
}

TEST(SkinnedButton, ACaptionedButtonIsAnAccessibleButtonThatClicksOnlyWhenEnabled) {
  ui::Window w;
  CSCommand::Command b(w);
  b.setCaption("提示(&H)");
  EXPECT_EQ(b.widget()->accessibleName().toStdString(), "提示(H)");
  EXPECT_TRUE(b.widget()->inherits("QAbstractButton"));
  int clicks = 0;
  b.Click = [&] { ++clicks; };
  b.move(0, 0, 1000, 375);
  w.move(0, 0, 3000, 3000);
  w.showCentered();
  QTest::mouseClick(b.widget(), Qt::LeftButton);
  b.setEnabled(false);
  QTest::mouseClick(b.widget(), Qt::LeftButton);
  b.click();
  EXPECT_EQ(clicks, 1);
}

}  // namespace
