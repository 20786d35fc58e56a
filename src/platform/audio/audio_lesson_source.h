#pragma once
// The lesson file read from disk as needed. A seek starts a little before the
// target, decodes and discards up to it, so it lands on the exact sample for
// every format: the position of what the decoder gives comes from mp3 frame
// numbers (audio_mp3_frames.h) or from the container's timestamps, never from
// decoding the file ahead. Memory stays flat whatever the file's length.
// Used from the lesson worker thread only.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform::audio {

class LessonSource {
 public:
  LessonSource();
  ~LessonSource();
  LessonSource(const LessonSource&) = delete;
  LessonSource& operator=(const LessonSource&) = delete;

  // Opens the file and reads its headers. False for a missing or undecodable
  // file.
  bool open(const std::string& path);
  void close();
  bool valid() const;

  // A VBR mp3 is walked frame by frame, `bytes` at a time, before a seek can
  // land past what has been walked; other files need no index.
  bool indexComplete() const;
  void indexMore(int64_t bytes);
  size_t indexBytes() const;
  // Media frames (44.1 kHz) of the whole lesson, as far as known.
  int64_t totalFrames() const;

  // Positions decoding at a media frame (44.1 kHz); read() then yields the
  // samples from that frame on.
  void startAt(int64_t mediaFrame);
  enum class Read { Samples, NeedIndex, End };
  Read read(std::vector<int16_t>& out);  // appends mono samples
  // After End: the media frame at which the sound ended.
  int64_t endFrame() const;

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace platform::audio
