#pragma once
// The main window: every element, the shared state and the platform
// components, for the life of the window. The handlers are members defined in
// the source file of their subsystem; each region of the window has a file in
// window/ that places its elements and connects their events to the handlers.
#include <memory>
#include <string>

#include "analysis/take_analysis.h"
#include "app/shared_state.h"
#include "content/lesson_places.h"
#include "content/lesson_text.h"
#include "mini/mini_mode.h"
#include "platform/audio/media_player.h"
#include "platform/audio/sounds.h"
#include "platform/audio/wave_device.h"
#include "platform/text/rich_text.h"
#include "platform/ui/later.h"
#include "platform/ui/skinned_button.h"
#include "platform/ui/trace_view.h"
#include "platform/ui/tree_view.h"
#include "platform/ui/ui.h"
#include "platform/ui/worker.h"
#include "study/lesson_view.h"
#include "study/study_events.h"
#include "window/form_player.h"

namespace review {
class ReviewPage;
}
namespace studymodel {
class StudyLog;
enum class Trouble;
}  // namespace studymodel

// The audio components the window drives; tests hand in stand-ins.
struct Devices {
  std::unique_ptr<platform::MediaPlayer> player;
  std::unique_ptr<platform::WaveDevice> wave;
  std::unique_ptr<platform::Sounds> sounds;
  bool soundOff = false;  // no output device: the learner is told once
};

class Form1 : public ui::Window, public app::SharedState {
 public:
  using Command = CSCommand::Command;
  template <class T>
  using Array = ui::ElementArray<T>;

  // Builds the elements and runs the start-up sequence over the program folder.
  Form1(std::string programFolder, Devices devices);
  ~Form1() override;

  const std::string& programFolder() const { return folder_; }
  // The folders whose pictures the window shows (skin, page pictures).
  static std::vector<std::string> pictureFolders(const std::string& programFolder);
  std::string path(const std::string& relative) const;  // "\SETTING\set.dat"

  // ---- platform components ----
  platform::MediaPlayer& WindowsMediaPlayer1;
  platform::WaveDevice& MMControl1;
  platform::Sounds& sounds;
  platform::RichTextBox RichTextBox1;  // the lesson text
  platform::RichTextBox RichTextBox2;  // the book's lesson-title text
  platform::RichTextBox RichTextBox3;  // the settings text
  platform::RichTextBox RichTextBox6;  // the book's results text
  MSComctlLib::ImageList ImageList1;
  ui::Timer Timer1;  // end watcher, 30 ms
  ui::Timer Timer2;  // interval between plays
  ui::Timer Timer3;  // one-shot lesson load after a book change
  ui::Timer Timer4;  // the mark on the traces while the loop comparison runs
  ui::Timer Timer5;  // hides the pass-mark notice

  // ---- elements that lie outside the window or under the lesson tree ----
  ui::CheckBox Check1{*this}, Check2{*this}, Check3{*this}, Check4{*this}, Check5{*this};
  ui::ComboBox Combo1{*this};  // book holder, below the window
  ui::ComboBox Combo4{*this};  // key receiver under the lesson tree
  ui::Label Label3{*this};     // current sentence number
  ui::Label Label4{*this};     // sentence count
  ui::Label Label30{*this};    // score of the current dictation sentence
  ui::Label Label32{*this};    // dictation progress fraction
  ui::Picture Picture6{*this};
  ui::ListBox List1{Picture6};  // lesson list, below Picture6's visible area
  ui::Frame Frame6{*this};      // header strip below the window: Label7(20), Label7(12)
  ui::Frame Frame4{*this};      // speed selector
  ui::Label Label41{Frame4};    // "语速调节："
  Array<ui::Label> Label20;
  Array<ui::Picture> Image9;
  ui::OptionButton Option1{Frame4}, Option2{Frame4}, Option3{Frame4};
  ui::Frame Frame12{*this};                                        // dictation counters
  ui::Label Label42{Frame12}, Label43{Frame12}, Label44{Frame12};  // "提示：" "错误：" "复读："
  ui::Label Label27{Frame12}, Label28{Frame12}, Label29{Frame12};  // hints, errors, replays
  ui::Frame Frame14{*this};                                        // dictation key hint
  ui::Label Label45{Frame14};
  ui::Label Label13{*this};  // "录音音量调节>>"

