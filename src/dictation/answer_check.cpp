// Answer checking and scoring: the keys of the answer box, the letter check,
// the score of a sentence against the pass mark, and the dictation buttons.
#include "dictation/answer_check.h"

#include "app/numeric.h"
#include "messages/messages.h"
#include "window/form1.h"

namespace {

long long numberIn(const ui::Label& label) { return app::toInteger(app::val(label.caption())); }

void addTo(ui::Label& label, long long delta) {
  label.setCaption(app::str(numberIn(label) + delta));
}

void showScore(dictation::Verdict verdict, const ui::Label& score) {
  ui::msgBox(dictation::scoreMessage(verdict, numberIn(score)), ui::kInformation,
             std::string(messages::kScoreTitle));
}

}  // namespace

void Form1::Text2_KeyPress(int& keyAscii) {
  if (studymode == 8) {
    // A hint lasts until the next key.
    showEnglishOrMask(false);
    if (!Picture12.visible()) Picture12.setVisible(true);
  }
  if (keyAscii == ui::kKeyReturn) {
    keyAscii = 0;
    checkAnswer();
    return;
  }
  sounds.play(path("\\SETTING\\Sound\\type.wav"));
}

void Form1::checkAnswer() {
  const dictation::LetterCheck check = dictation::checkLetters(Label1.caption(), Text2.text());
  Text2.setSelStart(check.selStart);
  Text2.setSelLength(check.selLength);
  if (!check.right) {
    sounds.play(path("\\SETTING\\Sound\\wrong.wav"));
    if (studymode == 8) {
      addTo(Label28, 1);
      addTo(Label30, -dictation::kErrorCost);
    }
    tellAnswerChecked(false);
    return;
  }
  tellAnswerChecked(true);
  const bool last = !Command1.enabled();
  if (studymode == 1) {
    if (last)
      ui::msgBox(std::string(messages::kAllDone), ui::kOkOnly, std::string(messages::kNoticeTitle));
    else
      Command1_Click();
    return;
  }
  if (studymode != 8) return;
  // Once every sentence of this run has passed, the lesson is done.
  if (last && numberIn(Label33) >= numberIn(Label34)) return;
  if (!passOrRedoSentence()) return;
  if (!last) {
    showScore(dictation::Verdict::Pass, Label30);
    Command1_Click();
    countPassedSentence();
    return;
  }
  countPassedSentence();
  showScore(dictation::Verdict::LessonPass, Label30);
  studyEvents_.raise(study::LessonPassed{loadedBook_, loadedlesson + 1, List1.text()});
  markLessonPassed(List1.text());
}

bool Form1::passOrRedoSentence() {
  checkPassMark();  // a number still being typed into Combo5 counts now
  if (numberIn(Label30) < 0) Label30.setCaption("0");
  const bool passed = app::val(Label30.caption()) >= app::val(Combo5.text());
  tellSentenceJudged(passed);
  if (passed) return true;
  showScore(dictation::Verdict::Fail, Label30);
  Command25_Click();
  return false;
}

void Form1::countPassedSentence() {
  addTo(Label33, 1);
  showDictationProgress();
}

void Form1::Command22_Click() {
  Command4_Click();
  addTo(Label29, 1);
  addTo(Label30, -dictation::kReplayCost);
  Text2.setFocus();
}

void Form1::Command23_Click() {
  showEnglishOrMask(true);
  addTo(Label27, 1);
  addTo(Label30, -dictation::kHintCost);
  Text2.setFocus();
}

void Form1::resetDictationCounters() {
  for (ui::Label* count : {&Label27, &Label28, &Label29}) count->setCaption("0");
  Label30.setCaption("100");
}

void Form1::Command25_Click() {
  studyEvents_.raise(study::SentenceRedone{currentKey()});
  showEnglishOrMask(false);
  resetDictationCounters();
  Command4_Click();
  Text2.setText("");
  Text2.setFocus();
}

void Form1::Command5_Click() {
  if (Check1.value() == 1)
    ui::msgBox(std::string(messages::kHintNeedsEnglishHidden), ui::kOkOnly, kAppTitle);
  showEnglishOrMask(true);
  Text2.setFocus();
}

void Form1::Combo5_Click() { Text2.setFocus(); }

void Form1::Command29_Click() { Combo5.dropDown(); }
