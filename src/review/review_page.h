#pragma once
// The review page (复习): how many sentences of the review queue are due
// today, and on start each due sentence in turn, of whatever lesson and book:
// its lesson opened and its stretch played through the window's sentence
// player, typed as in the dictation (the same letter check and costs; Enter
// checks, F7 replays, F8 hints), then rescheduled by its outcome.
#include <QWidget>
#include <vector>

#include "study/player.h"
#include "studymodel/study_log.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace review {

class ReviewPage : public QWidget {
 public:
  // `log` may be null (no study database): the page then says the queue is empty.
  ReviewPage(studymodel::StudyLog* log, study::SentencePlayer& player, QWidget* parent);
  // The page as it opens: the count of sentences due today, or the word that
  // there are none.
  void showDueCount();
  bool reviewing() const { return at_ < due_.size(); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void start();
  // The next due sentence whose lesson opens is current and plays.
  void presentNext();
  void check();
  void replay();
  void hint();
  void showCosts();
  void finish();
  const studymodel::DueSentence& current() const { return due_[at_]; }

  studymodel::StudyLog* log_;
  study::SentencePlayer& player_;
  QLabel* status_;  // the count, the empty queue's word, the session's end
  QPushButton* start_;
  QWidget* sentence_;  // what shows while a sentence is reviewed
  QLabel* place_;      // its book, lesson and number
  QLabel* prompt_;     // its mask, or its English while a hint lasts
  QLineEdit* answer_;
  QLabel* costs_;
  std::vector<studymodel::DueSentence> due_;
  size_t at_ = 0;
  int errors_ = 0, hints_ = 0, replays_ = 0;
  int reviewed_ = 0, skipped_ = 0;
};

}  // namespace review
