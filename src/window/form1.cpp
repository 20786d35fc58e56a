// The window itself: its frame and picture, then its regions, each laid out
// and wired in its own file (window/off_window.cpp, lesson_tree.cpp,
// title_bar.cpp, sentence_layer.cpp, full_text_panel.cpp, read_along_panel.cpp,
// dictation_strip.cpp, score_sheet.cpp).
#include "window/form1.h"

#include "platform/text/files.h"
#include "review/review_page.h"
#include "studymodel/study_log.h"

Form1::Form1(std::string programFolder, Devices devices)
    : WindowsMediaPlayer1(*devices.player),
      MMControl1(*devices.wave),
      sounds(*devices.sounds),
      folder_(std::move(programFolder)),
      devices_(std::move(devices)) {
  buildElements();
  wireEvents();
  Form_Load();
  openStudyLog();
  openReviewPage();
  mini_ = std::make_unique<mini::MiniMode>(player_, *this, path("\\SETTING\\mini.dat"));
  mini_->resume();
}

// The review page goes before the widgets it is a child of.
Form1::~Form1() {
  reviewPage_.reset();
  destroyWidgets();
}

std::string Form1::path(const std::string& relative) const {
  return platform::programPath(folder_, relative);
}

std::string Form1::skinFile(const std::string& name) const { return path("\\skin\\") + name; }

std::vector<std::string> Form1::pictureFolders(const std::string& programFolder) {
  return {platform::programPath(programFolder, "\\skin"),
          platform::programPath(programFolder, "\\bitmap")};
}

void Form1::buildElements() {
  CSCommand::Command::setSkinFolder(path("\\skin"));
  setCaption("Parlenda");
  setIcon(skinFile("icon.png"));
  move(0, 0, 11700, 8325);
  setPicture(skinFile("skin.jpg"));

  layOutOffWindowHolders();
  layOutLessonTree();
  layOutTitleBar();
  layOutSentenceLayer();
  layOutFullText();
  layOutReadAlong();
  layOutDictationStrip();
  layOutScoreSheet();
  stackPanels();
}

// The panels lie above the sentence layer and cover it while shown; the
// score sheet and the title-bar buttons lie above everything.
void Form1::stackPanels() {
  for (ui::Element* e :
       {static_cast<ui::Element*>(&Picture5), static_cast<ui::Element*>(&Shape8),
        static_cast<ui::Element*>(&Picture4), static_cast<ui::Element*>(&Picture12),
        static_cast<ui::Element*>(&Picture8)})
    e->raise();
  for (int k : {1, 2, 3, 4, 5, 8}) Label14(k).raise();
  Command17(0).raise();
  Command17(1).raise();
}

void Form1::wireEvents() {
  Unload = [this] { Form_Unload(); };
  KeyDown = [this](int key) { Form_KeyDown(key); };
  // A press on the window background moves the frameless window.
  MouseDown = [this](const ui::MouseEvent& e) { Form_MouseDown(e); };
  MouseMove = [this](const ui::MouseEvent& e) { Form_MouseMove(e); };

  wireOffWindowHolders();
  wireLessonTree();
  wireTitleBar();
  wireSentenceLayer();
  wireFullText();
  wireReadAlong();
  wireDictationStrip();
  wireScoreSheet();
  wireStudySeams();
}
