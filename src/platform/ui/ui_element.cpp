// Elements, containers and the frameless window of the facade.
#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QToolTip>
#include <QWindow>
#include <cmath>

#include "platform/ui/ui_qt.h"

namespace ui {

int pixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }

// The skin was drawn with the faces of the program's own font packages: AR PL
// UMing has the metrics of 宋体, Liberation those of Times New Roman and Arial,
// DejaVu holds the few symbols neither has. Every font names them all, in the
// order each character tries them, so no character reaches fontconfig's own
// fallback order (which changes with every CJK font a learner installs) unless
// none of them has it.
std::vector<std::string> fontFamilies(const std::string& designName) {
  const char* ming = "AR PL UMing CN";
  if (designName == "Times New Roman") return {"Liberation Serif", ming, "DejaVu Serif"};
  if (designName == "Arial") return {"Liberation Sans", ming, "DejaVu Sans"};
  return {ming, "DejaVu Serif"};  // 宋体, 新宋体: the skin's face for any other name
}

QFont qfont(const Font& f) {
  QStringList families;
  for (const std::string& family : fontFamilies(f.name)) families << qs(family);
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(f.size);
  font.setBold(f.bold);
  font.setUnderline(f.underline);
  // Outlines at their design metrics: no per-glyph hinting programs to run,
  // which makes the first text of each font much cheaper to lay out.
  font.setHintingPreference(QFont::PreferNoHinting);
  return font;
}

Element* elementOf(const QWidget* w) {
  return reinterpret_cast<Element*>(w->property("uiElement").value<quintptr>());
}

// ---- events ----------------------------------------------------------------

static int buttonsOf(Qt::MouseButtons b) {
  int r = 0;
  if (b & Qt::LeftButton) r |= kLeftButton;
  if (b & Qt::RightButton) r |= kRightButton;
  if (b & Qt::MiddleButton) r |= kMiddleButton;
  return r;
}

EventBridge::EventBridge(Element* element, QWidget* widget) : element_(element) {
  widget->installEventFilter(this);
}

bool EventBridge::eventFilter(QObject* watched, QEvent* event) {
  if (element_->window() && element_->window()->destroying_) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove: {
      auto* me = static_cast<QMouseEvent*>(event);
      MouseEvent m;
      m.button = buttonsOf(me->button());
      m.buttons = buttonsOf(me->buttons());
      m.x = me->position().x() * kTwipsPerPixel;
      m.y = me->position().y() * kTwipsPerPixel;
      if (event->type() == QEvent::MouseButtonRelease)
        element_->onMouseRelease(m);
      else if (event->type() == QEvent::MouseMove)
        element_->onMouseMove(m);
      else
        element_->onMousePress(m);
      // Buttons and edit boxes keep their own mouse behaviour (and take the
      // event themselves). Labels, pictures and frames take it here, so that
      // the containers behind them never see it.
      if (!element_->clicksOnRelease()) return false;
      event->accept();
      return true;
    }
    case QEvent::FocusIn:
      if (element_->window()) element_->window()->focus_ = element_;
      return false;
    case QEvent::FocusOut:
      // A list dropping down takes the focus only for a moment.
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason && element_->LostFocus)
        element_->LostFocus();
      return false;
    default:
      return false;
  }
  (void)watched;
}

// ---- Element -------------------------------------------------------------

Element::Element(Container* parent, QWidget* widget)
    : widget_(widget), parent_(parent), window_(parent ? parent->window() : nullptr) {
  widget_->setProperty("uiElement", QVariant::fromValue(quintptr(this)));
  bridge_ = new EventBridge(this, widget_);
  QObject::connect(widget_, &QObject::destroyed, bridge_, [this] { widget_ = nullptr; });
  // A child of a window not yet shown appears with it; only a child made
  // later must be shown itself (showing early costs a polish per widget).
  if (parent_ && parent_->widget()->isVisible()) widget_->show();
}

Element::~Element() {
  delete bridge_;
  delete widget_;
}

void Element::applyGeometry() {
  if (!widget_) return;
  widget_->setGeometry(pixels(left_), pixels(top_), std::max(0, pixels(width_)),
                       std::max(0, pixels(height_)));
}

