#pragma once
// The lesson text: sentence records between "*", fields ended by "#".
// Positions count from 1, as the cursor fields of the window hold them.
#include <string>
#include <string_view>

namespace content {

// Position of the first `c` at or after `from` (1-based), 0 when there is none.
int findFrom(std::string_view text, char c, int from);
// Position of the last `c` at or before `from`, 0 when there is none.
int findBack(std::string_view text, char c, int from);

// A text that breaks the layout is read as if it kept it: a missing leading or
// final "*" is supplied and line breaks after the final "*" are dropped, so
// counting and stepping always end.
std::string repairLessonText(const std::string& text);
// The number of sentence records of a repaired text.
int countSentences(std::string_view text);

// The fields of one record: each ends at the next "#". A record with fewer
// "#" has fewer fields; the text after the last "#" found is then the last
// field that exists.
struct Record {
  std::string english, chinese, start, end, note;
  int hashes = 0;                 // how many of the five "#" were found
  int hash[5] = {0, 0, 0, 0, 0};  // their positions in the record, from 1
  // Both times are numbers, the end after the start: the stretch can be played.
  bool playable() const;
};
Record parseRecord(std::string_view record);

// Why the stretch of a record cannot be played.
enum class TimesFault { None, Missing, NotNumbers, Reversed };
TimesFault timesFault(const Record& r);

// Spaces (only U+0020) removed at both ends.
std::string trimSpaces(std::string_view s);

}  // namespace content
