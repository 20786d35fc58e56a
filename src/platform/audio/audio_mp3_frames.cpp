#include "platform/audio/audio_mp3_frames.h"

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

namespace platform::audio {
namespace {

constexpr int kBitRates[2][16] = {
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},  // MPEG-1
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};     // MPEG-2 and 2.5
constexpr int kRates[3] = {44100, 48000, 32000};
constexpr int kLargestFrame = 2881;
// How far past a frame the next one is looked for, beyond tags.
constexpr int64_t kResyncBytes = 256 * 1024;
// Version, layer and sampling rate: what every frame of one stream shares.
constexpr uint32_t kStreamBits = 0x1E0C;

uint32_t bigEndian(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | p[i];
  return v;
}

// Frame bytes without the padding byte, by version, bit-rate and rate bits:
// the walk parses every header of a long file, so no division per frame.
struct FrameBytes {
  int bytes[4][16][4] = {};
  constexpr FrameBytes() {
    for (int version : {0, 2, 3})
      for (int bitRate = 1; bitRate < 15; ++bitRate)
        for (int rateIndex = 0; rateIndex < 3; ++rateIndex) {
          const bool mpeg1 = version == 3;
          const int rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
          bytes[version][bitRate][rateIndex] =
              (mpeg1 ? 144 : 72) * kBitRates[mpeg1 ? 0 : 1][bitRate] * 1000 / rate;
        }
  }
};
constexpr FrameBytes kFrameBytes;

}  // namespace

bool parseMp3Header(const uint8_t* h, Mp3Header* out) {
  if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0) return false;
  const int version = (h[1] >> 3) & 3;  // 3: MPEG-1, 2: MPEG-2, 0: MPEG-2.5
  const int layer = (h[1] >> 1) & 3;    // 1: layer III
  const int bitRate = h[2] >> 4;
  const int rateIndex = (h[2] >> 2) & 3;
  if (version == 1 || layer != 1 || bitRate == 0 || bitRate == 15 || rateIndex == 3) return false;
  const bool mpeg1 = version == 3;
  out->rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
  out->samples = mpeg1 ? 1152 : 576;
  out->bytes = kFrameBytes.bytes[version][bitRate][rateIndex] + ((h[2] >> 1) & 1);
  out->kind = static_cast<uint32_t>((h[1] & 0x1E) << 8 | (h[2] & 0xFC));
  return true;
}

Mp3Frames::~Mp3Frames() {
  if (fd_ >= 0) ::close(fd_);
}

bool Mp3Frames::open(const std::string& path, int64_t firstAudio) {
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  fileSize_ = lseek(fd_, 0, SEEK_END);
  posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);  // the walk reads it through once
  firstAudio_ = walkAt_ = firstAudio;
  fileAudioEnd_ = fileSize_;
  if (const uint8_t* t = bytesAt(fileSize_ - 128, 3); t && std::memcmp(t, "TAG", 3) == 0)
    fileAudioEnd_ -= 128;  // an ID3v1 tag
  audioEnd_ = fileAudioEnd_;
  const uint8_t* h = bytesAt(firstAudio, 4);
  if (!h || !parseMp3Header(h, &first_)) return false;
  if (readTag(firstAudio) && tagEnd_) distrustTagIfSoundFollows();
  return true;
}

// Recordings joined end to end keep the first one's tag: its counts end the
// sound too early. Sound after the tag's end makes the walk count alone.
void Mp3Frames::distrustTagIfSoundFollows() {
  const int64_t tagEnd = audioEnd_;
  audioEnd_ = fileAudioEnd_;
  if (tagEnd + 4 > fileAudioEnd_ || frameFrom(tagEnd) < 0) {
    audioEnd_ = tagEnd;
    return;
  }
  tagEnd_ = cbr_ = false;
  taggedFrames_ = -1;
  endPadding_ = -1;  // the first recording's padding, not the end's
}

bool Mp3Frames::chainedAt(int64_t offset, int frames) {
  Mp3Header h;
  for (int k = 0; k < frames && offset < audioEnd_; ++k) {
    if (!headerAt(offset, &h)) return false;
    offset += h.bytes;
  }
  return true;
}

int64_t Mp3Frames::frameFrom(int64_t offset) {
  Mp3Header h;
  if (offset < 0 || headerAt(offset, &h)) return offset;
  for (int tags = 0; tags < 4; ++tags) {  // another recording's ID3v2 tags, whatever their size
    const uint8_t* t = bytesAt(offset, 10);
    if (!t || std::memcmp(t, "ID3", 3) != 0) break;
    offset += 10 + (t[6] << 21 | t[7] << 14 | t[8] << 7 | t[9]) + ((t[5] & 0x10) ? 10 : 0);
  }
  // Anything else: the next sync word that three frames follow.
  const int64_t until = std::min(audioEnd_, offset + kResyncBytes);
  for (int64_t at = offset; at + 4 <= until; ++at)
    if (headerAt(at, &h) && chainedAt(at, 3)) return at;
  return -1;
}

