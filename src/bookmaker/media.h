#pragma once
// Audio in and out, through FFmpeg's libraries and LAME's: recordings are
// decoded in chunks (never whole in memory) to mono 16-bit at the rates the
// readers ask for, and lesson audio is encoded as it comes.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace bookmaker {

class Progress;

using Samples = std::vector<int16_t>;

// A reader of decoded audio: mono 16-bit at `rate`, handed over in chunks.
struct AudioSink {
  int rate;
  std::function<void(const int16_t* samples, std::size_t count)> take;
};

// Decodes the first audio stream of `path` to every sink; reports the
// fraction done and checks for a cancel as it goes. Throws BookError
// ("PATH: cannot be decoded (...)", "PATH: holds no audio").
void decodeAudio(const std::string& path, const std::vector<AudioSink>& sinks,
                 Progress* progress = nullptr);
// The whole file decoded (for short lesson audio only).
Samples decodeWhole(const std::string& path, int rate);

// The container and the first audio stream's codec ("mp3", "mp3"; "asf", "wmav2").
struct MediaFormat {
  std::string container, codec;
};
MediaFormat probeFormat(const std::string& path);

// Lesson audio written as it comes: mp3 (LAME, average bit rate, so the LAME
// header carries the encoder delay) or wma (FFmpeg's wmav2, bit-exact).
class Encoder {
 public:
  virtual ~Encoder() = default;
  virtual void write(const int16_t* samples, std::size_t count) = 0;
  virtual void finish() = 0;
};
// By the extension of `path` (".mp3" or ".wma"); mono at `rate`.
std::unique_ptr<Encoder> makeEncoder(const std::string& path, int rate, int kilobits);

void writeWav(const std::string& path, const Samples& samples, int rate);

// A stretch of a stream from sample `base` on: what the encoder's shift is
// measured on, so that it needs neither stream whole.
struct Window {
  long base = 0;
  Samples samples;
  int at(long index) const {
    const long k = index - base;
    return k >= 0 && k < long(samples.size()) ? samples[std::size_t(k)] : 0;
  }
  long end() const { return base + long(samples.size()); }
};

constexpr long kOffsetReach = 4096;
// Samples by which the decoded timeline lags the source (may be negative),
// `onset` the source's first sample of speech.
long measureOffset(const Window& source, const Window& decoded, long onset);

// Keeps of a source the part measureOffset needs: around its first loud sample.
class OnsetProbe {
 public:
  void take(const int16_t* samples, std::size_t count);
  long onset() const { return onset_ < 0 ? 0 : onset_; }
  const Window& window() const { return window_; }

 private:
  Window window_;
  long onset_ = -1;
};

// Keeps the samples [from, to) of a stream.
class WindowProbe {
 public:
  WindowProbe(long from, long to) : from_(from), to_(to) { window_.base = from; }
  void take(const int16_t* samples, std::size_t count);
  const Window& window() const { return window_; }
  long seen() const { return seen_; }

 private:
  long from_, to_, seen_ = 0;
  Window window_;
};

}  // namespace bookmaker

namespace bookmaker {

struct TextCue;

// The subtitle tracks of a container (mkv, mp4 ...): text tracks (SubRip,
// ASS, mov_text, WebVTT) with their language tags, and how many are pictures.
struct SubtitleTrack {
  int stream = 0;
  std::string codec, language;  // language as tagged ("eng", "chi"), may be empty
};
struct SubtitleTracks {
  std::vector<SubtitleTrack> text;
  std::vector<std::string> pictures;  // codec names of picture tracks (PGS, DVD)
};
SubtitleTracks subtitleTracks(const std::string& path);
// The cues of one text track, in time order; each names the file, the track
// and the time in messages.
std::vector<TextCue> trackCues(const std::string& path, const SubtitleTrack& track);

}  // namespace bookmaker