  // ---- the lesson tree ----
  MSComctlLib::TreeView TreeView1{*this};

  // ---- title bar, tabs, status strip ----
  Array<ui::Label> Label7;     // fixed texts, spread over several containers
  ui::Picture Image30{*this};  // selected-tab marker
  Array<ui::Label> Label14;    // transparent page tabs, index = study mode
  ui::Label Label48{*this};    // "当前版本： 2.0"
  ui::Label Label37{*this};    // lesson title line

  // ---- sentence layer ----
  ui::Shape Shape1{*this}, Shape2{*this}, Shape3{*this};
  ui::Label Label35{*this}, Label36{*this};  // "英文：" "中文："
  ui::Label Label1{*this};                   // English sentence
  ui::Label Label51{*this};                  // masked English sentence
  ui::Label Label2{*this};                   // Chinese translation
  ui::Label Label46{*this};                  // note
  ui::TextBox Text2{*this, true};            // answer box

  // ---- page groups: the sentence page's (window/sentence_layer.cpp), the
  // dictation page's (dictation_strip.cpp), the browse and recall pages'
  // (full_text_panel.cpp) ----
  ui::Frame Frame5{*this};  // sentence navigation
  Command Command3{Frame5}, Command2{Frame5}, Command1{Frame5}, Command4{Frame5}, Command5{Frame5};
  Command ReviewMark{Frame5};  // the sentence into or out of the review queue (F6)
  ui::Frame Frame11{*this};    // dictation buttons
  Command Command22{Frame11}, Command23{Frame11}, Command25{Frame11}, Command28{Frame11},
      Command24{Frame11};
  ui::Frame Frame2{*this};                             // repeat count and interval
  ui::Label Label9{Frame2}, Label15{Frame2};           // "每句朗读" "次"
  ui::ComboBox Combo2{Frame2};                         // repeat count
  Command Command30{Frame2};                           // opens Combo2's list
  ui::Label Label16{Frame2}, Label19{Frame2};          // "间隔" "秒"
  ui::ComboBox Combo3{Frame2};                         // interval
  Command Command31{Frame2};                           // opens Combo3's list
  ui::Frame Frame13{*this};                            // pass mark
  ui::Label Label25{Frame13}, Label26{Frame13};        // "过关分数：" "分"
  ui::ComboBox Combo5{Frame13};                        // pass mark
  Command Command29{Frame13};                          // opens Combo5's list
  ui::Label Label56{*this};                            // the pass-mark notice, left of it
  ui::Frame Frame1{*this};                             // sentence progress, Label7(5)
  static constexpr int kSentenceProgressLeft = 10645;  // its place on page 1
  static constexpr int kReadAlongChineseHeight = 900;  // Label11's design height
  ui::Frame Frame7{*this};                             // English toggle
  ui::Label Label21{Frame7};
  ui::Picture Image10{Frame7};
  ui::Frame Frame8{*this};  // Chinese toggle
  ui::Label Label22{Frame8};
  ui::Picture Image11{Frame8};
  ui::Frame Frame21{*this};    // dictation progress
  ui::Label Label40{Frame21};  // "进度："
  ui::Label Label33{Frame21}, Label34{Frame21};
  ui::Picture Picture9{Frame21}, Picture10{Picture9};
  ui::Frame Frame3{*this};  // full-text options
  Command Command6{Frame3}, Command7{Frame3};
  ui::Frame Frame9{Frame3};
  ui::Label Label23{Frame9}, Label31{Frame9};
  ui::Picture Image12{Frame9}, Image27{Frame9};
  Command Command16{*this};      // "重置"
  ui::Picture Picture12{*this};  // dictation shortcut strip
  ui::Label Label53{Picture12};