// The Xing or Info frame just before the first frame of sound, with LAME's
// extension: frame count, byte count, and the padding after the sound.
bool Mp3Frames::readTag(int64_t firstAudio) {
  const int64_t from = std::max<int64_t>(0, firstAudio - kLargestFrame);
  const int span = static_cast<int>(firstAudio - from);
  const uint8_t* window = bytesAt(from, span);
  if (!window) return false;
  for (int q = 0; q + 4 <= span; ++q) {
    Mp3Header h;
    if (!parseMp3Header(window + q, &h) || q + h.bytes != span) continue;
    const bool mono = (window[q + 3] >> 6) == 3;
    const int sideInfo = h.samples == 1152 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    const uint8_t* tag = window + q + 4 + sideInfo;
    const uint8_t* end = window + span;
    if (tag + 8 > end) continue;
    const bool info = std::memcmp(tag, "Info", 4) == 0;
    if (!info && std::memcmp(tag, "Xing", 4) != 0) continue;
    const uint32_t flags = bigEndian(tag + 4, 4);
    const uint8_t* p = tag + 8;
    int64_t bytes = -1;
    if ((flags & 1) && p + 4 <= end) taggedFrames_ = bigEndian(p, 4), p += 4;
    if ((flags & 2) && p + 4 <= end) bytes = bigEndian(p, 4), p += 4;
    if (flags & 4) p += 100;  // the table of contents
    if (flags & 8) p += 4;    // quality
    if (p + 24 <= end && (std::memcmp(p, "LAME", 4) == 0 || std::memcmp(p, "Lavf", 4) == 0 ||
                          std::memcmp(p, "Lavc", 4) == 0))
      endPadding_ = static_cast<int>(bigEndian(p + 21, 3) & 4095);
    if (bytes > h.bytes && from + q + bytes <= audioEnd_) {
      audioEnd_ = from + q + bytes;
      tagEnd_ = true;
    }
    cbr_ = info && taggedFrames_ > 0 && bytes > h.bytes;
    if (cbr_) cbrFrameBytes_ = double(bytes - h.bytes) / double(taggedFrames_);
    // Frames of a constant bit rate differ by the padding byte alone: counts
    // that give another average are not to be located by arithmetic.
    if (std::abs(cbrFrameBytes_ - first_.bytes) > 1.0) cbr_ = false;
    return true;
  }
  return false;
}

int64_t Mp3Frames::frameCount() const { return walkDone_ ? walked_ : taggedFrames_; }

const uint8_t* Mp3Frames::Window::at(int fd, int64_t offset, int n) {
  if (offset < 0) return nullptr;
  if (offset >= start_ && offset + n <= start_ + length_) return bytes_.get() + (offset - start_);
  if (!bytes_) bytes_.reset(new uint8_t[static_cast<size_t>(size_)]);  // not zeroed: pread fills it
  const ssize_t got = pread(fd, bytes_.get(), static_cast<size_t>(size_), offset);
  start_ = offset;
  length_ = got > 0 ? static_cast<int>(got) : 0;
  return length_ >= n ? bytes_.get() : nullptr;
}

bool Mp3Frames::headerAt(int64_t offset, Mp3Header* h, Window& window) {
  if (offset + 4 > audioEnd_) return false;
  const uint8_t* p = window.at(fd_, offset, 4);
  return p && parseMp3Header(p, h) && (h->kind & kStreamBits) == (first_.kind & kStreamBits) &&
         offset + h->bytes <= audioEnd_;
}

// A frame of the CBR stream at `offset`, followed by `chained` more (or by the
// end of the sound).
bool Mp3Frames::cbrFrameAt(int64_t offset, int chained) {
  for (int k = 0; k <= chained; ++k) {
    if (k > 0 && offset == audioEnd_) return true;
    Mp3Header h;
    if (!headerAt(offset, &h) || h.kind != first_.kind) return false;
    offset += h.bytes;
  }
  return true;
}

void Mp3Frames::indexMore(int64_t bytes) {
  if (indexComplete()) return;
  const int64_t until = walkAt_ + bytes;
  Mp3Header h;
  while (walkAt_ < until) {
    if (taggedFrames_ >= 0 && walked_ >= taggedFrames_) break;
    if (!headerAt(walkAt_, &h, walks_)) {  // the end of the sound, or something else
      const int64_t next = frameFrom(walkAt_);
      if (next < 0) break;
      walkAt_ = next;
      continue;
    }
    if (walked_ == tailFirst_ && walkAt_ != tailKept_.front()) {
      tailFirst_ = -1;  // the count from the end was wrong: trust the walk alone
      tailTries_ = 0;
    }
    if (walked_ % kKeepEvery == 0) kept_.push_back(walkAt_);
    ++walked_;
    walkAt_ += h.bytes;
  }
  if (walkAt_ < until) finishWalk();
}

