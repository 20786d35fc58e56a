// Start-up and shut-down of the main window.
#include <algorithm>
#include <array>

#include "app/numeric.h"
#include "app/settings.h"
#include "app/text_files.h"
#include "content/course_library.h"
#include "messages/messages.h"
#include "platform/text/files.h"
#include "window/form1.h"

namespace {

// What the window holds before the settings are applied; a field that is
// missing or not a number falls back to it.
const std::array<const char*, app::kSettingsFields> kDesignTime = {
    "0", "1", "1", "1", "0", "1", "0", "1", "0", "Book16", "60"};

// Fields 1 to 9 are numbers; a field that does not start with one is taken
// from the design-time state.
std::array<std::string, app::kSettingsFields> settingsOrDesignTime(const std::string& text) {
  app::SettingsText parsed = app::parseSettings(text);
  std::array<std::string, app::kSettingsFields> f;
  for (int k = 0; k < app::kSettingsFields; ++k) {
    bool numeric = k < 9;
    bool usable = k < parsed.found && (!numeric || app::startsWithNumber(parsed.field[k]));
    f[k] = usable ? parsed.field[k] : kDesignTime[k];
  }
  return f;
}

int rowValue(const std::string& field) { return app::toInt(app::val(field)); }
// A check box is checked (1) or not (0); any other number goes to the nearer.
int checkValue(const std::string& field) { return std::clamp(rowValue(field), 0, 1); }

}  // namespace

void Form1::Form_Load() {
  // 1-3: size, tree background (the style word rewritten makes it repaint).
  move(0, 0, 11700, 8325);
  TreeView1.setBackColor(ui::rgb(249, 252, 255));
  long style = TreeView1.windowStyle();
  TreeView1.setWindowStyle(style - 2);
  TreeView1.setWindowStyle(style);
  Picture5.move(2685, 1455);

  // 4: the settings.
  app::readWholeFile(RichTextBox3, path("\\SETTING\\set.dat"));
  auto field = settingsOrDesignTime(RichTextBox3.text());

  // 5-6: study mode, book list and the book. A title that would reach outside
  // the program folder is not used.
  studymode = 1;
  for (const char* title : content::kBookTitles) Combo1.addItem(title);
  // Books the learner added under another title are offered after them.
  for (const std::string& title : platform::learnerBooks(folder_))
    if (std::find(content::kBookTitles.begin(), content::kBookTitles.end(), title) ==
        content::kBookTitles.end())
      Combo1.addItem(title);
  std::string book = field[9];
  if (!content::isSafeBookTitle(book)) {
    ui::msgBox(messages::badBookInSettings(content::kBookTitles[0]), ui::kExclamation, kAppTitle);
    book = content::kBookTitles[0];
  } else if (!platform::fileExists(path("\\SETTING\\BookList\\" + book + ".dat"))) {
    // A first start without settings, or a book that is not installed: the
    // first installed book of the list.
    for (const char* title : content::kBookTitles)
      if (platform::fileExists(path(std::string("\\SETTING\\BookList\\") + title + ".dat"))) {
        book = title;
        break;
      }
  }
  Combo1.setText(book);

  // 7: the choice lists.
  for (int i = 0; i <= 10; ++i) Combo2.addItem(app::str(i));
  for (int s : {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 60}) Combo3.addItem(app::str(s));
  for (int m : {60, 70, 80, 90, 100}) Combo5.addItem(app::str(m));

  // 8-13: speed, play count, interval, panels, remembered playback values.
  WindowsMediaPlayer1.setRate(Option1.value() ? 0.5 : Option3.value() ? 2.0 : 1.0);
  lessonState_.setSpeed(WindowsMediaPlayer1.rate());
  playcount = 0;
  Timer2.setInterval(app::toInt(app::val(Combo3.text()) * 1000 + 10));
  Picture4.move(Picture5.left() - 115, Picture5.top() - 435);
  repeatstudy = app::shortest(app::val(field[3]));
  pausestudy = app::shortest(app::val(field[4]));
  repeatbrowse = app::shortest(app::val(field[5]));
  pausebrowse = app::shortest(app::val(field[6]));
  Picture2.move(0, 0);
  Picture2.setHeight(Picture5.height());

  // 14-15: the book's texts, the lesson list and tree. A saved row beyond the
  // lesson count opens the first lesson, and the learner is told.
  readBookTexts(book);
  int row = rowValue(field[0]);
  int lessons = int(content::splitCaretList(RichTextBox2.text()).size());
  if (row >= lessons || row < -1) {
    if (lessons > 0)
      ui::msgBox(messages::lastLessonNotFound(1LL + row), ui::kInformation, kAppTitle);
    row = lessons > 0 ? 0 : -1;
  }
  fillLessons(row);
  loadedlesson = std::int16_t(std::max(row, 0));
  // The place in each lesson, from the learner's data.
  platform::RichTextBox placesText;
  if (app::readWholeFile(placesText, path("\\SETTING\\places.dat")))
    places_.read(placesText.text());

  // 16-17: show the window and open the saved lesson.
  showCentered();
  if (devices_.soundOff) tellSoundOff();
  // The page is laid out even when no lesson opens (the loader ends with it).
  if (!openSelectedLesson()) cc();

  // 18: the voice recorder.
  openRecorder();

  // 19-20: the check boxes (each change runs its reaction), then the hints.
  Check1.setValue(checkValue(field[1]));
  Check2.setValue(checkValue(field[2]));
  Check3.setValue(checkValue(field[7]));
  Check4.setValue(checkValue(field[8]));
  const std::string on = path("\\bitmap\\1.jpg"), off = path("\\bitmap\\0.jpg");
  showEnglishOrMask(Check1.value() == 1);
  Image10.setPicture(Check1.value() == 1 ? on : off);
  Label2.setVisible(Check2.value() == 1);
  Label46.setVisible(Check2.value() == 1);
  Image11.setPicture(Check2.value() == 1 ? on : off);
  Label11.setVisible(Check4.value() == 1);
  Image13.setPicture(Check4.value() == 1 ? on : off);

  // 21: the pass mark (its check runs when the text changes).
  Combo5.setText(field[10]);
}