void Element::setLeft(int t) { left_ = t, applyGeometry(); }
void Element::setTop(int t) { top_ = t, applyGeometry(); }
void Element::setWidth(int t) { width_ = t, applyGeometry(); }
void Element::setHeight(int t) { height_ = t, applyGeometry(); }
void Element::move(int l, int t) { left_ = l, top_ = t, applyGeometry(); }
void Element::move(int l, int t, int w, int h) {
  left_ = l, top_ = t, width_ = w, height_ = h;
  applyGeometry();
}

void Element::setVisible(bool on) {
  visible_ = on;
  if (widget_ && parent_) widget_->setVisible(on);
}

void Element::setEnabled(bool on) {
  enabled_ = on;
  if (widget_) widget_->setEnabled(on);
}

void Element::setFocus() {
  if (window_) window_->focus_ = this;
  if (widget_) widget_->setFocus(Qt::OtherFocusReason);
}

void Element::raise() {
  if (widget_) widget_->raise();
}

bool Element::hasFocus() const { return window_ && window_->focus_ == this; }

void Element::setAccessibleName(const std::string& name) { widget_->setAccessibleName(qs(name)); }

void Element::setToolTipText(const std::string& text) { widget_->setToolTip(qs(text)); }
std::string Element::toolTipText() const { return ss(widget_->toolTip()); }

void Element::setMousePointer(Pointer p) {
  pointer_ = p;
  if (p == Pointer::Hand)
    widget_->setCursor(Qt::PointingHandCursor);
  else
    widget_->unsetCursor();
}

void Element::copyFrom(const Element& o) {
  left_ = o.left_, top_ = o.top_, width_ = o.width_, height_ = o.height_;
  applyGeometry();
  setEnabled(o.enabled_);
  setMousePointer(o.pointer_);
  widget_->setToolTip(o.widget_->toolTip());
}

// A press is taken by the element under the pointer; the moves and the
// release that follow go to the same element (Qt's implicit grab).
void Element::onMousePress(const MouseEvent& e) {
  pressed_ = true;
  if (MouseDown) MouseDown(e);
}
void Element::onMouseRelease(const MouseEvent& e) {
  bool wasPressed = pressed_;
  pressed_ = false;
  if (MouseUp) MouseUp(e);
  bool inside = e.x >= 0 && e.y >= 0 && e.x < width_ && e.y < height_;
  if (wasPressed && inside && clicksOnRelease() && Click) Click();
}
void Element::onMouseMove(const MouseEvent& e) {
  if (MouseMove) MouseMove(e);
}

void Element::pressMouse(int button, double x, double y) { onMousePress({button, button, x, y}); }
void Element::moveMouse(int buttons, double x, double y) { onMouseMove({0, buttons, x, y}); }
void Element::releaseMouse(int button, double x, double y) { onMouseRelease({button, 0, x, y}); }
void Element::click(double x, double y) {
  if (!enabled_ || !visible_) return;  // the learner cannot click it
  pressMouse(kLeftButton, x, y);
  releaseMouse(kLeftButton, x, y);
  if (!clicksOnRelease() && Click) Click();
}

// ---- containers ------------------------------------------------------------

void PanelWidget::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (opaque) p.fillRect(rect(), fill);
  if (!picture.isNull()) p.drawPixmap(0, 0, picture);
}

static PanelWidget* panelOf(QWidget* w) { return static_cast<PanelWidget*>(w); }

void Container::setBackColor(Color c) {
  back_ = c;
  opaque_ = true;
  panelOf(widget_)->fill = qc(c);
  panelOf(widget_)->opaque = true;
  widget_->update();
}

void Container::setPicture(const std::string& path) {
  panelOf(widget_)->picture = picture(path);
  widget_->update();
}

void Container::copyFrom(const Element& other) {
  Element::copyFrom(other);
  auto& o = static_cast<const Container&>(other);
  if (o.opaque_) setBackColor(o.back_);
  panelOf(widget_)->picture = panelOf(o.widget_)->picture;
}

