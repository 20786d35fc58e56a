#pragma once
// Fixtures and probes for the audio tests: signals written as WAV and encoded
// with the command-line tools, the real engine on SDL's disk driver, and what
// reached its output file.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/audio/audio_engine.h"
#include "platform/audio/media_player.h"

namespace audio_test {

using Samples = std::vector<int16_t>;
inline constexpr int kRate = 44100;

// A folder removed with its contents at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Noise shaped like speech in level, so that no two stretches look alike.
Samples noise(double seconds, uint32_t seed);
Samples sine(double seconds, double hz, int amplitude);
void writeWav(const std::string& path, const Samples& samples, int rate = kRate);
void writeRaw(const std::string& path, const Samples& samples);
Samples readRaw(const std::string& path);
// Runs a shell command; false when it fails.
bool shell(const std::string& command);
// mp3 through LAME, wma through FFmpeg's wmav2 encoder, both at 128 kb/s.
std::string encode(const std::string& wav, const std::string& extension);
// The whole file decoded by the ffmpeg command to mono 44.1 kHz.
Samples decodeWithCommand(const std::string& path);

// Points SDL's disk driver at files of `dir` (call before creating the engine).
void useDiskAudio(const TempDir& dir, const std::string& captureFile = "");
std::string diskOutput(const TempDir& dir);

// Runs the Qt event loop until `done` or the timeout; false on timeout.
bool waitFor(const std::function<bool()>& done, double timeoutSeconds);
// Plays [start, end) as the sentence player does: guard, seek, play, poll the
// position every 30 ms, pause at the end. False when the end is never seen.
bool playStretch(platform::MediaPlayer& player, double start, double end,
                 double timeoutSeconds = 4);

// A player on `file`, auto-start off and volume 100, as the lesson loader
// leaves it.
std::unique_ptr<platform::MediaPlayer> openLesson(platform::AudioEngine& engine,
                                                  const std::string& file);

struct SoundRun {
  size_t begin;
  size_t end;
  size_t size() const { return end - begin; }
};
// Stretches of sound separated by at least `gap` zero samples.
std::vector<SoundRun> soundRuns(const Samples& s, size_t gap = 2000);

// The dominant frequency of a run, by counting upward zero crossings.
double fundamentalHz(const Samples& s, SoundRun r);

}  // namespace audio_test
