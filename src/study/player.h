#pragma once
// The sentence player as a second window drives it (a mini player, a review
// window): each call runs the handlers the learner's click or key runs, so the
// one player keeps its one logic. What plays is told by the study events
// (StretchPlayed, StretchEnded) and read from the lesson view.
#include "study/lesson_view.h"
#include "study/study_events.h"

namespace study {

class SentencePlayer {
 public:
  virtual ~SentencePlayer() = default;
  // The current sentence, as often as the repeat count asks ("Play").
  virtual void play() = 0;
  // The next or previous sentence ("Next", "Previous"); false when there is
  // none (the button is disabled) and nothing changes.
  virtual bool next() = 0;
  virtual bool previous() = 0;
  // Back to the first sentence ("First", F1).
  virtual void first() = 0;
  // The sentence stops and its repeats with it (Esc).
  virtual void stop() = 0;
  // The sentence of `key` becomes current, its lesson (of its book) opened
  // first as the lesson list and the book holder open one when another is
  // loaded; nothing plays. False when its book or lesson cannot be opened
  // (the loaded lesson stays) or its lesson has no longer its text.
  virtual bool show(const SentenceKey& key) = 0;
  // Plays of each sentence, 0 to 10, picked as from the repeat list; false for
  // a count the list does not offer.
  virtual bool setRepeat(int plays) = 0;
  // 0.5, 1.0 or 2.0, chosen as on the speed selector; false for another rate.
  virtual bool setSpeed(double rate) = 0;
  // A stretch sounds, or its next play waits for the interval.
  virtual bool playing() const = 0;
  virtual const LessonView& view() const = 0;
  virtual StudyEvents& events() = 0;
};

}  // namespace study
