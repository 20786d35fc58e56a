#pragma once
// Effect sounds behind Sounds: one voice; a new sound cuts off the last.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/audio/audio_core.h"
#include "platform/audio/sounds.h"

namespace platform::audio {

class EffectPlayer final : public Sounds {
 public:
  explicit EffectPlayer(std::shared_ptr<Core> core);
  ~EffectPlayer() override;
  void play(const std::string& wavPath) override;

 private:
  struct Key {
    std::string path;
    int64_t stamp;
    uintmax_t size;
    bool operator<(const Key& o) const {
      return std::tie(path, stamp, size) < std::tie(o.path, o.stamp, o.size);
    }
  };
  const EffectClip* clipFor(const std::string& path);

  std::shared_ptr<Core> core_;
  std::unique_ptr<EffectVoice> voice_;
  std::map<Key, std::unique_ptr<EffectClip>> clips_;
};

}  // namespace platform::audio