  // ---- full-text viewport ----
  ui::Shape Shape8{*this};
  ui::Picture Picture5{*this};
  ui::Picture Picture2{Picture5};                    // the scrolled content panel
  Array<ui::Label> Label17, Label18;                 // click bands (behind the lines)
  Array<ui::Label> Label5;                           // raw sentence records
  Array<ui::Label> Label6;                           // English lines
  Array<ui::Label> Label8;                           // Chinese lines
  Array<ui::Label> Label12;                          // sentence numbers
  Array<ui::Line> Line3;                             // underlines
  Array<ui::Picture> Image2;                         // play icons
  Command Command32{Picture5}, Command33{Picture5};  // scroll arrows
  ui::Picture Image32{Picture5}, Image33{Picture5};  // scroll bar and thumb
  ui::Picture EnFaImage{Picture5}, EnUnderImage{Picture5};

  // ---- read-along panel ----
  ui::Picture Picture4{*this};
  Command Command15{Picture4}, Command13{Picture4}, Command14{Picture4};
  ui::Label Label10{Picture4}, Label11{Picture4};
  // The take beside the model, under the sentence on the white display: the
  // traces, the figures (or what went wrong) and the word departing most.
  ui::TraceView TraceView1{Picture4};
  ui::Label Label54{Picture4}, Label55{Picture4};
  ui::Frame Frame10{Picture4};
  ui::Label Label24{Frame10};
  ui::Picture Image13{Frame10};
  Command Command8{Picture4}, Command9{Picture4}, Command10{Picture4}, Command11{Picture4},
      Command12{Picture4};

  // ---- score sheet ----
  ui::Picture Picture8{*this};
  ui::Picture Picture7{Picture8};
  ui::ListBox List2{Picture7};
  Command Command26{Picture8}, Command27{Picture8};

  // ---- window chrome (laid out with the title bar) ----
  Array<Command> Command17;
  ui::Label Label38{*this}, Label39{*this};
  // Beside the lesson tree: the book menu its right-click opens.
  ui::Label BookMenuLink{*this};

  // ---- start-up and shut-down (app/startup.cpp) ----
  void Form_Load();
  void Form_Unload();
  // The notice that the machine has no sound output: at start-up, or when the
  // audio engine, which opens once the window shows, finds none.
  void tellSoundOff();

  // ---- course library (content/course_library.cpp) ----
  // Fills List1 and the tree from the lesson-title text, selecting `row`.
  void fillLessons(int row);
  void TreeView1_NodeClick(int index);
  // Expanding the root shows the current lesson selected again.
  void TreeView1_Expand(int index);
  void List1_MouseUp(const ui::MouseEvent& e);
  void Combo1_Click();
  void TreeView1_MenuRequest();
  void BookMenuLink_MouseUp(const ui::MouseEvent& e);
  void chooseBook(const std::string& book);
  void Timer3_Timer();
  void returnToLoadedBook();
  // Opens the lesson of List1's selected row when its file exists; otherwise
  // tells the learner and selects the loaded lesson again.
  bool openSelectedLesson();  // true when the lesson was loaded
  // Reads the lesson-title and results texts of book B; false when the title
  // is not a safe folder name.
  bool readBookTexts(const std::string& book);
  std::string lessonFile(int row) const;
  std::string audioFile(int row) const;

  // ---- lesson loader (content/lesson_loader.cpp) ----
  bool loadlesson();  // true when the lesson was loaded
  // Builds browse row i from the record after `scanto`.
  void buildRow(int i, int rowWidth);
  // The place in the loaded lesson, kept for its next opening and in the
  // learner's data at shut-down.
  void rememberPlace();
  bool savePlaces();
  // Answered count 0, its line packed, the bar empty.
  void resetDictationProgress();
  // The fill slides inside its track to show the passed fraction.
  void showDictationProgress();

