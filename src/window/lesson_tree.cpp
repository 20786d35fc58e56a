// The lesson tree on the left of the window.
#include "window/form1.h"
#include "window/layout.h"

using namespace layout;

void Form1::layOutLessonTree() {
  ImageList1.add(skinFile("tree_1.png"));
  ImageList1.add(skinFile("tree_2.png"));
  TreeView1.move(120, 1170, 2340, 6720);
  TreeView1.setFont(kSong9);
}

void Form1::wireLessonTree() {
  TreeView1.NodeClick = [this](int node) { TreeView1_NodeClick(node); };
  TreeView1.Expand = [this](int node) { TreeView1_Expand(node); };
  TreeView1.MenuRequest = [this] { TreeView1_MenuRequest(); };
}
