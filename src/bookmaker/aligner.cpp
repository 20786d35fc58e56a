#include "bookmaker/aligner.h"

#include <pocketsphinx.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "bookmaker/book_error.h"
#include "bookmaker/speech.h"
#include "bookmaker/texts.h"

namespace bookmaker {

namespace {

const std::string kModel = "/usr/share/pocketsphinx/model/en-us";

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// espeak-ng's IPA for English, as the model's phones (longest symbols first).
const std::vector<std::pair<std::u32string, std::string>>& ipaPhones() {
  static const auto table = [] {
    std::vector<std::pair<std::u32string, std::string>> t = {
        {U"aɪ", "AY"},   {U"aʊ", "AW"}, {U"eɪ", "EY"}, {U"oʊ", "OW"},    {U"əʊ", "OW"},
        {U"ɔɪ", "OY"},   {U"tʃ", "CH"}, {U"dʒ", "JH"}, {U"iə", "IY AH"}, {U"eə", "EH R"},
        {U"ʊə", "UH R"}, {U"i", "IY"},  {U"ɪ", "IH"},  {U"ᵻ", "IH"},     {U"e", "EH"},
        {U"ɛ", "EH"},    {U"æ", "AE"},  {U"a", "AE"},  {U"ɑ", "AA"},     {U"ɒ", "AA"},
        {U"ɔ", "AO"},    {U"o", "OW"},  {U"ʌ", "AH"},  {U"ə", "AH"},     {U"ɐ", "AH"},
        {U"ɚ", "ER"},    {U"ɜ", "ER"},  {U"ɝ", "ER"},  {U"ʊ", "UH"},     {U"u", "UW"},
        {U"p", "P"},     {U"b", "B"},   {U"t", "T"},   {U"d", "D"},      {U"k", "K"},
        {U"ɡ", "G"},     {U"g", "G"},   {U"f", "F"},   {U"v", "V"},      {U"θ", "TH"},
        {U"ð", "DH"},    {U"s", "S"},   {U"z", "Z"},   {U"ʃ", "SH"},     {U"ʒ", "ZH"},
        {U"h", "HH"},    {U"x", "HH"},  {U"m", "M"},   {U"n", "N"},      {U"ŋ", "NG"},
        {U"l", "L"},     {U"ɫ", "L"},   {U"ɬ", "L"},   {U"ɹ", "R"},      {U"r", "R"},
        {U"ɾ", "D"},     {U"j", "Y"},   {U"w", "W"}};
    std::stable_sort(t.begin(), t.end(),
                     [](const auto& a, const auto& b) { return a.first.size() > b.first.size(); });
    return t;
  }();
  return table;
}

int countPhones(const std::string& phones) {
  int count = 0;
  bool inWord = false;
  for (const char c : phones) {
    if (c != ' ' && !inWord) ++count;
    inWord = c != ' ';
  }
  return count;
}

std::string grammarChain(const std::vector<std::vector<std::string>>& sentences, bool nested) {
  // Every word position is its own dictionary entry (w0, w1 ...), so the
  // grammar is a chain of tokens whatever the spelling.
  std::vector<std::string> parts;
  int position = 0;
  for (const auto& sentence : sentences) {
    std::string part;
    for (std::size_t k = 0; k < sentence.size(); ++k)
      part += (k ? " w" : "w") + std::to_string(position++);
    parts.push_back(part);
  }
  std::string chain = parts[0];
  for (std::size_t k = 1; k < parts.size(); ++k) chain += (nested ? " [ " : " ") + parts[k];
  if (nested)
    for (std::size_t k = 1; k < parts.size(); ++k) chain += " ]";
  return chain;
}

int positionOf(const std::string& word) { return std::stoi(word.substr(1, word.find('(') - 1)); }

}  // namespace

std::vector<std::string> wordsOf(const std::string& english) {
  static const std::regex kWord("[A-Za-z0-9']+");
  std::vector<std::string> words;
  for (std::sregex_iterator it(english.begin(), english.end(), kWord), end; it != end; ++it) {
    std::string word = it->str();
    const auto first = word.find_first_not_of('\''), last = word.find_last_not_of('\'');
    if (first == std::string::npos) continue;
    word = word.substr(first, last - first + 1);
    std::transform(word.begin(), word.end(), word.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    words.push_back(word);
  }
  return words;
}

std::string ipaToPhones(const std::string& ipa) {
  const std::u32string text = QString::fromStdString(ipa).toStdU32String();
  std::string phones;
  for (std::size_t at = 0; at < text.size();) {
    bool found = false;
    for (const auto& [symbol, phone] : ipaPhones()) {
      if (text.compare(at, symbol.size(), symbol) == 0) {
        phones += (phones.empty() ? "" : " ") + phone;
        at += symbol.size();
        found = true;
        break;
      }
    }
    if (!found) ++at;  // stress and length marks, syllable marks, word breaks
  }
  return phones;
}

struct Aligner::Decoder {
  cmd_ln_t* config = nullptr;
  ps_decoder_t* ps = nullptr;
  ~Decoder() {
    if (ps) ps_free(ps);
    if (config) cmd_ln_free_r(config);
  }
};

Aligner::Aligner(const std::vector<std::string>& englishes, const std::vector<std::string>& labels)
    : labels_(labels) {
  for (std::size_t k = 0; k < englishes.size(); ++k) {
    sentences_.push_back(wordsOf(englishes[k]));
    if (sentences_.back().empty()) throw BookError(labels[k] + ": no words to find in the speech");
    for (const std::string& w : sentences_.back()) {
      words_.push_back(w);
      owner_.push_back(int(k));
    }
  }
  if (!std::filesystem::is_directory(kModel + "/en-us"))
    throw BookError("the US English model is not installed (" + kModel +
                    "; Debian: pocketsphinx-en-us)");
  // The model's dictionary, else espeak-ng's reading.
  const std::set<std::string> needed(words_.begin(), words_.end());
  std::ifstream dictionary(kModel + "/cmudict-en-us.dict");
  for (std::string line; std::getline(dictionary, line);) {
    const auto space = line.find(' ');
    if (space == std::string::npos) continue;
    const std::string base = line.substr(0, std::min(space, line.find('(')));
    if (needed.count(base)) sounds_[base].push_back(trimmed(line.substr(space + 1)));
  }
  for (const std::string& word : needed) {
    if (sounds_.count(word)) continue;
    const std::string phones = ipaToPhones(ipaOf(word));
    if (phones.empty()) throw BookError("no pronunciation for " + quote(word));
    sounds_[word] = {phones};
  }
  dictionary_ = (std::filesystem::temp_directory_path() /
                 ("parlenda-lesson." + std::to_string(getpid()) + "." +
                  std::to_string(reinterpret_cast<std::uintptr_t>(this)) + ".dict"))
                    .string();
  std::ofstream out(dictionary_);
  for (std::size_t position = 0; position < words_.size(); ++position) {
    const auto& variants = sounds_[words_[position]];
    for (std::size_t v = 0; v < variants.size(); ++v)
      out << "w" << position << (v ? "(" + std::to_string(v + 1) + ")" : "") << " " << variants[v]
          << "\n";
  }
  out.close();
  decoder_ = std::make_unique<Decoder>();
  const std::string hmm = kModel + "/en-us";
  // Keep every frame (frames are the clock); digital silence gives the
  // features no footing, so a trace of noise, the same on every run; wide
  // beams, so a forced alignment does not lose its path.
  decoder_->config =
      cmd_ln_init(nullptr, ps_args(), TRUE, "-hmm", hmm.c_str(), "-dict", dictionary_.c_str(),
                  "-logfn", "/dev/null", "-remove_silence", "no", "-dither", "yes", "-seed", "1",
                  "-beam", "1e-120", "-wbeam", "1e-100", "-pbeam", "1e-120", nullptr);
  if (decoder_->config) decoder_->ps = ps_init(decoder_->config);
  if (!decoder_->ps)
    throw BookError("PocketSphinx cannot start (Debian: libpocketsphinx3 pocketsphinx-en-us)");
}

Aligner::~Aligner() {
  decoder_.reset();
  if (!dictionary_.empty()) std::filesystem::remove(dictionary_);
}

void Aligner::start(bool nested) {
  const char* name = nested ? "prefix" : "lesson";
  const std::string jsgf = std::string("#JSGF V1.0;\ngrammar ") + name + ";\npublic <" + name +
                           "> = " + grammarChain(sentences_, nested) + " ;\n";
  if (ps_set_jsgf_string(decoder_->ps, name, jsgf.c_str()) < 0 ||
      ps_set_search(decoder_->ps, name) < 0)
    throw BookError("PocketSphinx does not take the lesson's grammar");
  ps_start_utt(decoder_->ps);
  segments_.clear();
}

void Aligner::take(const int16_t* samples, std::size_t count) {
  ps_process_raw(decoder_->ps, samples, count, FALSE, FALSE);
}

bool Aligner::finish() {
  ps_end_utt(decoder_->ps);
  for (ps_seg_t* seg = ps_seg_iter(decoder_->ps); seg; seg = ps_seg_next(seg)) {
    int first = 0, last = 0;
    ps_seg_frames(seg, &first, &last);
    segments_.push_back({ps_seg_word(seg), first, last});
  }
  return lastPosition() >= int(words_.size()) - 1;
}

int Aligner::lastPosition() const {
  int last = -1;
  for (const Segment& s : segments_)
    if (s.word.starts_with("w")) last = std::max(last, positionOf(s.word));
  return last;
}

std::string Aligner::unmatchedLine() const {
  const int reached = lastPosition();
  const std::size_t line = reached + 1 < int(words_.size())
                               ? std::size_t(owner_[std::size_t(reached + 1)])
                               : sentences_.size() - 1;
  return labels_[line] + ": the speech could not be matched to the text from this line on";
}

std::vector<AlignedSentence> Aligner::sentences() const {
  std::vector<AlignedSentence> spans(sentences_.size());
  std::vector<bool> seen(sentences_.size(), false);
  for (const Segment& s : segments_) {
    if (!s.word.starts_with("w")) continue;  // pauses and noises
    const int position = positionOf(s.word);
    const std::size_t i = std::size_t(owner_[std::size_t(position)]);
    const double first = s.first / 100.0, last = (s.last + 1) / 100.0;
    AlignedSentence& span = spans[i];
    if (!seen[i]) span = {first, last, 0, 0};
    seen[i] = true;
    span.start = std::min(span.start, first);
    span.end = std::max(span.end, last);
    span.phones += countPhones(sounds_.at(words_[std::size_t(position)])[0]);
    span.spoken += double(s.last + 1 - s.first) / 100;
  }
  return spans;
}

std::vector<std::string> spanFaults(const std::vector<AlignedSentence>& spans,
                                    const std::vector<std::string>& labels) {
  std::vector<std::string> faults;
  for (std::size_t k = 0; k < spans.size(); ++k) {
    // Speech runs at 50 to 150 ms a sound; the aligner gives each at least 30.
    const double perPhone = spans[k].spoken / std::max(1, spans[k].phones);
    if (perPhone < 0.04)
      faults.push_back(labels[k] + ": its words fit into " + fixed(spans[k].spoken, 2) +
                       " s of audio; is it spoken in the recording?");
    else if (perPhone > 0.4)
      faults.push_back(labels[k] + ": its words take " + fixed(spans[k].spoken, 2) +
                       " s; does the recording say more than the text?");
  }
  return faults;
}

namespace {

std::string whereInText(double at, const std::vector<Span>& stretches,
                        const std::vector<std::string>& labels) {
  std::vector<std::string> before, after;
  for (std::size_t k = 0; k < stretches.size(); ++k)
    (stretches[k].start < at ? before : after).push_back(labels[k]);
  if (before.empty()) return "before " + after.front();
  return after.empty() ? "after " + before.back()
                       : "between " + before.back() + " and the next line";
}

}  // namespace

std::vector<Span> transcriptStretches(const Loudness& loudness,
                                      const std::vector<AlignedSentence>& spans,
                                      const std::vector<std::string>& labels) {
  std::vector<std::string> faults = spanFaults(spans, labels);
  std::vector<Span> aligned;
  for (const AlignedSentence& s : spans) aligned.push_back({s.start, s.end});
  const std::vector<Span> stretches = settleStretches(loudness, aligned);
  for (const Span& speech : unclaimedSpeech(loudness, stretches))
    faults.push_back("the speech at " + fixed(speech.start, 2) + "-" + fixed(speech.end, 2) +
                     " s, " + whereInText(speech.start, stretches, labels) +
                     ", is in no line; is a line missing from the text?");
  if (!faults.empty()) {
    std::string all;
    for (const std::string& f : faults) all += (all.empty() ? "" : "; ") + f;
    throw BookError(all);
  }
  return stretches;
}

}  // namespace bookmaker
