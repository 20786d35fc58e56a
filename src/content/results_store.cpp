// The results store and the score sheet: marking a lesson passed, clearing the
// marks and the panel that lists them.
#include "content/results_store.h"

#include <vector>

#include "app/text_files.h"
#include "content/course_library.h"
#include "messages/messages.h"
#include "window/form1.h"

namespace content {

namespace {

struct Span {
  size_t begin, end;  // [begin, end) of one entry in the text
};

// The entries where splitCaretList finds them: the first character is skipped,
// each entry runs to the next "^", a missing final "^" is supplied and line
// breaks after the final "^" belong to no entry.
std::vector<Span> entrySpans(std::string_view text) {
  const size_t last = text.find_last_not_of("\r\n");
  const size_t n = last != std::string_view::npos && text[last] == '^' ? last + 1 : text.size();
  if (n == 0) return {};
  const std::string_view body = text.substr(0, n);
  const size_t stop = body.back() == '^' ? n : n + 1;  // the length with its final "^"
  std::vector<Span> spans;
  size_t p = 0;
  while (p + 1 < stop) {
    const size_t q = p;
    p = body.find('^', q + 1);
    if (p == std::string_view::npos) p = n;
    spans.push_back({q + 1, p});
  }
  return spans;
}

std::string_view entryOf(const std::string& text, Span s) {
  return std::string_view(text).substr(s.begin, s.end - s.begin);
}

}  // namespace

// Both marks are three bytes in UTF-8, so a replaced mark moves no entry.
static_assert(kNotPassed.size() == kPassed.size());

std::string markPassed(std::string results, std::string_view title,
                       const std::vector<std::string>& bookTitles) {
  if (title.empty()) return results;
  auto startsWithTitle = [](std::string_view entry, std::string_view t) {
    return entry.starts_with(kNotPassed) && entry.substr(kNotPassed.size()).starts_with(t);
  };
  auto ownEntry = [&](std::string_view entry) {
    if (!startsWithTitle(entry, title)) return false;
    for (const std::string& longer : bookTitles)
      if (longer.size() > title.size() && startsWithTitle(entry, longer)) return false;
    return true;
  };
  for (Span s : entrySpans(results))
    if (ownEntry(entryOf(results, s))) results.replace(s.begin, kNotPassed.size(), kPassed);
  return results;
}

std::string clearMarks(std::string results) {
  for (Span s : entrySpans(results))
    if (entryOf(results, s).starts_with(kPassed))
      results.replace(s.begin, kPassed.size(), kNotPassed);
  return results;
}

}  // namespace content

std::string Form1::resultsFile() const {
  return path("\\SETTING\\Results\\" + Combo1.text() + ".dat");
}

void Form1::markLessonPassed(const std::string& title) {
  changeMarks(content::markPassed(RichTextBox6.text(), title,
                                  content::splitCaretList(RichTextBox2.text())));
}

// One click would wipe the whole book's stars: the learner confirms it, and
// Enter says No.
void Form1::Command26_Click() {
  if (ui::msgBox(std::string(messages::kClearAllMarks),
                 ui::kYesNo | ui::kQuestion | ui::kDefaultButton2, kAppTitle) != ui::kYes)
    return;
  changeMarks(content::clearMarks(RichTextBox6.text()));
}

void Form1::changeMarks(const std::string& results) {
  RichTextBox6.setText(results);
  Command28_Click();
  saveResults();
}

void Form1::saveResults() {
  // An empty text was never read from a file (the learner was told when the
  // book became current): writing it would create or empty a results file.
  if (RichTextBox6.text().empty()) return;
  if (app::writeWholeFile(RichTextBox6, RichTextBox6.text(), resultsFile())) return;
  ui::msgBox(messages::resultsNotSaved(Combo1.text()), ui::kExclamation, kAppTitle);
}

void Form1::Command28_Click() {
  List2.clear();
  for (const std::string& entry : content::splitCaretList(RichTextBox6.text()))
    List2.addItem(entry);
  Picture8.setVisible(true);
  Text2.setFocus();
}

void Form1::Command27_Click() {
  Picture8.setVisible(false);
  Text2.setFocus();
}
