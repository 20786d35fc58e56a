#include "bookmaker/texts.h"

#include <iconv.h>

#include <QString>
#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "bookmaker/book_error.h"
#include "platform/text/rich_text.h"

namespace bookmaker {

namespace {

const char* const kEncodings = "utf-8, utf-16, utf-16-le, utf-16-be, gb18030, cp936";
const std::string kSeparators = "*#^\\";

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& text) { return text.toStdString(); }

struct Decoded {
  std::optional<std::string> text;
  std::size_t failedAt = 0;
};

// The bytes in `from` as UTF-8, or where the first invalid sequence begins.
Decoded convert(std::string_view data, const char* from) {
  iconv_t cd = iconv_open("UTF-8", from);
  if (cd == iconv_t(-1)) throw BookError(std::string("no converter for ") + from);
  std::string out(data.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(data.data());
  std::size_t inLeft = data.size(), outLeft = out.size();
  char* at = out.data();
  const std::size_t done = iconv(cd, &in, &inLeft, &at, &outLeft);
  iconv_close(cd);
  if (done == std::size_t(-1)) return {std::nullopt, std::size_t(in - data.data())};
  out.resize(out.size() - outLeft);
  return {out, 0};
}

// The iconv name of an encoding as the options spell it, or empty.
std::string iconvName(std::string name, bool hasBom) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return c == '_' ? '-' : char(std::tolower(c)); });
  if (name == "utf-8" || name == "utf8") return "UTF-8";
  if (name == "utf-16" || name == "utf16") return hasBom ? "UTF-16" : "UTF-16LE";
  if (name == "utf-16-le" || name == "utf-16le") return "UTF-16LE";
  if (name == "utf-16-be" || name == "utf-16be") return "UTF-16BE";
  if (name == "gb18030") return "GB18030";
  if (name == "cp936" || name == "gbk") return "GBK";
  return {};
}

bool startsWith(std::string_view data, std::string_view head) { return data.starts_with(head); }

int lineOf(std::string_view data, std::size_t offset, bool wide) {
  int line = 1;
  for (std::size_t k = 0; k < offset && k < data.size(); ++k) {
    if (data[k] != '\n') continue;
    if (!wide || (k + 1 < offset && data[k + 1] == '\0')) ++line;
  }
  return line;
}

