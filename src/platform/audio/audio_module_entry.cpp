// The entry of the audio module: the program loads it at run time and asks it
// for an engine (background_audio.cpp).
#include "platform/audio/audio_engine.h"

extern "C" __attribute__((visibility("default"))) platform::AudioDevices* parlenda_open_audio() {
  return new platform::AudioEngine();
}
