#include "review/review_page.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "dialogs/skin_look.h"
#include "dictation/answer_check.h"
#include "dictation/mask.h"
#include "messages/messages.h"

namespace review {

namespace {

QString q(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

QLabel* wrappingLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setWordWrap(true);
  label->setFont(dialogs::skinFont(10.5));
  return label;
}

}  // namespace

ReviewPage::ReviewPage(studymodel::StudyLog* log, study::SentencePlayer& player, QWidget* parent)
    : QWidget(parent), log_(log), player_(player) {
  setAutoFillBackground(true);
  setPalette(dialogs::skinPalette());
  setFont(dialogs::skinFont());
  status_ = wrappingLabel(this);
  start_ = new QPushButton(q(messages::kReviewStart), this);
  sentence_ = new QWidget(this);
  place_ = wrappingLabel(sentence_);
  prompt_ = wrappingLabel(sentence_);
  prompt_->setFont(dialogs::skinFont(12));
  answer_ = new QLineEdit(sentence_);
  answer_->setFont(dialogs::skinFont(12));
  auto* replayButton = new QPushButton(q(messages::kReviewReplay), sentence_);
  auto* hintButton = new QPushButton(q(messages::kReviewHint), sentence_);
  costs_ = wrappingLabel(sentence_);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(replayButton);
  buttons->addWidget(hintButton);
  buttons->addStretch();
  auto* inner = new QVBoxLayout(sentence_);
  inner->setContentsMargins(0, 0, 0, 0);
  inner->addWidget(place_);
  inner->addWidget(new QLabel(q(messages::kReviewGuide), sentence_));
  inner->addWidget(prompt_);
  inner->addWidget(answer_);
  inner->addLayout(buttons);
  inner->addWidget(costs_);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(24, 16, 24, 16);
  outer->addWidget(status_);
  outer->addWidget(start_, 0, Qt::AlignLeft);
  outer->addWidget(sentence_);
  outer->addStretch();

  connect(start_, &QPushButton::clicked, this, [this] { start(); });
  connect(answer_, &QLineEdit::returnPressed, this, [this] { check(); });
  // A hint lasts until the next key, as in the dictation.
  connect(answer_, &QLineEdit::textEdited, this, [this] {
    if (reviewing()) prompt_->setText(q(dictation::maskSentence(current().english)));
  });
  connect(replayButton, &QPushButton::clicked, this, [this] { replay(); });
  connect(hintButton, &QPushButton::clicked, this, [this] { hint(); });
  showDueCount();
}

void ReviewPage::showDueCount() {
  due_.clear();
  at_ = 0;
  const int due = log_ ? log_->dueCount() : 0;
  status_->setText(due > 0 ? q(messages::reviewDue(due)) : q(messages::kReviewEmpty));
  start_->setVisible(due > 0);
  sentence_->setVisible(false);
}

void ReviewPage::start() {
  due_ = log_->due();
  at_ = 0;
  reviewed_ = skipped_ = 0;
  start_->setVisible(false);
  presentNext();
}

void ReviewPage::presentNext() {
  // A sentence whose book, lesson or text is gone stays in the queue.
  for (; reviewing(); ++at_, ++skipped_) {
    const studymodel::DueSentence& s = current();
    if (player_.show(study::makeSentenceKey(s.book, s.lesson, s.english, s.position))) break;
  }
  if (!reviewing()) {
    finish();
    return;
  }
  errors_ = hints_ = replays_ = 0;
  status_->setText(q(messages::reviewDue(int(due_.size() - at_))));
  const study::LessonView& view = player_.view();
  place_->setText(
      q(messages::reviewPlace(view.lesson().book, view.lesson().title, view.currentNumber())));
  prompt_->setText(q(dictation::maskSentence(current().english)));
  answer_->clear();
  showCosts();
  sentence_->setVisible(true);
  player_.play();
  answer_->setFocus();  // after the window's play, which gives the focus to its own box
}

// As the dictation's Enter: the first wrong letter is selected and costs an
// error; a right answer reschedules the sentence by its outcome.
void ReviewPage::check() {
  if (!reviewing()) return;
  const dictation::LetterCheck c =
      dictation::checkLetters(current().english, answer_->text().toStdString());
  answer_->setSelection(c.selStart, c.selLength);
  if (!c.right) {
    ++errors_;
    showCosts();
    return;
  }
  log_->review(current().key, studymodel::gradeFromOutcome(errors_, hints_, replays_), false);
  ++reviewed_;
  ++at_;
  presentNext();
}

void ReviewPage::replay() {
  if (!reviewing()) return;
  ++replays_;
  showCosts();
  player_.play();
  answer_->setFocus();
}

void ReviewPage::hint() {
  if (!reviewing()) return;
  ++hints_;
  showCosts();
  prompt_->setText(q(current().english));
  answer_->setFocus();
}

void ReviewPage::showCosts() {
  const int score =
      std::max(0, 100 - errors_ * dictation::kErrorCost - hints_ * dictation::kHintCost -
                      replays_ * dictation::kReplayCost);
  costs_->setText(q(messages::reviewCosts(errors_, hints_, replays_, score)));
}

void ReviewPage::finish() {
  due_.clear();
  at_ = 0;
  sentence_->setVisible(false);
  const int due = log_->dueCount();
  status_->setText(q(messages::reviewDone(reviewed_, skipped_)) + "\n" +
                   (due > 0 ? q(messages::reviewDue(due)) : q(messages::kReviewEmpty)));
  start_->setVisible(due > 0 && skipped_ == 0);
}

void ReviewPage::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F7) return replay();
  if (event->key() == Qt::Key_F8) return hint();
  QWidget::keyPressEvent(event);
}

}  // namespace review
