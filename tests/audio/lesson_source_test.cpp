// The lesson file read from disk: every seek lands on the sample the whole
// file's decode has there, in every format, at any place of the file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "audio_test_support.h"
#include "platform/audio/audio_decode_file.h"
#include "platform/audio/audio_format.h"
#include "platform/audio/audio_lesson_source.h"
#include "platform/audio/audio_mp3_frames.h"

using namespace audio_test;
using platform::audio::LessonSource;

namespace {

// `count` samples from media frame `start`, as a seek gives them.
Samples readFrom(const std::string& file, int64_t start, size_t count) {
  LessonSource source;
  if (!source.open(file)) return {};
  source.startAt(start);
  Samples out;
  while (out.size() < count) {
    const LessonSource::Read r = source.read(out);
    if (r == LessonSource::Read::End) break;
    if (r == LessonSource::Read::NeedIndex) source.indexMore(1 << 16);
  }
  out.resize(std::min(out.size(), count));
  return out;
}

struct Encoding {
  const char* name;
  int rate;             // of the source WAV
  const char* command;  // %s: the WAV, %o: the encoded file
  const char* extension;
};

std::string encodeWith(const Encoding& e, const std::string& wav) {
  const std::string out = wav.substr(0, wav.size() - 4) + "." + e.extension;
  std::string c = e.command;
  c.replace(c.find("%s"), 2, "'" + wav + "'");
  c.replace(c.find("%o"), 2, "'" + out + "'");
  return shell(c) ? out : "";
}

class SeekAnywhere : public testing::TestWithParam<Encoding> {};

// Sixty seeks, spread over the file and its ends, each against the whole
// file's decode from its first sample. The low-rate VBR mp3 borrows from many
// frames back (the bit reservoir); WMA keeps its restored first frame.
TEST_P(SeekAnywhere, EverySeekIsTheWholeDecodeFromThere) {
  const Encoding e = GetParam();
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  Samples source = noise(6.0, 21);
  if (e.rate != kRate) {
    Samples half(source.size() / 2);
    for (size_t i = 0; i < half.size(); ++i) half[i] = source[2 * i];
    source = half;
  }
  writeWav(wav, source, e.rate);
  const std::string file = encodeWith(e, wav);
  ASSERT_FALSE(file.empty());
  const auto whole = platform::audio::decodeWholeFile(file);
  ASSERT_TRUE(whole);
  ASSERT_GT(whole->size(), size_t{5 * kRate});

  std::mt19937 random(5);
  std::vector<int64_t> starts = {0,    1,    1151, 1152,
                                 2047, 2048, 4095, static_cast<int64_t>(whole->size()) - 300};
  while (starts.size() < 60)
    starts.push_back(std::uniform_int_distribution<int64_t>(0, whole->size() - 1)(random));
  for (int64_t start : starts) {
    const size_t count = std::min<size_t>(2000, whole->size() - start);
    const Samples heard = readFrom(file, start, count);
    const Samples expected(whole->begin() + start, whole->begin() + start + count);
    EXPECT_TRUE(heard == expected) << "seek to frame " << start;
  }
  // Past the end of the sound there is nothing.
  EXPECT_EQ(readFrom(file, whole->size() + 5000, 100).size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SeekAnywhere,
    testing::Values(Encoding{"cbr_mp3", kRate, "lame --quiet -b 128 %s %o", "mp3"},
                    Encoding{"vbr_mp3_22k", kRate / 2, "lame --quiet -V 9 %s %o", "mp3"},
                    Encoding{"wma", kRate,
                             "ffmpeg -y -loglevel error -i %s -c:a wmav2 -b:a 128k %o", "wma"}),
    [](const auto& test) { return std::string(test.param.name); });

// The CBR mp3 is located by arithmetic, the VBR one walked: both give the
// file's length in frames, without decoding it.
TEST(LessonLength, IsKnownWithoutDecoding) {
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(3.0, 4));
  for (const char* options : {"-b 128", "-V 5"}) {
    const std::string file = dir.file("lesson.mp3");
    ASSERT_TRUE(shell("lame --quiet " + std::string(options) + " '" + wav + "' '" + file + "'"));
    LessonSource source;
    ASSERT_TRUE(source.open(file));
    while (!source.indexComplete()) source.indexMore(1 << 16);
    EXPECT_EQ(source.totalFrames(), 3 * kRate) << options;
  }
}

// Two recordings joined end to end (the second with its own tags), or one
// with bytes of something else in its middle, play to their end: the whole
// decode holds both parts, sound to the last second, and seeks land on it.
TEST(LessonLength, JoinedOrDamagedFilesPlayToTheirEnd) {
  struct Case {
    const char* name;
    const char* options;
    bool joined;  // else damaged in the middle
  };
  const Case cases[] = {{"joined VBR", "-V 9 --resample 22.05", true},
                        {"joined CBR", "-b 64", true},
                        {"damaged VBR", "-V 5", false}};
  TempDir dir;
  const std::string wav = dir.file("part.wav");
  writeWav(wav, noise(3.0, 12));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string first = dir.file("a.mp3"), second = dir.file("b.mp3");
    const std::string file = dir.file("lesson.mp3");
    const std::string lame = "lame --quiet " + std::string(c.options) + " '" + wav + "' ";
    ASSERT_TRUE(shell(lame + "'" + first + "'"));
    ASSERT_TRUE(shell(lame + "--add-id3v2 --tt Second '" + second + "'"));
    if (c.joined) {
      std::ofstream(file, std::ios::binary) << std::ifstream(first, std::ios::binary).rdbuf()
                                            << std::ifstream(second, std::ios::binary).rdbuf();
    } else {  // 3,000 bytes of text over the middle of the first recording
      ASSERT_TRUE(shell("cp '" + first + "' '" + file + "' && yes lesson | head -c 3000 | dd of='" +
                        file +
                        "' bs=1 seek=" + std::to_string(std::filesystem::file_size(first) / 2) +
                        " conv=notrunc status=none"));
    }
    const auto whole = platform::audio::decodeWholeFile(file);
    ASSERT_TRUE(whole);
    const double seconds = double(whole->size()) / kRate;
    EXPECT_GT(seconds, c.joined ? 5.9 : 2.5);  // only the damaged frames lost (ffmpeg: 2.59 s)
    const Samples last(whole->end() - kRate, whole->end());
    double energy = 0;
    for (int16_t v : last) energy += double(v) * v;
    EXPECT_GT(std::sqrt(energy / kRate), 1000.0) << "the last second is silent";
    std::mt19937 random(7);
    for (int k = 0; k < 12; ++k) {
      const int64_t start = std::uniform_int_distribution<int64_t>(0, whole->size() - 2001)(random);
      const Samples expected(whole->begin() + start, whole->begin() + start + 2000);
      EXPECT_TRUE(readFrom(file, start, 2000) == expected) << "seek to frame " << start;
    }
  }
}

