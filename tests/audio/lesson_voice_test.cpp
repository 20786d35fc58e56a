// The device callback's side of the lesson: a stretch starts sounding only
// once enough of it is queued, so a worker held up right after its first block
// leaves no gap of silence inside the sentence.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/audio/audio_core.h"
#include "platform/audio/audio_format.h"
#include "platform/audio/audio_lesson_voice.h"

using platform::audio::LessonBlock;
using platform::audio::LessonVoice;
using platform::audio::Mixer;

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

// The output closes once every voice has been quiet a while. A play that
// comes while the device closes must not be mixed into it: its first passes
// would be lost with the device (with SDL's disk driver, the next device
// starts the file again), and the position would run on as if they were heard.
TEST(ClosingOutput, APlayArrivingWhileTheDeviceClosesIsHeardWholeOnTheNext) {
  Mixer mixer;
  LessonVoice voice;
  voice.gain = 1.0f;
  voice.activeGeneration = 1;
  queue(voice, LessonVoice::kStartCushionFrames, false);
  mixer.attach(&voice);
  std::vector<int16_t> out(kPass);
  mixer.render(out.data(), kPass);  // a quiet pass: nothing plays yet
  ASSERT_TRUE(mixer.closeIfQuiet(mixer.wakes(), platform::audio::steadyNowNs(), 0));

  voice.playing = true;
  mixer.wake();
  out.assign(kPass, 1);
  mixer.render(out.data(), kPass);  // the closing device's last pass
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 0; }));
  EXPECT_FALSE(voice.snapshot().started);

  mixer.reopen();
  mixer.render(out.data(), kPass);  // the next device's first pass
  EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](int16_t v) { return v == 100; }));
  EXPECT_EQ(voice.snapshot().mediaBegin, 0);
  mixer.detach(&voice);
}

// A wake after the quiet was judged, or before any pass has looked, keeps
// the output open.
TEST(ClosingOutput, AWakeKeepsTheOutputOpenUntilAPassHasSeenIt) {
  Mixer mixer;
  std::vector<int16_t> out(kPass);
  mixer.render(out.data(), kPass);
  const uint32_t judged = mixer.wakes();
  mixer.wake();
  const int64_t now = platform::audio::steadyNowNs();
  EXPECT_FALSE(mixer.closeIfQuiet(judged, now, 0));
  EXPECT_FALSE(mixer.closeIfQuiet(mixer.wakes(), now, 0));
  mixer.render(out.data(), kPass);
  EXPECT_TRUE(mixer.closeIfQuiet(mixer.wakes(), now, 0));
}

}  // namespace
