// Time to compare a take with its model sentence, for takes of about 2, 5 and
// 10 seconds of espeak-ng speech at the engine's 44.1 kHz, beside handing the
// same samples to a worker (a copy and a conversion to floats).
#include <benchmark/benchmark.h>

#include <map>

#include "analysis/take_analysis.h"
#include "speech_fixtures.h"

namespace {

struct Pair {
  analysis::Sound model, take;
};

// The model at 175 words a minute, the take slower, in another voice.
const Pair& pairFor(int seconds) {
  static std::map<int, Pair> pairs;
  auto [at, fresh] = pairs.try_emplace(seconds);
  if (fresh) {
    at->second.model = analysis_test::atEngineRate(
        analysis_test::speak(analysis_test::sentenceOfAbout(seconds), {"en", 50, 175}));
    at->second.take = analysis_test::atEngineRate(
        analysis_test::speak(analysis_test::sentenceOfAbout(seconds), {"en+f3", 70, 140}));
  }
  return at->second;
}

void setCounters(benchmark::State& state, const Pair& pair) {
  state.counters["model_s"] = double(pair.model.samples.size()) / pair.model.rate;
  state.counters["take_s"] = double(pair.take.samples.size()) / pair.take.rate;
}

void CopyToWorker(benchmark::State& state) {
  const Pair& pair = pairFor(int(state.range(0)));
  for (auto _ : state) {
    Pair copy = pair;
    std::vector<float> model(copy.model.samples.begin(), copy.model.samples.end());
    std::vector<float> take(copy.take.samples.begin(), copy.take.samples.end());
    benchmark::DoNotOptimize(model.data());
    benchmark::DoNotOptimize(take.data());
  }
  setCounters(state, pair);
}

void CompareTake(benchmark::State& state) {
  const Pair& pair = pairFor(int(state.range(0)));
  int intonation = 0;
  for (auto _ : state) {
    const auto result = analysis::compare(pair.model, pair.take,
                                          analysis_test::sentenceOfAbout(int(state.range(0))));
    intonation = result.intonationMatch;
    benchmark::DoNotOptimize(result.take.pitch.data());
  }
  setCounters(state, pair);
  state.counters["intonation"] = intonation;
}

BENCHMARK(CopyToWorker)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);
BENCHMARK(CompareTake)->Arg(2)->Arg(5)->Arg(10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
