#include "bookmaker/timed_text.h"

#include <QString>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <regex>
#include <stdexcept>

#include "bookmaker/book_error.h"

namespace bookmaker {

namespace {

// Digits read as a number however many there are (std::stoi throws past int).
double digitsValue(const std::string& digits) {
  return digits.empty() ? 0.0 : std::strtod(digits.c_str(), nullptr);
}

double fraction(const std::string& digits) {
  if (digits.empty()) return 0.0;
  double scale = 1;
  for (std::size_t k = 0; k < digits.size(); ++k) scale *= 10;
  return digitsValue(digits) / scale;
}

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The character references subtitle editors write (&amp;, &#39; ...).
std::string unescape(const std::string& text) {
  static const std::map<std::string, std::string> kNamed = {
      {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}, {"nbsp", "\u00a0"}};
  static const std::regex kReference("&(#[0-9]+|#[xX][0-9a-fA-F]+|[A-Za-z]+);");
  std::string out;
  auto from = text.cbegin();
  for (std::sregex_iterator it(text.begin(), text.end(), kReference), end; it != end; ++it) {
    const std::string name = (*it)[1];
    std::string replacement = it->str();
    if (name[0] == '#') {
      const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
      const std::string digits = name.substr(hex ? 2 : 1);
      const double code =
          digits.size() > 8 ? 0 : double(std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10));
      if (code > 0 && code < 0x110000) {
        const char32_t c = char32_t(code);
        replacement = QString::fromUcs4(&c, 1).toStdString();
      }
    } else if (const auto named = kNamed.find(name); named != kNamed.end()) {
      replacement = named->second;
    }
    out.append(from, (*it)[0].first);
    out += replacement;
    from = (*it)[0].second;
  }
  out.append(from, text.cend());
  return out;
}

bool isChineseOnly(const std::string& words) { return splitFields(words).english.empty(); }

struct LrcEntry {
  double time;
  int line;
  std::string words;
};

}  // namespace

TimedText parseLrc(const std::string& text, const std::string& name, const Tell& tell) {
  static const std::regex kTime(R"(^\[(\d+):(\d{1,2})(?:[.:](\d{1,3}))?\])");
  static const std::regex kTag(R"(^\[([A-Za-z#]+):(.*)\]$)");
  static const std::regex kWordTime(R"(<\d+:\d{1,2}(?:[.:]\d{1,3})?>)");
  std::vector<LrcEntry> entries;
  TimedText timed;
  double offset = 0;
  int number = 0;
  for (const std::string& raw : splitLines(text)) {
    ++number;
    std::string line = trimmed(raw);
    std::vector<double> times;
    std::smatch match;
    while (std::regex_search(line, match, kTime)) {
      times.push_back(digitsValue(match[1]) * 60 + digitsValue(match[2]) + fraction(match[3]));
      line = trimmed(match.suffix());
    }
    if (times.empty()) {
      std::smatch tag;
      const bool isTag = std::regex_match(line, tag, kTag);
      std::string key = isTag ? tag[1].str() : "";
      std::transform(key.begin(), key.end(), key.begin(),
                     [](unsigned char c) { return std::tolower(c); });
      if (key == "ti") {
        const std::string title = trimmed(tag[2]);
        timed.title = title.empty() ? std::nullopt : std::optional(title);
      } else if (key == "offset") {
        static const std::regex kWhole(R"(^[+-]?\d{1,12}$)");
        const std::string value = trimmed(tag[2]);
        if (!std::regex_match(value, kWhole))
          throw BookError(name + ":" + std::to_string(number) +
                          ": [offset:] must be whole milliseconds");
        offset = std::strtod(value.c_str(), nullptr) / 1000;
      } else if (!line.empty() && !isTag) {
        throw BookError(name + ":" + std::to_string(number) + ": a line with no [mm:ss.xx] time");
      }
      continue;
    }
    const std::string words = trimmed(unescape(std::regex_replace(line, kWordTime, "")));
    for (const double time : times) entries.push_back({time, number, words});
  }
  // Players apply the offset to every time: a positive offset shows lines sooner.
  for (LrcEntry& entry : entries) entry.time = std::max(0.0, entry.time - offset);
  std::stable_sort(entries.begin(), entries.end(),
                   [](const LrcEntry& a, const LrcEntry& b) { return a.time < b.time; });
  for (std::size_t at = 0; at < entries.size();) {
    std::size_t next = at;
    while (next < entries.size() && entries[next].time == entries[at].time) ++next;
    std::vector<std::string> same;
    int firstLine = 0;
    for (std::size_t k = at; k < next; ++k) {
      if (entries[k].words.empty()) continue;
      if (same.empty()) firstLine = entries[k].line;
      same.push_back(entries[k].words);
    }
    if (!same.empty()) {  // a time with no text ends the line before it
      const std::string where = name + ":" + std::to_string(firstLine);
      const Fields fields = mergeLines(same, where);
      if (std::count_if(same.begin(), same.end(), [](const auto& w) { return !isChineseOnly(w); }) >
          1)
        throw BookError(where + ": two English lines at the same time " +
                        fixed(entries[at].time, 2) + " s");
      Cue cue{makeSentence(fields, where, tell), entries[at].time, std::nullopt, std::nullopt};
      if (next < entries.size()) cue.limit = entries[next].time;
      timed.cues.push_back(cue);
    }
    at = next;
  }
  return timed;
}

namespace {

double cueSeconds(const std::smatch& m, int first) {
  const std::string hours = m[first];
  return (hours.empty() ? 0 : digitsValue(hours)) * 3600 + digitsValue(m[first + 1]) * 60 +
         digitsValue(m[first + 2]) + fraction(m[first + 3]);
}

// SRT and WebVTT alike: blocks apart by blank lines, a time line
// "start --> end" and the cue's text lines after it.
template <typename Skip>
std::vector<TextCue> parseCues(const std::string& text, const std::string& name, Skip skip) {
  static const std::string kCueTime = R"((?:(\d+):)?(\d{1,2}):(\d{1,2})[,.](\d{1,3}))";
  static const std::regex kCueLine("^\\s*" + kCueTime + "\\s*-->\\s*" + kCueTime + "(?:\\s.*)?$");
  static const std::regex kMarkup(R"(<[^>]*>|\{\\[^}]*\})");  // <i>, <v Name>, {\an8}
  const std::vector<std::string> lines = splitLines(text);
  const auto blank = [&](std::size_t k) { return trimmed(lines[k]).empty(); };
  std::vector<TextCue> cues;
  std::size_t at = 0;
  while (at < lines.size()) {
    while (at < lines.size() && blank(at)) ++at;
    const std::size_t blockStart = at;
    while (at < lines.size() && !blank(at)) ++at;
    const std::vector<std::string> block(lines.begin() + long(blockStart),
                                         lines.begin() + long(at));
    if (block.empty() || skip(block)) continue;
    std::size_t timeAt = 0;
    while (timeAt < block.size() && block[timeAt].find("-->") == std::string::npos) ++timeAt;
    if (timeAt >= block.size() || timeAt > 1)
      throw BookError(name + ":" + std::to_string(blockStart + 1) +
                      ": a cue with no \"start --> end\" time line");
    const std::string where = name + ":" + std::to_string(blockStart + timeAt + 1);
    std::smatch m;
    if (!std::regex_match(block[timeAt], m, kCueLine))
      throw BookError(where + ": cannot read the cue times " + quote(trimmed(block[timeAt])));
    std::vector<std::string> words;
    for (std::size_t k = timeAt + 1; k < block.size(); ++k) {
      const std::string w = trimmed(unescape(std::regex_replace(block[k], kMarkup, "")));
      if (!w.empty()) words.push_back(w);
    }
    if (words.empty()) throw BookError(where + ": a cue with no text");
    cues.push_back({cueSeconds(m, 1), cueSeconds(m, 5), words, where});
  }
  return cues;
}

// "H:MM:SS.cc", ASS's time.
std::optional<double> assSeconds(const std::string& text) {
  static const std::regex kTime(R"(^\s*(\d+):(\d{1,2}):(\d{1,2})[.,](\d{1,3})\s*$)");
  std::smatch m;
  if (!std::regex_match(text, m, kTime)) return std::nullopt;
  return digitsValue(m[1]) * 3600 + digitsValue(m[2]) * 60 + digitsValue(m[3]) + fraction(m[4]);
}

// The lines an ASS event shows: override blocks ({\...}) and drawings
// ({\p1} ... {\p0}) removed, \N and \n parting lines, \h a space.
std::vector<std::string> eventLines(const std::string& text) {
  static const std::regex kDrawing(R"(\\p(\d+))");
  std::vector<std::string> lines(1);
  bool drawing = false;
  for (std::size_t k = 0; k < text.size(); ++k) {
    if (text[k] == '{') {
      const std::size_t close = text.find('}', k);
      if (close == std::string::npos) break;
      const std::string block = text.substr(k, close - k);
      for (std::sregex_iterator it(block.begin(), block.end(), kDrawing), end; it != end; ++it)
        drawing = digitsValue((*it)[1]) > 0;
      k = close;
    } else if (text[k] == '\\' && k + 1 < text.size() &&
               (text[k + 1] == 'N' || text[k + 1] == 'n')) {
      lines.emplace_back();
      ++k;
    } else if (text[k] == '\\' && k + 1 < text.size() && text[k + 1] == 'h') {
      if (!drawing) lines.back() += ' ';
      ++k;
    } else if (!drawing) {
      lines.back() += text[k];
    }
  }
  std::vector<std::string> shown;
  for (const std::string& line : lines)
    if (!trimmed(line).empty()) shown.push_back(trimmed(line));
  return shown;
}

std::vector<std::string> splitFieldsAt(const std::string& text, std::size_t count) {
  std::vector<std::string> fields;
  std::size_t from = 0;
  while (fields.size() + 1 < count) {
    const std::size_t comma = text.find(',', from);
    if (comma == std::string::npos) break;
    fields.push_back(trimmed(text.substr(from, comma - from)));
    from = comma + 1;
  }
  fields.push_back(text.substr(from));
  return fields;
}

}  // namespace

std::vector<TextCue> assCues(const std::string& text, const std::string& name) {
  std::vector<TextCue> cues;
  std::vector<std::string> format = {"marked",  "start",   "end",     "style",  "name",
                                     "marginl", "marginr", "marginv", "effect", "text"};
  bool events = false;
  int number = 0;
  for (const std::string& raw : splitLines(text)) {
    ++number;
    const std::string line = trimmed(raw);
    if (line.starts_with("[")) {
      events = line == "[Events]";
      continue;
    }
    if (!events) continue;
    const std::string where = name + ":" + std::to_string(number);
    if (line.starts_with("Format:")) {
      format.clear();
      for (std::string f : splitFieldsAt(line.substr(7), 99)) {
        std::transform(f.begin(), f.end(), f.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        format.push_back(trimmed(f));
      }
      continue;
    }
    if (!line.starts_with("Dialogue:")) continue;  // comments, pictures, sounds
    const std::vector<std::string> fields = splitFieldsAt(line.substr(9), format.size());
    const auto field = [&](const char* key) -> std::string {
      const auto at = std::find(format.begin(), format.end(), key);
      return at == format.end() || std::size_t(at - format.begin()) >= fields.size()
                 ? std::string()
                 : fields[std::size_t(at - format.begin())];
    };
    const auto start = assSeconds(field("start")), end = assSeconds(field("end"));
    if (!start || !end) throw BookError(where + ": cannot read the event's times");
    cues.push_back({*start, *end, eventLines(field("text")), where});
  }
  std::stable_sort(cues.begin(), cues.end(),
                   [](const TextCue& a, const TextCue& b) { return a.start < b.start; });
  return cues;
}

std::vector<std::string> assLines(const std::string& text) { return eventLines(text); }

std::vector<TextCue> srtCues(const std::string& text, const std::string& name) {
  return parseCues(text, name, [](const auto&) { return false; });
}

std::vector<TextCue> vttCues(const std::string& text, const std::string& name) {
  if (!trimmed(text).starts_with("WEBVTT"))
    throw BookError(name + ":1: a WebVTT file begins with \"WEBVTT\"");
  return parseCues(text, name, [](const std::vector<std::string>& block) {
    const std::string first = trimmed(block[0]);  // the header, comments, styles and regions
    for (const char* head : {"WEBVTT", "NOTE", "STYLE", "REGION"})
      if (first.starts_with(head)) return true;
    return false;
  });
}

std::vector<std::string> speechLines(const std::vector<std::string>& lines) {
  // [Music], (laughs), （笑）, ♪ ... ♪: sounds, not speech; "JOHN:" and "- ": who speaks.
  static const std::regex kSound(R"(\[[^\]]*\]|\([^)]*\)|（[^）]*）|【[^】]*】|♪|♫)");
  static const std::regex kSpeaker(R"(^(?:-\s*)?(?:[A-Z][A-Z0-9 .'-]*:\s+)?(?:-\s+)?)");
  std::vector<std::string> speech;
  for (const std::string& line : lines) {
    std::string cleaned = trimmed(std::regex_replace(line, kSound, " "));
    cleaned = trimmed(std::regex_replace(cleaned, kSpeaker, ""));
    const bool words = std::any_of(cleaned.begin(), cleaned.end(), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
    });
    if (words) speech.push_back(oneLine(cleaned));
  }
  return speech;
}

TimedText sentencesOf(std::vector<TextCue> cues, const std::vector<TextCue>& chinese,
                      const std::string& name, const Tell& tell) {
  std::vector<TextCue> english, ownChinese;
  int leftOut = 0;
  for (TextCue& cue : cues) {
    const std::vector<std::string> speech = speechLines(cue.lines);
    if (speech.empty()) {
      ++leftOut;
      continue;
    }
    cue.lines = speech;
    const bool hasEnglish = std::any_of(speech.begin(), speech.end(), [](const std::string& l) {
      try {
        return !splitFields(l).english.empty();
      } catch (const std::invalid_argument&) {
        return true;  // too many fields: mergeLines tells it with the cue's line
      }
    });
    (hasEnglish ? english : ownChinese).push_back(cue);
  }
  // A Chinese cue (another style, another file, another track) goes with
  // the English cue it overlaps most.
  const auto attach = [&](const TextCue& zh) {
    TextCue* best = nullptr;
    double most = 0;
    for (TextCue& en : english) {
      const double overlap = std::min(en.end, zh.end) - std::max(en.start, zh.start);
      if (overlap > most) most = overlap, best = &en;
    }
    if (best)
      for (const std::string& line : speechLines(zh.lines)) best->lines.push_back(line);
    return best != nullptr;
  };
  for (const TextCue& zh : ownChinese)
    if (!attach(zh)) throw BookError(zh.where + ": a cue with no English sentence");
  for (const TextCue& zh : chinese)
    attach(zh);  // a translation of what the recording does not say: dropped
  if (leftOut > 0)
    tell(name + ": " + std::to_string(leftOut) + (leftOut == 1 ? " cue" : " cues") +
         " with no speech to type left out (sound descriptions, music, speaker labels only)");
  TimedText timed;
  for (const TextCue& cue : english)
    timed.cues.push_back({makeSentence(mergeLines(cue.lines, cue.where), cue.where, tell),
                          cue.start, cue.end, std::nullopt});
  return timed;
}

TimedText parseSrt(const std::string& text, const std::string& name, const Tell& tell) {
  return sentencesOf(srtCues(text, name), {}, name, tell);
}

TimedText parseVtt(const std::string& text, const std::string& name, const Tell& tell) {
  return sentencesOf(vttCues(text, name), {}, name, tell);
}

TimedText parseAss(const std::string& text, const std::string& name, const Tell& tell) {
  return sentencesOf(assCues(text, name), {}, name, tell);
}

TextCueReader textCueReader(const std::string& extension) {
  if (extension == ".srt") return srtCues;
  if (extension == ".vtt") return vttCues;
  if (extension == ".ass" || extension == ".ssa") return assCues;
  return nullptr;
}

TimedTextReader timedTextReader(const std::string& extension) {
  if (extension == ".lrc") return parseLrc;
  if (extension == ".srt") return parseSrt;
  if (extension == ".vtt") return parseVtt;
  if (extension == ".ass" || extension == ".ssa") return parseAss;
  return nullptr;
}

void checkCueOrder(const std::vector<Cue>& cues, double duration, const std::string& recording) {
  const double grace = 0.05;  // decoders differ by a frame at the very end
  const Cue* previous = nullptr;
  for (const Cue& cue : cues) {
    const std::string& where = cue.sentence.where;
    if (cue.end && *cue.end <= cue.start)
      throw BookError(where + ": the cue ends (" + fixed(*cue.end, 3) + " s) before it starts (" +
                      fixed(cue.start, 3) + " s)");
    if (previous && cue.start < previous->start)
      throw BookError(where + ": the cue starts (" + fixed(cue.start, 3) +
                      " s) before the cue above it (" + fixed(previous->start, 3) + " s)");
    if (previous && previous->end && cue.start < *previous->end)
      throw BookError(where + ": the cue starts (" + fixed(cue.start, 3) +
                      " s) before the cue above it ends (" + fixed(*previous->end, 3) + " s)");
    const double last = cue.end.value_or(cue.start);
    if (last > duration + grace)
      throw BookError(where + ": " + fixed(last, 3) + " s is beyond the end of " + recording +
                      " (" + fixed(duration, 3) + " s)");
    previous = &cue;
  }
}

}  // namespace bookmaker
