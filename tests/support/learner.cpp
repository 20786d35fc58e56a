#include "support/learner.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGlyphRun>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRadioButton>
#include <QRawFont>
#include <QScrollBar>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <map>

namespace learner {

namespace {

QWindow* handleOf(QWidget* top) {
  if (!top->windowHandle()) top->winId();  // a shown window has one already
  return top->windowHandle();
}
QWindow* handleOf(const ui::Window& w) { return handleOf(w.widget()); }

QString qs(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QPoint at(const ui::Element& e) { return at(e, e.width() / 2, e.height() / 2); }

QPoint at(const ui::Element& e, int xTwips, int yTwips) {
  QPoint local(ui::pixels(xTwips), ui::pixels(yTwips));
  return e.widget()->mapTo(e.widget()->window(), local);
}

void press(const ui::Window& w, QPoint p, Qt::MouseButton b) {
  QTest::mousePress(handleOf(w), b, Qt::NoModifier, p);
}
void moveTo(const ui::Window& w, QPoint p) { QTest::mouseMove(handleOf(w), p); }
void release(const ui::Window& w, QPoint p, Qt::MouseButton b) {
  QTest::mouseRelease(handleOf(w), b, Qt::NoModifier, p);
}
void click(const ui::Window& w, QPoint p, Qt::MouseButton b) {
  press(w, p, b);
  release(w, p, b);
}
void click(const ui::Element& e, Qt::MouseButton b) { click(*e.window(), at(e), b); }

void press(QWidget& top, QPoint p, Qt::MouseButton b) {
  QTest::mousePress(handleOf(&top), b, Qt::NoModifier, p);
}
void moveTo(QWidget& top, QPoint p) { QTest::mouseMove(handleOf(&top), p); }
void release(QWidget& top, QPoint p, Qt::MouseButton b) {
  QTest::mouseRelease(handleOf(&top), b, Qt::NoModifier, p);
}
void click(QWidget& widget, Qt::MouseButton b) {
  QWidget& top = *widget.window();
  const QPoint p = widget.mapTo(&top, widget.rect().center());
  press(top, p, b);
  release(top, p, b);
}
void key(QWidget& top, Qt::Key k, Qt::KeyboardModifiers m) {
  QTest::keyClick(handleOf(&top), k, m);
}

void drag(const ui::Window& w, QPoint from, QPoint to, Qt::MouseButton b) {
  press(w, from, b);
  const int steps = 5;
  for (int i = 1; i <= steps; ++i) moveTo(w, from + (to - from) * i / steps);
  release(w, to, b);
}

void key(const ui::Window& w, Qt::Key k, Qt::KeyboardModifiers m) {
  QTest::keyClick(handleOf(w), k, m);
}

void type(const ui::Window& w, const std::string& utf8) {
  for (QChar ch : qs(utf8)) {
    QString one(ch);
    QTest::sendKeyEvent(QTest::Press, handleOf(w), Qt::Key_unknown, one, Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, handleOf(w), Qt::Key_unknown, one, Qt::NoModifier);
  }
}

void replaceText(const ui::Element& box, const std::string& utf8) {
  click(box);
  key(*box.window(), Qt::Key_A, Qt::ControlModifier);
  if (utf8.empty()) {
    key(*box.window(), Qt::Key_Delete);
  } else {
    type(*box.window(), utf8);
  }
}

void pickFromList(const ui::ComboBox& c, int row) {
  auto* box = static_cast<QComboBox*>(c.widget());
  QPoint arrow(box->width() - 4, box->height() / 2);
  click(*c.window(), box->mapTo(box->window(), arrow));
  QAbstractItemView* list = box->view();
  QRect r = list->visualRect(box->model()->index(row, 0));
  QWidget* popup = list->window();
  QPoint p = list->viewport()->mapTo(popup, r.center());
  QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, Qt::NoModifier, p);
}

bool clickRow(const ui::Element& e, const std::string& text) {
  auto* view = qobject_cast<QAbstractItemView*>(e.widget());
  if (!view) return false;
  QModelIndexList found = view->model()->match(view->model()->index(0, 0), Qt::DisplayRole,
                                               qs(text), 1, Qt::MatchExactly | Qt::MatchRecursive);
  if (found.isEmpty()) return false;
  view->scrollTo(found.front());
  // The middle of the part of the row in view: a long row runs on past it.
  QPoint p = (view->visualRect(found.front()) & view->viewport()->rect()).center();
  click(*e.window(), view->viewport()->mapTo(view->window(), p));
  return true;
}

std::vector<std::string> menuEntries() {
  std::vector<std::string> entries;
  if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
    for (QAction* a : menu->actions())
      entries.push_back((a->isChecked() ? "✓" : "") + a->text().toStdString());
  return entries;
}

bool pickFromMenu(const std::string& entry) {
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  if (!menu) return false;
  for (QAction* a : menu->actions())
    if (a->text() == qs(entry)) {
      QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                        menu->actionGeometry(a).center());
      return true;
    }
  return false;
}

struct EnterOnBoxes::Poke {
  QTimer timer;
};

EnterOnBoxes::EnterOnBoxes() : poke_(new Poke) {
  QObject::connect(&poke_->timer, &QTimer::timeout, [this] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      if (++enters_ > 40) {  // Enter did not close it: give up
        box->close();
        return;
      }
      QTest::keyClick(box, Qt::Key_Return);
    }
  });
  poke_->timer.start(50);
}

