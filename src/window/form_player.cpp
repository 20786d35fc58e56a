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

// The lesson's first sentence, then "Next" until the sentence is current.
bool FormPlayer::show(const study::SentenceKey& key) {
  const study::LessonView& v = form_.lessonView();
  if ((v.lesson().book != key.book || v.lesson().number != key.lesson) &&
      !openLesson(key.book, key.lesson))
    return false;
  int number = 0;
  for (int i = 1; i <= v.count() && number == 0; ++i)
    if (v.sentence(i)->key == key) number = i;
  if (number == 0) return false;
  form_.Command3_Click();
  while (v.currentNumber() < number && next()) {
  }
  return v.currentNumber() == number;
}

// As a pick from the book holder (its lesson list filled at once) and then a
// click on the lesson's row; a book or lesson that cannot be opened leaves
// the loaded lesson and its book as they were.
bool FormPlayer::openLesson(const std::string& book, int lesson) {
  if (form_.Combo1.text() != book) {
    if (!form_.readBookTexts(book)) {
      form_.returnToLoadedBook();
      return false;
    }
    form_.Combo1.setText(book);
    form_.fillLessons(lesson - 1);
  }
  if (lesson < 1 || lesson > form_.List1.listCount()) {
    form_.returnToLoadedBook();
    return false;
  }
  form_.List1.setListIndex(lesson - 1);
  const bool opened = form_.openSelectedLesson();
  if (!opened) form_.returnToLoadedBook();
  const study::LessonView& v = form_.lessonView();
  return opened && v.lesson().book == book && v.lesson().number == lesson;
}

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
