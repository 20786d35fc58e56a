// The lesson list and tree of the current book: filling them, opening a lesson
// from either, and changing the book.
#include "content/course_library.h"

#include <algorithm>

#include "app/numeric.h"
#include "app/text_files.h"
#include "messages/messages.h"
#include "platform/text/files.h"
#include "window/form1.h"

namespace {
const ui::Color kTreeBack = ui::rgb(249, 252, 255);
}

std::string Form1::lessonFile(int row) const {
  return path("\\book\\" + Combo1.text() + "\\" + app::str(row + 1) + ".dat");
}

std::string Form1::audioFile(int row) const {
  const std::string book = Combo1.text();
  return path("\\Sound\\" + book + "\\" + app::str(row + 1) + content::audioExtension(book));
}

bool Form1::readBookTexts(const std::string& book) {
  if (!content::isSafeBookTitle(book)) return false;
  if (!app::readWholeFile(RichTextBox2, path("\\SETTING\\BookList\\" + book + ".dat"))) {
    RichTextBox2.setText("");
    ui::msgBox(std::string(messages::kNoLessonList), ui::kExclamation, kAppTitle);
  }
  if (!app::readWholeFile(RichTextBox6, path("\\SETTING\\Results\\" + book + ".dat"))) {
    RichTextBox6.setText("");
    ui::msgBox(std::string(messages::kNoResultsFile), ui::kExclamation, kAppTitle);
  }
  return true;
}

// The list and the tree take the book's titles at once each, so a book of
// any size is laid out once.
void Form1::fillLessons(int row) {
  TreeView1.setImageList(&ImageList1);
  TreeView1.clear();
  int root = TreeView1.addNode(0, kAppTitle, kAppTitle, 2);
  TreeView1.setNodeBackColor(root, kTreeBack);
  TreeView1.setNodeToolTip(root, kBookMenuHint);
  const std::vector<std::string> titles = content::splitCaretList(RichTextBox2.text());
  List1.clear();
  List1.addItems(titles);
  TreeView1.addNodes(root, titles, 1, kTreeBack);
  TreeView1.expand(root);
  TreeView1.selectNode(row + 2);
  List1.setListIndex(row);
}

bool Form1::openSelectedLesson() {
  int k = List1.listIndex();
  if (k < 0) return false;
  if (platform::fileExists(lessonFile(k))) {
    if (!loadlesson()) return false;
    List1.setToolTipText(std::string(messages::kCurrentLesson) + List1.text());
    return true;
  }
  ui::msgBox(std::string(messages::kLessonNotInstalled), ui::kInformation,
             std::string(messages::kNoticeTitle));
  List1.setListIndex(loadedlesson);
  TreeView1.selectNode(loadedlesson + 2);
  return false;
}

void Form1::TreeView1_NodeClick(int index) {
  if (index == 1) return;  // the root
  List1.setListIndex(index - 2);
  openSelectedLesson();
}

// Collapsing the root leaves the root selected; the lesson comes back with it.
void Form1::TreeView1_Expand(int index) {
  if (index == 1 && List1.listIndex() >= 0) TreeView1.selectNode(List1.listIndex() + 2);
}

void Form1::List1_MouseUp(const ui::MouseEvent&) { openSelectedLesson(); }

// The list and the tree name the new book's lessons at once, so that a node
// always opens a lesson of the book that is current; the first lesson is
// loaded one timer tick after the click.
void Form1::Combo1_Click() {
  const std::string book = Combo1.text();
  if (!readBookTexts(book)) {
    ui::msgBox(messages::notABookTitle(book), ui::kExclamation, kAppTitle);
    returnToLoadedBook();
    return;
  }
  fillLessons(0);
  Timer3.setEnabled(true);
}

// A right-click on the tree offers the books installed (those with a
// lesson-title file), the current one marked; a pick changes the book as the
// book holder does.
void Form1::TreeView1_MenuRequest() {
  // The program folder's books, and the book holder's titles whose list file
  // is found (the learner's own books among them).
  std::vector<std::string> books = platform::fileStemsIn(path("\\SETTING\\BookList"), ".dat");
  for (int i = 0; i < Combo1.listCount(); ++i)
    if (platform::fileExists(path("\\SETTING\\BookList\\" + Combo1.list(i) + ".dat")))
      books.push_back(Combo1.list(i));
  std::sort(books.begin(), books.end());
  books.erase(std::unique(books.begin(), books.end()), books.end());
  std::erase_if(books, [](const std::string& b) { return !content::isSafeBookTitle(b); });
  const auto current = std::find(books.begin(), books.end(), Combo1.text());
  const int marked = current == books.end() ? -1 : int(current - books.begin());
  ui::popupMenu(books, marked, [this, books](int i) { chooseBook(books[i]); });
}

void Form1::chooseBook(const std::string& book) {
  if (book == Combo1.text()) return;
  Combo1.setText(book);
  Combo1_Click();
}

void Form1::Timer3_Timer() {
  Timer3.setEnabled(false);
  openSelectedLesson();
  if (Combo1.text() != loadedBook_) returnToLoadedBook();
}

// A book whose first lesson cannot be opened is not changed to: the book of
// the loaded lesson comes back with its list and results, so a pass is never
// written to another book's results.
void Form1::returnToLoadedBook() {
  if (loadedBook_.empty() || Combo1.text() == loadedBook_) return;
  Combo1.setText(loadedBook_);
  readBookTexts(loadedBook_);
  fillLessons(loadedlesson);
}
