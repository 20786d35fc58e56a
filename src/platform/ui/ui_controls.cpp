// Labels, lines, shapes, text, list and combo boxes, check and option buttons.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTextBlock>
#include <QTextLayout>
#include <utility>

#include "platform/ui/ui_qt.h"

namespace ui {

int keyCodeOf(int k) {
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return kKeyF1 + (k - Qt::Key_F1);
  switch (k) {
    case Qt::Key_Backspace:
      return 8;
    case Qt::Key_Tab:
      return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return 13;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return 33;
    case Qt::Key_PageDown:
      return 34;
    case Qt::Key_End:
      return 35;
    case Qt::Key_Home:
      return 36;
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Insert:
      return 45;
    case Qt::Key_Delete:
      return 46;
    default:
      return 0;
  }
}

// ---- Label -----------------------------------------------------------------

Label::Label(Container& parent) : Element(&parent, new QLabel(parent.widget())) {
  auto* l = static_cast<QLabel*>(widget_);
  l->setTextFormat(Qt::PlainText);
  l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFont(font_);
  applyWrapping();
  applyColors();
}

void Label::setCaption(const std::string& text) {
  caption_ = text;
  auto* l = static_cast<QLabel*>(widget_);
  l->setText(qs(text));
  l->setAccessibleName(qs(text));
  if (autoSize_) fit();
}

void Label::setAutoSize(bool on) {
  autoSize_ = on;
  applyWrapping();
  if (on) fit();
}

void Label::setWordWrap(bool on) {
  wordWrap_ = on;
  applyWrapping();
  if (autoSize_) fit();
}

// A label of fixed size wraps its words at its width; an auto-sized one wraps
// only when word wrap is on, and otherwise keeps its text on one line (its
// width was measured for that line).
void Label::applyWrapping() { static_cast<QLabel*>(widget_)->setWordWrap(wordWrap_ || !autoSize_); }

void Label::setFont(const Font& f) {
  font_ = f;
  widget_->setFont(qfont(f));
  if (autoSize_) fit();
}

// The height in twips of the text wrapped at `width` twips.
static int wrappedHeight(const QFont& font, const QString& text, int width) {
  QFontMetrics fm(font);
  QRect r =
      fm.boundingRect(QRect(0, 0, std::max(1, pixels(width)), 100000), Qt::TextWordWrap, text);
  return std::max(fm.height(), r.height()) * kTwipsPerPixel;
}

// The height of one line of text: the font's, or more where a character of it
// comes from a taller fallback face (Chinese in an English line).
static int lineHeight(const QFont& font, const QString& line) {
  QTextLayout layout(line, font);
  layout.beginLayout();
  QTextLine l = layout.createLine();
  l.setLineWidth(1e6);
  layout.endLayout();
  return std::max(QFontMetrics(font).height(), int(std::lround(l.ascent() + l.descent())));
}

// An auto-sized label takes the size of its text: one line, or wrapped at its
// width when word wrap is on.
void Label::fit() {
  QFontMetrics fm(qfont(font_));
  QString text = qs(caption_);
  if (wordWrap_) {
    height_ = wrappedHeight(qfont(font_), text, width_);
  } else {
    // The advance, or further where a glyph reaches past it (a slash).
    int w = 0;
    for (const QString& line : text.split('\n'))
      w = std::max({w, fm.horizontalAdvance(line), fm.boundingRect(line).right() + 1});
    width_ = w * kTwipsPerPixel;
    // A line drawn partly in a fallback face (Chinese in an English line) is
    // as tall as that face makes it.
    int h = 0;
    for (const QString& line : text.split('\n')) h += lineHeight(qfont(font_), line);
    height_ = h * kTwipsPerPixel;
  }
  applyGeometry();
}

void Label::applyGeometry() { Element::applyGeometry(); }

void Label::wrapAt(int width, int minHeight) {
  autoSize_ = false;
  wordWrap_ = true;
  applyWrapping();
  width_ = width;
  height_ = std::max(minHeight, wrappedHeight(qfont(font_), qs(caption_), width));
  applyGeometry();
}

int Label::textHeight() const { return wrappedHeight(qfont(font_), qs(caption_), width_); }

void Label::setForeColor(Color c) {
  fore_ = c;
  applyColors();
}
void Label::setBackColor(Color c) {
  back_ = c;
  applyColors();
}
void Label::setTransparent(bool on) {
  transparent_ = on;
  applyColors();
}

void Label::applyColors() {
  QPalette p = widget_->palette();
  p.setColor(QPalette::WindowText, qc(fore_));
  p.setColor(QPalette::Window, qc(back_));
  widget_->setPalette(p);
  widget_->setAutoFillBackground(!transparent_);
}

void Label::setAlignment(Align a) {
  align_ = a;
  Qt::Alignment h = a == Align::Left    ? Qt::AlignLeft
                    : a == Align::Right ? Qt::AlignRight
                                        : Qt::AlignHCenter;
  static_cast<QLabel*>(widget_)->setAlignment(h | Qt::AlignTop);
}

void Label::copyFrom(const Element& other) {
  auto& o = static_cast<const Label&>(other);
  font_ = o.font_, fore_ = o.fore_, back_ = o.back_, transparent_ = o.transparent_;
  wordWrap_ = o.wordWrap_;
  autoSize_ = o.autoSize_;
  applyWrapping();
  widget_->setFont(qfont(font_));
  applyColors();
  setAlignment(o.align_);
  Element::copyFrom(other);
  autoSize_ = o.autoSize_;
  setCaption(o.caption_);
}

// ---- Line and Shape --------------------------------------------------------

namespace {
class LineWidget : public QWidget {
 public:
  using QWidget::QWidget;
  QColor color = Qt::black;
  QPoint a, b;  // inside the widget

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setPen(QPen(color, 1));
    p.drawLine(a, b);
  }
};

class ShapeWidget : public QWidget {
 public:
  using QWidget::QWidget;
  QColor border = Qt::black;
  QColor fill;
  bool filled = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    if (filled) p.fillRect(rect(), fill);
    p.setPen(QPen(border, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
};
}  // namespace

Line::Line(Container& parent) : Element(&parent, new LineWidget(parent.widget())) {
  widget_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
  x1_ = x1, y1_ = y1, x2_ = x2, y2_ = y2;
  int l = std::min(x1, x2), t = std::min(y1, y2);
  left_ = l, top_ = t;
  width_ = std::abs(x2 - x1) + kTwipsPerPixel;
  height_ = std::abs(y2 - y1) + kTwipsPerPixel;
  applyGeometry();
  auto* w = static_cast<LineWidget*>(widget_);
  w->a = QPoint(pixels(x1 - l), pixels(y1 - t));
  w->b = QPoint(pixels(x2 - l), pixels(y2 - t));
  w->update();
}

void Line::setBorderColor(Color c) {
  color_ = c;
  static_cast<LineWidget*>(widget_)->color = qc(c);
  widget_->update();
}

void Line::copyFrom(const Element& other) {
  auto& o = static_cast<const Line&>(other);
  Element::copyFrom(other);
  setBorderColor(o.color_);
  setPoints(o.x1_, o.y1_, o.x2_, o.y2_);
}

Shape::Shape(Container& parent) : Element(&parent, new ShapeWidget(parent.widget())) {
  widget_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::setBorderColor(Color c) {
  static_cast<ShapeWidget*>(widget_)->border = qc(c);
  widget_->update();
}

void Shape::setFillColor(Color c) {
  auto* w = static_cast<ShapeWidget*>(widget_);
  w->fill = qc(c);
  w->filled = true;
  w->update();
}

void Shape::copyFrom(const Element& other) {
  Element::copyFrom(other);
  auto* o = static_cast<ShapeWidget*>(other.widget());
  auto* w = static_cast<ShapeWidget*>(widget_);
  w->border = o->border, w->fill = o->fill, w->filled = o->filled;
}

// ---- TextBox ----------------------------------------------------------------

namespace {
// Character keys reach KeyPress before the edit box sees them.
class KeyPressFilter : public QObject {
 public:
  explicit KeyPressFilter(TextBox* box) : box_(box) {}
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() != QEvent::KeyPress) return false;
    auto* ke = static_cast<QKeyEvent*>(ev);
    int code = 0;
    if (ke->key() == Qt::Key_Return || ke->key() == Qt::Key_Enter)
      code = kKeyReturn;
    else if (ke->key() == Qt::Key_Backspace)
      code = kKeyBack;
    else if (!ke->text().isEmpty() && ke->text().at(0).isPrint())
      code = ke->text().at(0).unicode();
    if (code == 0 || !box_->KeyPress) return false;
    box_->KeyPress(code);
    return code == 0;
  }

 private:
  TextBox* box_;
};
}  // namespace

static QWidget* makeEdit(QWidget* parent, bool multiLine) {
  if (multiLine) {
    auto* e = new QPlainTextEdit(parent);
    e->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setFrameShape(QFrame::NoFrame);
    return e;
  }
  auto* e = new QLineEdit(parent);
  e->setFrame(false);
  return e;
}

TextBox::TextBox(Container& parent, bool multiLine)
    : Element(&parent, makeEdit(parent.widget(), multiLine)) {
  auto* filter = new KeyPressFilter(this);
  filter->setParent(widget_);
  widget_->installEventFilter(filter);
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) {
    QObject::connect(e, &QPlainTextEdit::textChanged, widget_, [this] {
      widget_->setAccessibleName(qobject_cast<QPlainTextEdit*>(widget_)->toPlainText());
      if (Change) Change();
    });
  } else {
    auto* l = static_cast<QLineEdit*>(widget_);
    QObject::connect(l, &QLineEdit::textChanged, widget_, [this](const QString& t) {
      widget_->setAccessibleName(t);
      if (Change) Change();
    });
  }
}

