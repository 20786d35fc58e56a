#include "platform/ui/tree_view.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QHash>
#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <map>

#include "platform/ui/ui_qt.h"

namespace MSComctlLib {

namespace {

// Whether a text is as wide as its characters' advances added up, near
// enough: Latin, Han and common characters of the basic plane, without marks
// or controls. Other scripts are joined and reordered by shaping.
bool addsUp(const QString& text) {
  for (QChar c : text) {
    if (c.isSurrogate() || c.isMark() || c.category() == QChar::Other_Control) return false;
    const QChar::Script s = c.script();
    if (s != QChar::Script_Common && s != QChar::Script_Latin && s != QChar::Script_Han)
      return false;
  }
  return true;
}

// A tree whose one column is as wide as its widest row shown, as Qt measures
// a row (item delegate and indentation). Qt measures every row's text, shaped,
// on each layout, several times while a window first shows: a book of 1,000
// lessons cost more than its window. Here the width is kept until the rows,
// their texts or the font change, and each text is first summed from its
// characters' advances: only the rows that may be the widest are measured as
// Qt measures them.
class ColumnTree : public QTreeWidget {
 public:
  explicit ColumnTree(QWidget* parent) : QTreeWidget(parent) {
    auto forget = [this] { width_ = -1; };
    const QAbstractItemModel* m = model();
    forgetting_ = {connect(m, &QAbstractItemModel::rowsInserted, this, forget),
                   connect(m, &QAbstractItemModel::rowsRemoved, this, forget),
                   connect(m, &QAbstractItemModel::modelReset, this, forget),
                   connect(m, &QAbstractItemModel::layoutChanged, this, forget),
                   connect(m, &QAbstractItemModel::dataChanged, this, forget),
                   connect(this, &QTreeView::expanded, this, forget),
                   connect(this, &QTreeView::collapsed, this, forget)};
  }
  // The tree's rows go after this part of it (Qt's destructors), and must
  // not reach it.
  ~ColumnTree() override {
    for (const QMetaObject::Connection& c : forgetting_) disconnect(c);
  }

 protected:
  int sizeHintForColumn(int column) const override {
    if (column != 0) return QTreeWidget::sizeHintForColumn(column);
    if (width_ < 0) width_ = widestRow();
    return width_;
  }
  void changeEvent(QEvent* e) override {
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
      width_ = -1;
      advances_.clear();
    }
    QTreeWidget::changeEvent(e);
  }

 private:
  struct Row {
    QTreeWidgetItem* item;
    int depth;
    qreal guess;   // text advances and indentation
    bool picture;  // the row shows a picture
    bool exact;    // measured as Qt measures it, whatever its guess
  };
  int widestRow() const;
  std::vector<Row> shownRows() const;
  qreal advances(const QString& text, const QFontMetricsF& fm) const;
  int indent(int depth) const { return (depth + (rootIsDecorated() ? 1 : 0)) * indentation(); }
  // Qt's measure of a row: the delegate's width and the row's indentation.
  int measure(const Row& r) const {
    return sizeHintForIndex(indexFromItem(r.item)).width() + indent(r.depth);
  }
  std::vector<QMetaObject::Connection> forgetting_;
  mutable int width_ = -1;                   // -1: to be measured
  mutable QHash<char16_t, qreal> advances_;  // of each character met, in the font
};

qreal ColumnTree::advances(const QString& text, const QFontMetricsF& fm) const {
  qreal sum = 0;
  for (QChar c : text) {
    auto it = advances_.constFind(c.unicode());
    if (it == advances_.cend()) it = advances_.insert(c.unicode(), fm.horizontalAdvance(c));
    sum += *it;
  }
  return sum;
}

// The rows a learner can scroll to: those under expanded nodes, not hidden.
std::vector<ColumnTree::Row> ColumnTree::shownRows() const {
  std::vector<Row> rows;
  const QFontMetricsF fm(font());
  std::vector<std::pair<QTreeWidgetItem*, int>> todo;  // with its depth
  for (int i = topLevelItemCount() - 1; i >= 0; --i) todo.push_back({topLevelItem(i), 0});
  while (!todo.empty()) {
    auto [item, depth] = todo.back();
    todo.pop_back();
    if (item->isHidden()) continue;
    const QString text = item->text(0);
    const bool picture = !item->data(0, Qt::DecorationRole).isNull();
    rows.push_back({item, depth, advances(text, fm) + indent(depth), picture, !addsUp(text)});
    if (item->childCount() > 0 && item->isExpanded())
      for (int i = item->childCount() - 1; i >= 0; --i) todo.push_back({item->child(i), depth + 1});
  }
  return rows;
}

// Rows with and without a picture differ by a fixed part, taken from the
// row of each kind that guesses widest. Every row that guesses within half a
// line of the widest measured is measured too: a row left out would need
// kerning or ligatures to widen it by half a line to be cut, where they
// narrow a Latin or Han text by a pixel or two.
int ColumnTree::widestRow() const {
  ensurePolished();
  const std::vector<Row> rows = shownRows();
  if (rows.empty()) return QTreeWidget::sizeHintForColumn(0);
  const qreal slack = QFontMetricsF(font()).height() / 2;
  int widest = 0;
  qreal fixed[2] = {0, 0};  // without, with a picture
  for (bool picture : {false, true}) {
    const Row* top = nullptr;
    for (const Row& r : rows)
      if (r.picture == picture && (!top || r.guess > top->guess)) top = &r;
    if (!top) continue;
    const int width = measure(*top);
    fixed[picture] = width - top->guess;
    widest = std::max(widest, width);
  }
  for (const Row& r : rows)
    if (r.exact || r.guess + fixed[r.picture] >= widest - slack)
      widest = std::max(widest, measure(r));
  return widest;
}

QTreeWidget* treeOf(QWidget* w) { return static_cast<QTreeWidget*>(w); }

}  // namespace

