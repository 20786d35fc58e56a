#pragma once
// The texts a teacher brings: reading them in whatever encoding they were
// saved in, and cleaning their sentences into fields the player can hold.
// Strings are UTF-8. A sentence is "English | 中文 | note" in a script; in
// timed text it may also be "English / 中文" on one line, or an English line
// and a Chinese line of the same cue.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bookmaker {

// Where notices go ("'#' in the note replaced by '＃' ..."): one line each.
using Tell = std::function<void(const std::string&)>;

struct Sentence {
  std::string english, chinese, note;
  std::string where;  // file and line, for messages
};

struct Fields {
  std::string english, chinese, note;
};

// Text of a file in UTF-8 or UTF-16 (with a byte-order mark), GB18030 or
// code page 936: the encoding named, else detected. Throws BookError.
std::string decodeText(std::string_view data, const std::string& name,
                       const std::optional<std::string>& encoding);
std::string readText(const std::string& path, const std::optional<std::string>& encoding);
// The lines of a text, as Python's splitlines() parts them (\n, \r\n, \r).
std::vector<std::string> splitLines(const std::string& text);
std::string trimmed(const std::string& text);
// Runs of white space as one space, none at the ends.
std::string oneLine(const std::string& text);

bool hasChinese(const std::string& text);
// A field of one line, separators replaced by their full-width twins (told),
// with no control character and a code page 936 form. Throws BookError.
std::string cleanField(const std::string& text, const std::string& where, const std::string& name,
                       const Tell& tell, bool required = false);
// The English as the learner types it: plain ASCII where it can be.
std::string typeableEnglish(const std::string& text);
Sentence makeSentence(const Fields& fields, const std::string& where, const Tell& tell);
// The fields of one line; throws std::invalid_argument on too many fields.
Fields splitFields(const std::string& line);
// One sentence's fields from the text lines of one cue (or one time).
Fields mergeLines(const std::vector<std::string>& lines, const std::string& where);
// Python's repr() of a string: how messages quote texts.
std::string quote(const std::string& text);
// The text in code page 936; throws BookError naming `what` and the character.
std::string toCp936(const std::string& text, const std::string& what);

}  // namespace bookmaker
