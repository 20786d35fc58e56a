#include "platform/audio/background_audio.h"

#include <dlfcn.h>

#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>

namespace platform {
namespace {

AudioDevices* loadEngine(const std::string& modulePath) {
  // Local: the module's libraries stay out of the lookups of the rest of the
  // program. It is never unloaded; the engine's threads run in it.
  void* module = dlopen(modulePath.c_str(), RTLD_LAZY | RTLD_LOCAL);
  using OpenAudio = AudioDevices* (*)();
  auto open = module ? reinterpret_cast<OpenAudio>(dlsym(module, "parlenda_open_audio")) : nullptr;
  if (!open) {
    std::fprintf(stderr, "Parlenda: no audio: %s\n", dlerror());
    return nullptr;
  }
  return open();
}

// Calls held until the real object exists, then made on it in order; once
// it is known there is none, calls do nothing.
template <class Interface>
class Held : public BackgroundAudio::Waiting {
 protected:
  using Waiting::Waiting;
  void call(std::function<void(Interface&)> f) {
    if (real_)
      f(*real_);
    else if (!attached_)
      held_.push_back(std::move(f));
  }
  void attachTo(std::unique_ptr<Interface> real) {
    attached_ = true;
    real_ = std::move(real);
    if (real_)
      for (auto& f : held_) f(*real_);
    held_.clear();
  }
  std::unique_ptr<Interface> real_;
  bool gone() const { return attached_ && !real_; }  // there is none, for good

 private:
  bool attached_ = false;
  std::vector<std::function<void(Interface&)>> held_;
};

// Until the engine is there the player answers from what it was told, as a
// new player would: volume 50, rate 1, the position last set.
class DeferredPlayer : public Held<MediaPlayer>, public MediaPlayer {
 public:
  using Held::Held;
  void attach(AudioDevices* e) override { attachTo(e ? e->createMediaPlayer() : nullptr); }

  void setAutoStart(bool on) override {
    call([on](MediaPlayer& p) { p.setAutoStart(on); });
  }
  void setVolume(int v) override {
    volume_ = v;
    call([v](MediaPlayer& p) { p.setVolume(v); });
  }
  int volume() const override { return real_ ? real_->volume() : volume_; }
  void setRate(double r) override {
    rate_ = r;
    call([r](MediaPlayer& p) { p.setRate(r); });
  }
  double rate() const override { return real_ ? real_->rate() : rate_; }
  void setURL(const std::string& path) override {
    url_ = path;
    call([path](MediaPlayer& p) { p.setURL(path); });
  }
  std::string URL() const override { return real_ ? real_->URL() : url_; }
  double currentPosition() const override { return real_ ? real_->currentPosition() : position_; }
  void setCurrentPosition(double s) override {
    position_ = s;
    call([s](MediaPlayer& p) { p.setCurrentPosition(s); });
  }
  void play() override {
    call([](MediaPlayer& p) { p.play(); });
  }
  void pause() override {
    call([](MediaPlayer& p) { p.pause(); });
  }
  void setEndGuard(double s) override {
    call([s](MediaPlayer& p) { p.setEndGuard(s); });
  }
  // Without an engine, for good, nothing will ever play.
  bool holding() const override { return real_ ? real_->holding() : gone(); }
  // Before the engine there is nothing to decode with.
  SoundReader stretchReader(double from, double to) const override {
    if (real_) return real_->stretchReader(from, to);
    return [] { return SoundSamples{}; };
  }

 private:
  int volume_ = 50;
  double rate_ = 1.0;
  std::string url_;
  double position_ = 0;
};

class DeferredWave : public Held<WaveDevice>, public WaveDevice {
 public:
  using Held::Held;
  void attach(AudioDevices* e) override {
    attachTo(e ? e->createWaveDevice() : nullptr);
    if (real_)
      real_->Done = [this] {
        if (Done) Done();
      };
  }

