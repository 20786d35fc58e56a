// The lesson loader: the lesson text, its audio, the sentence cursor and the
// browse rows of the full text.
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/numeric.h"
#include "app/text_files.h"
#include "content/course_library.h"
#include "content/lesson_text.h"
#include "messages/messages.h"
#include "platform/text/files.h"
#include "window/form1.h"

namespace {
// The largest lesson the window shows: each sentence is eight row elements,
// so a lesson far beyond any real one (a three-hour recording holds some
// 3,000 sentences) would take minutes and gigabytes to build.
constexpr int kMaxSentences = 5000;
constexpr std::uintmax_t kMaxLessonBytes = 4u << 20;  // 4 MiB

std::uintmax_t fileBytes(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
  return ec ? 0 : bytes;
}

std::string tooLargeNotice(int lesson, const std::string& title) {
  return messages::lessonTooLarge(lesson, title, kMaxSentences, int(kMaxLessonBytes >> 20));
}
}  // namespace

bool Form1::loadlesson() {
  const int k = List1.listIndex();
  if (k < 0) return false;
  const std::string title = List1.text();
  const auto keepLoadedLesson = [this](const std::string& notice) {
    ui::msgBox(notice, ui::kExclamation, std::string(messages::kNoticeTitle));
    List1.setListIndex(loadedlesson);
    TreeView1.selectNode(loadedlesson + 2);
    return false;
  };

  // The text is read and measured before anything changes, so a lesson that
  // cannot be read or is too large to show leaves the loaded one whole.
  if (fileBytes(lessonFile(k)) > kMaxLessonBytes)
    return keepLoadedLesson(tooLargeNotice(k + 1, title));
  // A lesson a learner's editor saved in UTF-8 is read as such.
  platform::RichTextBox incoming;
  if (incoming.loadFile(lessonFile(k), platform::RichTextBox::PlainText::Utf8OrCp936) !=
      platform::RichTextBox::Load::Ok)
    return keepLoadedLesson(std::string(messages::kLessonUnreadable));
  std::string lessonText = content::repairLessonText(incoming.text());
  if (content::countSentences(lessonText) > kMaxSentences)
    return keepLoadedLesson(tooLargeNotice(k + 1, title));
  // An empty or damaged file would show blank panels and "0 / 0".
  if (content::countSentences(lessonText) == 0)
    return keepLoadedLesson(messages::lessonWithoutSentences(k + 1, title, !loadedBook_.empty()));

  dropTake();
  // The lesson loaded again (a click on its own node) starts at sentence 1;
  // another lesson at the sentence the learner was at there, except in the
  // dictation test, which starts at its first sentence.
  const bool again = loadedBook_ == Combo1.text() && loadedlesson == k;
  rememberPlace();
  const int remembered = again || studymode == 8 ? 1 : places_.sentence(Combo1.text(), k + 1);
  loadedlesson = std::int16_t(k);
  loadedBook_ = Combo1.text();
  Label7(20).setCaption(title);
  WindowsMediaPlayer1.setAutoStart(false);
  const std::string audio = audioFile(k);
  WindowsMediaPlayer1.setURL(audio);
  if (!platform::fileExists(audio))
    ui::msgBox(std::string(messages::kNoLessonAudio), ui::kOkOnly, kAppTitle);
  WindowsMediaPlayer1.setVolume(100);

  audioMissing_ = !platform::fileExists(audio);
  RichTextBox1.setText(std::move(lessonText));
  const std::string& text = RichTextBox1.text();
  const int n = content::countSentences(text);
  Label3.setCaption("0");
  Label4.setCaption(app::str(n));
  Label34.setCaption(Label4.caption());
  Label37.setCaption(title);
  soundEnd_ = -1;
  toldUnplayable_.assign(size_t(n) + 1, false);
  tellLessonOpened(title);

  // The cursor on the sentence to start at: the "*" before it, then Next.
  const int place = std::clamp(remembered, 1, n);
  sentto = 1;
  for (int i = 1; i < place; ++i) sentto = content::findFrom(text, '*', sentto + 1);
  sentfrom = sentto;
  Label3.setCaption(app::str(place - 1));
  Command1_Click();
  resetDictationProgress();
  setPreviousButtons(place > 1);
  setNextButtons(place < n);

  // The rows of the full text, replacing the old ones.
  scanto = 1;
  for (int i = Label5.ubound(); i >= 1; --i) {
    for (auto* a : {&Label5, &Label6, &Label12, &Label8, &Label17, &Label18}) a->unload(i);
    Line3.unload(i);
    Image2.unload(i);
  }
  const int w = Picture2.width() - 1100;
  Picture2.setHeight(Picture5.height());
  for (int i = 1; i <= n; ++i) buildRow(i, w);

  scrollToTop();
  const bool overflow = Picture2.height() > Picture5.height();
  for (ui::Element* e :
       std::initializer_list<ui::Element*>{&Command32, &Command33, &Image32, &Image33})
    e->setVisible(overflow);
  EnFaImage.setVisible(!overflow);
  EnUnderImage.setVisible(!overflow);

  cc();
  if (studymode == 2 || studymode == 3 || studymode == 4) Combo4.setFocus();
  return true;
}

