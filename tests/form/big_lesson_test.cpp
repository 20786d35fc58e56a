// A lesson too large to show: refused with a notice naming it, the loaded
// lesson kept, when the learner clicks its node in the lesson tree.
#include <gtest/gtest.h>

#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include "support/form_harness.h"

namespace {

// A click of the learner's mouse on node `index` of the tree (1: the root),
// sent to the window at the node's point.
void clickNode(Form1& f, int index) {
  auto* tree = static_cast<QTreeWidget*>(f.TreeView1.widget());
  QTreeWidgetItem* root = tree->topLevelItem(0);
  QTreeWidgetItem* item = index == 1 ? root : root->child(index - 2);
  const QPoint at = tree->viewport()->mapTo(f.widget(), tree->visualItemRect(item).center());
  QWindow* window = f.widget()->windowHandle();
  ASSERT_NE(window, nullptr);
  QTest::mouseClick(window, Qt::LeftButton, {}, at);
}

// A lesson of `n` short sentences whose last record carries `padding`
// characters after its fifth "#", where nothing is read.
std::string paddedLesson(int n, size_t padding) {
  std::string text = numberedLesson(n);
  text.insert(text.size() - 1, std::string(padding, 'x'));
  return text;
}

struct Case {
  const char* what;
  std::string text;
  bool refused;
};

TEST(BigLessons, ALessonBeyondTheLimitIsRefusedAndTheLoadedOneStays) {
  const std::vector<Case> cases = {
      {"5,001 sentences", numberedLesson(5001), true},
      {"4 MiB and one byte in three sentences", paddedLesson(3, (4u << 20) + 1), true},
      {"5,000 sentences", numberedLesson(5000), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FormHarness h;
    h.folder.writeBook("Book01", {"Small", "Big lesson"}, {numberedLesson(3), c.text});
    h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\0\\0\\1\\0\\1\\0\\Book01\\60\\");
    Form1& f = h.start();
    ASSERT_EQ(f.Label4.caption(), "3");
    h.messages.clear();

    clickNode(f, 3);
    if (c.refused) {
      ASSERT_EQ(h.messages.size(), 1u);
      EXPECT_NE(h.messages[0].prompt.find("第2课“Big lesson”太大"), std::string::npos)
          << h.messages[0].prompt;
      EXPECT_NE(h.messages[0].prompt.find("5000句"), std::string::npos);
      EXPECT_NE(h.messages[0].prompt.find("4MB"), std::string::npos);
      EXPECT_EQ(f.Label4.caption(), "3");
      EXPECT_EQ(f.Label37.caption(), "Small");
      EXPECT_EQ(f.Label6(3).caption(), "Sentence 3.");
      EXPECT_FALSE(f.Label6.exists(4));
      EXPECT_EQ(f.List1.listIndex(), 0);
      EXPECT_EQ(f.TreeView1.selectedNode(), 2);
      EXPECT_EQ(f.loadedlesson, 0);
    } else {
      EXPECT_TRUE(h.messages.empty());
      EXPECT_EQ(f.Label4.caption(), "5000");
      EXPECT_EQ(f.Label37.caption(), "Big lesson");
      EXPECT_EQ(f.Label12(5000).caption(), "5000.");
      EXPECT_EQ(f.TreeView1.selectedNode(), 3);
    }
  }
}

}  // namespace
