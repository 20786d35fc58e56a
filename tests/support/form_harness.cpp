#include "support/form_harness.h"

FormHarness::FormHarness() {
  ui::setMessageBoxResponder([this](const ui::MessageBoxCall& c) {
    messages.push_back(c);
    if (!(c.style & ui::kYesNo)) return int(ui::kOk);
    if (answer) return answer;
    return int(c.style & ui::kDefaultButton2 ? ui::kNo : ui::kYes);
  });
}

FormHarness::~FormHarness() {
  form_.reset();
  ui::setMessageBoxResponder(nullptr);
}

void FormHarness::writeDefaultCourse(const std::string& settings) {
  folder.writeBook("Book01", {"第一课 Greetings 问候", "第二课 One 一句"},
                   {lessonText({{"Hello, Tom.", "你好，汤姆。", "0.5", "1.5", "打招呼"},
                                {"How are you?", "你好吗？", "2.0", "3.0", "问候"},
                                {"I'm fine, thanks.", "我很好，谢谢。", "3.5", "4.5", "回答"}}),
                    lessonText({{"Only one.", "只有一句。", "1", "2", ""}})});
  folder.write("\\SETTING\\set.dat", settings);
  folder.writeBytes("\\Recorder.wav", "RIFF");
}

Form1& FormHarness::start() {
  auto p = std::make_unique<FakePlayer>();
  auto w = std::make_unique<FakeWave>();
  auto s = std::make_unique<FakeSounds>();
  player = p.get(), wave = w.get(), sounds = s.get();
  form_ = std::make_unique<Form1>(folder.path(),
                                  Devices{std::move(p), std::move(w), std::move(s), soundOff});
  return *form_;
}

void FormHarness::close() { form_->close(); }