void Mp3Frames::finishWalk() {
  walkDone_ = true;
  kept_.shrink_to_fit();
  tailKept_ = {};
  tailFirst_ = -1;
  walks_ = Window(0);  // its megabyte is not needed again
}

int64_t Mp3Frames::framesToEnd(int64_t offset, int64_t* chained) {
  tailKept_.clear();
  Mp3Header h;
  for (*chained = 0; offset < audioEnd_ && headerAt(offset, &h, walks_); ++*chained) {
    if (*chained % kKeepEvery == 0) tailKept_.push_back(offset);
    offset += h.bytes;
  }
  return offset == audioEnd_ ? *chained : -1;
}

bool Mp3Frames::countFromEnd(int64_t i) {
  if (!tagEnd_ || taggedFrames_ <= 0) return false;
  const double frameBytes = double(audioEnd_ - firstAudio_) / double(taggedFrames_);
  // Start a little before where frame i would lie at the average size.
  int64_t from = firstAudio_ + int64_t(frameBytes * double(i - kKeepEvery));
  tailFirst_ = -1;
  while (tailTries_ > 0 && from - walkAt_ > audioEnd_ - from) {
    --tailTries_;
    const int64_t frames = chainToEnd(from);
    if (frames < 0 || frames > taggedFrames_) {
      tailTries_ = 0;  // something else near the end, or a wrong count: walk it
      break;
    }
    tailFirst_ = taggedFrames_ - frames;
    if (tailFirst_ <= i) return tailAgreesWithWalk();
    // Frames smaller than the average: start earlier.
    tailFirst_ = -1;
    from -= int64_t(frameBytes * double(kKeepEvery * 4)) + kLargestFrame;
  }
  return false;
}

// The frames from the first sync word at or after `from` whose chain reaches
// the end (a false sync's chain breaks within a few frames); -1 when none.
int64_t Mp3Frames::chainToEnd(int64_t from) {
  Mp3Header h;
  int64_t chained = 0;
  for (int64_t at = from; at < from + kLargestFrame && chained < 8; ++at) {
    if (!headerAt(at, &h)) continue;
    const int64_t frames = framesToEnd(at, &chained);
    if (frames >= 0) return frames;
  }
  return -1;
}

// A count from the end that begins where the walk has been must agree with it.
bool Mp3Frames::tailAgreesWithWalk() {
  if (tailFirst_ >= walked_ || frameAt(kept_, 0, tailFirst_) == tailKept_.front()) return true;
  tailFirst_ = -1;
  tailTries_ = 0;
  return false;
}

int64_t Mp3Frames::frameAt(const std::vector<int64_t>& kept, int64_t first, int64_t i) {
  int64_t at = kept[static_cast<size_t>((i - first) / kKeepEvery)];
  Mp3Header h;
  for (int64_t k = (i - first) % kKeepEvery; k > 0 && at >= 0; --k)
    at = headerAt(at, &h) ? frameFrom(at + h.bytes) : -1;
  return at;
}

Mp3Frames::Found Mp3Frames::locate(int64_t i, int64_t* offset) {
  if (i < 0) i = 0;
  if (cbr_) {
    if (i >= taggedFrames_) return Found::Past;
    // Frames differ by the padding byte alone, so frame i lies within a byte
    // or two of the average; the chain check makes sure of it.
    const int64_t guess = firstAudio_ + std::llround(static_cast<double>(i) * cbrFrameBytes_);
    for (int d : {0, 1, -1, 2, -2}) {
      if (cbrFrameAt(guess + d, 3)) {
        *offset = guess + d;
        return Found::Yes;
      }
    }
    cbr_ = false;  // not the regular stream the tag promised: walk it
    return Found::NotYet;
  }
  if (i < walked_) {
    *offset = frameAt(kept_, 0, i);
    if (*offset < 0) return Found::Past;
  } else if (walkDone_) {
    return Found::Past;
  } else if (i < taggedFrames_ && ((tailFirst_ >= 0 && tailFirst_ <= i) || countFromEnd(i))) {
    *offset = frameAt(tailKept_, tailFirst_, i);
  } else {
    return Found::NotYet;
  }
  return Found::Yes;
}

int Mp3Frames::readFrame(int64_t& offset, std::vector<uint8_t>& data, int padding) {
  offset = frameFrom(offset);
  Mp3Header h;
  if (offset < 0 || !headerAt(offset, &h)) return 0;
  const uint8_t* p = bytesAt(offset, h.bytes);
  if (!p) return 0;
  data.assign(p, p + h.bytes);
  data.resize(static_cast<size_t>(h.bytes + padding), 0);
  return h.bytes;
}

}  // namespace platform::audio
