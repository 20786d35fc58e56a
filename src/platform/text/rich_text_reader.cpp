// The RTF reader: one pass over the bytes with an explicit stack of group
// states (runs of equal states kept as one entry), so deep nesting never uses native stack.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text/rich_text.h"
#include "platform/text/rich_text_codec.h"

namespace platform {

namespace {

enum class Word {
  Other,
  Paragraph,    // a paragraph end: a line break, but the document's last one is dropped
  LineBreak,    // a line break inside a paragraph
  Character,    // a fixed character (\tab, \emdash ...)
  Destination,  // a group whose text is not document text
  FontTable,
  Unicode,
  UnicodeSkip,
  Binary,
  AnsiCodePage,
  DefaultFont,
  Font,
  FontCharset,
  FontCodePage,
  UnicodeAlternative,  // \upr: its own text is the fallback of the \ud inside it
  UnicodeDestination,  // \ud
};

struct WordAction {
  Word kind = Word::Other;
  char32_t character = 0;
};

const std::unordered_map<std::string_view, WordAction>& wordActions() {
  static const auto* actions = [] {
    auto* map = new std::unordered_map<std::string_view, WordAction>{
        {"par", {Word::Paragraph}},
        {"sect", {Word::Paragraph}},
        {"page", {Word::Paragraph}},
        {"row", {Word::Paragraph}},
        {"line", {Word::LineBreak}},
        {"tab", {Word::Character, U'\t'}},
        {"cell", {Word::Character, U'\t'}},
        {"emdash", {Word::Character, 0x2014}},
        {"endash", {Word::Character, 0x2013}},
        {"emspace", {Word::Character, 0x2003}},
        {"enspace", {Word::Character, 0x2002}},
        {"qmspace", {Word::Character, 0x2005}},
        {"bullet", {Word::Character, 0x2022}},
        {"lquote", {Word::Character, 0x2018}},
        {"rquote", {Word::Character, 0x2019}},
        {"ldblquote", {Word::Character, 0x201C}},
        {"rdblquote", {Word::Character, 0x201D}},
        {"zwj", {Word::Character, 0x200D}},
        {"zwnj", {Word::Character, 0x200C}},
        {"ltrmark", {Word::Character, 0x200E}},
        {"rtlmark", {Word::Character, 0x200F}},
        {"fonttbl", {Word::FontTable}},
        {"u", {Word::Unicode}},
        {"uc", {Word::UnicodeSkip}},
        {"bin", {Word::Binary}},
        {"ansicpg", {Word::AnsiCodePage}},
        {"deff", {Word::DefaultFont}},
        {"f", {Word::Font}},
        {"fcharset", {Word::FontCharset}},
        {"cpg", {Word::FontCodePage}},
        {"upr", {Word::UnicodeAlternative}},
        {"ud", {Word::UnicodeDestination}},
    };
    for (std::string_view name : {"colortbl",
                                  "stylesheet",
                                  "info",
                                  "pict",
                                  "header",
                                  "headerl",
                                  "headerr",
                                  "headerf",
                                  "footer",
                                  "footerl",
                                  "footerr",
                                  "footerf",
                                  "footnote",
                                  "annotation",
                                  "atnid",
                                  "atnauthor",
                                  "atndate",
                                  "atnref",
                                  "object",
                                  "objdata",
                                  "objclass",
                                  "objname",
                                  "fldinst",
                                  "themedata",
                                  "colorschememapping",
                                  "datastore",
                                  "latentstyles",
                                  "listtable",
                                  "listoverridetable",
                                  "rsidtbl",
                                  "generator",
                                  "xmlnstbl",
                                  "filetbl",
                                  "revtbl",
                                  "pgdsctbl",
                                  "private",
                                  "pntext",
                                  "pntxta",
                                  "pntxtb",
                                  "listtext",
                                  "bkmkstart",
                                  "bkmkend",
                                  "txe",
                                  "xe",
                                  "tc",
                                  "comment",
                                  "doccomm",
                                  "operator",
                                  "title",
                                  "subject",
                                  "author",
                                  "keywords",
                                  "company",
                                  "buptim",
                                  "creatim",
                                  "printim",
                                  "revtim",
                                  "userprops",
                                  "nonshppict",
                                  "shpinst",
                                  "template",
                                  "docvar",
                                  "ftnsep",
                                  "ftnsepc",
                                  "ftncn",
                                  "aftnsep",
                                  "aftnsepc",
                                  "aftncn",
                                  "background",
                                  "mmathPr"}) {
      map->emplace(name, WordAction{Word::Destination});
    }
    return map;
  }();
  return *actions;
}

// The code page of a font's \fcharset.
int charsetCodePage(int charset, int documentCodePage) {
  switch (charset) {
    case 0:
      return 1252;
    case 77:
      return 10000;
    case 128:
      return 932;
    case 129:
      return 949;
    case 130:
      return 1361;
    case 134:
      return 936;
    case 136:
      return 950;
    case 161:
      return 1253;
    case 162:
      return 1254;
    case 163:
      return 1258;
    case 177:
      return 1255;
    case 178:
      return 1256;
    case 186:
      return 1257;
    case 204:
      return 1251;
    case 222:
      return 874;
    case 238:
      return 1250;
    case 255:
      return 437;
    default:
      return documentCodePage;
  }
}

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Kept small: a document can nest millions of groups.
struct GroupState {
  int font = -1;                  // \fN; -1 until the group names one (the default font)
  std::uint16_t unicodeSkip = 1;  // \ucN: fallback characters after each \uN
  bool skipText = false;          // inside a destination whose text is not document text
  bool fontTable = false;         // inside the font table: \f and \fcharset describe fonts
  bool operator==(const GroupState&) const = default;
};

// Enclosing groups with the same state are kept as one entry with a count, so
// a file of nothing but "{" costs no memory per brace.
struct SavedGroups {
  GroupState state;
  std::uint32_t count = 0;
};

class RtfReader {
 public:
  explicit RtfReader(std::string_view rtf) : in_(rtf) {}