Frame::Frame(Container& parent) : Container(&parent, new PanelWidget(parent.widget())) {}
Picture::Picture(Container& parent) : Container(&parent, new PanelWidget(parent.widget())) {}

// ---- Window ----------------------------------------------------------------

class WindowWidget : public PanelWidget {
 public:
  WindowWidget() : PanelWidget(nullptr) {}
  std::function<void()> onClose;

 protected:
  void closeEvent(QCloseEvent* e) override {
    if (onClose) onClose();
    e->accept();
  }
};

// Key preview: the window sees each key once, before the focused element.
class KeyPreview : public QObject {
 public:
  explicit KeyPreview(Window* w) : window_(w) {}
  bool eventFilter(QObject* obj, QEvent* ev) override {
    if (ev->type() != QEvent::KeyPress || !obj->isWidgetType()) return false;
    auto* target = static_cast<QWidget*>(obj);
    QWidget* focus = QApplication::focusWidget();
    if (target != (focus ? focus : window_->widget())) return false;  // propagation
    if (target->window() != window_->widget()) return false;
    if (window_->KeyDown) window_->KeyDown(keyCodeOf(static_cast<QKeyEvent*>(ev)->key()));
    return false;
  }

 private:
  Window* window_;
};

struct Window::Impl {
  std::unique_ptr<KeyPreview> preview;
};

Window::Window() : Container(nullptr, new WindowWidget), impl_(std::make_unique<Impl>()) {
  window_ = this;
  widget_->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  widget_->setAttribute(Qt::WA_DeleteOnClose, false);
  static_cast<WindowWidget*>(widget_)->onClose = [this] {
    if (unloaded_) return;
    unloaded_ = true;
    if (Unload) Unload();
  };
  impl_->preview = std::make_unique<KeyPreview>(this);
  qApp->installEventFilter(impl_->preview.get());
}

Window::~Window() { qApp->removeEventFilter(impl_->preview.get()); }

void Window::setCaption(const std::string& c) {
  widget_->setWindowTitle(qs(c));
  widget_->setAccessibleName(qs(c));
}
std::string Window::caption() const { return ss(widget_->windowTitle()); }
void Window::setIcon(const std::string& path) { widget_->setWindowIcon(QIcon(picture(path))); }

void Window::showCentered() {
  widget_->setFixedSize(pixels(width_), pixels(height_));
  if (QScreen* s = QGuiApplication::primaryScreen()) {
    QRect a = s->availableGeometry();
    widget_->move(a.center() - QPoint(widget_->width() / 2, widget_->height() / 2));
  }
  widget_->show();
  widget_->activateWindow();
  widget_->raise();
}

void Window::minimize() { widget_->showMinimized(); }
bool Window::minimized() const { return widget_->isMinimized(); }
void Window::close() { widget_->close(); }

// Front to back: each child is first in the window's list when it goes, and
// takes its own children with it in one pass over them. The window is hidden
// first: a shown widget that goes adds its place to the area to repaint,
// which grows with every row.
void Window::destroyWidgets() {
  destroying_ = true;
  focus_ = nullptr;
  widget_->hide();
  const QObjectList children = widget_->children();
  for (QObject* c : children)
    if (c->isWidgetType()) delete c;
}

void Window::moveOnScreen(double left, double top) { widget_->move(pixels(left), pixels(top)); }
bool Window::moveWithPointer() {
  QWindow* w = widget_->windowHandle();
  return w && QGuiApplication::platformName().startsWith("wayland") && w->startSystemMove();
}
double Window::screenLeft() const { return widget_->x() * kTwipsPerPixel; }
double Window::screenTop() const { return widget_->y() * kTwipsPerPixel; }

void Window::pressKey(int keyCode) {
  if (KeyDown) KeyDown(keyCode);
  auto* t = dynamic_cast<TextBox*>(focus_);
  if (t && (keyCode == kKeyReturn || keyCode == kKeyBack)) {
    t->pressKey(keyCode);
  } else if (auto* c = dynamic_cast<ComboBox*>(focus_)) {
    if (c->KeyDown) c->KeyDown(keyCode);
  }
}

}  // namespace ui
