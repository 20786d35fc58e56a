// The device callback's side of the lesson: a stretch starts sounding only
// once enough of it is queued, so a worker held up right after its first block
// leaves no gap of silence inside the sentence.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/audio/audio_lesson_voice.h"

using platform::audio::LessonBlock;
using platform::audio::LessonVoice;

namespace {

constexpr int kPass = 512;  // frames the mixer asks for at a time

// Queues `frames` frames of generation 1, each sample 100, as the worker does.
void queue(LessonVoice& voice, int frames, bool lastBlock) {
  for (int left = frames; left > 0;) {
    LessonBlock& b = voice.ring.back();
    b.generation = 1;
    b.frames = std::min(left, LessonBlock::kCapacity);
    b.mediaStart = frames - left;
    b.step = 1;
    left -= b.frames;
    b.last = lastBlock && left == 0;
    std::fill(b.samples.begin(), b.samples.begin() + b.frames, int16_t(100));
    voice.ring.push();
  }
}

// The frames of one pass that carry sound.
int soundingFrames(LessonVoice& voice) {
  std::vector<int32_t> mix(kPass, 0);
  voice.render(mix.data(), kPass, 0);
  return int(std::count_if(mix.begin(), mix.end(), [](int32_t v) { return v != 0; }));
}

struct Start {
  const char* name;
  int queued;     // frames queued before the first pass
  bool whole;     // they are the whole stretch
  int firstPass;  // frames heard in the first pass
};

class StretchStart : public testing::TestWithParam<Start> {};

TEST_P(StretchStart, WaitsForTheCushionOrTheWholeStretch) {
  const Start c = GetParam();
  LessonVoice voice;
  voice.gain = 1.0f;
  voice.activeGeneration = 1;
  voice.playing = true;
  queue(voice, c.queued, c.whole);
  EXPECT_EQ(soundingFrames(voice), c.firstPass);
  EXPECT_EQ(voice.snapshot().started, c.firstPass > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Queued, StretchStart,
    testing::Values(Start{"one_block", 256, false, 0},
                    Start{"under_the_cushion", LessonVoice::kStartCushionFrames - 1, false, 0},
                    Start{"the_cushion", LessonVoice::kStartCushionFrames, false, kPass},
                    Start{"a_short_whole_stretch", 300, true, 300}),
    [](const auto& test) { return std::string(test.param.name); });

// Once started, a pass plays what is queued, however little: the cushion is
// for the start only.
TEST(StretchStart, OnceStartedPlaysWhatIsQueued) {
  LessonVoice voice;
  voice.gain = 1.0f;
  voice.activeGeneration = 1;
  voice.playing = true;
  queue(voice, 256, false);
  EXPECT_EQ(soundingFrames(voice), 0);
  queue(voice, LessonVoice::kStartCushionFrames, false);
  int heard = 0;
  for (int pass = 0; pass < 20; ++pass) heard += soundingFrames(voice);
  EXPECT_EQ(heard, 256 + LessonVoice::kStartCushionFrames);
}

}  // namespace
