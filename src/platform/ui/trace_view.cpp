// The two voices drawn on one time axis (trace_view.h).
#include "platform/ui/trace_view.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/ui/ui_qt.h"

namespace ui {
namespace {

constexpr int kPad = 4;               // pixels around the drawing
constexpr int kWordRows = 2;          // a crowded sentence takes a second row
constexpr int kWordGap = 6;           // pixels between words on a row
constexpr float kMinRange = 5;        // semitones above and below the median shown at least
constexpr float kMaxRange = 14;       // and at most (the rest is clipped)
constexpr double kPitchShare = 0.66;  // of the drawing's height; loudness below

QLabel* makeText(QWidget* parent, const QFont& font, QColor ink) {
  auto* l = new QLabel(parent);
  l->setTextFormat(Qt::PlainText);
  l->setAttribute(Qt::WA_TransparentForMouseEvents);
  l->setFont(font);
  QPalette p = l->palette();
  p.setColor(QPalette::WindowText, ink);
  l->setPalette(p);
  l->show();
  return l;
}

}  // namespace

// The widget paints the traces; the legend and the words are labels on it.
class TraceWidget : public QWidget {
 public:
  explicit TraceWidget(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  Traces traces;
  bool shown = false;
  double mark = std::numeric_limits<double>::quiet_NaN();
  bool markOnTake = false;
  TraceView::Colors colors{rgb(16, 48, 112), rgb(222, 110, 20), rgb(200, 208, 220), kBlack};
  QFont font;
  QLabel* modelName = nullptr;
  QLabel* takeName = nullptr;
  QLabel* bandNames = nullptr;
  std::vector<QLabel*> words;  // null where a word found no room

  int points() const { return int(traces.modelPitch.size()); }
  double seconds() const { return std::max(traces.step, (points() - 1) * traces.step); }
  double xOf(double t) const {
    const double w = width() - 2 * kPad;
    return kPad + (t - traces.start) / seconds() * w;
  }
  int legendHeight() const { return QFontMetrics(font).height() + 2; }
  int wordRowHeight() const { return QFontMetrics(font).height(); }
  QRect plot() const {
    const int top = legendHeight() + 4;
    const int bottom = height() - kWordRows * wordRowHeight() - 4;
    return QRect(kPad, top, width() - 2 * kPad, std::max(1, bottom - top));
  }
  QRect pitchBand() const {
    QRect r = plot();
    r.setHeight(int(r.height() * kPitchShare));
    return r;
  }
  QRect loudBand() const {
    QRect r = plot();
    r.setTop(pitchBand().bottom() + 6);
    return r;
  }
  float range() const {
    float top = kMinRange;
    for (const auto* v : {&traces.modelPitch, &traces.takePitch})
      for (float p : *v)
        if (!std::isnan(p)) top = std::max(top, std::abs(p));
    return std::min(top, kMaxRange) + 1;
  }
  double pitchY(float st, float r) const {
    const QRect b = pitchBand();
    const double v = std::clamp(st, -r, r);
    return b.center().y() - v / r * (b.height() / 2.0);
  }

  void layOutLegend();
  void layOutWords();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override {
    layOutLegend();
    layOutWords();
  }

 private:
  void drawGrid(QPainter& p) const;
  void drawDepart(QPainter& p) const;
  void drawLoudness(QPainter& p) const;
  void drawPitch(QPainter& p, const std::vector<float>& pitch, QColor c, double width) const;
  void drawMark(QPainter& p) const;
};

void TraceWidget::layOutLegend() {
  if (!modelName) return;
  const int h = legendHeight();
  int x = kPad;
  for (QLabel* name : {modelName, takeName}) {
    name->setFont(font);
    name->adjustSize();
    name->move(x + 22, (h - name->height()) / 2);
    x += 22 + name->width() + 18;
    name->setVisible(shown);
  }
  bandNames->setFont(font);
  bandNames->adjustSize();
  bandNames->move(width() - kPad - bandNames->width(), (h - bandNames->height()) / 2);
  bandNames->setVisible(shown && bandNames->x() > x);
}

// Each word stands under the middle of its time, on the first row where it
// keeps clear of the word before; a word with no room on any row is left out.
void TraceWidget::layOutWords() {
  const int rowH = wordRowHeight();
  const int firstRow = height() - kWordRows * rowH - 1;
  std::vector<int> rowEnd(kWordRows, std::numeric_limits<int>::min());
  for (size_t i = 0; i < words.size(); ++i) {
    QLabel* l = words[i];
    l->adjustSize();
    const auto& w = traces.words[i];
    const int width = l->width();
    int left = int(std::lround(xOf((w.start + w.end) / 2) - width / 2.0));
    left = std::clamp(left, 0, std::max(0, this->width() - width));
    int row = 0;
    while (row < kWordRows && rowEnd[row] + kWordGap > left) ++row;
    if (row == kWordRows) {
      // Shifted right after the row that ends first, if it still fits.
      row = int(std::min_element(rowEnd.begin(), rowEnd.end()) - rowEnd.begin());
      left = rowEnd[row] + kWordGap;
    }
    const bool fits = left + width <= this->width();
    l->setVisible(fits && shown);
    if (!fits) continue;
    l->move(left, firstRow + row * rowH);
    rowEnd[row] = left + width;
  }
}

void TraceWidget::paintEvent(QPaintEvent*) {
  if (!shown || points() < 2) return;
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  // The legend's swatches, before each name.
  for (auto [name, c] : {std::pair{modelName, colors.model}, std::pair{takeName, colors.take}}) {
    const int y = name->geometry().center().y();
    p.setPen(QPen(qc(c), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(name->x() - 20, y, name->x() - 5, y);
  }
  drawDepart(p);
  drawGrid(p);
  drawLoudness(p);
  drawPitch(p, traces.modelPitch, qc(colors.model), 3.0);
  drawPitch(p, traces.takePitch, qc(colors.take), 2.2);
  drawMark(p);
}

void TraceWidget::drawGrid(QPainter& p) const {
  const QRect pb = pitchBand(), lb = loudBand();
  p.setPen(QPen(qc(colors.grid), 1, Qt::DashLine));
  p.drawLine(QPointF(pb.left(), pb.center().y() + 0.5), QPointF(pb.right(), pb.center().y() + 0.5));
  p.setPen(QPen(qc(colors.grid), 1));
  p.drawLine(QPointF(lb.left(), lb.bottom() + 0.5), QPointF(lb.right(), lb.bottom() + 0.5));
}

// The stretch of the word where the take departs most, lightly shaded.
void TraceWidget::drawDepart(QPainter& p) const {
  const int k = traces.departWord;
  if (k < 0 || k >= int(traces.words.size())) return;
  QColor shade = qc(colors.take);
  shade.setAlpha(26);
  const QRect b = plot();
  const double x0 = xOf(traces.words[size_t(k)].start), x1 = xOf(traces.words[size_t(k)].end);
  p.fillRect(QRectF(x0, b.top(), x1 - x0, b.height()), shade);
}

// The model's envelope filled, the take's as a line over it.
void TraceWidget::drawLoudness(QPainter& p) const {
  const QRect b = loudBand();
  auto y = [&](float v) { return b.bottom() - std::clamp(v, 0.f, 1.f) * (b.height() - 1); };
  QPainterPath model;
  model.moveTo(xOf(traces.start), b.bottom());
  for (int i = 0; i < int(traces.modelLoudness.size()); ++i)
    model.lineTo(xOf(traces.start + i * traces.step), y(traces.modelLoudness[size_t(i)]));
  model.lineTo(xOf(traces.start + (traces.modelLoudness.size() - 1) * traces.step), b.bottom());
  QColor fill = qc(colors.model);
  fill.setAlpha(60);
  p.fillPath(model, fill);
  QPainterPath take;
  for (int i = 0; i < int(traces.takeLoudness.size()); ++i) {
    const QPointF at(xOf(traces.start + i * traces.step), y(traces.takeLoudness[size_t(i)]));
    i == 0 ? take.moveTo(at) : take.lineTo(at);
  }
  p.setPen(QPen(qc(colors.take), 1.5));
  p.drawPath(take);
}

// One line per voiced run: unvoiced points leave a gap.
void TraceWidget::drawPitch(QPainter& p, const std::vector<float>& pitch, QColor c,
                            double width) const {
  const float r = range();
  QPainterPath path;
  bool inRun = false;
  for (size_t i = 0; i < pitch.size(); ++i) {
    if (std::isnan(pitch[i])) {
      inRun = false;
      continue;
    }
    const QPointF at(xOf(traces.start + double(i) * traces.step), pitchY(pitch[i], r));
    inRun ? path.lineTo(at) : path.moveTo(at);
    inRun = true;
  }
  p.setPen(QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
}

// A line across both bands, and a dot on each voice's pitch where it sounds.
void TraceWidget::drawMark(QPainter& p) const {
  if (std::isnan(mark)) return;
  const QRect b = plot();
  const double x = xOf(mark);
  const QColor c = qc(markOnTake ? colors.take : colors.model);
  p.setPen(QPen(c, 2));
  p.drawLine(QPointF(x, b.top()), QPointF(x, b.bottom()));
  const long i = std::lround((mark - traces.start) / traces.step);
  const float r = range();
  for (auto [pitch, dot] :
       {std::pair{&traces.modelPitch, colors.model}, std::pair{&traces.takePitch, colors.take}}) {
    if (i < 0 || i >= long(pitch->size()) || std::isnan((*pitch)[size_t(i)])) continue;
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(qc(dot));
    p.drawEllipse(QPointF(x, pitchY((*pitch)[size_t(i)], r)), 4.5, 4.5);
  }
}

// ---- TraceView ---------------------------------------------------------------

struct TraceView::Impl {
  TraceWidget* w;
  void rebuildWords() {
    for (QLabel* l : w->words) delete l;
    w->words.clear();
    for (size_t i = 0; i < w->traces.words.size(); ++i) {
      const bool depart = int(i) == w->traces.departWord;
      QFont f = w->font;
      f.setBold(depart);
      w->words.push_back(makeText(w, f, qc(depart ? w->colors.take : w->colors.ink)));
      w->words.back()->setText(qs(w->traces.words[i].text));
    }
    w->layOutWords();
  }
};

TraceView::TraceView(Container& parent)
    : Element(&parent, new TraceWidget(parent.widget())), impl_(std::make_unique<Impl>()) {
  impl_->w = static_cast<TraceWidget*>(widget_);
  impl_->w->font = qfont(Font{});
  impl_->w->modelName = makeText(widget_, impl_->w->font, qc(kBlack));
  impl_->w->takeName = makeText(widget_, impl_->w->font, qc(kBlack));
  impl_->w->bandNames = makeText(widget_, impl_->w->font, qc(kBlack));
  impl_->w->layOutLegend();
}

TraceView::~TraceView() = default;

void TraceView::applyGeometry() {
  Element::applyGeometry();
  if (widget_) impl_->w->update();
}

void TraceView::setColors(const Colors& colors) {
  impl_->w->colors = colors;
  for (QLabel* l : {impl_->w->modelName, impl_->w->takeName, impl_->w->bandNames}) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText,
               l == impl_->w->bandNames ? qc(colors.grid).darker(170) : qc(colors.ink));
    l->setPalette(p);
  }
  impl_->rebuildWords();
  impl_->w->update();
}

void TraceView::setLegend(const std::string& model, const std::string& take,
                          const std::string& bands) {
  impl_->w->modelName->setText(qs(model));
  impl_->w->takeName->setText(qs(take));
  impl_->w->bandNames->setText(qs(bands));
  impl_->w->layOutLegend();
}

void TraceView::setFont(const Font& font) {
  impl_->w->font = qfont(font);
  impl_->w->layOutLegend();
  impl_->rebuildWords();
}

void TraceView::setTraces(Traces traces) {
  impl_->w->traces = std::move(traces);
  impl_->w->shown = impl_->w->points() >= 2;
  impl_->w->mark = std::numeric_limits<double>::quiet_NaN();
  impl_->w->layOutLegend();
  impl_->rebuildWords();
  impl_->w->update();
}

void TraceView::clear() { setTraces({}); }

bool TraceView::hasTraces() const { return impl_->w->shown; }
const Traces& TraceView::traces() const { return impl_->w->traces; }

void TraceView::setMark(double seconds, bool takeHeard) {
  TraceWidget& w = *impl_->w;
  const bool inside = w.shown && seconds >= w.traces.start &&
                      seconds <= w.traces.start + w.seconds() + w.traces.step / 2;
  const double mark = inside ? seconds : std::numeric_limits<double>::quiet_NaN();
  if (std::isnan(mark) && std::isnan(w.mark)) return;
  if (mark == w.mark && takeHeard == w.markOnTake) return;
  w.mark = mark;
  w.markOnTake = takeHeard;
  w.update();
}

void TraceView::clearMark() { setMark(std::numeric_limits<double>::quiet_NaN(), false); }
double TraceView::mark() const { return impl_->w->mark; }

TraceView::Place TraceView::wordPlace(int i) const {
  QLabel* l = impl_->w->words.at(size_t(i));
  if (!l->isVisibleTo(impl_->w)) return {};
  const QRect r = l->geometry();
  return {r.x() * kTwipsPerPixel, r.y() * kTwipsPerPixel, r.width() * kTwipsPerPixel,
          r.height() * kTwipsPerPixel};
}

int TraceView::xOf(double seconds) const {
  return int(std::lround(impl_->w->xOf(seconds) * kTwipsPerPixel));
}

}  // namespace ui
