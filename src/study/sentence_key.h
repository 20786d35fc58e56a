#pragma once
// A sentence named across runs and across a book made again: the book's
// title, the lesson's number and a digest of the sentence's English text. The
// record's place in its lesson goes with it as a hint for finding it again; it
// is no part of the name, so a book made again whose sentences kept their
// texts keeps their keys, and a sentence whose text changed gets a new one.
#include <string>
#include <string_view>

namespace study {

struct SentenceKey {
  std::string book;
  int lesson = 0;      // from 1, as the lesson list counts
  std::string digest;  // 32 hex digits (XXH3, 128 bits) of the English text
  int position = 0;    // the record's number in its lesson, from 1: a hint only

  bool empty() const { return digest.empty(); }
  // "Book01/3/<digest>": what a store keeps (the position is left out).
  std::string text() const;
  friend bool operator==(const SentenceKey& a, const SentenceKey& b) {
    return a.book == b.book && a.lesson == b.lesson && a.digest == b.digest;
  }
};

// The digest of an English sentence as the window shows it (spaces at its
// ends trimmed); the same text gives the same digest on every run and machine.
std::string textDigest(std::string_view english);
SentenceKey makeSentenceKey(std::string book, int lesson, std::string_view english, int position);

}  // namespace study
