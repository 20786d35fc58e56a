#pragma once
// A transcript aligned word by word to the speech with PocketSphinx (its US
// English acoustic model) under a grammar that accepts exactly the
// transcript's words in order, with optional pauses between any two. A
// comma's pause is then just a pause between two words of one sentence, and
// two sentences spoken with almost no pause are still parted where the last
// word of one meets the first word of the next.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bookmaker/loudness.h"

namespace bookmaker {

// The spoken words of a sentence, as lower-case tokens.
std::vector<std::string> wordsOf(const std::string& english);
// espeak-ng's IPA as the model's phones ("AY", "CH" ...).
std::string ipaToPhones(const std::string& ipa);

struct AlignedSentence {
  double start = 0, end = 0;  // seconds: its first word's start, its last word's end
  int phones = 0;
  double spoken = 0;  // the time its words take without the pauses between them
};

class Aligner {
 public:
  // Throws BookError: a sentence with no words, a word with no pronunciation,
  // PocketSphinx or its model missing.
  Aligner(const std::vector<std::string>& englishes, const std::vector<std::string>& labels);
  ~Aligner();

  // One pass over the speech (mono 16-bit at kAnalysisRate, in chunks):
  // nested, the grammar may end after any sentence (to see how far it matches).
  void start(bool nested);
  void take(const int16_t* samples, std::size_t count);
  // True when the whole text was followed to its end.
  bool finish();
  // After a pass that did not reach the end and a nested one: the message
  // naming the first line the speech could not be matched to.
  std::string unmatchedLine() const;
  // For each sentence, its aligned words (after a pass that reached the end).
  std::vector<AlignedSentence> sentences() const;
  const std::vector<std::string>& labels() const { return labels_; }

 private:
  struct Segment {
    std::string word;
    int first, last;
  };
  int lastPosition() const;

  std::vector<std::vector<std::string>> sentences_;
  std::vector<std::string> words_, labels_;
  std::vector<int> owner_;
  std::map<std::string, std::vector<std::string>> sounds_;
  std::string dictionary_;
  struct Decoder;
  std::unique_ptr<Decoder> decoder_;
  std::vector<Segment> segments_;
};

// Faults that show the text and the speech do not match, one string each.
std::vector<std::string> spanFaults(const std::vector<AlignedSentence>& spans,
                                    const std::vector<std::string>& labels);
// Stretches holding each aligned sentence, settled in the pauses; throws
// BookError naming every fault (speech in no line, words too short or long).
std::vector<Span> transcriptStretches(const Loudness& loudness,
                                      const std::vector<AlignedSentence>& spans,
                                      const std::vector<std::string>& labels);

}  // namespace bookmaker
