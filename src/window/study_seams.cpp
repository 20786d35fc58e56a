// The seams new capabilities meet the window at: the study events the
// handlers tell, the lesson view they keep and the player interface
// (window/form_player.cpp). The handlers call the tell... helpers where the
// thing happens; the events wait for the event loop.
#include "app/numeric.h"
#include "window/form1.h"

void Form1::wireStudySeams() {
  studyEvents_.setWake([this] { studyDelivery_.post([this] { studyEvents_.deliverPending(); }); });
  // The repeat count is what the box holds, picked, typed or set by a page
  // (from its design-time text on).
  const auto followRepeat = [this] { lessonState_.setRepeat(app::toInt(app::val(Combo2.text()))); };
  followRepeat();
  Combo2.Change = followRepeat;
}

// The English and Chinese toggles of the sentence page, as their check boxes hold them.
void Form1::followToggles() { lessonState_.setShown(Check1.value() == 1, Check2.value() == 1); }

study::SentenceKey Form1::currentKey() const {
  const study::Sentence* s = lessonState_.current();
  return s ? s->key : study::SentenceKey{};
}

void Form1::tellLessonOpened(const std::string& title) {
  lessonState_.load(loadedBook_, loadedlesson + 1, title, RichTextBox1.text());
  studyEvents_.raise(
      study::LessonOpened{loadedBook_, loadedlesson + 1, title, lessonState_.count()});
}

// The number comes from the cursor, not from Label3: "First" sets its
// caption only after the sentence is made current.
void Form1::tellSentenceMadeCurrent() {
  lessonState_.setCurrent(sentfrom);
  followToggles();
  if (!lessonState_.current()) return;
  studyEvents_.raise(study::SentenceMadeCurrent{currentKey(), lessonState_.currentNumber(),
                                                lessonState_.count(), studymode});
}

// The stretch is the current sentence's, a full-text row's or the reading's.
void Form1::tellStretchPlayed() {
  const study::Sentence* s = lessonState_.stretch(playstart, playend);
  studyEvents_.raise(study::StretchPlayed{s ? s->key : study::SentenceKey{}, app::val(playstart),
                                          app::val(playend), WindowsMediaPlayer1.rate(),
                                          lessonState_.repeat(), playcount + 1, studymode});
}

void Form1::tellStretchEnded() {
  const study::Sentence* s = lessonState_.stretch(playstart, playend);
  studyEvents_.raise(study::StretchEnded{s ? s->key : study::SentenceKey{}, playcount});
}

void Form1::tellSentenceJudged(bool passed) {
  const int score = app::toInt(app::val(Label30.caption())),
            mark = app::toInt(app::val(Combo5.text()));
  if (passed)
    studyEvents_.raise(study::SentencePassed{currentKey(), score, mark});
  else
    studyEvents_.raise(study::SentenceFailed{currentKey(), score, mark});
}

void Form1::tellAnswerChecked(bool right) {
  const auto count = [](const ui::Label& l) { return app::toInt(app::val(l.caption())); };
  studyEvents_.raise(study::AnswerChecked{currentKey(), studymode, right, count(Label28),
                                          count(Label27), count(Label29), count(Label30)});
}

void Form1::tellTakeCompared(const analysis::Comparison& c) {
  const bool ready = c.outcome == analysis::Outcome::Ready;
  studyEvents_.raise(study::TakeCompared{currentKey(), ready, c.intonationMatch, c.rhythmMatch,
                                         c.lengthRatio, c.departingWord()});
}