  std::string run() {
    while (pos_ < in_.size() && !finished_) step();
    flushBytes();
    settleSurrogate();
    // heldParagraph_ is the document's last paragraph end: not part of the text.
    return std::move(out_);
  }

 private:
  void step() {
    const char c = in_[pos_++];
    switch (c) {
      case '{':
        openGroup();
        return;
      case '}':
        closeGroup();
        return;
      case '\\':
        escape();
        return;
      case '\r':
      case '\n':
        return;  // line breaks in the source are not text
      default:
        if (consumeFallback()) return;
        textByte(c);
    }
  }

  void openGroup() {
    flushBytes();
    fallbackLeft_ = 0;
    ignorableNext_ = false;
    if (!groups_.empty() && groups_.back().state == state_ &&
        groups_.back().count < std::numeric_limits<std::uint32_t>::max())
      ++groups_.back().count;
    else
      groups_.push_back({state_, 1});
    ++depth_;
  }

  void closeGroup() {
    flushBytes();
    fallbackLeft_ = 0;
    ignorableNext_ = false;
    if (depth_ == 0) return;
    state_ = groups_.back().state;
    if (--groups_.back().count == 0) groups_.pop_back();
    // The outermost group closed: whatever follows is not part of the document.
    if (--depth_ == 0) finished_ = true;
  }

  void escape() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (isLetter(c)) {
      controlWord();
      return;
    }
    ++pos_;
    if (c == '\'') {
      hexByte();
      return;
    }
    if (consumeFallback()) return;
    switch (c) {
      case '\\':
      case '{':
      case '}':
        textByte(c);
        return;
      case '~':
        character(0x00A0);
        return;
      case '_':
        character(0x2011);
        return;
      case '\r':
      case '\n':
        paragraphEnd();
        return;
      case '*':
        // "{\*\word": a destination this reader may not know; its text is skipped.
        if (depth_ > 1) ignorableNext_ = true;
        return;
      default:
        return;  // \- optional hyphen, \: index entry, \| formula and the like
    }
  }

  void hexByte() {
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < in_.size() && hexValue(in_[pos_]) >= 0) {
      value = value * 16 + hexValue(in_[pos_++]);
      ++digits;
    }
    if (consumeFallback() || digits < 2) return;
    textByte(static_cast<char>(value));
  }

