#include "bookmaker/speech.h"

#include <espeak-ng/speak_lib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "bookmaker/book_error.h"
#include "bookmaker/texts.h"

namespace bookmaker {

namespace {

Samples* collecting = nullptr;

int collect(short* samples, int count, espeak_EVENT*) {
  if (collecting && samples && count > 0)
    collecting->insert(collecting->end(), samples, samples + count);
  return 0;
}

std::mutex& speechLock() {
  static std::mutex lock;
  return lock;
}

void startSpeech() {
  static const bool started = [] {
    if (espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT) < 0)
      throw BookError("espeak-ng cannot start (is espeak-ng-data installed?)");
    espeak_SetSynthCallback(collect);
    return true;
  }();
  (void)started;
}

constexpr int kSpeechFloor =
    64;  // a sample above this is speech (espeak-ng's silence is exact zero)

}  // namespace

namespace {

Samples synthesise(const std::string& text, const std::string& voice, int wordsPerMinute) {
  startSpeech();
  if (espeak_SetVoiceByName(voice.c_str()) !=
      EE_OK) {  // a language ("en-gb") rather than a voice's name
    espeak_VOICE wanted{};
    wanted.languages = voice.c_str();
    if (espeak_SetVoiceByProperties(&wanted) != EE_OK)
      throw BookError("espeak-ng has no voice " + quote(voice));
  }
  espeak_SetParameter(espeakRATE, wordsPerMinute, 0);
  Samples samples;
  collecting = &samples;
  const espeak_ERROR said =
      espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                   espeakCHARS_UTF8 | espeakPHONEMES | espeakENDPAUSE, nullptr, nullptr);
  espeak_Synchronize();
  collecting = nullptr;
  if (said != EE_OK) throw BookError("espeak-ng failed on " + quote(text));
  return samples;
}

}  // namespace

Samples speakRaw(const std::string& text, const std::string& voice, int wordsPerMinute) {
  // espeak-ng carries state from one sentence into the next (the same
  // sentence lasts longer or shorter after another): each is spoken by a
  // fresh synthesiser in a child process, so a sentence always sounds the
  // same, whatever came before it.
  const std::lock_guard hold(speechLock());
  int pipe[2];
  if (::pipe(pipe) != 0) throw BookError("espeak-ng cannot start (no pipe)");
  const pid_t child = fork();
  if (child < 0) throw BookError("espeak-ng cannot start (no process)");
  if (child == 0) {
    ::close(pipe[0]);
    int status = 0;
    try {
      const Samples samples = synthesise(text, voice, wordsPerMinute);
      const char* at = reinterpret_cast<const char*>(samples.data());
      std::size_t left = samples.size() * sizeof(int16_t);
      while (left > 0) {
        const ssize_t wrote = ::write(pipe[1], at, left);
        if (wrote <= 0) break;
        at += wrote;
        left -= std::size_t(wrote);
      }
    } catch (const BookError&) {
      status = 1;
    }
    ::close(pipe[1]);
    _exit(status);
  }
  ::close(pipe[1]);
  std::string bytes;
  char buffer[65536];
  for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) != 0;) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    bytes.append(buffer, std::size_t(got));
  }
  ::close(pipe[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw BookError("espeak-ng failed on " + quote(text) + " (voice " + quote(voice) + ")");
  Samples samples(bytes.size() / sizeof(int16_t));
  std::memcpy(samples.data(), bytes.data(), samples.size() * sizeof(int16_t));
  return samples;
}

Samples speak(const std::string& text, const std::string& voice, int wordsPerMinute) {
  const Samples samples = speakRaw(text, voice, wordsPerMinute);
  const auto loud = [](int16_t v) { return std::abs(int(v)) > kSpeechFloor; };
  const auto first = std::find_if(samples.begin(), samples.end(), loud);
  if (first == samples.end()) throw BookError("espeak-ng said nothing for " + quote(text));
  const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
  return Samples(first, last);
}

std::string ipaOf(const std::string& word) {
  const std::lock_guard hold(speechLock());
  startSpeech();
  espeak_SetVoiceByName("en-us");
  std::string ipa;
  const void* text = word.c_str();
  while (text) {
    const char* phonemes = espeak_TextToPhonemes(&text, espeakCHARS_UTF8, espeakPHONEMES_IPA);
    if (phonemes) ipa += std::string(phonemes) + " ";
  }
  return ipa;
}

}  // namespace bookmaker
