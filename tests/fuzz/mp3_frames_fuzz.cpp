// The mp3 frame index on any file: every frame it locates lies inside the
// sound and reads whole; a frame found by counting from the end before the
// walk is, once the walk is complete, where the walk puts it (or the count is
// dropped); two indexes of one file agree once both are walked.
// The first two bytes give where the sound begins (as the demuxer would say);
// the file is the rest.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "platform/audio/audio_mp3_frames.h"

using platform::audio::Mp3Frames;

namespace {

// The input as a file the index can open by name.
struct MemoryFile {
  int fd = memfd_create("mp3", 0);
  MemoryFile(const std::uint8_t* data, std::size_t size) {
    FUZZ_CHECK(fd >= 0 && write(fd, data, size) == static_cast<ssize_t>(size));
  }
  ~MemoryFile() { close(fd); }
  std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }
};

void walkAll(Mp3Frames& frames) {
  for (int k = 0; k < 10000 && !frames.indexComplete(); ++k) frames.indexMore(512);
  FUZZ_CHECK(frames.indexComplete());
}

// Where frames 0 .. count-1 start, each inside the file and readable whole.
std::vector<int64_t> places(Mp3Frames& frames, int64_t count, std::size_t fileSize) {
  std::vector<int64_t> out;
  std::vector<uint8_t> data;
  for (int64_t i = 0; i < count; ++i) {
    int64_t at = -1;
    if (frames.locate(i, &at) != Mp3Frames::Found::Yes) break;
    FUZZ_CHECK(at >= 0 && static_cast<std::size_t>(at) < fileSize);
    const int bytes = frames.readFrame(at, data, 8);
    FUZZ_CHECK(bytes > 0 && static_cast<std::size_t>(at + bytes) <= fileSize);
    FUZZ_CHECK(out.empty() || at > out.back());
    out.push_back(at);
  }
  return out;
}

// The frame count and places once the index is complete. Locating may find
// that a file is not the constant-bit-rate stream its tag says, and walk it.
std::pair<int64_t, std::vector<int64_t>> settle(Mp3Frames& frames, std::size_t fileSize) {
  walkAll(frames);
  std::vector<int64_t> at = places(frames, std::min<int64_t>(frames.frameCount(), 4000), fileSize);
  if (!frames.indexComplete()) {
    walkAll(frames);
    at = places(frames, std::min<int64_t>(frames.frameCount(), 4000), fileSize);
  }
  return {frames.frameCount(), at};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int64_t begins = data[0] | data[1] << 8;
  data += 2;
  size -= 2;
  const int64_t firstAudio = begins % static_cast<int64_t>(size);
  MemoryFile file(data, size);
  Mp3Frames walked;
  if (!walked.open(file.path(), firstAudio)) return 0;
  const auto expected = settle(walked, size);
  const int64_t count = expected.first;

  // A second index asked first for frames near the end, then walked.
  Mp3Frames early;
  FUZZ_CHECK(early.open(file.path(), firstAudio));
  for (int64_t i = count - 1; i >= 0 && i >= count - 300; i -= 37) {
    int64_t at = -1;
    if (early.locate(i, &at) == Mp3Frames::Found::Yes)
      FUZZ_CHECK(at >= firstAudio && static_cast<std::size_t>(at) < size);
  }
  FUZZ_CHECK(settle(early, size) == expected);
  return 0;
}