TreeView::TreeView(ui::Container& parent)
    : ui::Element(&parent, new ColumnTree(parent.widget())), icons_(std::make_unique<Icons>()) {
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
  QObject::connect(t, &QTreeWidget::itemExpanded, widget_, [this](QTreeWidgetItem* item) {
    if (Expand) Expand(item->data(0, Qt::UserRole + 1).toInt());
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

QTreeWidgetItem* TreeView::makeNode(int index, const std::string& key, const std::string& text,
                                    int image) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, ui::qs(text));
  item->setToolTip(0, ui::qs(text));  // the whole title, where the pane cuts it
  if (!key.empty()) item->setData(0, Qt::UserRole, ui::qs(key));  // none reads as ""
  item->setData(0, Qt::UserRole + 1, index);
  if (images_ && image >= 1 && image <= images_->count()) {
    auto [icon, fresh] = icons_->byImage.try_emplace(image);
    if (fresh) icon->second = QIcon(ui::picture(images_->picture(image)));
    item->setIcon(0, icon->second);
  }
  return item;
}

// The node is complete before it joins the tree, which then redraws once.
int TreeView::addNode(int parent, const std::string& key, const std::string& text, int image) {
  const int index = int(nodes_.size()) + 1;
  QTreeWidgetItem* item = makeNode(index, key, text, image);
  if (QTreeWidgetItem* under = node(parent))
    under->addChild(item);
  else
    treeOf(widget_)->addTopLevelItem(item);
  nodes_.push_back(item);
  return index;
}

// The nodes are complete, colour included, before they join the tree at once.
int TreeView::addNodes(int parent, const std::vector<std::string>& texts, int image,
                       ui::Color back) {
  if (texts.empty()) return 0;
  const int first = int(nodes_.size()) + 1;
  const QBrush brush(ui::qc(back));
  QList<QTreeWidgetItem*> items;
  items.reserve(qsizetype(texts.size()));
  for (const std::string& text : texts) {
    QTreeWidgetItem* item = makeNode(first + int(items.size()), "", text, image);
    item->setBackground(0, brush);
    items.push_back(item);
  }
  if (QTreeWidgetItem* under = node(parent))
    under->addChildren(items);
  else
    treeOf(widget_)->addTopLevelItems(items);
  nodes_.insert(nodes_.end(), items.begin(), items.end());
  return first;
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
void TreeView::setNodeToolTip(int index, const std::string& text) {
  if (auto* n = node(index)) n->setToolTip(0, ui::qs(text));
}
std::string TreeView::nodeToolTip(int index) const {
  auto* n = node(index);
  return n ? ui::ss(n->toolTip(0)) : std::string();
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
