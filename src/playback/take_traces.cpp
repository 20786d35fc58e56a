// The take beside the model on the read-along display: after each take the
// analysis runs on a worker, then the traces, the figures and the word that
// departs most are shown under the sentence; a mark follows the loop.
#include "app/numeric.h"
#include "messages/messages.h"
#include "window/form1.h"

namespace {

ui::Traces tracesOf(const analysis::Comparison& c) {
  ui::Traces t;
  t.start = c.modelStart;
  t.step = c.step;
  t.modelPitch = c.model.pitch;
  t.takePitch = c.take.pitch;
  t.modelLoudness = c.model.loudness;
  t.takeLoudness = c.take.loudness;
  for (const analysis::WordMark& w : c.words) t.words.push_back({w.text, w.start, w.end});
  t.departWord = c.departWord;
  return t;
}

constexpr int kFiguresLine = 300;  // twips: one line of the figures' font

analysis::Sound soundOf(platform::SoundSamples s) { return {std::move(s.samples), s.rate}; }

}  // namespace

void Form1::analyseTake() {
  const int serial = ++takeSerial_;
  platform::SoundReader model =
      WindowsMediaPlayer1.stretchReader(app::val(playstart), app::val(playend));
  auto job = [this, serial, model, take = MMControl1.take(), sentence = Label10.caption()] {
    auto c = std::make_shared<analysis::Comparison>(
        analysis::compare(soundOf(model()), soundOf(take), sentence));
    return [this, serial, c] {
      // A newer take, or another sentence, has come since.
      if (serial == takeSerial_) showComparison(*c);
    };
  };
  analysisWorker_.run(std::move(job));
}

void Form1::showComparison(const analysis::Comparison& c) {
  Label54.setCaption(messages::takeFigures(c));
  Label55.setCaption(messages::takeDeparture(c));
  takeTimes_ = c.timeMap;
  tellTakeCompared(c);
  if (c.outcome == analysis::Outcome::Ready)
    TraceView1.setTraces(tracesOf(c));
  else
    TraceView1.clear();
  placeTraces();
}

void Form1::clearTraces() {
  ++takeSerial_;
  Timer4.setEnabled(false);
  TraceView1.clear();
  Label54.setCaption("");
  Label55.setCaption("");
  takeTimes_ = {};
}

// Between the sentence (Label11 below Label10) and the foot of the white
// display, where the figures stand on one line.
void Form1::placeTraces() {
  const ui::Label& display = Label7(11);
  const int foot = display.top() + display.height() - 150 - kFiguresLine;
  // Under the translation's lines: its label is taller than they need.
  const int top = Label11.top() + Label11.textHeight() + 180;
  TraceView1.move(display.left() + 240, top, display.width() - 480, std::max(0, foot - 60 - top));
  if (TraceView1.hasTraces()) {
    Label54.move(display.left() + 360, foot);
  } else {
    // What went wrong stands where the traces would.
    Label54.move(display.left() + (display.width() - Label54.width()) / 2,
                 top + (foot - top - kFiguresLine) / 2);
  }
  Label55.move(Label54.left() + Label54.width() + 600, foot);
}

// What is heard: the take while it plays (mapped onto the sentence's time),
// otherwise the sentence at the player's position.
void Form1::Timer4_Timer() {
  const double take = MMControl1.playPosition();
  if (take >= 0)
    TraceView1.setMark(takeTimes_.modelTime(take), true);
  else
    TraceView1.setMark(WindowsMediaPlayer1.currentPosition() - app::val(playstart), false);
}