std::string TextBox::text() const {
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) return ss(e->toPlainText());
  return ss(static_cast<QLineEdit*>(widget_)->text());
}

void TextBox::setText(const std::string& text) {
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) {
    e->setPlainText(qs(text));
    e->moveCursor(QTextCursor::End);
  } else {
    static_cast<QLineEdit*>(widget_)->setText(qs(text));
  }
}

int TextBox::selStart() const {
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) return e->textCursor().selectionStart();
  auto* l = static_cast<QLineEdit*>(widget_);
  return l->hasSelectedText() ? l->selectionStart() : l->cursorPosition();
}

int TextBox::selLength() const {
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) {
    auto c = e->textCursor();
    return c.selectionEnd() - c.selectionStart();
  }
  return int(static_cast<QLineEdit*>(widget_)->selectedText().size());
}

void TextBox::setSelStart(int start) {
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) {
    QTextCursor c = e->textCursor();
    c.setPosition(std::clamp(start, 0, int(e->toPlainText().size())));
    e->setTextCursor(c);
  } else {
    static_cast<QLineEdit*>(widget_)->setCursorPosition(start);
  }
}

void TextBox::setSelLength(int length) {
  int start = selStart();
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_)) {
    QTextCursor c = e->textCursor();
    int end = std::clamp(start + length, 0, int(e->toPlainText().size()));
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    e->setTextCursor(c);
  } else {
    static_cast<QLineEdit*>(widget_)->setSelection(start, length);
  }
}

