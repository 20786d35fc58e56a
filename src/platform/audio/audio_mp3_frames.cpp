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
constexpr int kBufferBytes = 64 * 1024;
constexpr int kLargestFrame = 2881;
// Version, layer and sampling rate: what every frame of one stream shares.
constexpr uint32_t kStreamBits = 0x1E0C;

uint32_t bigEndian(const uint8_t* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | p[i];
  return v;
}

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
  out->bytes =
      (mpeg1 ? 144 : 72) * kBitRates[mpeg1 ? 0 : 1][bitRate] * 1000 / out->rate + ((h[2] >> 1) & 1);
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
  firstAudio_ = walkAt_ = firstAudio;
  audioEnd_ = fileSize_;
  if (const uint8_t* t = bytesAt(fileSize_ - 128, 3); t && std::memcmp(t, "TAG", 3) == 0)
    audioEnd_ -= 128;  // an ID3v1 tag
  const uint8_t* h = bytesAt(firstAudio, 4);
  if (!h || !parseMp3Header(h, &first_)) return false;
  readTag(firstAudio);
  return true;
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
    if (bytes > h.bytes) audioEnd_ = std::min(audioEnd_, from + q + bytes);
    cbr_ = info && taggedFrames_ > 0 && bytes > h.bytes;
    if (cbr_) cbrFrameBytes_ = double(bytes - h.bytes) / double(taggedFrames_);
    return true;
  }
  return false;
}

int64_t Mp3Frames::frameCount() const {
  if (walkDone_) return static_cast<int64_t>(offsets_.size());
  return taggedFrames_;
}

const uint8_t* Mp3Frames::bytesAt(int64_t offset, int n) {
  if (offset < 0) return nullptr;
  if (offset >= bufferStart_ && offset + n <= bufferStart_ + bufferLength_)
    return buffer_.data() + (offset - bufferStart_);
  buffer_.resize(kBufferBytes);
  const ssize_t got = pread(fd_, buffer_.data(), buffer_.size(), offset);
  bufferStart_ = offset;
  bufferLength_ = got > 0 ? static_cast<int>(got) : 0;
  return bufferLength_ >= n ? buffer_.data() : nullptr;
}

bool Mp3Frames::headerAt(int64_t offset, Mp3Header* h) {
  if (offset + 4 > audioEnd_) return false;
  const uint8_t* p = bytesAt(offset, 4);
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
    if (taggedFrames_ >= 0 && static_cast<int64_t>(offsets_.size()) >= taggedFrames_) break;
    if (!headerAt(walkAt_, &h)) break;  // the end of the sound, or something else
    offsets_.push_back(walkAt_);
    walkAt_ += h.bytes;
  }
  if (walkAt_ < until) {
    walkDone_ = true;
    offsets_.shrink_to_fit();
  }
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
  if (i < static_cast<int64_t>(offsets_.size())) {
    *offset = offsets_[static_cast<size_t>(i)];
    return Found::Yes;
  }
  return walkDone_ ? Found::Past : Found::NotYet;
}

int Mp3Frames::readFrame(int64_t offset, std::vector<uint8_t>& data, int padding) {
  Mp3Header h;
  if (!headerAt(offset, &h)) return 0;
  const uint8_t* p = bytesAt(offset, h.bytes);
  if (!p) return 0;
  data.assign(p, p + h.bytes);
  data.resize(static_cast<size_t>(h.bytes + padding), 0);
  return h.bytes;
}

}  // namespace platform::audio
