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

}  // namespace

// Everything the worker thread alone touches.
struct LessonWorker::Production {
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
  uint64_t generationStart = 0;
  std::vector<int16_t> pcm;
  std::vector<float> floats;
  std::vector<int16_t> shorts;

  explicit Production(LessonVoice& v) : voice(v) {
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

  void restart(const PlayRequest& r) {
    current = r;
    startFrame = std::max<int64_t>(0, nearestFrame(r.startSeconds));
    guardFrame = r.guardSeconds >= 0 ? frameAtOrAfter(r.guardSeconds) : -1;
    if (guardFrame <= startFrame) guardFrame = -1;  // a guard behind the start does not apply
    nextMedia = startFrame;
    stretchedOut = 0;
    stretching = std::fabs(r.rate - 1.0) > 1e-9;
    stretcher.clear();
    stretcher.setTempo(r.rate);
    generationStart = voice.ring.pushed();
    producing = source.valid();
    if (producing) source.startAt(startFrame);
  }

  // Queues `n` samples whose first is at media frame `media`.
  void push(const int16_t* data, int64_t n, double media, double step) {
    while (n > 0) {
      while (voice.ring.full()) {
        if (stale()) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
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
  }

  void pushEnd(double holdSeconds) {
    while (voice.ring.full()) {
      if (stale()) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    LessonBlock& b = voice.ring.back();
    b.generation = current.generation;
    b.frames = 0;
    b.mediaStart = static_cast<double>(nextMedia);
    b.step = current.rate;
    b.last = true;
    b.holdSeconds = holdSeconds;
    voice.ring.push();
  }

  // Takes what the stretcher has ready, at most up to `limit` frames in all.
  void drainStretcher(int64_t limit) {
    floats.resize(2048);
    for (;;) {
      const unsigned got = stretcher.receiveSamples(floats.data(), 2048);
      if (got == 0) return;
      int64_t n = got;
      if (limit >= 0) n = std::min<int64_t>(n, limit - stretchedOut);
      if (n <= 0) return;
      shorts.resize(static_cast<size_t>(n));
      for (int64_t i = 0; i < n; ++i)
        shorts[i] = clampToInt16(static_cast<int32_t>(std::lrint(floats[i] * 32768.0f)));
      push(shorts.data(), n, startFrame + stretchedOut * current.rate, current.rate);
      stretchedOut += n;
    }
  }

  void feed(const int16_t* data, int64_t n) {
    if (!stretching) {
      push(data, n, static_cast<double>(nextMedia), 1.0);
    } else {
      floats.resize(static_cast<size_t>(n));
      for (int64_t i = 0; i < n; ++i) floats[i] = data[i] / 32768.0f;
      stretcher.putSamples(floats.data(), static_cast<unsigned>(n));
      drainStretcher(-1);
    }
    nextMedia += n;
  }

  // The stretch ends at `endFrame`: the stretcher gives up what it holds, cut
  // to the stretched length of the stretch, and the callback is told to hold.
  void finish(int64_t endFrame, double holdSeconds) {
    if (stretching) {
      stretcher.flush();
      drainStretcher(std::llround((endFrame - startFrame) / current.rate));
    }
    pushEnd(holdSeconds);
    producing = false;
  }

  void produceOnce() {
    pcm.clear();
    switch (source.read(pcm)) {
      case LessonSource::Read::NeedIndex:
        source.indexMore(64);
        return;
      case LessonSource::Read::End:
        finish(nextMedia, static_cast<double>(nextMedia) / kRate);
        return;
      case LessonSource::Read::Samples:
        break;
    }
    int64_t n = static_cast<int64_t>(pcm.size());
    const bool reachesGuard = guardFrame >= 0 && nextMedia + n >= guardFrame;
    if (reachesGuard) n = guardFrame - nextMedia;
    feed(pcm.data(), n);
    if (reachesGuard) finish(guardFrame, current.guardSeconds);
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

void LessonWorker::run() {
  Production p(voice_);
  uint32_t openSerial = 0;
  bool restartDue = false;
  for (;;) {
    std::string path;
    PlayRequest request;
    bool openDue = false;
    {
      std::unique_lock lock(mutex_);
      const bool busy = p.producing || !p.source.indexComplete();
      const bool news =
          quit_ || openSerial_ != openSerial || pending_.generation != p.current.generation;
      if (!news && (!busy || (p.producing && p.bufferedBlocks() >= kBufferedBlocks &&
                              p.source.indexComplete()))) {
        wake_.wait_for(lock, std::chrono::milliseconds(10));
      }
      if (quit_) return;
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
      totalFrames_ = 0;
      storedBytes_ = p.source.storedBytes();
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
      p.source.indexMore(256);
    }
    if (p.source.indexComplete() && !indexComplete_) {
      totalFrames_ = p.source.totalFrames();
      indexComplete_ = true;
    }
    storedBytes_ = p.source.storedBytes();
  }
}

}  // namespace platform::audio
