// The lesson text on any bytes: the repair gives a text that begins and ends
// with "*" and that a second repair leaves alone; stepping Next from the first
// record reaches the last "*" in exactly the counted number of steps, stepping
// Previous comes back to the first; every record's fields put back together
// give the record, and the times read as numbers without overflow.
#include "app/numeric.h"
#include "content/lesson_text.h"
#include "fuzz/fuzz_check.h"

namespace {

void checkRecord(std::string_view record) {
  FUZZ_CHECK(record.find('*') == std::string_view::npos);
  const content::Record r = content::parseRecord(record);
  FUZZ_CHECK(r.hashes >= 0 && r.hashes <= 5);
  const std::string* fields[] = {&r.english, &r.chinese, &r.start, &r.end, &r.note};
  std::string joined;
  for (int k = 0; k < r.hashes; ++k) {
    FUZZ_CHECK(r.hash[k] >= 1 && r.hash[k] <= int(record.size()) &&
               record[static_cast<std::size_t>(r.hash[k] - 1)] == '#');
    FUZZ_CHECK(fields[k]->find('#') == std::string::npos);
    joined += *fields[k] + "#";
  }
  if (r.hashes < 5) joined += *fields[r.hashes];
  FUZZ_CHECK(record.starts_with(joined));
  if (r.hashes < 5) FUZZ_CHECK(joined == record);

  for (const std::string* f : fields) {
    const std::string trimmed = content::trimSpaces(*f);
    FUZZ_CHECK(content::trimSpaces(trimmed) == trimmed);
    FUZZ_CHECK(f->find(trimmed) != std::string::npos);
  }
  if (r.playable()) {
    const double start = app::val(r.start), end = app::val(r.end);
    app::toInteger(start * 1000);
    app::toInteger(end * 1000);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string raw(fuzz::bytesOf(data, size));
  const std::string text = content::repairLessonText(raw);
  FUZZ_CHECK(content::repairLessonText(text) == text);
  if (text.empty()) {
    FUZZ_CHECK(raw.empty());
    FUZZ_CHECK(content::countSentences(text) == 0);
    return 0;
  }
  FUZZ_CHECK(text.front() == '*' && text.back() == '*');
  const int n = content::countSentences(text);

  // Next, as the navigation steps it: from the "*" at 1 to the one after.
  int sentfrom = 0, sentto = 1;
  for (int k = 1; k <= n; ++k) {
    const int next = content::findFrom(text, '*', sentto + 1);
    FUZZ_CHECK(next > sentto);
    sentfrom = sentto;
    sentto = next;
    checkRecord(std::string_view(text).substr(static_cast<std::size_t>(sentfrom),
                                              static_cast<std::size_t>(sentto - sentfrom - 1)));
  }
  FUZZ_CHECK(sentto == int(text.size()));
  FUZZ_CHECK(content::findFrom(text, '*', sentto + 1) == 0);

  // Previous, back to the first record.
  for (int k = n; k > 1; --k) {
    const int previous = content::findBack(text, '*', sentfrom - 1);
    FUZZ_CHECK(previous >= 1 && previous < sentfrom);
    sentto = sentfrom;
    sentfrom = previous;
  }
  if (n > 0) {
    FUZZ_CHECK(sentfrom == 1);
    FUZZ_CHECK(content::findBack(text, '*', sentfrom - 1) == 0);
  }
  return 0;
}
