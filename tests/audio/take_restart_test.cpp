// The take restarted from the user-interface thread while the callback hands
// over the end of the play before: the restart is never lost, and the end of
// the earlier play is never taken for the end of the restarted one.
#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>
#include <vector>

#include "platform/audio/audio_voices.h"

namespace {

using platform::audio::TakeVoice;

// Long passes widen the moment in which a pass has read the play's state
// and not yet written it back, where a restart used to be lost.
constexpr int kTake = 20000;  // frames: a little over two passes
constexpr int kPass = 8192;

// The output callback, run as fast as it goes on a thread of its own. It
// counts the frames it has written and notes where the last whole take began
// (1 to kTake in a row).
struct Callback {
  TakeVoice& take;
  std::atomic<int64_t> written{0};
  std::atomic<int64_t> lastWholeStart{-1};
  std::atomic<bool> quit{false};
  std::thread thread;

  explicit Callback(TakeVoice& t) : take(t) {
    thread = std::thread([this] {
      int32_t out[kPass];
      int run = 0;
      int64_t at = 0;
      while (!quit.load()) {
        std::fill(out, out + kPass, 0);
        take.render(out, kPass);
        for (int i = 0; i < kPass; ++i) {
          run = out[i] == run + 1 ? run + 1 : (out[i] == 1 ? 1 : 0);
          if (run == kTake) lastWholeStart.store(at + i - (kTake - 1));
        }
        at += kPass;
        written.store(at, std::memory_order_release);
      }
    });
  }
  ~Callback() {
    quit = true;
    thread.join();
  }
  void waitPasses(int64_t from, int passes) const {
    while (written.load() < from + int64_t{passes} * kPass) std::this_thread::yield();
  }
};

// A take whose samples are 1, 2, ... kTake, recorded through the capture path.
void recordRamp(TakeVoice& take) {
  std::vector<int16_t> ramp(kTake);
  for (int i = 0; i < kTake; ++i) ramp[i] = static_cast<int16_t>(i + 1);
  take.reserve(kTake);
  take.startRecording();
  take.capture(ramp.data(), kTake);
  ASSERT_EQ(take.stopRecording(), kTake);
}

TEST(TakeRestart, MeetingTheEndOfTheLastPlayIsNeitherLostNorAFalseEnd) {
  TakeVoice take;
  recordRamp(take);
  Callback callback(take);
  std::mt19937 random(7);
  int lost = 0, falseEnds = 0;
  for (int round = 0; round < 500; ++round) {
    // A first play, then a restart about its end.
    take.startPlay(0);
    const int64_t first = callback.written.load();
    const int64_t restartAt =
        first + std::uniform_int_distribution<int64_t>(kTake - 2 * kPass, kTake + kPass)(random);
    while (callback.written.load() < restartAt) std::this_thread::yield();
    const int64_t restarted = callback.written.load();
    const uint32_t play = take.startPlay(0);
    // Counted from after the restart: a test thread held up between reading
    // `restarted` and the call would otherwise find the time gone already.
    const int64_t deadline = callback.written.load() + 4 * kTake + 4 * kPass;
    while (!take.finished(play) && callback.written.load() < deadline) std::this_thread::yield();
    if (!take.finished(play)) {
      ++lost;
      continue;
    }
    // The end seen: the restarted play must have been handed over whole.
    callback.waitPasses(callback.written.load(), 2);
    if (callback.lastWholeStart.load() < restarted) ++falseEnds;
  }
  EXPECT_EQ(lost, 0) << "restarts lost";
  EXPECT_EQ(falseEnds, 0) << "ends raised before the restarted play was heard";
}

TEST(TakeRestart, AStopCutsThePlayAndAnEndMeansTheWholeTakeWasHeard) {
  TakeVoice take;
  recordRamp(take);
  Callback callback(take);
  for (int round = 0; round < 150; ++round) {
    const int64_t started = callback.written.load();
    const uint32_t play = take.startPlay(0);
    callback.waitPasses(started, round % 4);
    take.stopPlay();
    callback.waitPasses(callback.written.load(), 2 * kTake / kPass);
    EXPECT_EQ(take.finished(play), callback.lastWholeStart.load() >= started) << round;
  }
}

}  // namespace
