#include "mini/mini_strip.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>
#include <QWindow>

#include "dialogs/skin_look.h"

namespace mini {

namespace {
constexpr double kRates[3] = {0.5, 1.0, 2.0};
constexpr int kMostPlays = 10;  // the repeat list's last count
constexpr study::Page kDictation = 8;

// A one-line text: never wrapped, so it is whole or the strip grows.
QLabel* line(QWidget* parent, const QFont& font) {
  auto* l = new QLabel(parent);
  l->setFont(font);
  l->setWordWrap(false);
  l->setTextFormat(Qt::PlainText);
  return l;
}
}  // namespace

MiniStrip::MiniStrip(study::SentencePlayer& player)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      player_(player) {
  setWindowTitle(QStringLiteral("Parlenda 迷你模式"));
  setAccessibleName(windowTitle());
  setPalette(dialogs::skinPalette());
  setAutoFillBackground(true);
  setFont(dialogs::skinFont(9));
  setFocusPolicy(Qt::StrongFocus);

  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(8, 3, 6, 3);
  row->setSpacing(4);
  number_ = line(this, dialogs::skinFont(9));
  row->addWidget(number_);
  auto* texts = new QVBoxLayout;
  texts->setSpacing(0);
  english_ = line(this, dialogs::sentenceFont(11));
  chinese_ = line(this, dialogs::skinFont(9));
  texts->addWidget(english_);
  texts->addWidget(chinese_);
  row->addLayout(texts, 1);
  row->addSpacing(6);

  previous_ =
      button(QStringLiteral("上一句"), QStringLiteral("PageUp"), [this] { player_.previous(); });
  replay_ = button(QStringLiteral("重播"), QStringLiteral("F7"), [this] { player_.play(); });
  next_ = button(QStringLiteral("下一句"), QStringLiteral("PageDown"), [this] { player_.next(); });
  for (QWidget* b : {previous_, replay_, next_}) row->addWidget(b);

  row->addSpacing(6);
  auto* each = line(this, font());
  each->setText(QStringLiteral("每句"));
  row->addWidget(each);
  repeat_ = new QComboBox(this);
  for (int plays = 0; plays <= kMostPlays; ++plays) repeat_->addItem(QString::number(plays));
  repeat_->setFocusPolicy(Qt::NoFocus);  // PageUp and PageDown stay the strip's
  repeat_->setToolTip(QStringLiteral("每句朗读的次数"));
  connect(repeat_, &QComboBox::activated, this, [this](int plays) { player_.setRepeat(plays); });
  row->addWidget(repeat_);
  auto* times = line(this, font());
  times->setText(QStringLiteral("次"));
  row->addWidget(times);
  row->addSpacing(6);
  buildSpeeds(*row);
  row->addSpacing(6);
  back_ = button(QStringLiteral("完整模式"), QStringLiteral("回到完整的窗口"), [this] {
    if (backToFullWindow) backToFullWindow();
  });
  row->addWidget(back_);

  events_ = player_.events().subscribe([this](const study::Event&) { refresh(); });
  refresh();
}

QToolButton* MiniStrip::button(const QString& text, const QString& tip, std::function<void()> run) {
  auto* b = new QToolButton(this);
  b->setText(text);
  b->setToolTip(tip);
  b->setAutoRaise(false);
  b->setFocusPolicy(Qt::NoFocus);  // the keys stay the strip's
  connect(b, &QToolButton::clicked, this, [run = std::move(run)] { run(); });
  return b;
}

void MiniStrip::buildSpeeds(QLayout& row) {
  const QString names[3] = {QStringLiteral("慢"), QStringLiteral("中"), QStringLiteral("快")};
  const QString tips[3] = {QStringLiteral("慢速"), QStringLiteral("正常语速"),
                           QStringLiteral("快速")};
  for (int i = 0; i < 3; ++i) {
    speeds_[i] = button(names[i], tips[i], [this, i] { player_.setSpeed(kRates[i]); });
    speeds_[i]->setCheckable(true);
    speedGroup_.addButton(speeds_[i], i);
    row.addWidget(speeds_[i]);
  }
}

void MiniStrip::refresh() {
  showSentence();
  const study::LessonView& v = player_.view();
  if (v.repeat() >= 0 && v.repeat() <= kMostPlays) repeat_->setCurrentIndex(v.repeat());
  for (int i = 0; i < 3; ++i) speeds_[i]->setChecked(kRates[i] == v.speed());
  previous_->setEnabled(v.currentNumber() > 1);
  next_->setEnabled(v.currentNumber() > 0 && v.currentNumber() < v.count());
  adjustSize();  // the whole sentence, the strip as wide as it needs
}

void MiniStrip::showSentence() {
  const study::LessonView& v = player_.view();
  const study::Sentence* s = v.current();
  number_->setText(s ? QStringLiteral("%1/%2").arg(v.currentNumber()).arg(v.count()) : QString());
  english_->setText(s ? QString::fromStdString(s->english) : QString());
  chinese_->setText(s ? QString::fromStdString(s->chinese) : QString());
  // The dictation page asks for the English: the strip does not give it away.
  english_->setVisible(s && v.englishShown() && v.page() != kDictation);
  chinese_->setVisible(s && v.chineseShown());
}

// The sentence page's keys, through the same player.
void MiniStrip::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_PageUp:
      player_.previous();
      break;
    case Qt::Key_PageDown:
      player_.next();
      break;
    case Qt::Key_F1:
      player_.first();
      break;
    case Qt::Key_F7:
      player_.play();
      break;
    case Qt::Key_Escape:
      player_.stop();
      break;
    default:
      QWidget::keyPressEvent(e);
      return;
  }
  e->accept();
}

// A press on the strip's background drags it; where a window cannot place
// itself (Wayland), the compositor moves it.
void MiniStrip::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  if (QGuiApplication::platformName() == QLatin1String("wayland") && windowHandle() &&
      windowHandle()->startSystemMove())
    return;
  grip_ = e->globalPosition().toPoint() - pos();
}

void MiniStrip::mouseMoveEvent(QMouseEvent* e) {
  if (grip_ && (e->buttons() & Qt::LeftButton)) move(e->globalPosition().toPoint() - *grip_);
}

void MiniStrip::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !grip_) return;
  grip_.reset();
  if (placed) placed();
}

// A frameless window on any desktop: a line of the skin's navy marks its edge.
void MiniStrip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setPen(palette().color(QPalette::Highlight));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void MiniStrip::closeEvent(QCloseEvent* e) {
  e->ignore();  // closed from the desktop: the full window comes back
  if (backToFullWindow) backToFullWindow();
}

}  // namespace mini
