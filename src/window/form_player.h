#pragma once
// The window's sentence player for other windows: each call runs the
// handler of the button, list or selector the learner would use.
#include "study/player.h"

class Form1;

class FormPlayer final : public study::SentencePlayer {
 public:
  explicit FormPlayer(Form1& form) : form_(form) {}
  void play() override;
  bool next() override;
  bool previous() override;
  void first() override;
  void stop() override;
  bool show(const study::SentenceKey& key) override;
  bool setRepeat(int plays) override;
  bool setSpeed(double rate) override;
  bool playing() const override;
  const study::LessonView& view() const override;
  study::StudyEvents& events() override;

 private:
  bool openLesson(const std::string& book, int lesson);
  Form1& form_;
};
