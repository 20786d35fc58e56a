#pragma once
// The frames of an MPEG audio layer III file, found by their 4-byte headers
// without decoding: where frame i starts, and what the encoder's tag says
// (frame count, constant bit rate, padding after the sound). A constant-bit-
// rate file is located by arithmetic, any other is walked once, a chunk at a
// time. The file is read from disk as needed, through one small buffer.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::audio {

struct Mp3Header {
  int bytes = 0;    // the whole frame, header included
  int samples = 0;  // per channel: 1152 (MPEG-1) or 576 (MPEG-2 and 2.5)
  int rate = 0;
  uint32_t kind = 0;  // version, layer, rate and bit-rate bits: one value in a CBR stream
};
// False for anything but a layer III frame header.
bool parseMp3Header(const uint8_t* h, Mp3Header* out);

class Mp3Frames {
 public:
  Mp3Frames() = default;
  ~Mp3Frames();
  Mp3Frames(const Mp3Frames&) = delete;
  Mp3Frames& operator=(const Mp3Frames&) = delete;

  // `firstAudio` is the byte offset of the first frame of sound (after any
  // tags and the Info frame), as the demuxer found it.
  bool open(const std::string& path, int64_t firstAudio);

  int rate() const { return first_.rate; }
  int samplesPerFrame() const { return first_.samples; }
  // The encoder's padding after the sound, in samples; -1 when untold.
  int endPadding() const { return endPadding_; }
  // Frames of sound in the file: the tag's count, or the walk's once complete;
  // -1 while unknown.
  int64_t frameCount() const;

  bool indexComplete() const { return cbr_ || walkDone_; }
  // Walks about `bytes` more of the file (nothing to do for a CBR file).
  void indexMore(int64_t bytes);
  size_t indexBytes() const { return kept_.capacity() * sizeof(int64_t); }

  enum class Found { Yes, NotYet, Past };
  static constexpr int64_t kKeepEvery = 64;
  // Where frame `i` starts.
  Found locate(int64_t i, int64_t* offset);
  // The frame at `offset` (or the next one, past tags or damage: `offset`
  // moves to it) copied into `data` with `padding` zero bytes after it; its
  // size, or 0 past the last frame.
  int readFrame(int64_t& offset, std::vector<uint8_t>& data, int padding);

 private:
  // A window on the file: pread `size` bytes at a time.
  class Window {
   public:
    explicit Window(int size) : size_(size) {}
    const uint8_t* at(int fd, int64_t offset, int n);

   private:
    int size_;
    std::unique_ptr<uint8_t[]> bytes_;
    int64_t start_ = 0;
    int length_ = 0;
  };

  bool readTag(int64_t firstAudio);
  void distrustTagIfSoundFollows();
  // Where the frame at or after `offset` starts: `offset` itself when a frame
  // is there, else past ID3v2 tags and to the next sync word that three frames
  // follow (a recording joined on, or damage); -1 at the end of the sound.
  int64_t frameFrom(int64_t offset);
  bool chainedAt(int64_t offset, int frames);
  // A frame of this stream at `offset`, within the sound, read through `window`.
  bool headerAt(int64_t offset, Mp3Header* h, Window& window);
  bool headerAt(int64_t offset, Mp3Header* h) { return headerAt(offset, h, reads_); }
  bool cbrFrameAt(int64_t offset, int chained);
  const uint8_t* bytesAt(int64_t offset, int n) { return reads_.at(fd_, offset, n); }
  void finishWalk();
  // Numbers the frames from near frame `i` to the end, counted back from the
  // tag's count; false when `i` is nearer the walk or no such chain is found.
  bool countFromEnd(int64_t i);
  // The number of frames from `offset` to the tag's end of the sound, each a
  // frame of this stream; -1 when the chain breaks or misses that end, after
  // `chained` frames.
  int64_t framesToEnd(int64_t offset, int64_t* chained);
  int64_t chainToEnd(int64_t from);
  bool tailAgreesWithWalk();
  // Where frame `i` starts, from the places of every 64th frame from `first`.
  int64_t frameAt(const std::vector<int64_t>& kept, int64_t first, int64_t i);

  int fd_ = -1;
  int64_t fileSize_ = 0;
  int64_t firstAudio_ = 0;
  int64_t audioEnd_ = 0;      // first byte after the frames of sound
  int64_t fileAudioEnd_ = 0;  // the same, by the file alone (before an ID3v1 tag)
  Mp3Header first_;
  int64_t taggedFrames_ = -1;
  int endPadding_ = -1;
  bool cbr_ = false;
  double cbrFrameBytes_ = 0;

  std::vector<int64_t> kept_;  // where frames 0, 64, 128, ... start, as far as walked
  int64_t walked_ = 0;         // frames walked
  int64_t walkAt_ = 0;         // where the next one starts
  bool walkDone_ = false;

  bool tagEnd_ = false;            // the tag told where the sound ends
  std::vector<int64_t> tailKept_;  // from frame tailFirst_ to the end, every 64th
  int64_t tailFirst_ = -1;
  int tailTries_ = 4;  // a file whose chains never reach the end is walked

  Window walks_{1 << 20};
  Window reads_{64 * 1024};
};

}  // namespace platform::audio
