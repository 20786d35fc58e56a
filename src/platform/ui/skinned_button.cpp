#include "platform/ui/skinned_button.h"

#include <QAbstractButton>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "platform/ui/ui_qt.h"

namespace CSCommand {

namespace {

struct Skin {
  QPixmap normal, hover, down, disabled;
};
Skin& skin() {
  static Skin s;
  return s;
}

// Draws a 9-slice picture over the whole rectangle: corners kept, edges and
// centre stretched. Slices are cut in the picture's own pixels (twice as many
// in a picture made for a high-density screen).
void drawNineSlice(QPainter& p, const QRect& r, const QPixmap& pm) {
  if (pm.isNull()) return;
  const qreal d = pm.devicePixelRatio();
  int w = qRound(pm.width() / d), h = qRound(pm.height() / d);
  int c = std::min({6, w / 3, h / 3, r.width() / 2, r.height() / 2});
  auto part = [&](int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh) {
    if (dw > 0 && dh > 0)
      p.drawPixmap(QRectF(dx, dy, dw, dh), pm, QRectF(sx * d, sy * d, sw * d, sh * d));
  };
  int mw = r.width() - 2 * c, mh = r.height() - 2 * c;
  part(r.x(), r.y(), c, c, 0, 0, c, c);
  part(r.x() + c, r.y(), mw, c, c, 0, w - 2 * c, c);
  part(r.right() - c + 1, r.y(), c, c, w - c, 0, c, c);
  part(r.x(), r.y() + c, c, mh, 0, c, c, h - 2 * c);
  part(r.x() + c, r.y() + c, mw, mh, c, c, w - 2 * c, h - 2 * c);
  part(r.right() - c + 1, r.y() + c, c, mh, w - c, c, c, h - 2 * c);
  part(r.x(), r.bottom() - c + 1, c, c, 0, h - c, c, c);
  part(r.x() + c, r.bottom() - c + 1, mw, c, c, h - c, w - 2 * c, c);
  part(r.right() - c + 1, r.bottom() - c + 1, c, c, w - c, h - c, c, c);
}

class ButtonWidget : public QAbstractButton {
 public:
  explicit ButtonWidget(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
  }
  QPixmap picture;
  bool bare = false;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    bool hover = underMouse() && isEnabled();
    if (bare) {
      if (hover) p.fillRect(rect(), QColor(255, 255, 255, isDown() ? 90 : 50));
      return;
    }
    if (!picture.isNull()) {
      QPixmap pm = picture;
      p.setOpacity(isEnabled() ? 1.0 : 0.4);
      p.drawPixmap(isDown() ? QPoint(1, 1) : QPoint(0, 0), pm);
      return;
    }
    const Skin& s = skin();
    const QPixmap& face = !isEnabled() ? s.disabled
                          : isDown()   ? s.down
                          : hover      ? s.hover
                                       : s.normal;
    if (face.isNull()) {
      p.fillRect(rect(), isEnabled() ? QColor(225, 235, 248) : QColor(230, 230, 230));
      p.setPen(QColor(120, 150, 190));
      p.drawRect(rect().adjusted(0, 0, -1, -1));
    } else {
      drawNineSlice(p, rect(), face);
    }
    QStyleOption opt;
    opt.initFrom(this);
    QRect textRect = rect().translated(isDown() ? QPoint(1, 1) : QPoint(0, 0));
    p.setPen(isEnabled() ? QColor(20, 45, 90) : QColor(150, 150, 150));
    p.drawText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, text());
  }
};

ButtonWidget* buttonOf(QWidget* w) { return static_cast<ButtonWidget*>(w); }

}  // namespace

void Command::setSkinFolder(const std::string& folder) {
  skin() = {ui::picture(folder + "/button_normal.png"), ui::picture(folder + "/button_hover.png"),
            ui::picture(folder + "/button_down.png"), ui::picture(folder + "/button_disabled.png")};
}

Command::Command(ui::Container& parent) : ui::Element(&parent, new ButtonWidget(parent.widget())) {
  QObject::connect(buttonOf(widget_), &QAbstractButton::clicked, widget_, [this] {
    if (Click) Click();
  });
}

void Command::setCaption(const std::string& caption) {
  caption_ = caption;
  QString text = ui::qs(caption);
  buttonOf(widget_)->setText(text);
  QString plain = text;
  plain.remove('&');
  widget_->setAccessibleName(plain);
}

void Command::setPicture(const std::string& path) {
  buttonOf(widget_)->picture = ui::picture(path);
  widget_->update();
}

void Command::setBare(bool on) {
  buttonOf(widget_)->bare = on;
  widget_->update();
}

void Command::setFont(const ui::Font& font) { widget_->setFont(ui::qfont(font)); }

void Command::copyFrom(const ui::Element& other) {
  ui::Element::copyFrom(other);
  auto* o = buttonOf(other.widget());
  auto* b = buttonOf(widget_);
  b->picture = o->picture;
  b->bare = o->bare;
  widget_->setFont(o->font());
  setCaption(static_cast<const Command&>(other).caption_);
}

}  // namespace CSCommand
