// The sentence player: plays the current stretch of the lesson audio as often
// as the repeat count asks, with the chosen pause between plays.
#include "app/numeric.h"
#include "playback/unplayable.h"
#include "window/form1.h"

bool Form1::playStretch() {
  if (!app::startsWithNumber(playstart) || !app::startsWithNumber(playend)) return false;
  if (soundEnd_ >= 0 && app::val(playstart) >= soundEnd_) return false;  // nothing to hear
  Timer1.setEnabled(true);
  WindowsMediaPlayer1.setCurrentPosition(app::val(playstart));
  // The player itself stops at the end, so nothing of the next sentence is
  // heard; the end watcher still sees the end and counts the play.
  WindowsMediaPlayer1.setEndGuard(app::val(playend));
  WindowsMediaPlayer1.play();
  tellStretchPlayed();
  return true;
}

void Form1::takeStretch(const content::Record& r) {
  playstart = r.playable() ? r.start : "";
  playend = r.playable() ? r.end : "";
}

void Form1::tellUnplayable() {
  std::vector<std::pair<int, playback::Unplayable>> untold;
  for (const auto& s : playback::unplayableSentences(RichTextBox1.text(), soundEnd_))
    if (s.first < int(toldUnplayable_.size()) && !toldUnplayable_[size_t(s.first)]) {
      toldUnplayable_[size_t(s.first)] = true;
      untold.push_back(s);
    }
  if (!untold.empty())
    ui::msgBox(playback::unplayableNotice(untold, soundEnd_), ui::kExclamation, kAppTitle);
}

void Form1::Command4_Click() {
  const bool played = sentenceCount() == 0 || playStretch();
  Text2.setFocus();
  if (!played) tellUnplayable();
}

void Form1::Timer1_Timer() {
  const double at = WindowsMediaPlayer1.currentPosition();
  // The sound can end before the sentence does (a recording cut short):
  // nothing more comes, and the play is over all the same.
  const bool soundEnded = at < app::val(playend) && WindowsMediaPlayer1.holding();
  if (at < app::val(playend) && !soundEnded) return;
  Timer1.setEnabled(false);
  WindowsMediaPlayer1.pause();
  ++playcount;
  tellStretchEnded();
  Timer2.setEnabled(true);
  if (studymode == 5 && !Command9.enabled() && Command12.enabled()) {
    MMControl1.setFrom(0);
    MMControl1.setCommand("play");
  }
  if (soundEnded && !audioMissing_ && playback::endsBefore(at, app::val(playend))) {
    soundEnd_ = at;
    tellUnplayable();
  }
}

void Form1::Timer2_Timer() {
  Timer2.setEnabled(false);
  bool done = playcount >= app::val(Combo2.text());
  // A repeat with nothing to hear (past the sound's end) ends the plays.
  if (!done && !playStretch()) done = true;
  if (studymode == 2 && done && Command6.caption() == "停止朗读") autoread();
}

void Form1::stopSentence() {
  Timer1.setEnabled(false);
  // A stopped sentence never starts again by itself.
  Timer2.setEnabled(false);
  WindowsMediaPlayer1.pause();
}

void Form1::focusAfterChoice() {
  if (studymode == 1)
    Text2.setFocus();
  else
    Combo4.setFocus();
}

void Form1::setSpeed(double rate) {
  WindowsMediaPlayer1.setRate(rate);
  lessonState_.setSpeed(rate);
  focusAfterChoice();
}

void Form1::Option1_Click() { setSpeed(0.5); }
void Form1::Option2_Click() { setSpeed(1.0); }
void Form1::Option3_Click() { setSpeed(2.0); }

void Form1::Combo2_Click() {
  playcount = 0;
  if (studymode == 1) repeatstudy = Combo2.text();
  if (studymode == 2) repeatbrowse = Combo2.text();
  focusAfterChoice();
}

void Form1::Combo3_Click() {
  if (studymode == 1) pausestudy = Combo3.text();
  if (studymode == 2) pausebrowse = Combo3.text();
  Timer2.setInterval(app::toInt(app::val(Combo3.text()) * 1000 + 10));
  focusAfterChoice();
}

void Form1::Command30_Click() { Combo2.dropDown(); }
void Form1::Command31_Click() { Combo3.dropDown(); }