std::string withoutBom(std::string text) {
  while (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

}  // namespace

std::string decodeText(std::string_view data, const std::string& name,
                       const std::optional<std::string>& encoding) {
  const bool utf16Bom = startsWith(data, "\xFF\xFE") || startsWith(data, "\xFE\xFF");
  std::vector<std::pair<std::string, std::string_view>> candidates;  // iconv name, bytes
  if (encoding) {
    const std::string named = iconvName(*encoding, utf16Bom);
    if (named.empty())
      throw BookError("unknown encoding " + quote(*encoding) + "; use one of " + kEncodings);
    candidates.push_back({named, data});
  } else if (startsWith(data, "\xEF\xBB\xBF")) {
    candidates.push_back({"UTF-8", data});
  } else if (utf16Bom) {
    candidates.push_back({"UTF-16", data});
  } else if (data.find('\0') != std::string_view::npos) {  // no other encoding here holds NUL
    throw BookError(name +
                    ": UTF-16 without a byte-order mark? name it with --encoding utf-16-le "
                    "(or utf-16-be)");
  } else {
    // Chinese text in GB18030 is almost never valid UTF-8, so UTF-8 first.
    candidates = {{"UTF-8", data}, {"GB18030", data}};
  }
  std::size_t failedAt = 0;
  bool wide = false;
  for (const auto& [from, bytes] : candidates) {
    const Decoded decoded = convert(bytes, from.c_str());
    if (decoded.text) return withoutBom(*decoded.text);
    failedAt = decoded.failedAt;
    wide = from.starts_with("UTF-16");
  }
  const int line = lineOf(data, failedAt, wide);
  if (encoding) throw BookError(name + ":" + std::to_string(line) + ": not valid " + *encoding);
  throw BookError(name + ":" + std::to_string(line) +
                  ": neither UTF-8 nor GB18030; name the encoding with --encoding");
}

std::string readText(const std::string& path, const std::optional<std::string>& encoding) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw BookError(path + ": cannot be read");
  const std::string data{std::istreambuf_iterator<char>(in), {}};
  return decodeText(data, path, encoding);
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char c = text[k];
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
      if (c == '\r' && k + 1 < text.size() && text[k + 1] == '\n') ++k;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string trimmed(const std::string& text) { return s(q(text).trimmed()); }

std::string oneLine(const std::string& text) { return s(q(text).simplified()); }

bool hasChinese(const std::string& text) {
  for (const char32_t c : q(text).toStdU32String()) {
    if ((c >= 0x3400 && c <= 0x4dbf) || (c >= 0x4e00 && c <= 0x9fff) ||
        (c >= 0xf900 && c <= 0xfaff) || c >= 0x20000)
      return true;
  }
  return false;
}

std::string quote(const std::string& text) {
  const bool single = text.find('\'') != std::string::npos && text.find('"') == std::string::npos;
  const char mark = single ? '"' : '\'';
  std::string out(1, mark);
  for (const char32_t c : q(text).toStdU32String()) {
    char buffer[16];
    if (c == '\\' || c == char32_t(mark)) {
      out += '\\';
      out += char(c);
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (c < 0x20 || (c >= 0x7f && c < 0xa0)) {
      std::snprintf(buffer, sizeof buffer, "\\x%02x", unsigned(c));
      out += buffer;
    } else {
      out += s(QString::fromUcs4(&c, 1));
    }
  }
  return out + mark;
}

std::string toCp936(const std::string& text, const std::string& what) {
  const std::string bytes = platform::encodeCp936(text);
  if (platform::decodeCp936(bytes) == text) return bytes;
  for (const char32_t c : q(text).toStdU32String()) {
    const std::string one = s(QString::fromUcs4(&c, 1));
    if (platform::decodeCp936(platform::encodeCp936(one)) != one)
      throw BookError(what + ": " + quote(one) + " has no code page 936 form");
  }
  throw BookError(what + ": has no code page 936 form");
}

std::string cleanField(const std::string& text, const std::string& where, const std::string& name,
                       const Tell& tell, bool required) {
  std::string field = s(q(text).simplified());  // a field is one line
  if (required && field.empty()) throw BookError(where + ": the " + name + " is empty");
  for (const char mark : kSeparators) {
    if (field.find(mark) == std::string::npos) continue;
    const char32_t twinCode = char32_t(mark) + 0xFEE0;
    const std::string twin = s(QString::fromUcs4(&twinCode, 1)), from(1, mark);
    for (std::size_t at = field.find(mark); at != std::string::npos; at = field.find(mark, at))
      field.replace(at, 1, twin);
    tell(where + ": " + quote(from) + " in the " + name + " replaced by " + quote(twin) +
         " (the player reads " + quote(from) + " as a separator)");
  }
  const QString checked = q(field);
  if (std::any_of(checked.begin(), checked.end(),
                  [](QChar c) { return c.category() == QChar::Other_Control; }))
    throw BookError(where + ": the " + name + " holds a control character");
  toCp936(field, where + ": the " + name);
  return field;
}

std::string typeableEnglish(const std::string& text) {
  // What a word processor or a subtitle editor puts into English that the
  // learner cannot type; NFKC and dropping accents handle the rest.
  static const std::vector<std::pair<QString, QString>> kTypeable = {
      {QString(QChar(0x2018)), "'"},   {QString(QChar(0x2019)), "'"},
      {QString(QChar(0x201c)), "\""},  {QString(QChar(0x201d)), "\""},
      {QString(QChar(0x2013)), "-"},   {QString(QChar(0x2014)), "-"},
      {QString(QChar(0x2026)), "..."}, {QString(QChar(0x00a0)), " "},
      {QString(QChar(0x266a)), ""},    {QString(QChar(0x266b)), ""}};
  QString english = q(text);
  for (const auto& [from, to] : kTypeable) english.replace(from, to);
  english =
      english.normalized(QString::NormalizationForm_KC).normalized(QString::NormalizationForm_KD);
  QString plain;
  for (const char32_t c : english.toStdU32String()) {
    if (QChar::combiningClass(c) == 0) plain += QString::fromUcs4(&c, 1);
  }
  return s(plain);
}

Sentence makeSentence(const Fields& fields, const std::string& where, const Tell& tell) {
  const std::string english =
      cleanField(typeableEnglish(fields.english), where, "English sentence", tell, true);
  for (const char32_t c : q(english).toStdU32String()) {
    const bool twin = c == 0xFF0A || c == 0xFF03 || c == 0xFF3E || c == 0xFF3C;
    if (c >= 0x80 && !twin)
      throw BookError(where + ": the English sentence holds letters the learner cannot type: " +
                      quote(english));
  }
  return {english, cleanField(fields.chinese, where, "Chinese translation", tell),
          cleanField(fields.note, where, "note", tell), where};
}

Fields splitFields(const std::string& line) {
  if (line.find('|') != std::string::npos) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (std::size_t bar = line.find('|');; bar = line.find('|', from)) {
      parts.push_back(trimmed(line.substr(from, bar == std::string::npos ? bar : bar - from)));
      if (bar == std::string::npos) break;
      from = bar + 1;
    }
    if (parts.size() > 3)
      throw std::invalid_argument("expected \"English | 中文 | note\", found " +
                                  std::to_string(parts.size()) + " fields");
    parts.resize(3);
    return {parts[0], parts[1], parts[2]};
  }
  for (std::size_t slash = line.rfind('/'); slash != std::string::npos;
       slash = slash ? line.rfind('/', slash - 1) : std::string::npos) {
    const std::string left = trimmed(line.substr(0, slash)),
                      right = trimmed(line.substr(slash + 1));
    if (hasChinese(right) && !hasChinese(left)) return {left, right, ""};
    if (hasChinese(left) && !hasChinese(right) && !right.empty()) return {right, left, ""};
  }
  if (hasChinese(line)) return {"", trimmed(line), ""};
  return {trimmed(line), "", ""};
}

Fields mergeLines(const std::vector<std::string>& lines, const std::string& where) {
  std::vector<std::string> english, chinese, notes;
  for (const std::string& line : lines) {
    Fields f;
    try {
      f = splitFields(line);
    } catch (const std::invalid_argument& error) {
      throw BookError(where + ": " + error.what());
    }
    if (!f.english.empty()) english.push_back(f.english);
    if (!f.chinese.empty()) chinese.push_back(f.chinese);
    if (!f.note.empty()) notes.push_back(f.note);
  }
  if (english.empty()) throw BookError(where + ": a cue with no English sentence");
  const auto join = [](const std::vector<std::string>& parts) {
    std::string joined;
    for (const std::string& part : parts) joined += (joined.empty() ? "" : " ") + part;
    return joined;
  };
  return {join(english), join(chinese), join(notes)};
}

}  // namespace bookmaker