// A pass mark out of range still in the box (the window closed while it was
// being typed) is kept as the nearest the test accepts.
std::string Form1::passMarkToKeep() const {
  const double mark = app::val(Combo5.text());
  return mark < 60 ? "60" : mark > 100 ? "100" : Combo5.text();
}

void Form1::tellSoundOff() {
  ui::msgBox(std::string(messages::kNoSoundDevice), ui::kInformation, kAppTitle);
}

// Writes the settings line back; the window closes whatever happens.
void Form1::Form_Unload() {
  // The event loop may not run again: what waits is told now.
  studyEvents_.raise(study::ProgramClosing{});
  studyEvents_.deliverPending();
  std::array<std::string, app::kSettingsFields> f = {app::str(List1.listIndex()),
                                                     app::str(Check1.value()),
                                                     app::str(Check2.value()),
                                                     repeatstudy,
                                                     pausestudy,
                                                     repeatbrowse,
                                                     pausebrowse,
                                                     app::str(Check3.value()),
                                                     app::str(Check4.value()),
                                                     Combo1.text(),
                                                     passMarkToKeep()};
  const bool settingsSaved =
      app::writeWholeFile(RichTextBox3, app::buildSettingsLine(f), path("\\SETTING\\set.dat"));
  rememberPlace();
  const bool placesSaved = savePlaces();
  if (!settingsSaved)
    ui::msgBox(std::string(messages::kSettingsNotSaved), ui::kExclamation, kAppTitle);
  else if (!placesSaved)
    ui::msgBox(std::string(messages::kPlacesNotSaved), ui::kExclamation, kAppTitle);
}