EnterOnBoxes::~EnterOnBoxes() { delete poke_; }

void keyToMenu(Qt::Key k) {
  if (QWidget* menu = QApplication::activePopupWidget()) QTest::keyClick(menu->windowHandle(), k);
}

void screenshot(const ui::Window& w, const std::string& file) {
  w.widget()->grab().save(qs(file), "PNG");
}

// ---- the seen check ----------------------------------------------------------

namespace {

// One shown text: where its lines are drawn (window coordinates) and whether
// its layout fits the place it is given.
struct Text {
  QWidget* owner;
  QString text;
  QFont font;
  std::vector<QRect> lines;  // each line's drawn extent
  QString fault;             // layout fault, or empty
};

QString describe(const QWidget* w, const QString& text) {
  QPoint p = w->mapTo(w->window(), QPoint(0, 0));
  return QString("%1 “%2” at %3,%4 px (%5x%6)")
      .arg(w->metaObject()->className(), text.left(60))
      .arg(p.x())
      .arg(p.y())
      .arg(w->width())
      .arg(w->height());
}

QRect inWindow(const QWidget* w, QRect local) {
  return QRect(w->mapTo(w->window(), local.topLeft()), local.size());
}

// The ink of each line Qt draws for a text in `box` with these alignment
// flags: where its glyphs fall, not the line's advance or its leading.
std::vector<QRect> layOut(const QFont& font, const QString& text, QRect box, int flags, bool wrap) {
  std::vector<QRect> lines;
  QFontMetrics fm(font);
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(wrap ? QTextOption::WordWrap : QTextOption::ManualWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  // Lines go as Qt's text drawing places them: each on a whole pixel, the
  // font's leading between them (a negative one, as AR PL UMing has at 12 pt,
  // draws them closer).
  const double leading = QFontMetricsF(font).leading();
  double y = box.top() - leading;
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    y = std::ceil(y + leading);
    line.setLineWidth(wrap ? box.width() : 1e6);
    const QString part = text.mid(line.textStart(), line.textLength()).trimmed();
    const double width = line.naturalTextWidth();
    double x = box.left();
    if (flags & Qt::AlignHCenter) x = box.left() + (box.width() - width) / 2;
    if (flags & Qt::AlignRight) x = box.right() + 1 - width;
    if (!part.isEmpty()) {
      QRect ink = fm.tightBoundingRect(part);  // relative to the baseline
      const int lead = int(text.mid(line.textStart(), line.textLength()).indexOf(part));
      const int skip = fm.horizontalAdvance(text.mid(line.textStart(), lead));
      ink.translate(int(std::floor(x)) + skip, int(std::floor(y + line.ascent())));
      lines.push_back(ink);
    }
    y += line.ascent() + line.descent();
  }
  layout.endLayout();
  return lines;
}

// A glyph's bearing may reach a pixel past its advance (an underscore, a
// slash) and a baseline rounds to a pixel; a word lost needs far more.
QRect withRounding(QRect place) { return place.adjusted(-1, -1, 1, 1); }

QString fitFault(const std::vector<QRect>& lines, QRect box) {
  int fitting = 0;
  const QRect room = withRounding(box);
  for (const QRect& l : lines)
    if (room.contains(l)) ++fitting;
  if (fitting == int(lines.size())) return {};
  QRect needed;
  for (const QRect& l : lines) needed |= l;
  return QString("%1 of %2 lines fit (text %3x%4 px at %5,%6 in a place of %7x%8)")
      .arg(fitting)
      .arg(lines.size())
      .arg(needed.width())
      .arg(needed.height())
      .arg(needed.x())
      .arg(needed.y())
      .arg(box.width())
      .arg(box.height());
}

bool hiddenByColour(const QWidget* w) {
  const QPalette& p = w->palette();
  return p.color(QPalette::WindowText) == p.color(QPalette::Window) && w->autoFillBackground();
}

void addLabel(QLabel* l, std::vector<Text>& out) {
  if (l->text().isEmpty() || hiddenByColour(l)) return;
  QRect box = l->contentsRect();
  auto lines = layOut(l->font(), l->text(), box, int(l->alignment()), l->wordWrap());
  QString fault = fitFault(lines, box);
  for (QRect& r : lines) r = inWindow(l, r);
  out.push_back({l, l->text(), l->font(), lines, fault});
}

void addButton(QAbstractButton* b, std::vector<Text>& out) {
  QString text = b->text();
  text.remove('&');
  if (text.isEmpty()) return;
  QFontMetrics fm(b->font());
  const int width = fm.horizontalAdvance(text);
  QRect line;
  QString fault;
  if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) {
    const int indicator = b->sizeHint().width() - width;
    line = QRect(indicator, (b->height() - fm.height()) / 2, width, fm.height());
    if (b->sizeHint().width() > b->width()) fault = "wider than its place";
  } else {
    line = QRect((b->width() - width) / 2, (b->height() - fm.height()) / 2, width, fm.height());
    if (width > b->width() || fm.height() > b->height()) fault = "wider than its place";
  }
  out.push_back({b, text, b->font(), {inWindow(b, line)}, fault});
}