  void setNotify(bool on) override {
    call([on](WaveDevice& w) { w.setNotify(on); });
  }
  void setWait(bool on) override {
    call([on](WaveDevice& w) { w.setWait(on); });
  }
  void setShareable(bool on) override {
    call([on](WaveDevice& w) { w.setShareable(on); });
  }
  void setDeviceType(const std::string& t) override {
    call([t](WaveDevice& w) { w.setDeviceType(t); });
  }
  void setFileName(const std::string& f) override {
    call([f](WaveDevice& w) { w.setFileName(f); });
  }
  void setFrom(long from) override {
    call([from](WaveDevice& w) { w.setFrom(from); });
  }
  void setCommand(const std::string& c) override {
    call([c](WaveDevice& w) { w.setCommand(c); });
  }
  SoundSamples take() const override { return real_ ? real_->take() : SoundSamples{}; }
  double playPosition() const override { return real_ ? real_->playPosition() : -1; }
};

class DeferredSounds : public Held<Sounds>, public Sounds {
 public:
  using Held::Held;
  void attach(AudioDevices* e) override { attachTo(e ? e->createSounds() : nullptr); }
  void play(const std::string& wavPath) override {
    call([wavPath](Sounds& s) { s.play(wavPath); });
  }
};

// Runs `then` once, just after the first paint of the watched widget, and
// stops watching its events.
class FirstPaint : public QObject {
 public:
  FirstPaint(QObject* parent, std::function<void()> then)
      : QObject(parent), then_(std::move(then)) {}
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (e->type() == QEvent::Paint && then_) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, this, std::exchange(then_, {}));
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

}  // namespace

BackgroundAudio::Waiting::Waiting(BackgroundAudio& audio) : audio_(audio) {
  if (!audio_.arrived_) audio_.waiting_.push_back(this);
}

BackgroundAudio::Waiting::~Waiting() { std::erase(audio_.waiting_, this); }

BackgroundAudio::BackgroundAudio(Open open)
    : openEngine_(std::move(open)), context_(std::make_unique<QObject>()) {}

BackgroundAudio::Open BackgroundAudio::fromModule(std::string path) {
  return [path = std::move(path)] { return loadEngine(path); };
}

// The worker goes first, so nothing is posted to a context that is gone; an
// arrival not yet delivered is dropped with the context, and its engine kept.
BackgroundAudio::~BackgroundAudio() {
  if (worker_.joinable()) worker_.join();
  context_.reset();
  if (!arrived_) engine_.reset(opened_);
}

void BackgroundAudio::openAfterFirstPaint(ui::Window& window) {
  window.widget()->installEventFilter(new FirstPaint(context_.get(), [this] { open(); }));
  QTimer::singleShot(300, context_.get(), [this] { open(); });
}

void BackgroundAudio::open() {
  if (started_) return;
  started_ = true;
  worker_ = std::thread([this] {
    opened_ = openEngine_();
    QMetaObject::invokeMethod(
        context_.get(), [this] { arrive(); }, Qt::QueuedConnection);
  });
}

void BackgroundAudio::arrive() {
  engine_.reset(std::exchange(opened_, nullptr));
  arrived_ = true;
  for (Waiting* w : std::exchange(waiting_, {})) w->attach(engine_.get());
  if (!outputAvailable() && NoOutput) NoOutput();
}

bool BackgroundAudio::outputAvailable() const { return engine_ && engine_->outputAvailable(); }

template <class Deferred>
static std::unique_ptr<Deferred> made(BackgroundAudio& audio, AudioDevices* engine, bool arrived) {
  auto d = std::make_unique<Deferred>(audio);
  if (arrived) d->attach(engine);
  return d;
}

std::unique_ptr<MediaPlayer> BackgroundAudio::createMediaPlayer() {
  return made<DeferredPlayer>(*this, engine_.get(), arrived_);
}
std::unique_ptr<WaveDevice> BackgroundAudio::createWaveDevice() {
  return made<DeferredWave>(*this, engine_.get(), arrived_);
}
std::unique_ptr<Sounds> BackgroundAudio::createSounds() {
  return made<DeferredSounds>(*this, engine_.get(), arrived_);
}

}  // namespace platform