  // ---- sentence prompt (dictation/sentence_prompt.cpp) ----
  void ty();
  // The current record, cut out of the lesson text between the cursor's "*".
  std::string currentRecord() const;
  // Shows the English sentence (Label1) or, in its place, its mask (Label51).
  void showEnglishOrMask(bool english);

  // ---- navigation and toggles (modes/navigation.cpp) ----
  void Command1_Click();  // Next
  void Command2_Click();  // Previous
  void Command3_Click();  // First
  void Command13_Click();
  void Command14_Click();
  void Command15_Click();
  void Command24_Click();
  // The read-along activity stops when the sentence changes on that page.
  void stopReadAlong();
  // A take, or a recording under way, ends with its lesson.
  void dropTake();
  void setNextButtons(bool on);
  void setPreviousButtons(bool on);
  int sentenceNumber() const;  // Label3
  int sentenceCount() const;   // Label4
  void Label21_Click();
  void Label22_Click();
  void Label23_Click();
  void Label24_Click();
  void Label31_Click();
  // A switch flips its check box and shows the picture of the new state.
  void flipSwitch(ui::CheckBox& box, ui::Picture& picture, const char* onPicture);
  void Check1_Click();
  void Check2_Click();
  void Check3_Click();
  void Check4_Click();
  void Check5_Click();
  // Shows or hides the full-text lines of one array by their text colour.
  void showLines(ui::ElementArray<ui::Label>& lines, bool shown);
  void Label20_Click(int index);

  // ---- sentence player (playback/sentence_player.cpp) ----
  void Command4_Click();  // Play
  // Seeks to `playstart`, guards `playend` and plays; false when the stretch
  // is not playable (its times are not numbers).
  bool playStretch();
  // The stretch of a record for the player: a record without both times
  // cannot be played, and no stretch is made up.
  void takeStretch(const content::Record& r);
  // Tells the learner, once for each sentence of the lesson, which sentences
  // cannot be played and why.
  void tellUnplayable();
  void Timer1_Timer();
  void Timer2_Timer();
  void Option1_Click();
  void Option2_Click();
  void Option3_Click();
  void setSpeed(double rate);
  void Combo2_Click();
  void Combo3_Click();
  void Command30_Click();
  void Command31_Click();
  // Focus back to the answer box on the sentence page, else to the key receiver.
  void focusAfterChoice();
  // Halts the sentence: the end watcher off, the player paused.
  void stopSentence();

  // ---- recording and comparison (playback/recording.cpp) ----
  void openRecorder();
  void Command8_Click();
  void Command9_Click();
  void Command10_Click();
  void Command11_Click();
  void Command12_Click();
  void MMControl1_Done();

  // ---- the take beside the model (playback/take_traces.cpp) ----
  // The take and the sentence's stretch go to the analysis on a worker; the
  // display follows when it is done.
  void analyseTake();
  void showComparison(const analysis::Comparison& c);
  void clearTraces();
  // Places the traces under the sentence as laid out for this sentence.
  void placeTraces();
  void Timer4_Timer();
  // For tests and benchmarks: an analysis runs or its result waits to be shown.
  bool analysing() const { return analysisWorker_.busy(); }

  // ---- full-text reading and scrolling (playback/full_text.cpp) ----
  void scrollToTop();
  void placeThumb();
  void autoread();
  void Command6_Click();
  void Command7_Click();
  void stepUp();
  void stepDown();
  void Command32_Click();
  void Command33_Click();
  void Combo4_KeyDown(int keyCode);

