#include "window/form_player.h"

#include "app/numeric.h"
#include "window/form1.h"

void FormPlayer::play() { form_.Command4_Click(); }

// As the page keys do: only where the button can be clicked.
bool FormPlayer::next() {
  if (!form_.Command1.enabled()) return false;
  form_.Command1_Click();
  return true;
}

bool FormPlayer::previous() {
  if (!form_.Command2.enabled()) return false;
  form_.Command2_Click();
  return true;
}

void FormPlayer::first() { form_.Command3_Click(); }

void FormPlayer::stop() { form_.stopSentence(); }

// A pick from the list: the count is remembered and the plays start again.
bool FormPlayer::setRepeat(int plays) {
  for (int row = 0; row < form_.Combo2.listCount(); ++row)
    if (form_.Combo2.list(row) == app::str(plays)) {
      form_.Combo2.choose(row);
      return true;
    }
  return false;
}

bool FormPlayer::setSpeed(double rate) {
  const double rates[] = {0.5, 1.0, 2.0};
  for (int i = 0; i < 3; ++i)
    if (rates[i] == rate) {
      form_.Label20_Click(i);
      return true;
    }
  return false;
}

// The interval's timer also runs after the last play, to decide there is none.
bool FormPlayer::playing() const {
  return form_.Timer1.enabled() ||
         (form_.Timer2.enabled() && form_.playcount < app::val(form_.Combo2.text()));
}

const study::LessonView& FormPlayer::view() const { return form_.lessonView(); }

study::StudyEvents& FormPlayer::events() { return form_.studyEvents(); }
