// The lesson tree on the left of the window.
#include "window/form1.h"
#include "window/layout.h"
#include "window/skin_places.h"

using namespace layout;

void Form1::layOutLessonTree() {
  ImageList1.add(skinFile("tree_1.png"));
  ImageList1.add(skinFile("tree_2.png"));
  // A line shorter than the tree's box: under it, the link to the book menu.
  constexpr skin_places::Place box = skin_places::kTreeBox;
  TreeView1.move(box.left, box.top, box.width, box.height - 270);
  TreeView1.setFont(kSong9);
  text(BookMenuLink, 180, 7650, "选择课本 ▼", kSong9, kNavy);
  BookMenuLink.setMousePointer(ui::Pointer::Hand);
  BookMenuLink.setToolTipText(kBookMenuHint);
}

void Form1::wireLessonTree() {
  TreeView1.NodeClick = [this](int node) { TreeView1_NodeClick(node); };
  TreeView1.Expand = [this](int node) { TreeView1_Expand(node); };
  TreeView1.MenuRequest = [this] { TreeView1_MenuRequest(); };
  BookMenuLink.MouseDown = [this](const ui::MouseEvent&) { linkPress(BookMenuLink); };
  BookMenuLink.MouseUp = [this](const ui::MouseEvent& e) { BookMenuLink_MouseUp(e); };
}

// The same menu as the tree's right-click.
void Form1::BookMenuLink_MouseUp(const ui::MouseEvent&) {
  linkRelease(BookMenuLink);
  TreeView1_MenuRequest();
}
