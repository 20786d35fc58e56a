#include "platform/audio/audio_lesson_voice.h"

#include <algorithm>
#include <cmath>

namespace platform::audio {

void LessonVoice::render(int32_t* mix, int frames, int64_t nowNs) {
  const uint32_t gen = activeGeneration.load(std::memory_order_acquire);
  if (gen != generation_) {
    generation_ = gen;
    frontOffset_ = 0;
    started_ = false;
    held_ = false;
  }
  // Blocks of an earlier seek, rate or guard are stale: drop them unheard.
  for (LessonBlock* b = ring.front(); b && b->generation != gen; b = ring.front()) {
    ring.pop();
    frontOffset_ = 0;
  }
  HeardSnapshot s;
  s.generation = gen;
  s.timeNs = nowNs;
  if (playing.load(std::memory_order_acquire) && !held_ && (started_ || cushionQueued(gen))) {
    const float g = gain.load(std::memory_order_relaxed);
    int done = 0;
    for (LessonBlock* b = ring.front(); done < frames && b && b->generation == gen;
         b = ring.front()) {
      const int n = std::min(frames - done, b->frames - frontOffset_);
      if (done == 0 && n > 0) {
        s.mediaBegin = b->mediaStart + frontOffset_ * b->step;
        s.step = b->step;
      }
      const int16_t* src = b->samples.data() + frontOffset_;
      if (g == 1.0f) {
        for (int i = 0; i < n; ++i) mix[done + i] += src[i];
      } else {
        for (int i = 0; i < n; ++i) mix[done + i] += static_cast<int32_t>(std::lrint(src[i] * g));
      }
      done += n;
      frontOffset_ += n;
      nextMedia_ = b->mediaStart + frontOffset_ * b->step;
      step_ = b->step;
      if (frontOffset_ < b->frames) break;
      const bool last = b->last;
      holdSeconds_ = b->holdSeconds;
      ring.pop();
      frontOffset_ = 0;
      if (last) {
        held_ = true;
        break;
      }
    }
    if (done > 0 && !started_) {
      started_ = true;
      firstSampleNs.store(nowNs, std::memory_order_release);
    }
    s.frames = done;
    if (done == 0) {
      s.mediaBegin = nextMedia_;
      s.step = step_;
    }
  } else {
    s.mediaBegin = nextMedia_;
    s.step = step_;
  }
  s.started = started_;
  s.held = held_;
  s.holdSeconds = holdSeconds_;
  publish(s);
}

// Whether the ring holds the start cushion of generation `gen`, or the whole
// of a shorter stretch.
bool LessonVoice::cushionQueued(uint32_t gen) {
  int queued = -frontOffset_;
  for (uint64_t k = 0; queued < kStartCushionFrames; ++k) {
    const LessonBlock* b = ring.at(k);
    if (!b || b->generation != gen) return false;
    if (b->last) return true;
    queued += b->frames;
  }
  return true;
}

void LessonVoice::publish(const HeardSnapshot& s) {
  seq_.fetch_add(1);
  snapGeneration_.store(s.generation);
  snapStarted_.store(s.started);
  snapMediaBegin_.store(s.mediaBegin);
  snapStep_.store(s.step);
  snapFrames_.store(s.frames);
  snapTimeNs_.store(s.timeNs);
  snapHeld_.store(s.held);
  snapHoldSeconds_.store(s.holdSeconds);
  seq_.fetch_add(1);
}

HeardSnapshot LessonVoice::snapshot() const {
  HeardSnapshot s;
  for (;;) {
    const uint32_t before = seq_.load();
    if (before & 1u) continue;
    s.generation = snapGeneration_.load();
    s.started = snapStarted_.load();
    s.mediaBegin = snapMediaBegin_.load();
    s.step = snapStep_.load();
    s.frames = snapFrames_.load();
    s.timeNs = snapTimeNs_.load();
    s.held = snapHeld_.load();
    s.holdSeconds = snapHoldSeconds_.load();
    if (seq_.load() == before) return s;
  }
}

}  // namespace platform::audio