void TextBox::setFont(const Font& f) { widget_->setFont(qfont(f)); }

void TextBox::setForeColor(Color c) {
  QPalette p = widget_->palette();
  p.setColor(QPalette::Text, qc(c));
  widget_->setPalette(p);
}

void TextBox::setBackColor(Color c) {
  QPalette p = widget_->palette();
  p.setColor(QPalette::Base, qc(c));
  widget_->setPalette(p);
}

void TextBox::pressKey(int keyAscii) {
  int code = keyAscii;
  if (KeyPress) KeyPress(code);
  if (code == 0) return;
  QString insert;
  if (code == kKeyBack) {
    if (auto* e = qobject_cast<QPlainTextEdit*>(widget_))
      e->textCursor().deletePreviousChar();
    else
      static_cast<QLineEdit*>(widget_)->backspace();
    return;
  }
  insert = code == kKeyReturn ? QString("\n") : QString(QChar(code));
  if (auto* e = qobject_cast<QPlainTextEdit*>(widget_))
    e->insertPlainText(insert);
  else
    static_cast<QLineEdit*>(widget_)->insert(insert);
}

void TextBox::type(const std::string& text) {
  for (QChar ch : qs(text)) pressKey(ch.unicode());
}

// ---- ListBox ---------------------------------------------------------------

