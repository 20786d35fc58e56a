#include "platform/audio/audio_lesson_worker.h"

#include <soundtouch/SoundTouch.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

#include "platform/audio/audio_format.h"
#include "platform/audio/audio_lesson_source.h"

namespace platform::audio {
namespace {

// How much of the current generation may wait in the queue: enough to ride
// out a busy machine, small enough that the queue never fills with stale
// blocks (the callback drops those at its next pass).
constexpr uint64_t kBufferedBlocks = 32;
static_assert(kBufferedBlocks * 3 < BlockRing::kSlots);
// While the lesson is heard, how often a full queue is looked at again
// (32 blocks last 186 ms at 1.0).
constexpr auto kRefillPoll = std::chrono::milliseconds(10);
// A VBR mp3 is walked this much at a time between other work.
constexpr int64_t kIndexChunkBytes = 1 << 20;
// Past the end guard the stretcher is fed the audio that follows, so that the
// last stretched samples are the sound's and not the silence of a flush; at
// most this much.
constexpr int64_t kMaxLookaheadFrames = kRate / 2;

}  // namespace

// Everything the worker thread alone touches.
struct LessonWorker::Production {
  LessonWorker& worker;
  LessonVoice& voice;
  LessonSource source;
  soundtouch::SoundTouch stretcher;
  PlayRequest current;
  bool producing = false;
  bool stretching = false;
  int64_t startFrame = 0;
  int64_t guardFrame = -1;
  int64_t nextMedia = 0;     // media frame of the next decoded sample
  int64_t stretchedOut = 0;  // frames the stretcher has given since the start
  int64_t outLimit = -1;     // once the guard is reached: the stretched length
  int64_t lookahead = 0;     // frames fed past the guard
  double holdSeconds = 0;    // the position to hold at once the stretch is heard
  uint64_t generationStart = 0;
  std::vector<int16_t> pcm;
  std::vector<float> floats;
  std::vector<int16_t> shorts;

  Production(LessonWorker& w, LessonVoice& v) : worker(w), voice(v) {
    stretcher.setSampleRate(kRate);
    stretcher.setChannels(1);
    // The speech settings follow the position more closely at 0.5 than the
    // music defaults do.
    stretcher.setSetting(SETTING_SEQUENCE_MS, 40);
    stretcher.setSetting(SETTING_SEEKWINDOW_MS, 15);
    stretcher.setSetting(SETTING_OVERLAP_MS, 8);
  }

  bool stale() const { return voice.activeGeneration.load() != current.generation; }

  uint64_t bufferedBlocks() const {
    return voice.ring.pushed() - std::max(voice.ring.popped(), generationStart);
  }
  bool hasWork() const {
    return !source.indexComplete() || (producing && !stale() && bufferedBlocks() < kBufferedBlocks);
  }
  // The queue is full and the callback is taking from it.
  bool waitingToBeHeard() const { return producing && voice.playing.load(); }

  void restart(const PlayRequest& r) {
    current = r;
    startFrame = nearestFrame(r.startSeconds);
    guardFrame = r.guardSeconds >= 0 ? frameAtOrAfter(r.guardSeconds) : -1;
    if (guardFrame <= startFrame) guardFrame = -1;  // a guard behind the start does not apply
    nextMedia = startFrame;
    stretchedOut = 0;
    outLimit = -1;
    lookahead = 0;
    stretching = std::fabs(r.rate - 1.0) > 1e-9;
    stretcher.clear();
    stretcher.setTempo(r.rate);
    generationStart = voice.ring.pushed();
    producing = source.valid();
    if (producing) source.startAt(startFrame);
  }

  // Queues `n` samples whose first is at media frame `media`. False when
  // production must stop.
  bool push(const int16_t* data, int64_t n, double media, double step) {
    while (n > 0) {
      if (voice.ring.full() && !worker.waitForRoom(*this)) return false;
      LessonBlock& b = voice.ring.back();
      b.generation = current.generation;
      b.frames = static_cast<int>(std::min<int64_t>(n, LessonBlock::kCapacity));
      b.mediaStart = media;
      b.step = step;
      b.last = false;
      std::copy(data, data + b.frames, b.samples.begin());
      voice.ring.push();
      data += b.frames;
      media += b.frames * step;
      n -= b.frames;
    }
    return true;
  }

  void pushEnd(double hold) {
    producing = false;
    if (voice.ring.full() && !worker.waitForRoom(*this)) return;
    LessonBlock& b = voice.ring.back();
    b.generation = current.generation;
    b.frames = 0;
    b.mediaStart = static_cast<double>(nextMedia);
    b.step = current.rate;
    b.last = true;
    b.holdSeconds = hold;
    voice.ring.push();
  }

  // Takes what the stretcher has ready, up to the stretched length once known.
  bool drainStretcher() {
    floats.resize(2048);
    for (;;) {
      const unsigned got = stretcher.receiveSamples(floats.data(), 2048);
      if (got == 0) return true;
      int64_t n = got;
      if (outLimit >= 0) n = std::min<int64_t>(n, outLimit - stretchedOut);
      if (n <= 0) return true;
      shorts.resize(static_cast<size_t>(n));
      for (int64_t i = 0; i < n; ++i)
        shorts[i] = clampToInt16(static_cast<int32_t>(std::lrint(floats[i] * 32768.0f)));
      if (!push(shorts.data(), n, startFrame + stretchedOut * current.rate, current.rate))
        return false;
      stretchedOut += n;
    }
  }

