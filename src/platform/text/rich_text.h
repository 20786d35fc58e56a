#pragma once
// The rich-text component used as an invisible text holder: a file is read
// whole (an RTF document gives its plain text, anything else is code page 936
// text) and written whole as an RTF document. Strings inside the program are
// UTF-8.
#include <string>
#include <string_view>

namespace platform {

// Code page 936 bytes to UTF-8; every byte that is not valid reads as U+FFFD.
std::string decodeCp936(std::string_view bytes);
// UTF-8 to code page 936; a character code page 936 lacks becomes "?".
std::string encodeCp936(std::string_view utf8);

bool looksLikeRtf(std::string_view bytes);
// Valid UTF-8 that code page 936 text is not: with a byte-order mark, or with
// characters beyond ASCII (code page 936 text is almost never valid UTF-8
// where it holds Chinese).
bool looksLikeUtf8(std::string_view bytes);
// Plain text of an RTF document (\'hh escapes in code page 936, \uN escapes,
// ignorable destinations, font and colour tables skipped). Never recursive:
// truncated or deeply nested documents read without crash or hang.
std::string rtfToText(std::string_view rtf);
// The document the writer produces; rtfToText(textToRtf(s)) == s.
std::string textToRtf(std::string_view utf8);

class RichTextBox {
 public:
  enum class Load { Ok, Missing, Unreadable };
  // How a file that is not RTF is read: always as code page 936, or as UTF-8
  // when it looks like UTF-8 (a file a learner's editor saved).
  enum class PlainText { Cp936, Utf8OrCp936 };

  // Loads the file: its plain text becomes the holder's text. On failure the
  // text is left as it was.
  Load loadFile(const std::string& path, PlainText plain = PlainText::Cp936);
  const std::string& text() const { return text_; }
  void setText(std::string text) { text_ = std::move(text); }
  // Saves the text as an RTF document, replacing the file atomically: on
  // failure the old file stays byte for byte and false is returned.
  bool saveFile(const std::string& path) const;

 private:
  std::string text_;
};

}  // namespace platform
