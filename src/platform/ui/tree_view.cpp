#include "platform/ui/tree_view.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <map>

#include "platform/ui/ui_qt.h"

namespace MSComctlLib {

namespace {
QTreeWidget* treeOf(QWidget* w) { return static_cast<QTreeWidget*>(w); }
}  // namespace

TreeView::TreeView(ui::Container& parent)
    : ui::Element(&parent, new QTreeWidget(parent.widget())), icons_(std::make_unique<Icons>()) {
  auto* t = treeOf(widget_);
  t->setHeaderHidden(true);
  t->setColumnCount(1);
  t->setFrameShape(QFrame::NoFrame);
  t->setIndentation(16);
  t->setIconSize(QSize(16, 16));
  t->setFocusPolicy(Qt::NoFocus);
  t->setRootIsDecorated(true);
  // One font and one picture size: the rows need not be measured one by one.
  t->setUniformRowHeights(true);
  // A long lesson title is shown whole, with a scroll bar across, not cut
  // short with an ellipsis.
  t->setTextElideMode(Qt::ElideNone);
  t->header()->setStretchLastSection(false);
  t->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  t->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  t->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(t, &QWidget::customContextMenuRequested, widget_, [this](const QPoint&) {
    if (MenuRequest) MenuRequest();
  });
  QObject::connect(t, &QTreeWidget::itemClicked, widget_, [this](QTreeWidgetItem* item, int) {
    if (NodeClick) NodeClick(item->data(0, Qt::UserRole + 1).toInt());
  });
}

QTreeWidgetItem* TreeView::node(int index) const {
  return index >= 1 && index <= int(nodes_.size()) ? nodes_[index - 1] : nullptr;
}

struct TreeView::Icons {
  std::map<int, QIcon> byImage;  // decoded once per picture of the image list
};

TreeView::~TreeView() = default;

void TreeView::setImageList(const ImageList* images) {
  images_ = images;
  icons_->byImage.clear();
}

// The node is complete before it joins the tree, which then redraws once.
int TreeView::addNode(int parent, const std::string& key, const std::string& text, int image) {
  const int index = int(nodes_.size()) + 1;
  auto* item = new QTreeWidgetItem;
  item->setText(0, ui::qs(text));
  item->setData(0, Qt::UserRole, ui::qs(key));
  item->setData(0, Qt::UserRole + 1, index);
  if (images_ && image >= 1 && image <= images_->count()) {
    auto [icon, fresh] = icons_->byImage.try_emplace(image);
    if (fresh) icon->second = QIcon(ui::picture(images_->picture(image)));
    item->setIcon(0, icon->second);
  }
  if (QTreeWidgetItem* under = node(parent))
    under->addChild(item);
  else
    treeOf(widget_)->addTopLevelItem(item);
  nodes_.push_back(item);
  return index;
}

void TreeView::clear() {
  nodes_.clear();
  treeOf(widget_)->clear();
}
int TreeView::nodeCount() const { return int(nodes_.size()); }

std::string TreeView::nodeText(int index) const {
  auto* n = node(index);
  return n ? ui::ss(n->text(0)) : std::string();
}
std::string TreeView::nodeKey(int index) const {
  auto* n = node(index);
  return n ? ui::ss(n->data(0, Qt::UserRole).toString()) : std::string();
}
int TreeView::nodeParent(int index) const {
  auto* n = node(index);
  return n && n->parent() ? n->parent()->data(0, Qt::UserRole + 1).toInt() : 0;
}
void TreeView::expand(int index) {
  if (auto* n = node(index)) n->setExpanded(true);
}
bool TreeView::expanded(int index) const {
  auto* n = node(index);
  return n && n->isExpanded();
}
void TreeView::selectNode(int index) {
  auto* t = treeOf(widget_);
  QSignalBlocker block(t);
  t->setCurrentItem(node(index));
}
int TreeView::selectedNode() const {
  auto* c = treeOf(widget_)->currentItem();
  return c ? c->data(0, Qt::UserRole + 1).toInt() : 0;
}
void TreeView::setNodeBackColor(int index, ui::Color c) {
  if (auto* n = node(index)) n->setBackground(0, ui::qc(c));
}
ui::Color TreeView::nodeBackColor(int index) const {
  auto* n = node(index);
  if (!n) return back_;
  QColor c = n->background(0).color();
  return ui::rgb(c.red(), c.green(), c.blue());
}
void TreeView::setBackColor(ui::Color c) {
  back_ = c;
  QPalette p = widget_->palette();
  p.setColor(QPalette::Base, ui::qc(c));
  p.setColor(QPalette::Window, ui::qc(c));
  widget_->setPalette(p);
}
void TreeView::setWindowStyle(long style) {
  style_ = style;
  widget_->update();  // rewriting the style word makes the tree repaint
}
void TreeView::setFont(const ui::Font& font) { widget_->setFont(ui::qfont(font)); }

void TreeView::clickNode(int index) {
  auto* n = node(index);
  if (!n) return;
  treeOf(widget_)->setCurrentItem(n);
  if (NodeClick) NodeClick(index);
}

}  // namespace MSComctlLib