static QListWidget* listOf(QWidget* w) { return static_cast<QListWidget*>(w); }

// Rows of one font are one height: a long list is laid out without measuring
// every row.
ListBox::ListBox(Container& parent) : Element(&parent, new QListWidget(parent.widget())) {
  listOf(widget_)->setUniformItemSizes(true);
}
void ListBox::addItem(const std::string& item) { listOf(widget_)->addItem(qs(item)); }
void ListBox::addItems(const std::vector<std::string>& items) {
  QStringList rows;
  rows.reserve(qsizetype(items.size()));
  for (const std::string& item : items) rows.push_back(qs(item));
  listOf(widget_)->addItems(rows);
}
void ListBox::clear() { listOf(widget_)->clear(); }
int ListBox::listCount() const { return listOf(widget_)->count(); }
std::string ListBox::list(int row) const {
  auto* it = listOf(widget_)->item(row);
  return it ? ss(it->text()) : std::string();
}
int ListBox::listIndex() const { return listOf(widget_)->currentRow(); }
void ListBox::setListIndex(int row) {
  auto* l = listOf(widget_);
  QSignalBlocker block(l);
  l->setCurrentRow(row >= 0 && row < l->count() ? row : -1);
}
std::string ListBox::text() const { return list(listIndex()); }
void ListBox::setFont(const Font& f) { widget_->setFont(qfont(f)); }

// ---- ComboBox --------------------------------------------------------------

static QComboBox* comboOf(QWidget* w) { return static_cast<QComboBox*>(w); }

namespace {
class ComboKeyFilter : public QObject {
 public:
  explicit ComboKeyFilter(ComboBox* c) : combo_(c) {}
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::KeyPress && combo_->KeyDown)
      combo_->KeyDown(keyCodeOf(static_cast<QKeyEvent*>(ev)->key()));
    return false;
  }

 private:
  ComboBox* combo_;
};
// Notes a pick in the dropped-down list (a release on an entry, or Enter or
// Return in the list). Installed after the list's own filter, it runs first.
class ListPickFilter : public QObject {
 public:
  bool picked = false;
  bool eventFilter(QObject*, QEvent* ev) override {
    if (ev->type() == QEvent::Show) picked = false;  // a new drop-down
    if (ev->type() == QEvent::MouseButtonRelease) picked = true;
    if (ev->type() == QEvent::KeyPress) {
      int key = static_cast<QKeyEvent*>(ev)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) picked = true;
    }
    return false;
  }
};
}  // namespace

