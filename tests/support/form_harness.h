#pragma once
// The real main window over a fixture program folder, with stand-ins for the
// audio components and every message box answered and recorded.
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui.h"
#include "support/fakes.h"
#include "support/program_folder.h"
#include "window/form1.h"

class FormHarness {
 public:
  FormHarness();
  ~FormHarness();
  ProgramFolder folder;
  // The default fixture: book Book01 with lessons of 3 and 1 sentences and
  // the settings line `settings`.
  void writeDefaultCourse(const std::string& settings = "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
  Form1& start();
  Form1& form() { return *form_; }
  void close();  // the window closes: shut-down runs

  FakePlayer* player = nullptr;
  FakeWave* wave = nullptr;
  FakeSounds* sounds = nullptr;
  std::vector<ui::MessageBoxCall> messages;
  // The answer to every Yes/No question; 0: its default button, as Enter.
  int answer = 0;
  bool soundOff = false;

 private:
  std::unique_ptr<Form1> form_;
};
