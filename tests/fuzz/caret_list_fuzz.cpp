// The "^" lists and the results marks on any text: the items hold no "^" and
// read back the same from a well-formed list of them; marking a lesson passed
// turns exactly the entries "☆" + title into "★" + title and touches nothing
// else; clearing leaves no entry starting with "★"; both are idempotent.
#include <algorithm>
#include <string>
#include <vector>

#include "content/course_library.h"
#include "content/results_store.h"
#include "fuzz/fuzz_check.h"

namespace {

using content::kNotPassed;
using content::kPassed;

std::string withMark(std::string_view mark, std::string_view title) {
  return std::string(mark) + std::string(title);
}

// Only replaced marks may differ: "☆" and "★" differ in their last byte.
void checkOnlyMarksChanged(const std::string& before, const std::string& after) {
  FUZZ_CHECK(before.size() == after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i] == after[i]) continue;
    FUZZ_CHECK(i >= 2);
    const std::string_view was = std::string_view(before).substr(i - 2, 3);
    FUZZ_CHECK(was == kNotPassed || was == kPassed);
  }
}

void checkMarkPassed(const std::string& text, const std::vector<std::string>& items,
                     std::string_view title) {
  const std::string marked = content::markPassed(text, title);
  checkOnlyMarksChanged(text, marked);
  const std::vector<std::string> after = content::splitCaretList(marked);
  FUZZ_CHECK(after.size() == items.size());
  const std::string from = withMark(kNotPassed, title), to = withMark(kPassed, title);
  for (std::size_t j = 0; j < items.size(); ++j)
    FUZZ_CHECK(after[j] == (!title.empty() && items[j] == from ? to : items[j]));
  FUZZ_CHECK(content::markPassed(marked, title) == marked);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(fuzz::bytesOf(data, size));
  const std::vector<std::string> items = content::splitCaretList(text);
  std::string list = "^";
  for (const std::string& item : items) {
    FUZZ_CHECK(item.find('^') == std::string::npos);
    list += item + "^";
  }
  if (!items.empty()) FUZZ_CHECK(content::splitCaretList(list) == items);

  // Each entry's own title, a title that is the start of another, and one
  // that is no entry's.
  int titles = 0;
  for (const std::string& item : items) {
    if (++titles > 64) break;
    const std::string_view entry(item);
    if (entry.starts_with(kNotPassed) || entry.starts_with(kPassed)) {
      const std::string_view title = entry.substr(kNotPassed.size());
      checkMarkPassed(text, items, title);
      if (!title.empty()) checkMarkPassed(text, items, title.substr(0, title.size() - 1));
    }
  }
  checkMarkPassed(text, items, "no such lesson");

  const std::string cleared = content::clearMarks(text);
  checkOnlyMarksChanged(text, cleared);
  const std::vector<std::string> after = content::splitCaretList(cleared);
  FUZZ_CHECK(after.size() == items.size());
  for (std::size_t j = 0; j < items.size(); ++j) {
    const std::string_view entry(items[j]);
    FUZZ_CHECK(after[j] == (entry.starts_with(kPassed)
                                ? withMark(kNotPassed, entry.substr(kPassed.size()))
                                : items[j]));
  }
  FUZZ_CHECK(content::clearMarks(cleared) == cleared);
  return 0;
}