ComboBox::ComboBox(Container& parent) : Element(&parent, new QComboBox(parent.widget())) {
  auto* c = comboOf(widget_);
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  auto* filter = new ComboKeyFilter(this);
  filter->setParent(widget_);
  c->installEventFilter(filter);
  if (c->lineEdit()) c->lineEdit()->installEventFilter(filter);
  QObject::connect(c, &QComboBox::editTextChanged, widget_, [this](const QString& t) {
    widget_->setAccessibleName(t);
    if (Change) Change();
  });
  // Click is a choice from the list only: Qt also activates an entry when the
  // text typed into the box and confirmed with Enter (or left) matches it.
  auto* picks = new ListPickFilter;
  picks->setParent(widget_);
  c->view()->installEventFilter(picks);
  c->view()->viewport()->installEventFilter(picks);
  QObject::connect(c, &QComboBox::activated, widget_, [this, picks](int) {
    if (!std::exchange(picks->picked, false)) return;
    if (Click) Click();
  });
}

void ComboBox::addItem(const std::string& item) {
  auto* c = comboOf(widget_);
  QSignalBlocker block(c);
  QString keep = c->currentText();
  c->addItem(qs(item));
  c->setEditText(keep);
}
void ComboBox::clear() {
  auto* c = comboOf(widget_);
  QString keep = c->currentText();
  QSignalBlocker block(c);
  c->clear();
  c->setEditText(keep);
}
int ComboBox::listCount() const { return comboOf(widget_)->count(); }
std::string ComboBox::list(int row) const { return ss(comboOf(widget_)->itemText(row)); }
std::string ComboBox::text() const { return ss(comboOf(widget_)->currentText()); }
void ComboBox::setText(const std::string& text) {
  auto* c = comboOf(widget_);
  if (c->currentText() == qs(text)) return;
  c->setEditText(qs(text));  // editTextChanged runs Change
}
void ComboBox::dropDown() { comboOf(widget_)->showPopup(); }
bool ComboBox::droppedDown() const {
  auto* v = comboOf(widget_)->view();
  return v && v->isVisible();
}
void ComboBox::setFont(const Font& f) { widget_->setFont(qfont(f)); }

void ComboBox::choose(int row) {
  auto* c = comboOf(widget_);
  setText(ss(c->itemText(row)));
  if (Click) Click();
}
void ComboBox::typeText(const std::string& text) { setText(text); }

// ---- CheckBox and OptionButton ---------------------------------------------

CheckBox::CheckBox(Container& parent) : Element(&parent, new QCheckBox(parent.widget())) {
  auto* b = static_cast<QCheckBox*>(widget_);
  QObject::connect(b, &QCheckBox::clicked, widget_, [this](bool checked) {
    value_ = checked ? 1 : 0;
    if (Click) Click();
  });
}

void CheckBox::setValue(int v) {
  if (v == value_) return;
  value_ = v;
  auto* b = static_cast<QCheckBox*>(widget_);
  QSignalBlocker block(b);
  b->setChecked(v != 0);
  if (Click) Click();
}

void CheckBox::setCaption(const std::string& c) {
  static_cast<QCheckBox*>(widget_)->setText(qs(c));
  widget_->setAccessibleName(qs(c));
}

OptionButton::OptionButton(Container& parent)
    : Element(&parent, new QRadioButton(parent.widget())) {
  auto* b = static_cast<QRadioButton*>(widget_);
  b->setAutoExclusive(false);
  QObject::connect(b, &QRadioButton::clicked, widget_, [this](bool) { setValue(true); });
}

void OptionButton::setValue(bool on) {
  auto* b = static_cast<QRadioButton*>(widget_);
  {
    QSignalBlocker block(b);
    b->setChecked(on);
  }
  bool changed = on != value_;
  value_ = on;
  if (!on) return;
  for (QRadioButton* other : widget_->parentWidget()->findChildren<QRadioButton*>(
           QString(), Qt::FindDirectChildrenOnly)) {
    if (other == b) continue;
    auto* e = static_cast<OptionButton*>(elementOf(other));
    e->value_ = false;
    QSignalBlocker block(other);
    other->setChecked(false);
  }
  if (changed && Click) Click();
}

void OptionButton::setCaption(const std::string& c) {
  static_cast<QRadioButton*>(widget_)->setText(qs(c));
  widget_->setAccessibleName(qs(c));
}

}  // namespace ui