  void controlWord() {
    const std::size_t start = pos_;
    while (pos_ < in_.size() && isLetter(in_[pos_])) ++pos_;
    const std::string_view name = in_.substr(start, pos_ - start);
    bool hasParameter = false;
    long long parameter = 0;
    bool negative = false;
    if (pos_ + 1 < in_.size() && in_[pos_] == '-' && isDigit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    while (pos_ < in_.size() && isDigit(in_[pos_])) {
      hasParameter = true;
      // Clamped, so an absurdly long number cannot overflow.
      parameter = std::min<long long>(parameter * 10 + (in_[pos_++] - '0'), 1'000'000'000);
    }
    if (negative) parameter = -parameter;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;

    const auto found = wordActions().find(name);
    const WordAction action = found == wordActions().end() ? WordAction{} : found->second;
    if (action.kind == Word::Binary) {
      // Binary data is never text, also when it stands in a fallback.
      const auto length = static_cast<std::size_t>(std::max<long long>(parameter, 0));
      pos_ += std::min(length, in_.size() - pos_);
      if (fallbackLeft_ > 0) --fallbackLeft_;
      return;
    }
    if (consumeFallback()) return;
    flushBytes();
    if (ignorableNext_) {
      ignorableNext_ = false;
      if (action.kind == Word::UnicodeDestination) {
        state_.skipText = false;
        return;
      }
      state_.skipText = true;
    }
    apply(action, hasParameter, static_cast<int>(parameter));
  }

  void apply(const WordAction& action, bool hasParameter, int parameter) {
    switch (action.kind) {
      case Word::Paragraph:
        paragraphEnd();
        return;
      case Word::LineBreak:
        character(U'\n');
        return;
      case Word::Character:
        character(action.character);
        return;
      case Word::Destination:
        state_.skipText = true;
        return;
      case Word::FontTable:
        state_.skipText = true;
        state_.fontTable = true;
        return;
      case Word::Unicode:
        if (!hasParameter) return;
        unicode(parameter);
        fallbackLeft_ = state_.unicodeSkip;
        return;
      case Word::UnicodeSkip:
        if (hasParameter)
          state_.unicodeSkip = static_cast<std::uint16_t>(std::clamp(parameter, 0, 0xFFFF));
        return;
      case Word::AnsiCodePage:
        if (parameter > 0) documentCodePage_ = parameter;
        return;
      case Word::DefaultFont:
        defaultFont_ = parameter;
        return;
      case Word::Font:
        if (state_.fontTable)
          tableFont_ = parameter;
        else if (hasParameter)
          state_.font = parameter;
        return;
      case Word::FontCharset:
        if (state_.fontTable) fontCharsets_[tableFont_] = parameter;
        return;
      case Word::FontCodePage:
        if (state_.fontTable && parameter > 0) fontCodePages_[tableFont_] = parameter;
        return;
      case Word::UnicodeAlternative:
        state_.skipText = true;
        return;
      case Word::UnicodeDestination:
        state_.skipText = false;
        return;
      case Word::Binary:
      case Word::Other:
        return;
    }
  }

  // True when the current token is one of the fallback characters after \uN.
  bool consumeFallback() {
    if (fallbackLeft_ == 0) return false;
    --fallbackLeft_;
    return true;
  }

  void textByte(char byte) {
    if (state_.skipText) return;
    settleSurrogate();
    bytes_ += byte;
  }

  int codePage() const {
    const int font = state_.font >= 0 ? state_.font : defaultFont_;
    if (auto cpg = fontCodePages_.find(font); cpg != fontCodePages_.end()) return cpg->second;
    if (auto charset = fontCharsets_.find(font); charset != fontCharsets_.end())
      return charsetCodePage(charset->second, documentCodePage_);
    return documentCodePage_;
  }

  void flushBytes() {
    if (bytes_.empty()) return;
    releaseParagraph();
    if (std::all_of(bytes_.begin(), bytes_.end(),
                    [](char b) { return static_cast<unsigned char>(b) < 0x80; }))
      out_ += bytes_;
    else
      decoders_.append(bytes_, codePage(), out_);
    bytes_.clear();
  }

  void unicode(int value) {
    if (state_.skipText) return;
    if (value < 0) value += 0x10000;
    const char32_t cp = value < 0 || value > 0x10FFFF ? codec::kReplacement : value;
    const bool high = cp >= 0xD800 && cp <= 0xDBFF;
    const bool low = cp >= 0xDC00 && cp <= 0xDFFF;
    if (low && highSurrogate_ != 0) {
      const char32_t full = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (cp - 0xDC00);
      highSurrogate_ = 0;
      append(full);
      return;
    }
    settleSurrogate();
    if (high)
      highSurrogate_ = cp;
    else
      append(low ? codec::kReplacement : cp);
  }

  void character(char32_t cp) {
    if (state_.skipText) return;
    flushBytes();
    settleSurrogate();
    append(cp);
  }

  void paragraphEnd() {
    if (state_.skipText) return;
    flushBytes();
    settleSurrogate();
    releaseParagraph();
    heldParagraph_ = true;
  }

  // A high surrogate not followed by its low half is not a character.
  void settleSurrogate() {
    if (highSurrogate_ == 0) return;
    highSurrogate_ = 0;
    append(codec::kReplacement);
  }

  void append(char32_t cp) {
    releaseParagraph();
    codec::appendUtf8(out_, cp);
  }

  // A paragraph end is held until more text follows it.
  void releaseParagraph() {
    if (!heldParagraph_) return;
    heldParagraph_ = false;
    out_ += '\n';
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  bool finished_ = false;
  std::vector<SavedGroups> groups_;
  std::size_t depth_ = 0;
  GroupState state_;
  bool ignorableNext_ = false;
  int fallbackLeft_ = 0;
  char32_t highSurrogate_ = 0;
  bool heldParagraph_ = false;
  std::string bytes_;  // text bytes waiting to be decoded in the current code page
  std::string out_;
  int documentCodePage_ = 936;
  int defaultFont_ = 0;
  int tableFont_ = -1;
  std::unordered_map<int, int> fontCharsets_;
  std::unordered_map<int, int> fontCodePages_;
  codec::Decoders decoders_;
};

}  // namespace

bool looksLikeRtf(std::string_view bytes) { return bytes.starts_with("{\\rtf"); }

std::string rtfToText(std::string_view rtf) { return RtfReader(rtf).run(); }

}  // namespace platform
