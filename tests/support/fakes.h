#pragma once
// Stand-ins for the audio components: they record what the window asks of
// them, and the player reports the position the test gives it.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/audio/media_player.h"
#include "platform/audio/sounds.h"
#include "platform/audio/wave_device.h"

struct FakePlayer : platform::MediaPlayer {
  std::string url;
  bool autoStart = true;
  int volumeValue = 50;
  double rateValue = 1.0;
  double position = 0;
  double guard = -1;
  double soundEnd = -1;  // where the lesson's sound ends; negative: past every time
  bool playing = false;
  std::vector<std::string> log;   // "seek 1.5", "play", "pause"
  platform::SoundSamples lesson;  // what the lesson file holds, for the take analysis

  void setAutoStart(bool on) override { autoStart = on; }
  void setVolume(int v) override { volumeValue = v; }
  int volume() const override { return volumeValue; }
  void setRate(double r) override { rateValue = r; }
  double rate() const override { return rateValue; }
  void setURL(const std::string& path) override { url = path; }
  std::string URL() const override { return url; }
  double currentPosition() const override { return position; }
  void setCurrentPosition(double s) override {
    position = soundEnd >= 0 ? std::min(s, soundEnd) : s;
    log.push_back("seek " + std::to_string(s));
  }
  void play() override {
    playing = true;
    log.push_back("play");
  }
  void pause() override {
    playing = false;
    log.push_back("pause");
  }
  void setEndGuard(double s) override { guard = s; }
  bool holding() const override { return playing && soundEnd >= 0 && position >= soundEnd; }
  platform::SoundReader stretchReader(double from, double to) const override {
    return [lesson = lesson, from, to] {
      const auto at = [&](double t) {
        return std::clamp<long>(std::lround(t * lesson.rate), 0, long(lesson.samples.size()));
      };
      return platform::SoundSamples{
          {lesson.samples.begin() + at(from), lesson.samples.begin() + std::max(at(from), at(to))},
          lesson.rate};
    };
  }
  int plays() const {
    int n = 0;
    for (auto& l : log) n += l == "play";
    return n;
  }
};

struct FakeWave : platform::WaveDevice {
  std::vector<std::string> commands;
  std::string fileName;
  void setNotify(bool) override {}
  void setWait(bool) override {}
  void setShareable(bool) override {}
  void setDeviceType(const std::string& t) override { commands.push_back("type " + t); }
  void setFileName(const std::string& p) override { fileName = p; }
  void setFrom(long) override {}
  void setCommand(const std::string& c) override { commands.push_back(c); }
  platform::SoundSamples recorded;  // the take the test gives
  double takePosition = -1;         // where its play is; negative: not playing
  platform::SoundSamples take() const override { return recorded; }
  double playPosition() const override { return takePosition; }
};

struct FakeSounds : platform::Sounds {
  std::vector<std::string> played;
  void play(const std::string& path) override { played.push_back(path); }
};