  // ---- full-text and recall clicks (modes/text_clicks.cpp) ----
  void playRow(int i);
  void toggleLine(ui::ElementArray<ui::Label>& lines, int i);
  void hideUnderlines();
  void clickSound(bool press);
  void Label6_MouseDown(int i, const ui::MouseEvent& e);
  void Label6_MouseUp(int i, const ui::MouseEvent& e);
  void Label18_MouseDown(int i, const ui::MouseEvent& e);
  void Label18_MouseUp(int i, const ui::MouseEvent& e);
  void Label8_MouseDown(int i, const ui::MouseEvent& e);
  void Label8_MouseUp(int i, const ui::MouseEvent& e);
  void Image2_MouseDown(int i, const ui::MouseEvent& e);
  void Image2_MouseUp(int i, const ui::MouseEvent& e);
  void Command16_Click();
  void Picture2_Click();

  // ---- keyboard shortcuts (app/shortcuts.cpp) ----
  void Form_KeyDown(int keyCode);

  // ---- window chrome (window/chrome.cpp) ----
  void Form_MouseDown(const ui::MouseEvent& e);
  void Form_MouseMove(const ui::MouseEvent& e);
  void linkPress(ui::Label& label);
  void linkRelease(ui::Label& label);
  void Label38_MouseUp(const ui::MouseEvent& e);
  void Label39_MouseUp(const ui::MouseEvent& e);
  void Image33_MouseDown(const ui::MouseEvent& e);
  void Image33_MouseMove(const ui::MouseEvent& e);

  // ---- study pages (modes/mode_switcher.cpp) ----
  void Label14_MouseUp(int index, const ui::MouseEvent& e);
  void cc();
  void presentRows();

  // ---- answer checking and scoring (dictation/) ----
  // Every character key of the answer box; Enter checks the answer.
  void Text2_KeyPress(int& keyAscii);
  void checkAnswer();
  // The score floored at 0 against the pass mark; a failed sentence gets its
  // message and is redone. True when the sentence passed.
  bool passOrRedoSentence();
  // The hint, error and replay counts back to 0, the sentence's score to 100.
  void resetDictationCounters();
  // The passed count +1, the progress line and bar follow.
  void countPassedSentence();
  void Command22_Click();  // replay
  void Command23_Click();  // hint
  void Command25_Click();  // redo
  void Command5_Click();   // the sentence-study hint
  void Combo5_Change();
  void Combo5_Click();
  void Command29_Click();
  // A pass mark below 60 or above 100 is told and replaced by the nearest.
  void checkPassMark();
  std::string correctPassMark();
  // The same when the box loses the focus, told beside the box: a message box
  // would take the keys meant for the element the learner clicked.
  void Combo5_LostFocus();
  void Timer5_Timer();
  std::string passMarkToKeep() const;

  // ---- results store and score sheet (content/results_store.cpp) ----
  std::string resultsFile() const;  // of the current book
  // The lesson's own entry turns from "☆" to "★"; the sheet shows, the file is saved.
  void markLessonPassed(const std::string& title);
  // The new results text in memory and on the sheet, then in the file.
  void changeMarks(const std::string& results);
  // Writes the results file whole; a failed write is told and the marks stay.
  void saveResults();
  void Command26_Click();  // clear every mark
  void Command27_Click();  // close the score sheet
  void Command28_Click();  // show the score sheet

  // ---- what new capabilities use instead of the elements (window/study_seams.cpp) ----
  // What the learner does, told after each handler; subscribe from outside.
  study::StudyEvents& studyEvents() { return studyEvents_; }
  // The loaded lesson, the current sentence, the page, the speed.
  const study::LessonView& lessonView() const { return lessonState_; }
  // Play, next, previous, repeat and speed, running the learner's handlers.
  study::SentencePlayer& sentencePlayer() { return player_; }
  // The strip "迷你模式" turns the program into (mini/).
  mini::MiniMode& miniMode() { return *mini_; }

