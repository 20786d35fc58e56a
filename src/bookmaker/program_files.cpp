#include "bookmaker/program_files.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <vector>

#include "bookmaker/book_error.h"
#include "bookmaker/book_files.h"
#include "bookmaker/media.h"
#include "bookmaker/speech.h"

namespace bookmaker {

namespace {

namespace fs = std::filesystem;
constexpr double kRate = kSpeechRate;

enum class Wave { Sine, Square, PinkNoise };

// One effect sound: short, quiet and soft at both ends.
struct Effect {
  const char* name;
  Wave wave;
  double seconds, hertz;
  double fadeIn, fadeOut;    // half-sine fades
  double highpass, lowpass;  // 0: none
  double peakDb;
};

const Effect kEffects[] = {
    // a soft, low click as the button goes down
    {"MouDown.wav", Wave::Sine, 0.035, 900, 0.002, 0.03, 0, 0, -16},
    // a lighter, higher click as it comes up
    {"MouUp.wav", Wave::Sine, 0.03, 1300, 0.002, 0.026, 0, 0, -18},
    // a dry key tap: a burst of filtered noise
    {"type.wav", Wave::PinkNoise, 0.025, 0, 0.001, 0.022, 1500, 6000, -20},
    // a low, rounded buzz for a wrong letter
    {"wrong.wav", Wave::Square, 0.25, 140, 0.01, 0.1, 0, 700, -18},
};

// A second-order Butterworth section (the audio cookbook's), run once over the sound.
void filter(std::vector<double>& s, double hertz, bool high) {
  const double w = 2 * std::numbers::pi * hertz / kRate, alpha = std::sin(w) / std::sqrt(2.0),
               c = std::cos(w);
  const double b0 = high ? (1 + c) / 2 : (1 - c) / 2, b1 = high ? -(1 + c) : 1 - c, b2 = b0;
  const double a0 = 1 + alpha, a1 = -2 * c, a2 = 1 - alpha;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  for (double& v : s) {
    const double y = (b0 * v + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2) / a0;
    x2 = x1, x1 = v, y2 = y1, y1 = y;
    v = y;
  }
}

std::vector<double> wave(const Effect& e) {
  const auto count = std::size_t(std::lround(e.seconds * kRate));
  std::vector<double> s(count);
  uint32_t seed = 12345;  // the same noise on every run, so a rebuild gives the same bytes
  double b0 = 0, b1 = 0, b2 = 0;
  for (std::size_t k = 0; k < count; ++k) {
    const double phase = std::fmod(e.hertz * double(k) / kRate, 1.0);
    if (e.wave == Wave::Sine) s[k] = std::sin(2 * std::numbers::pi * phase);
    if (e.wave == Wave::Square) s[k] = phase < 0.5 ? 1 : -1;
    if (e.wave == Wave::PinkNoise) {
      seed = seed * 1664525u + 1013904223u;
      const double white = double(seed >> 8) / double(1u << 24) * 2 - 1;
      // Paul Kellet's economy pink filter
      b0 = 0.99765 * b0 + white * 0.0990460;
      b1 = 0.96300 * b1 + white * 0.2965164;
      b2 = 0.57000 * b2 + white * 1.0526913;
      s[k] = b0 + b1 + b2 + white * 0.1848;
    }
  }
  return s;
}

std::vector<int16_t> effectSamples(const Effect& e) {
  std::vector<double> s = wave(e);
  if (e.highpass > 0) filter(s, e.highpass, true);
  if (e.lowpass > 0) filter(s, e.lowpass, false);
  const double n = double(s.size());
  for (std::size_t k = 0; k < s.size(); ++k) {
    const double t = double(k) / kRate, left = (n - double(k)) / kRate;
    if (t < e.fadeIn) s[k] *= std::sin(std::numbers::pi / 2 * t / e.fadeIn);
    if (left < e.fadeOut) s[k] *= std::sin(std::numbers::pi / 2 * left / e.fadeOut);
  }
  double peak = 0;
  for (const double v : s) peak = std::max(peak, std::abs(v));
  const double gain = peak > 0 ? std::pow(10.0, e.peakDb / 20) * 32767 / peak : 0;
  std::vector<int16_t> out;
  for (const double v : s) out.push_back(int16_t(std::lround(v * gain)));
  return out;
}

}  // namespace

void makeEffectSounds(const std::string& programFolder) {
  const fs::path folder = fs::path(programFolder) / "SETTING" / "Sound";
  fs::create_directories(folder);
  for (const Effect& e : kEffects)
    writeWav((folder / e.name).string(), effectSamples(e), kSpeechRate);
}

void makeRecorderFile(const std::string& programFolder) {
  // The recorder opens this file and never writes it: a tenth of a second of silence.
  writeWav((fs::path(programFolder) / "Recorder.wav").string(), Samples(kSpeechRate / 10, 0),
           kSpeechRate);
}

void makeSettings(const std::string& programFolder, const std::string& bookTitle) {
  const fs::path path = fs::path(programFolder) / "SETTING" / "set.dat";
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out << settingsDocument(bookTitle);
  if (!out) throw BookError(path.string() + ": cannot be written");
}

}  // namespace bookmaker
