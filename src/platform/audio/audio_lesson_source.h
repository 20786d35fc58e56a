#pragma once
// The lesson file held compressed in memory, with the exact media frame at
// which each packet's decoded output begins. A seek starts a little earlier,
// decodes and discards up to the target, so it lands on the exact sample for
// every format (mp3 and wma included) without trusting container timestamps.
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

  // Opens the file and reads its headers; the packets are indexed later, a few
  // at a time, by indexMore(). False for a missing or undecodable file.
  bool open(const std::string& path);
  void close();
  bool valid() const;

  bool indexComplete() const;
  void indexMore(int packets);
  int64_t totalFrames() const;  // media frames; meaningful once indexComplete()
  size_t storedBytes() const;

  // Positions decoding at a media frame (44.1 kHz); read() then yields the
  // samples from that frame on.
  void startAt(int64_t mediaFrame);
  enum class Read { Samples, NeedIndex, End };
  Read read(std::vector<int16_t>& out);  // appends mono samples

 private:
  struct State;
  std::unique_ptr<State> s_;
};

}  // namespace platform::audio
