#pragma once
// The strip of the mini mode: a frameless window always on top, about two
// lines of text high. Left, the current sentence (its English and Chinese as
// the sentence page's toggles show them); right, previous, replay and next,
// the repeat count, the speed and "完整模式". Its buttons and keys call the
// player; what it shows comes from the lesson view, refreshed on each study
// event.
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPoint>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <optional>

#include "study/player.h"

namespace mini {

class MiniStrip : public QWidget {
 public:
  explicit MiniStrip(study::SentencePlayer& player);

  // "完整模式", or the strip closed by the desktop.
  std::function<void()> backToFullWindow;
  // A drag of the strip ended at its new place.
  std::function<void()> placed;

  // Shows the lesson view as it is now.
  void refresh();

  QLabel& number() { return *number_; }
  QLabel& english() { return *english_; }
  QLabel& chinese() { return *chinese_; }
  QToolButton& previousButton() { return *previous_; }
  QToolButton& replayButton() { return *replay_; }
  QToolButton& nextButton() { return *next_; }
  QComboBox& repeatBox() { return *repeat_; }
  QToolButton& speedButton(int i) { return *speeds_[i]; }  // 0 slow, 1 normal, 2 fast
  QToolButton& fullWindowButton() { return *back_; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  QToolButton* button(const QString& text, const QString& tip, std::function<void()> run);
  void buildSpeeds(QLayout& row);
  void showSentence();

  study::SentencePlayer& player_;
  study::StudyEvents::Subscription events_;
  QLabel *number_, *english_, *chinese_;
  QToolButton *previous_, *replay_, *next_, *back_;
  QComboBox* repeat_;
  QToolButton* speeds_[3] = {};
  QButtonGroup speedGroup_;
  std::optional<QPoint> grip_;  // the pointer's place in the strip while it drags
};

}  // namespace mini
