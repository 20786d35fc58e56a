#include "bookmaker/lesson_script.h"

#include <optional>
#include <stdexcept>

#include "bookmaker/book_error.h"

namespace bookmaker {

Script parseScript(const std::string& text, const std::string& source, const Tell& tell) {
  std::optional<Script> script;
  int number = 0;
  for (const std::string& raw : splitLines(text)) {
    ++number;
    const std::string line = trimmed(raw);
    const std::string where = source + ":" + std::to_string(number);
    if (line.empty() || line.front() == '#') continue;
    if (!script) {
      if (line.find('|') != std::string::npos)
        throw BookError(where + ": the first line must be the lesson title");
      script = Script{cleanField(line, where, "lesson title", tell, true), {}};
      continue;
    }
    Fields fields{line, "", ""};
    if (line.find('|') != std::string::npos) {
      try {
        fields = splitFields(line);
      } catch (const std::invalid_argument& error) {
        throw BookError(where + ": " + error.what());
      }
    }
    script->sentences.push_back(makeSentence(fields, where, tell));
  }
  if (!script || script->sentences.empty())
    throw BookError(source + ": a lesson needs a title line and at least one sentence");
  return *script;
}

void checkTitles(const std::vector<std::string>& titles) {
  for (std::size_t i = 0; i < titles.size(); ++i)
    for (std::size_t j = i + 1; j < titles.size(); ++j)
      if (titles[i].starts_with(titles[j]) || titles[j].starts_with(titles[i]))
        throw BookError("lesson titles " + quote(titles[i]) + " and " + quote(titles[j]) +
                        ": one begins the other");
}

}  // namespace bookmaker
