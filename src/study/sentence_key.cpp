#include "study/sentence_key.h"

#include <xxhash.h>

#include <cstdio>

namespace study {

std::string SentenceKey::text() const { return book + "/" + std::to_string(lesson) + "/" + digest; }

std::string textDigest(std::string_view english) {
  const XXH128_hash_t h = XXH3_128bits(english.data(), english.size());
  char hex[33];
  std::snprintf(hex, sizeof hex, "%016llx%016llx", static_cast<unsigned long long>(h.high64),
                static_cast<unsigned long long>(h.low64));
  return hex;
}

SentenceKey makeSentenceKey(std::string book, int lesson, std::string_view english, int position) {
  return {std::move(book), lesson, textDigest(english), position};
}

}  // namespace study