// Rows of lists and trees: each row shown in the viewport must show its whole
// text across; rows scrolled out of view are not seen and not checked.
void addRows(QAbstractItemView* v, std::vector<Text>& out) {
  QAbstractItemModel* m = v->model();
  if (!m) return;
  QWidget* port = v->viewport();
  std::vector<QModelIndex> todo;
  for (int r = 0; r < m->rowCount(); ++r) todo.push_back(m->index(r, 0));
  for (size_t i = 0; i < todo.size(); ++i) {
    QModelIndex ix = todo[i];
    auto* tree = qobject_cast<QTreeView*>(v);
    if (tree && tree->isExpanded(ix))
      for (int r = 0; r < m->rowCount(ix); ++r) todo.push_back(m->index(r, 0, ix));
    QRect cell = v->visualRect(ix);
    if (!cell.intersects(port->rect())) continue;
    const QString text = ix.data().toString();
    if (text.isEmpty()) continue;
    QFontMetrics fm(v->font());
    const int icon = ix.data(Qt::DecorationRole).isNull() ? 0 : v->iconSize().width() + 4;
    QRect line(cell.left() + icon + 3, cell.top() + (cell.height() - fm.height()) / 2,
               fm.horizontalAdvance(text), fm.height());
    QString fault;
    if (line.right() >= port->width()) {
      if (v->horizontalScrollBar()->maximum() > 0)
        line.setRight(port->width() - 1);  // the rest is seen scrolled across
      else
        fault = "cut at the right of its list";
    }
    out.push_back({v, text, v->font(), {inWindow(port, line)}, fault});
  }
}