namespace {
// A line wider than the row wraps at the row's width: as many template heights
// as its width asks for, or more where the words need more lines.
void wrapToRow(ui::Label& line, int templateHeight, int w) {
  if (line.width() <= w) return;
  const int q = line.width() / w;
  line.wrapAt(w, (q + 1) * templateHeight);
}
}  // namespace

void Form1::buildRow(int i, int w) {
  const std::string& text = RichTextBox1.text();
  scanfrom = scanto;
  scanto = content::findFrom(text, '*', scanfrom + 1);
  std::string record = text.substr(scanfrom, scanto - scanfrom - 1);
  content::Record r = content::parseRecord(record);
  hash1 = r.hash[0];
  hash2 = r.hash[1];

  Label5.load(i).setCaption(record);
  // The bands are made first, so that they lie behind the lines and both take
  // clicks.
  ui::Label& band = Label18.load(i);
  ui::Label& chineseBand = Label17.load(i);

  ui::Label& english = Label6.load(i);
  english.setCaption(content::trimSpaces(r.english));
  wrapToRow(english, Label6(0).height(), w);
  english.setVisible(true);
  english.setTop(Label8(i - 1).top() + Label8(i - 1).height() + 90);

  band.move(band.left(), english.top() - 100, w, english.height() + 200);
  band.setVisible(true);

  ui::Label& number = Label12.load(i);
  number.setTop(english.top());
  if (i > 9) number.setLeft(Label12(0).left() - 120);
  number.setCaption(app::str(i) + ".");
  number.setVisible(true);

  const int y = english.top() + english.height() + 30;
  Line3.load(i).setPoints(english.left(), y, english.left() + english.width(), y);
  Image2.load(i).setTop(english.top());

  ui::Label& chinese = Label8.load(i);
  chinese.setCaption(content::trimSpaces(r.chinese));
  wrapToRow(chinese, Label8(0).height(), w);
  chinese.setVisible(true);
  chinese.setTop(english.top() + english.height() + 90);

  chineseBand.move(chineseBand.left(), english.top() + english.height(), w, chinese.height() + 270);
  chineseBand.setVisible(true);

  Picture2.setHeight(chinese.top() + chinese.height() + 130);
}

void Form1::rememberPlace() {
  if (!loadedBook_.empty() && sentenceCount() > 0)
    places_.remember(loadedBook_, loadedlesson + 1, sentenceNumber());
}

bool Form1::savePlaces() {
  platform::RichTextBox holder;
  return app::writeWholeFile(holder, places_.text(), path("\\SETTING\\places.dat"));
}

void Form1::resetDictationProgress() {
  Label33.setCaption("0");
  showDictationProgress();
}

void Form1::showDictationProgress() {
  Label7(36).setLeft(Label33.left() + Label33.width() + 40);
  Label34.setLeft(Label7(36).left() + Label7(36).width() + 40);
  const double total = app::val(Label4.caption());
  const double fraction = total > 0 ? app::val(Label33.caption()) / total : 0;
  Label32.setCaption(app::shortest(fraction));
  Picture10.setLeft(int(app::toInteger(Picture9.width() * fraction - Picture10.width())));
}
