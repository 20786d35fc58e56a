// Screenshots of the six pages on the shipped course, as the learner reaches
// them (a click on each page tab), into the folder given: page1.png ...
// Then the read-along page after a take: the traces of the lesson's first
// sentence beside espeak-ng reading it in another voice, with the mark of the
// loop comparison half-way (page5_traces.png), and a silent take
// (page5_silent.png). Then the review page with two sentences due
// (page9_due.png) and one being reviewed (page9_reviewing.png). Last, the
// strip of the mini mode (mini.png).
// Run through tools/screens.sh, under a real X server.
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "messages/messages.h"
#include "mini/mini_strip.h"
#include "review/review_page.h"
#include "speech_fixtures.h"
#include "support/form_harness.h"
#include "support/learner.h"

namespace {

// The lesson audio as the ffmpeg command decodes it (mono, 22.05 kHz).
platform::SoundSamples decoded(const std::string& file) {
  platform::SoundSamples out{{}, 22050};
  const std::string command =
      "ffmpeg -v quiet -i '" + file + "' -f s16le -ac 1 -ar 22050 - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  int16_t block[4096];
  for (size_t n; (n = fread(block, 2, 4096, pipe)) > 0;)
    out.samples.insert(out.samples.end(), block, block + n);
  pclose(pipe);
  return out;
}

void waitForAnalysis(const Form1& f) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (f.analysing() && std::chrono::steady_clock::now() < until) ui::processEvents(5);
}

void recordTake(Form1& f, FakeWave& wave, const analysis::Sound& take) {
  learner::click(f.Command8);
  wave.recorded = {take.samples, take.rate};
  learner::click(f.Command10);
  waitForAnalysis(f);
  QApplication::processEvents();
}

// The window as the learner sees it, written to `file`; the program stops when
// a shown text is drawn in a face other than the program's (the screenshot
// would then show what only this machine's fonts make of it).
void shoot(const Form1& f, const std::string& file) {
  const std::vector<std::string> faults = learner::textsInOtherFaces(f);
  for (const std::string& fault : faults)
    std::fprintf(stderr, "%s: %s\n", file.c_str(), fault.c_str());
  if (!faults.empty()) std::exit(1);
  learner::screenshot(f, file);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  ui::useSkinFonts();
  if (argc < 2) {
    std::fprintf(stderr, "usage: page_screens FOLDER [LESSON_ROW]\n");
    return 2;
  }
  const std::string out = argv[1];
  const std::string row = argc > 2 ? argv[2] : "0";
  FormHarness h;
  h.folder.copyShippedFiles();
  h.folder.write("\\SETTING\\set.dat", row + "\\1\\1\\1\\0\\1\\0\\1\\1\\Book01\\60\\");
  Form1& f = h.start();
  for (int page : {1, 2, 3, 4, 5, 8, 9}) {
    learner::click(f.Label14(page));
    QApplication::processEvents();
    shoot(f, out + "/page" + std::to_string(page) + ".png");
  }

  learner::click(f.Label14(5));
  h.player->lesson = decoded(h.player->url);
  recordTake(
      f, *h.wave,
      analysis_test::delayed(analysis_test::speak(f.Label1.caption(), {"en+f3", 65, 150}), 0.3));
  learner::click(f.Command9);
  const ui::Traces& t = f.TraceView1.traces();
  h.player->position = std::stod(f.playstart) + t.start + 0.45 * (t.modelPitch.size() - 1) * t.step;
  f.Timer4.fire();
  QApplication::processEvents();
  shoot(f, out + "/page5_traces.png");
  learner::click(f.Command10);

  recordTake(f, *h.wave, analysis_test::silence(2.0, 44100));
  shoot(f, out + "/page5_silent.png");

  // The dictation page while the learner types a long answer, after leaving
  // a pass mark below 60 in its box: the key hint and the notice.
  learner::click(f.Label14(8));
  learner::replaceText(f.Combo5, "5");
  learner::click(f.Text2);
  learner::type(f, kLongEnglish);
  QApplication::processEvents();
  shoot(f, out + "/page8_typing.png");

  // The review page with two marked sentences due, then the first of them
  // being reviewed after a wrong answer and a hint.
  learner::click(f.Label14(1));
  learner::click(f.ReviewMark);
  learner::key(f, Qt::Key_PageDown);
  learner::click(f.ReviewMark);
  learner::click(f.Label14(9));
  QApplication::processEvents();
  shoot(f, out + "/page9_due.png");
  for (QPushButton* b : f.reviewPage().findChildren<QPushButton*>())
    if (b->isVisible() && b->text() == QString::fromUtf8(messages::kReviewStart.data()))
      learner::click(f, b->mapTo(f.widget(), b->rect().center()));
  learner::type(f, "Hello wrold");
  learner::key(f, Qt::Key_Return);
  learner::key(f, Qt::Key_F8);
  QApplication::processEvents();
  shoot(f, out + "/page9_reviewing.png");
  // The mini mode's strip on the first sentence, over the sentence page.
  learner::click(f.Label14(1));
  learner::key(f, Qt::Key_F1);
  learner::click(f.Label38);
  mini::MiniStrip& strip = f.miniMode().strip();
  if (!QTest::qWaitFor([&] { return strip.number().text().startsWith("1/"); }, 2000)) return 1;
  QApplication::processEvents();
  for (const std::string& fault : learner::textsInOtherFaces(strip))
    std::fprintf(stderr, "mini.png: %s\n", fault.c_str());
  if (!learner::textsInOtherFaces(strip).empty()) return 1;
  strip.grab().save(QString::fromStdString(out + "/mini.png"), "PNG");
  learner::click(strip.fullWindowButton());
  return 0;
}
