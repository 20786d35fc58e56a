#pragma once
// The lesson player: opens one audio file and plays stretches of it.
#include <string>

#include "platform/audio/sound_samples.h"

namespace platform {

class MediaPlayer {
 public:
  virtual ~MediaPlayer() = default;

  // settings.*
  virtual void setAutoStart(bool on) = 0;
  virtual void setVolume(int volume) = 0;  // 0..100
  virtual int volume() const = 0;
  virtual void setRate(double rate) = 0;  // 0.5, 1.0 or 2.0; pitch is kept
  virtual double rate() const = 0;

  // URL: opens the file without playing; a seek is possible at once. A
  // missing or undecodable file leaves the player silent: its position never
  // moves.
  virtual void setURL(const std::string& path) = 0;
  virtual std::string URL() const = 0;

  // controls.*: times are seconds of media time, whatever the rate.
  virtual double currentPosition() const = 0;           // the sample being heard now
  virtual void setCurrentPosition(double seconds) = 0;  // sample-exact seek
  virtual void play() = 0;                              // resumes where play stopped
  virtual void pause() = 0;                             // halts and keeps the position

  // End guard: no audio past `seconds` is heard; on reaching it the player
  // drains, holds its position there and stays paused until the next seek or
  // play. A negative value removes the guard.
  virtual void setEndGuard(double seconds) = 0;
  // Play has come to an end it holds at, the guard's or the sound's (a file
  // cut short, a start past its end), or there is no sound to play at all: no
  // more comes until the next seek or play.
  virtual bool holding() const { return false; }

  // ---- for the take analysis ----
  // A reader of the open file's samples from `from` to `to` seconds, decoded
  // anew on whatever thread calls it while the player plays on; it reads
  // nothing when no file is open or the file cannot be decoded (or the player
  // keeps no samples).
  virtual SoundReader stretchReader(double /*from*/, double /*to*/) const {
    return [] { return SoundSamples{}; };
  }
};

}  // namespace platform