  // The study log and the review queue (window/study_log_host.cpp); null when
  // the study database could not be opened.
  studymodel::StudyLog* studyLog() { return studyLog_.get(); }
  void ReviewMark_Click();
  // The review page (复习, study mode 9; window/review_host.cpp).
  review::ReviewPage& reviewPage() { return *reviewPage_; }

  // The short product name used as the caption of notices without their own.
  static constexpr const char* kAppTitle = "Parlenda";
  // What the lesson tree's root and the link under the tree tell.
  static constexpr const char* kBookMenuHint =
      "换一本课本：单击下面的“选择课本”，或在课程列表上单击右键";

 private:
  // The window's frame, then each region laid out (its design-time places in
  // twips) and wired (its events to their handlers), in the region's own file.
  void buildElements();
  void wireEvents();
  void stackPanels();
  std::string skinFile(const std::string& name) const;  // a picture of the skin

  // window/study_seams.cpp: the events are delivered by the event loop.
  void wireStudySeams();
  study::SentenceKey currentKey() const;
  void followToggles();
  void tellLessonOpened(const std::string& title);
  void tellSentenceMadeCurrent();
  void tellStretchPlayed();
  void tellStretchEnded();
  void tellSentenceJudged(bool passed);
  void tellAnswerChecked(bool right);
  void tellTakeCompared(const analysis::Comparison& c);

  // window/study_log_host.cpp
  void openStudyLog();
  void showReviewMark();
  void tellStudyLogTrouble(studymodel::Trouble trouble);
  // window/review_host.cpp
  void openReviewPage();
  void showReviewPage(bool shown);

  // window/off_window.cpp
  void layOutOffWindowHolders();
  void layOutSpeedSelector();
  void layOutDictationCounters();
  void wireOffWindowHolders();
  // window/lesson_tree.cpp
  void layOutLessonTree();
  void wireLessonTree();
  // window/title_bar.cpp (with the tabs and the status line)
  void layOutTitleBar();
  void layOutTabs();
  void wireTitleBar();
  // window/sentence_layer.cpp
  void layOutSentenceLayer();
  void layOutSentenceControls();
  void wireSentenceLayer();
  // window/full_text_panel.cpp
  void layOutFullText();
  void layOutRowTemplates();
  void layOutScrollBar();
  void wireFullText();
  // window/read_along_panel.cpp
  void layOutReadAlong();
  void layOutTakeDisplay();
  void wireReadAlong();
  // window/dictation_strip.cpp
  void layOutDictationStrip();
  void wireDictationStrip();
  // window/score_sheet.cpp
  void layOutScoreSheet();
  void wireScoreSheet();

  std::string folder_;
  Devices devices_;
  study::StudyEvents studyEvents_;
  study::LessonState lessonState_;
  FormPlayer player_{*this};
  std::unique_ptr<mini::MiniMode> mini_;
  ui::Later studyDelivery_;           // after the events: its waiting deliveries go first
  std::string loadedBook_;            // the text of Combo1 when the loaded lesson was opened
  bool takeRecording_ = false;        // "录音" ran and "停止" has not ended it yet
  double soundEnd_ = -1;              // where the lesson's sound ends, once a play met it
  bool audioMissing_ = false;         // the lesson has no audio file (told at its load)
  std::vector<bool> toldUnplayable_;  // the sentences told of, by number
  content::LessonPlaces places_;      // the sentence the learner was at, per lesson
  int takeSerial_ = 0;                // the take the display waits for; older results are dropped
  analysis::TimeMap takeTimes_;       // take time <-> sentence time of the traces shown
  ui::Later studyLogNotices_;         // the log's troubles, told on the window's thread
  std::unique_ptr<studymodel::StudyLog> studyLog_;  // goes before the notices it posts
  study::StudyEvents::Subscription studyLogFeed_;
  std::unique_ptr<review::ReviewPage> reviewPage_;  // a child of the window, over the pages
  ui::Worker analysisWorker_;  // last member: it goes first, before what it hands back to
};
