#include "speech_fixtures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numbers>
#include <tuple>

namespace analysis_test {

namespace {
uint32_t readU32(const std::vector<char>& b, size_t at) {
  uint32_t v = 0;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// Mono 16-bit PCM from a RIFF WAVE image (the length fields of a piped WAV
// are not trusted: the data runs to the end).
analysis::Sound parseWav(const std::vector<char>& b) {
  analysis::Sound sound;
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return sound;
  for (size_t at = 12; at + 8 <= b.size();) {
    const uint32_t size = readU32(b, at + 4);
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0) {
      sound.rate = int(readU32(b, at + 12));
    } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
      const size_t count = (b.size() - at - 8) / 2;
      sound.samples.resize(count);
      std::memcpy(sound.samples.data(), b.data() + at + 8, count * 2);
      return sound;
    }
    at += 8 + size;
  }
  return sound;
}

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

void trimSilence(analysis::Sound& sound) {
  constexpr int kQuiet = 200;
  size_t first = 0, last = sound.samples.size();
  while (first < last && std::abs(sound.samples[first]) < kQuiet) ++first;
  while (last > first && std::abs(sound.samples[last - 1]) < kQuiet) --last;
  sound.samples = {sound.samples.begin() + std::ptrdiff_t(first),
                   sound.samples.begin() + std::ptrdiff_t(last)};
}
}  // namespace

analysis::Sound speak(const std::string& text, const Voice& voice) {
  const std::string command = "espeak-ng --stdout -v " + voice.name + " -p " +
                              std::to_string(voice.pitch) + " -s " + std::to_string(voice.speed) +
                              " " + quoted(text) + " 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::vector<char> bytes;
  char buffer[65536];
  for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    bytes.insert(bytes.end(), buffer, buffer + got);
  if (pclose(pipe) != 0) return {};
  return parseWav(bytes);
}

namespace {
using Key = std::tuple<std::string, int, int>;  // the voice's name, pitch and speed

// The stretches of `sound` between silences of at least `pause` seconds.
std::vector<analysis::Sound> cutAtPauses(const analysis::Sound& sound, double pause) {
  constexpr int kQuiet = 200;
  const size_t shortest = size_t(pause * sound.rate);
  std::vector<analysis::Sound> pieces;
  size_t at = 0, quietRun = 0, start = 0;
  bool inPiece = false;
  for (; at < sound.samples.size(); ++at) {
    const bool quiet = std::abs(sound.samples[at]) < kQuiet;
    quietRun = quiet ? quietRun + 1 : 0;
    if (!quiet && !inPiece) inPiece = true, start = at;
    if (inPiece && quietRun >= shortest) {
      pieces.push_back(
          {{sound.samples.begin() + long(start), sound.samples.begin() + long(at)}, sound.rate});
      inPiece = false;
    }
  }
  if (inPiece)
    pieces.push_back({{sound.samples.begin() + long(start), sound.samples.end()}, sound.rate});
  for (auto& piece : pieces) trimSilence(piece);
  return pieces;
}

// Each word in one voice, from one run of espeak-ng (the words spoken apart
// with SSML breaks and cut at the pauses), or word by word if the cut fails.
std::map<std::string, analysis::Sound> speakApart(const std::vector<std::string>& words,
                                                  const Voice& voice) {
  std::string markup = "<speak>";
  // Each word a sentence of its own, as if spoken alone.
  for (const auto& w : words) markup += w + ".<break time=\"700ms\"/>";
  Voice ssml = voice;
  ssml.name += " -m";
  const auto pieces = cutAtPauses(speak(markup + "</speak>", ssml), 0.4);
  std::map<std::string, analysis::Sound> spoken;
  for (size_t i = 0; i < words.size(); ++i) {
    if (pieces.size() == words.size()) {
      spoken[words[i]] = pieces[i];
    } else {
      spoken[words[i]] = speak(words[i], voice);
      trimSilence(spoken[words[i]]);
    }
  }
  return spoken;
}
}  // namespace

analysis::Sound speakWords(const std::vector<std::string>& words, const std::vector<Voice>& voices,
                           double gap, double leadIn, std::vector<double>& starts) {
  const auto voiceOf = [&](size_t i) -> const Voice& {
    return voices[std::min(i, voices.size() - 1)];
  };
  std::map<Key, std::vector<std::string>> wanted;  // the distinct words of each voice
  for (size_t i = 0; i < words.size(); ++i) {
    auto& list = wanted[{voiceOf(i).name, voiceOf(i).pitch, voiceOf(i).speed}];
    if (std::find(list.begin(), list.end(), words[i]) == list.end()) list.push_back(words[i]);
  }
  std::map<Key, std::map<std::string, analysis::Sound>> spoken;
  for (size_t i = 0; i < words.size(); ++i) {
    const Key key{voiceOf(i).name, voiceOf(i).pitch, voiceOf(i).speed};
    if (!spoken.count(key)) spoken[key] = speakApart(wanted[key], voiceOf(i));
  }

  analysis::Sound joined = silence(leadIn, 22050);
  starts.clear();
  for (size_t i = 0; i < words.size(); ++i) {
    const analysis::Sound& word =
        spoken[{voiceOf(i).name, voiceOf(i).pitch, voiceOf(i).speed}][words[i]];
    joined.rate = word.rate;
    if (!starts.empty()) joined.samples.resize(joined.samples.size() + size_t(gap * joined.rate));
    starts.push_back(double(joined.samples.size()) / joined.rate);
    joined.samples.insert(joined.samples.end(), word.samples.begin(), word.samples.end());
  }
  joined.samples.resize(joined.samples.size() + size_t(leadIn * joined.rate));
  return joined;
}

analysis::Sound glide(double fromHz, double toHz, double seconds, double leadIn, double tail,
                      int rate) {
  analysis::Sound sound = silence(leadIn, rate);
  const size_t count = size_t(seconds * rate);
  double phase = 0;
  for (size_t i = 0; i < count; ++i) {
    const double hz = fromHz * std::pow(toHz / fromHz, double(i) / double(count));
    phase += 2 * std::numbers::pi * hz / rate;
    double v = 0;
    for (int h = 1; h <= 10; ++h) v += std::sin(h * phase) / h;
    sound.samples.push_back(int16_t(6000 * v));
  }
  sound.samples.resize(sound.samples.size() + size_t(tail * rate));
  return sound;
}

analysis::Sound silence(double seconds, int rate) {
  return {std::vector<int16_t>(size_t(seconds * rate), 0), rate};
}

analysis::Sound delayed(const analysis::Sound& sound, double seconds) {
  analysis::Sound out = silence(seconds, sound.rate);
  out.samples.insert(out.samples.end(), sound.samples.begin(), sound.samples.end());
  return out;
}

const char* sentenceOfAbout(int seconds) {
  switch (seconds) {
    case 2:
      return "Where is the railway station, please?";
    case 5:
      return "Could you tell me the way to the railway station? I have to catch the early train.";
    default:
      return "Could you tell me the way to the railway station? I have to catch the early train "
             "to London, and I am afraid I will miss it if I walk. Is there a bus that goes "
             "there from here?";
  }
}

analysis::Sound atEngineRate(const analysis::Sound& sound) {
  analysis::Sound out{{}, sound.rate * 2};
  out.samples.reserve(sound.samples.size() * 2);
  for (int16_t s : sound.samples) out.samples.insert(out.samples.end(), {s, s});
  return out;
}

}  // namespace analysis_test