void addCombo(QComboBox* c, std::vector<Text>& out) {
  if (c->currentText().isEmpty()) return;
  QWidget* edit = c->lineEdit() ? static_cast<QWidget*>(c->lineEdit()) : c;
  QFontMetrics fm(c->font());
  QRect line(2, (edit->height() - fm.height()) / 2, fm.horizontalAdvance(c->currentText()),
             fm.height());
  QString fault = line.right() < edit->width() ? QString() : "wider than its box";
  out.push_back({c, c->currentText(), c->font(), {inWindow(edit, line)}, fault});
}

// Widgets in the order they are painted: a parent, then its children from the
// bottom of the stack to the top.
void paintOrder(QWidget* w, std::vector<QWidget*>& out) {
  out.push_back(w);
  for (QObject* o : w->children()) {
    auto* c = qobject_cast<QWidget*>(o);
    if (c && c->isVisible() && !c->isWindow()) paintOrder(c, out);
  }
}

// Where a widget can be seen: its rectangle clipped by every container.
QRect visibleRect(const QWidget* w) {
  QRect r = inWindow(w, w->rect());
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) r &= inWindow(p, p->rect());
  return r;
}

// What a widget itself draws (no children), as an image with alpha: a point
// where it is transparent lets what lies below show through.
const QImage& ownDrawing(QWidget* w, std::map<QWidget*, QImage>& cache) {
  auto it = cache.find(w);
  if (it != cache.end()) return it->second;
  QImage img(w->size(), QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  // Only a widget that fills its background draws one; rendered on its own,
  // any other would get its palette's window colour.
  const auto flags =
      w->autoFillBackground() ? QWidget::DrawWindowBackground : QWidget::RenderFlags();
  w->render(&img, QPoint(), QRegion(), flags);
  return cache.emplace(w, img).first->second;
}

// Inside a panel taller or wider than the container that shows it: the
// learner scrolls it, so a text there may be cut at the container's edge.
bool inScrolledPanel(const QWidget* w) {
  for (const QWidget* p = w; p->parentWidget() && !p->parentWidget()->isWindow();
       p = p->parentWidget()) {
    const QWidget* view = p->parentWidget();
    if (p->height() > view->height() || p->width() > view->width()) return true;
  }
  return false;
}

bool inside(const QWidget* outer, const QWidget* w) {
  for (; w; w = w->parentWidget())
    if (w == outer) return true;
  return false;
}

// The first widget drawn after `owner` (from position `from` of the paint
// order) that draws something at p, or null.
QWidget* coverAt(QPoint p, const QWidget* owner, const std::vector<QWidget*>& order, size_t from,
                 std::map<QWidget*, QImage>& drawn) {
  for (size_t k = from; k < order.size(); ++k) {
    QWidget* w = order[k];
    if (inside(owner, w) || !visibleRect(w).contains(p)) continue;
    const QPoint local = w->mapFrom(w->window(), p);
    if (qAlpha(ownDrawing(w, drawn).pixel(local)) != 0) return w;
  }
  return nullptr;
}

// A panel: a container showing elements of its own. A text whose every line
// lies wholly under one belongs to the layer the panel hides while shown.
bool isPanel(const QWidget* w) {
  if (!w) return false;
  for (QObject* o : w->children()) {
    auto* c = qobject_cast<QWidget*>(o);
    if (c && c->isVisible()) return true;
  }
  return false;
}

// Every text of the shown widgets, in paint order.
std::vector<Text> shownTexts(const std::vector<QWidget*>& order) {
  std::vector<Text> texts;
  for (QWidget* w : order) {
    if (auto* l = qobject_cast<QLabel*>(w)) addLabel(l, texts);
    if (auto* b = qobject_cast<QAbstractButton*>(w)) addButton(b, texts);
    if (auto* c = qobject_cast<QComboBox*>(w)) addCombo(c, texts);
    if (auto* v = qobject_cast<QListWidget*>(w)) addRows(v, texts);
    if (auto* v = qobject_cast<QTreeWidget*>(w)) addRows(v, texts);
  }
  return texts;
}

// The faces of the skin's design fonts.
const QStringList& programFaces() {
  static const QStringList faces = [] {
    QStringList all;
    for (const char* design : {"宋体", "Times New Roman", "Arial"})
      for (const std::string& family : ui::fontFamilies(design)) all << qs(family);
    return all;
  }();
  return faces;
}

// What is wrong with the faces a text is drawn in: a run of it in a family its
// font does not name (picked by fontconfig from what else is installed), or a
// character that no face has (drawn as a box). Empty when all is well.
QString faceFault(const QFont& font, const QString& text) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::ManualWrap);
  layout.setTextOption(option);
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
    line.setLineWidth(1e6);
  layout.endLayout();
  const QStringList named =
      font.families().isEmpty() ? QStringList{font.family()} : font.families();
  for (const QString& family : named)
    if (!programFaces().contains(family, Qt::CaseInsensitive))
      return QString("its font names %1, not one of the program's faces").arg(family);
  for (const QGlyphRun& run : layout.glyphRuns()) {
    const QString family = run.rawFont().familyName();
    if (!named.contains(family, Qt::CaseInsensitive))
      return QString("drawn in part in %1, not in %2").arg(family, named.join(", "));
    if (run.glyphIndexes().contains(0))
      return QString("a character is drawn as a box (no glyph in %1)").arg(family);
  }
  return {};
}

}  // namespace

