// Start-up of the main window over the bundled program folder, to its first
// paint, side by side with a bare Qt window of the same size.
//   build/bench/startup_bench   (QT_QPA_PLATFORM=offscreen, or under xvfb-run)
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "platform/ui/ui.h"

BENCHMARK(BareWindow)->Unit(benchmark::kMillisecond)->MinTime(2);

static void ParlendaStartup(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  for (auto _ : state) {
    Form1 form(folder, silentDevices());
    waitForFirstPaint(form.widget());
    state.PauseTiming();
    form.Unload = nullptr;  // no settings written between runs
    state.ResumeTiming();
  }
}
BENCHMARK(ParlendaStartup)->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
