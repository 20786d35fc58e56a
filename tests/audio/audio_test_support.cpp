#include "audio_test_support.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace audio_test {

TempDir::TempDir() {
  QTemporaryDir dir;
  dir.setAutoRemove(false);
  path_ = dir.path().toStdString();
}

TempDir::~TempDir() { QDir(QString::fromStdString(path_)).removeRecursively(); }

Samples noise(double seconds, uint32_t seed) {
  Samples s(static_cast<size_t>(seconds * kRate));
  uint32_t state = seed * 2654435761u + 1;
  double low = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    state = state * 1664525u + 1013904223u;
    const double white = static_cast<int32_t>(state) / 2147483648.0;
    low = 0.9 * low + 0.1 * white;  // more energy low down, as in speech
    const double envelope = 0.6 + 0.4 * std::sin(i * 2 * M_PI * 3 / kRate);
    s[i] = static_cast<int16_t>(std::lrint((0.3 * white + 2.5 * low) * envelope * 9000));
  }
  return s;
}

Samples sine(double seconds, double hz, int amplitude) {
  Samples s(static_cast<size_t>(seconds * kRate));
  for (size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<int16_t>(std::lrint(amplitude * std::sin(2 * M_PI * hz * i / kRate)));
  return s;
}

namespace {
void put32(std::ofstream& f, uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); }
void put16(std::ofstream& f, uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); }
}  // namespace

void writeWav(const std::string& path, const Samples& samples, int rate) {
  std::ofstream f(path, std::ios::binary);
  const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  f.write("RIFF", 4);
  put32(f, 36 + bytes);
  f.write("WAVEfmt ", 8);
  put32(f, 16);
  put16(f, 1);
  put16(f, 1);
  put32(f, static_cast<uint32_t>(rate));
  put32(f, static_cast<uint32_t>(rate * 2));
  put16(f, 2);
  put16(f, 16);
  f.write("data", 4);
  put32(f, bytes);
  f.write(reinterpret_cast<const char*>(samples.data()), bytes);
}

void writeRaw(const std::string& path, const Samples& samples) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(samples.data()),
          static_cast<std::streamsize>(samples.size() * 2));
}

Samples readRaw(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  Samples s(bytes.size() / 2);
  std::copy(bytes.data(), bytes.data() + s.size() * 2, reinterpret_cast<char*>(s.data()));
  return s;
}

bool shell(const std::string& command) {
  return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string encode(const std::string& wav, const std::string& extension) {
  const std::string out = wav.substr(0, wav.size() - 4) + "." + extension;
  const bool ok =
      extension == "mp3"
          ? shell("lame --quiet -b 128 '" + wav + "' '" + out + "'")
          : shell("ffmpeg -y -loglevel error -i '" + wav + "' -c:a wmav2 -b:a 128k '" + out + "'");
  return ok ? out : "";
}

Samples decodeWithCommand(const std::string& path) {
  const std::string raw = path + ".ref.raw";
  if (!shell("ffmpeg -y -loglevel error -i '" + path + "' -f s16le -ac 1 -ar 44100 '" + raw + "'"))
    return {};
  return readRaw(raw);
}

void useDiskAudio(const TempDir& dir, const std::string& captureFile) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", diskOutput(dir).c_str(), 1);
  const std::string in = captureFile.empty() ? dir.file("no-capture.raw") : captureFile;
  setenv("SDL_DISKAUDIOFILEIN", in.c_str(), 1);
  unsetenv("SDL_DISKAUDIODELAY");  // paced in real time
}

std::string diskOutput(const TempDir& dir) { return dir.file("output.raw"); }

bool waitFor(const std::function<bool()>& done, double timeoutSeconds) {
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<int64_t>(timeoutSeconds * 1000));
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

bool playStretch(platform::MediaPlayer& player, double start, double end, double timeoutSeconds) {
  player.setEndGuard(end);
  player.setCurrentPosition(start);
  player.play();
  const auto until = std::chrono::steady_clock::now() +
                     std::chrono::milliseconds(static_cast<int64_t>(timeoutSeconds * 1000));
  while (player.currentPosition() < end) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
  player.pause();
  return true;
}

std::unique_ptr<platform::MediaPlayer> openLesson(platform::AudioEngine& engine,
                                                  const std::string& file) {
  auto player = engine.createMediaPlayer();
  player->setAutoStart(false);
  player->setURL(file);
  player->setVolume(100);
  return player;
}

std::vector<SoundRun> soundRuns(const Samples& s, size_t gap) {
  std::vector<SoundRun> runs;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && s[i] == 0) ++i;
    if (i == s.size()) break;
    SoundRun r{i, i};
    size_t zeros = 0;
    for (; i < s.size() && zeros < gap; ++i) {
      zeros = s[i] == 0 ? zeros + 1 : 0;
      if (s[i] != 0) r.end = i + 1;
    }
    runs.push_back(r);
  }
  return runs;
}

double fundamentalHz(const Samples& s, SoundRun r) {
  // Skip the edges, where the stretcher fades in and out.
  const size_t from = r.begin + r.size() / 10;
  const size_t to = r.end - r.size() / 10;
  size_t first = 0, last = 0, crossings = 0;
  for (size_t i = from + 1; i < to; ++i) {
    if (s[i - 1] < 0 && s[i] >= 0) {
      if (crossings == 0) first = i;
      last = i;
      ++crossings;
    }
  }
  return crossings < 2 ? 0 : (crossings - 1) * double(kRate) / double(last - first);
}

}  // namespace audio_test
