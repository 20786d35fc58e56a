// From "停止" to the read-along display showing the traces, for takes of about
// 2, 5 and 10 seconds: the real engine's player reads the sentence's stretch
// from an mp3 lesson, the worker compares, the display is laid out and
// painted. Beside it, the comparison alone on the same samples, and the
// reading of the stretch alone.
//   build/bench/take_display_bench
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "analysis/take_analysis.h"
#include "bench_support.h"
#include "platform/audio/audio_decode_file.h"
#include "platform/audio/audio_engine.h"
#include "platform/text/rich_text.h"
#include "speech_fixtures.h"

namespace {

// The take: another voice, slower; handed over as the recorder keeps it.
struct TakeWave : SilentWave {
  platform::SoundSamples recorded;
  platform::SoundSamples take() const override { return recorded; }
};

struct Setup {
  std::string folder;
  double end = 0;
  analysis::Sound take;
};

// A one-sentence lesson whose audio is espeak-ng's reading, as mp3.
Setup lessonFor(int seconds) {
  Setup s;
  // A folder of its own: the copy is always made at the same place.
  s.folder = copyProgramFolder() + "-" + std::to_string(seconds);
  std::filesystem::remove_all(s.folder);
  std::filesystem::rename(copyProgramFolder(), s.folder);
  const analysis::Sound model =
      analysis_test::speak(analysis_test::sentenceOfAbout(seconds), {"en", 50, 175});
  s.end = 0.5 + double(model.samples.size()) / model.rate + 0.3;
  const std::string sound = s.folder + "/Sound/Book01/1.mp3";
  const analysis::Sound placed = analysis_test::delayed(model, 0.5);
  std::FILE* f = std::fopen((s.folder + "/lesson.raw").c_str(), "wb");
  std::fwrite(placed.samples.data(), 2, placed.samples.size(), f);
  std::fclose(f);
  const std::string encode = "ffmpeg -v quiet -y -f s16le -ar " + std::to_string(placed.rate) +
                             " -ac 1 -i '" + s.folder + "/lesson.raw' -c:a libmp3lame -b:a 128k '" +
                             sound + "'";
  if (std::system(encode.c_str()) != 0) std::fprintf(stderr, "ffmpeg failed\n");
  const std::string record = std::string(analysis_test::sentenceOfAbout(seconds)) + "#中文#0.5#" +
                             std::to_string(s.end) + "#注释#";
  std::ofstream(s.folder + "/book/Book01/1.dat", std::ios::binary)
      << platform::encodeCp936("*" + record + "*");
  s.take = analysis_test::atEngineRate(analysis_test::delayed(
      analysis_test::speak(analysis_test::sentenceOfAbout(seconds), {"en+f3", 70, 140}), 0.3));
  return s;
}

const Setup& setupFor(int seconds) {
  static std::map<int, Setup> setups;
  auto [at, fresh] = setups.try_emplace(seconds);
  if (fresh) at->second = lessonFor(seconds);
  return at->second;
}

void StopToTracesShown(benchmark::State& state) {
  const Setup& s = setupFor(int(state.range(0)));
  platform::AudioEngine engine;
  auto wave = std::make_unique<TakeWave>();
  wave->recorded = {s.take.samples, s.take.rate};
  Form1 form(s.folder, Devices{engine.createMediaPlayer(), std::move(wave),
                               std::make_unique<SilentSounds>(), false});
  form.Unload = nullptr;
  form.Label14(5).releaseMouse();
  waitForFirstPaint(form.widget());
  for (auto _ : state) {
    state.PauseTiming();
    form.Command8_Click();
    state.ResumeTiming();
    form.Command10_Click();
    // Waiting as the event loop does, without taking a core from the worker.
    while (form.analysing()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    form.TraceView1.widget()->repaint();
  }
  state.counters["shown"] = form.TraceView1.hasTraces();
  state.counters["take_s"] = double(s.take.samples.size()) / s.take.rate;
}

void CompareAlone(benchmark::State& state) {
  const Setup& s = setupFor(int(state.range(0)));
  // The same stretch the window's reader hands over.
  const analysis::Sound model{
      platform::audio::decodeStretch(s.folder + "/Sound/Book01/1.mp3", 0.5, s.end), 44100};
  for (auto _ : state) {
    auto c = analysis::compare(model, s.take, analysis_test::sentenceOfAbout(int(state.range(0))));
    benchmark::DoNotOptimize(c.take.pitch.data());
  }
  state.counters["take_s"] = double(s.take.samples.size()) / s.take.rate;
}

// The sentence's stretch read out of the mp3, as the player's reader does.
void DecodeStretch(benchmark::State& state) {
  const Setup& s = setupFor(int(state.range(0)));
  size_t n = 0;
  for (auto _ : state)
    n = platform::audio::decodeStretch(s.folder + "/Sound/Book01/1.mp3", 0.5, s.end).size();
  state.counters["model_s"] = double(n) / 44100;
}

}  // namespace

BENCHMARK(DecodeStretch)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(StopToTracesShown)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(CompareAlone)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return runWindowBenchmarks(argc, argv);
}