std::vector<std::string> textsInOtherFaces(const ui::Window& window) {
  return textsInOtherFaces(*window.widget());
}

std::vector<std::string> textsInOtherFaces(QWidget& top) {
  std::vector<QWidget*> order;
  paintOrder(&top, order);
  std::vector<std::string> faults;
  for (const Text& t : shownTexts(order)) {
    if (visibleRect(t.owner).isEmpty()) continue;
    const QString fault = faceFault(t.font, t.text);
    if (!fault.isEmpty())
      faults.push_back((describe(t.owner, t.text) + ": " + fault).toStdString());
  }
  return faults;
}

std::vector<std::string> unseenTexts(const ui::Window& window) {
  return unseenTexts(*window.widget());
}

std::vector<std::string> unseenTexts(QWidget& topWidget) {
  QWidget* top = &topWidget;
  std::vector<QWidget*> order;
  paintOrder(top, order);
  const std::vector<Text> texts = shownTexts(order);
  std::map<QWidget*, QImage> drawn;
  std::vector<std::string> faults;
  const QRect windowRect = top->rect();
  for (const Text& t : texts) {
    const QRect seen = visibleRect(t.owner);
    // Placed outside the window or outside its container by design.
    if (!seen.intersects(windowRect) || seen.isEmpty()) continue;
    QString fault = t.fault;
    const size_t self = size_t(std::find(order.begin(), order.end(), t.owner) - order.begin());
    std::vector<QWidget*> covers;  // per sample point, the first widget drawn over it
    bool behindPanels = true;      // every line wholly under one panel
    for (const QRect& line : t.lines) {
      if (!fault.isEmpty()) break;
      if (!withRounding(seen).contains(line)) {
        if (inScrolledPanel(t.owner) && windowRect.contains(line)) break;  // scrolled out
        fault = windowRect.contains(line) ? "cut by its container" : "cut at the window's edge";
        break;
      }
      const int y = line.center().y();
      for (int x : {line.left() + 1, line.center().x(), line.right() - 1}) {
        QWidget* c = coverAt(QPoint(x, y), t.owner, order, self + 1, drawn);
        covers.push_back(c);
        if (!isPanel(c) || !visibleRect(c).contains(line)) behindPanels = false;
      }
    }
    for (QWidget* c : covers)
      if (c && !behindPanels && fault.isEmpty()) fault = "covered by " + describe(c, "");
    if (!fault.isEmpty())
      faults.push_back((describe(t.owner, t.text) + ": " + fault).toStdString());
  }
  return faults;
}

}  // namespace learner