// The first frame of sound of a file made by lame: after its tag frame.
int64_t firstSoundFrame(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  uint8_t header[4] = {};
  in.read(reinterpret_cast<char*>(header), 4);
  platform::audio::Mp3Header h;
  return platform::audio::parseMp3Header(header, &h) ? h.bytes : -1;
}

// A frame in the last quarter, nearer the end than the walk, is found by
// counting back from the tag's end of the sound, at once; it is the frame the
// whole walk finds there.
// Without the tag's count, or when the file ends before the tag says, only
// the walk finds it.
TEST(Mp3Frames, FramesCountedFromTheEndLieWhereTheWalkFindsThem) {
  using platform::audio::Mp3Frames;
  struct Case {
    const char* options;
    bool counted;  // from the end
  };
  const Case cases[] = {{"-V 9 --resample 22.05", true},
                        {"-V 2", true},
                        {"-V 5 --id3v1-only --tt Lesson", true},
                        {"-V 5 -t", false},  // no tag frame
                        {"-V 5 --cut", false}};
  TempDir dir;
  const std::string wav = dir.file("lesson.wav");
  writeWav(wav, noise(12.0, 8));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options);
    const std::string file = dir.file("lesson.mp3");
    std::string options = c.options;
    const bool cut = options.ends_with("--cut");
    if (cut) options.resize(options.size() - 5);
    ASSERT_TRUE(shell("lame --quiet " + options + " '" + wav + "' '" + file + "'"));
    if (cut) std::filesystem::resize_file(file, std::filesystem::file_size(file) - 3000);
    const int64_t first = c.options == std::string("-V 5 -t") ? 0 : firstSoundFrame(file);
    Mp3Frames walked;
    ASSERT_TRUE(walked.open(file, first));
    while (!walked.indexComplete()) walked.indexMore(1 << 12);
    const int64_t n = walked.frameCount();
    ASSERT_GT(n, 400);
    for (int64_t i = n * 3 / 4; i < n; i += 7) {
      int64_t expected = -1, found = -1;
      ASSERT_EQ(walked.locate(i, &expected), Mp3Frames::Found::Yes);
      Mp3Frames fresh;
      ASSERT_TRUE(fresh.open(file, first));
      const auto r = fresh.locate(i, &found);
      EXPECT_EQ(r, c.counted ? Mp3Frames::Found::Yes : Mp3Frames::Found::NotYet) << "frame " << i;
      if (r == Mp3Frames::Found::Yes) {
        EXPECT_EQ(found, expected) << "frame " << i;
      }
    }
  }
}

// Times of any size turn into frames without overflow: past the end is the end.
TEST(MediaFrames, ClampInsteadOfOverflowing) {
  using platform::audio::frameAtOrAfter;
  using platform::audio::kLastMediaFrame;
  using platform::audio::nearestFrame;
  EXPECT_EQ(frameAtOrAfter(2.35), 103635);
  EXPECT_EQ(nearestFrame(1.0000227), 44101);
  for (double huge : {123456789012345.0, 1e300, HUGE_VAL}) {
    EXPECT_EQ(frameAtOrAfter(huge), kLastMediaFrame);
    EXPECT_EQ(nearestFrame(huge), kLastMediaFrame);
  }
  for (double below : {-1.0, -1e300, std::nan("")}) {
    EXPECT_EQ(frameAtOrAfter(below), 0);
    EXPECT_EQ(nearestFrame(below), 0);
  }
}

}  // namespace
