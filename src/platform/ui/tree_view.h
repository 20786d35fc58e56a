#pragma once
// The lesson tree: a root with child nodes, node pictures from an image list,
// back colours, one selected node and a node-click event. Nodes are numbered
// from 1 in the order they were added, and found by that number at once, so
// filling and colouring a tree of any size takes time in proportion to it.
// The one column is as wide as the widest row shown (a long title is
// scrolled across, never cut).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui.h"

class QTreeWidgetItem;

namespace MSComctlLib {

class ImageList {
 public:
  void add(const std::string& picturePath) { pictures_.push_back(picturePath); }
  const std::string& picture(int index) const { return pictures_.at(index - 1); }  // from 1
  int count() const { return int(pictures_.size()); }

 private:
  std::vector<std::string> pictures_;
};

class TreeView : public ui::Element {
 public:
  explicit TreeView(ui::Container& parent);
  ~TreeView() override;

  void setImageList(const ImageList* images);
  // Adds a node under `parent` (0: a root) and returns its index.
  int addNode(int parent, const std::string& key, const std::string& text, int image);
  // Adds one node under `parent` per text, each with picture `image`, no key
  // and back colour `back`, in one insertion: the tree lays itself out once,
  // not once a node. Returns the index of the first (0 when there is none).
  int addNodes(int parent, const std::vector<std::string>& texts, int image, ui::Color back);
  void clear();
  int nodeCount() const;
  std::string nodeText(int index) const;
  std::string nodeKey(int index) const;
  int nodeParent(int index) const;  // 0 for a root
  void expand(int index);
  bool expanded(int index) const;
  void selectNode(int index);  // runs nothing
  int selectedNode() const;    // 0 when none
  void setNodeBackColor(int index, ui::Color c);
  ui::Color nodeBackColor(int index) const;
  void setNodeToolTip(int index, const std::string& text);
  std::string nodeToolTip(int index) const;
  void setBackColor(ui::Color c);  // the tree's background
  ui::Color backColor() const { return back_; }
  // The style word: bit 2 draws the lines between nodes.
  long windowStyle() const { return style_; }
  void setWindowStyle(long style);
  void setFont(const ui::Font& font);

  std::function<void(int index)> NodeClick;
  std::function<void(int index)> Expand;  // a node was expanded
  std::function<void()> MenuRequest;      // a right-click, or the menu key

  // For tests: a click on node `index`, as the learner's.
  void clickNode(int index);

 private:
  QTreeWidgetItem* node(int index) const;  // nullptr outside 1..nodeCount()
  // A node ready to join the tree, numbered `index`.
  QTreeWidgetItem* makeNode(int index, const std::string& key, const std::string& text, int image);

  std::vector<QTreeWidgetItem*> nodes_;  // in the order added; the tree owns them
  const ImageList* images_ = nullptr;
  struct Icons;
  std::unique_ptr<Icons> icons_;
  ui::Color back_ = ui::kWhite;
  long style_ = 0x50010000L | 0x2L | 0x1L | 0x4L;  // visible child, lines, buttons
};

}  // namespace MSComctlLib