  void stretch(const int16_t* data, int64_t n) {
    floats.resize(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) floats[i] = data[i] / 32768.0f;
    stretcher.putSamples(floats.data(), static_cast<unsigned>(n));
    drainStretcher();
  }

  void feed(const int16_t* data, int64_t n) {
    if (!stretching) {
      push(data, n, static_cast<double>(nextMedia), 1.0);
    } else {
      stretch(data, n);
    }
    nextMedia += n;
  }

  // The stretch ends at `endFrame`. Unstretched, that is all; stretched, the
  // output is cut at the stretched length, reached by feeding on past the
  // end (`more` frames at `after` already decoded) or, at the end of the
  // file, by flushing the stretcher.
  void reachEnd(int64_t endFrame, double hold, const int16_t* after, int64_t more) {
    if (!stretching) {
      pushEnd(hold);
      return;
    }
    outLimit = std::llround((endFrame - startFrame) / current.rate);
    holdSeconds = hold;
    lookahead = 0;
    feedPastEnd(after, more);
  }

  void feedPastEnd(const int16_t* data, int64_t n) {
    if (n > 0) {
      stretch(data, n);
      lookahead += n;
    }
    if (stretchedOut >= outLimit) {
      pushEnd(holdSeconds);
    } else if (n == 0 || lookahead >= kMaxLookaheadFrames) {
      stretcher.flush();
      if (drainStretcher()) pushEnd(holdSeconds);
    }
  }

  void produceOnce() {
    pcm.clear();
    switch (source.read(pcm)) {
      case LessonSource::Read::NeedIndex:
        source.indexMore(kIndexChunkBytes);
        return;
      case LessonSource::Read::End:
        if (outLimit >= 0) {
          feedPastEnd(nullptr, 0);
        } else {
          // A guard or a start past the sound holds at the sound's end.
          nextMedia = std::min(nextMedia, source.endFrame());
          reachEnd(nextMedia, static_cast<double>(nextMedia) / kRate, nullptr, 0);
        }
        return;
      case LessonSource::Read::Samples:
        break;
    }
    const int64_t got = static_cast<int64_t>(pcm.size());
    if (outLimit >= 0) {
      feedPastEnd(pcm.data(), got);
      return;
    }
    const bool reachesGuard = guardFrame >= 0 && nextMedia + got >= guardFrame;
    const int64_t n = reachesGuard ? guardFrame - nextMedia : got;
    feed(pcm.data(), n);
    if (reachesGuard) reachEnd(guardFrame, current.guardSeconds, pcm.data() + n, got - n);
  }
};

LessonWorker::LessonWorker(LessonVoice& voice) : voice_(voice) {
  thread_ = std::thread([this] { run(); });
}

LessonWorker::~LessonWorker() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void LessonWorker::open(const std::string& path) {
  {
    std::lock_guard lock(mutex_);
    openPath_ = path;
    ++openSerial_;
  }
  wake_.notify_all();
}

void LessonWorker::request(const PlayRequest& r) {
  {
    std::lock_guard lock(mutex_);
    pending_ = r;
  }
  wake_.notify_all();
}

void LessonWorker::nudge() {
  {
    std::lock_guard lock(mutex_);
    ++nudges_;
  }
  wake_.notify_all();
}

bool LessonWorker::waitForRoom(const Production& p) {
  std::unique_lock lock(mutex_);
  while (!quit_ && !p.stale() && voice_.ring.full()) {
    if (p.waitingToBeHeard()) {
      wake_.wait_for(lock, kRefillPoll);
    } else {
      wake_.wait(lock);
    }
  }
  return !quit_ && !p.stale();
}

void LessonWorker::run() {
  Production p(*this, voice_);
  uint32_t openSerial = 0;
  uint32_t nudges = 0;
  bool restartDue = false;
  for (;;) {
    std::string path;
    PlayRequest request;
    bool openDue = false;
    {
      std::unique_lock lock(mutex_);
      const auto told = [&] {
        return quit_ || openSerial_ != openSerial || pending_.generation != p.current.generation ||
               nudges_ != nudges;
      };
      while (!told() && !p.hasWork()) {
        if (p.waitingToBeHeard()) {
          wake_.wait_for(lock, kRefillPoll);
        } else {
          wake_.wait(lock);
        }
      }
      if (quit_) return;
      nudges = nudges_;
      if (openSerial_ != openSerial) {
        openSerial = openSerial_;
        path = openPath_;
        openDue = true;
      }
      request = pending_;
    }
    if (openDue) {
      const bool ok = path.empty() ? (p.source.close(), false) : p.source.open(path);
      fileValid_ = ok;
      indexComplete_ = p.source.indexComplete();
      totalFrames_ = p.source.totalFrames();
      storedBytes_ = p.source.indexBytes();
      openedSerial_ = openSerial;
      restartDue = true;
    }
    if (restartDue || request.generation != p.current.generation) {
      p.restart(request);
      restartDue = false;
    }
    if (p.producing && !p.stale() && p.bufferedBlocks() < kBufferedBlocks) {
      p.produceOnce();
      if (p.voice.ring.pushed() > p.generationStart) readyGeneration_ = p.current.generation;
    } else if (!p.source.indexComplete()) {
      p.source.indexMore(kIndexChunkBytes);
    }
    if (p.source.indexComplete() && !indexComplete_) {
      totalFrames_ = p.source.totalFrames();
      indexComplete_ = true;
    }
    storedBytes_ = p.source.indexBytes();
  }
}

}  // namespace platform::audio
