// The lesson loader (audio opening included, over silent components here, see
// audio_bench for the player's own open) for 40- and 200-sentence lessons, and
// a tab click to the repainted page for a 40-sentence lesson.
//   build/bench/lesson_bench
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "bench_support.h"
#include "platform/text/rich_text.h"
#include "platform/ui/ui.h"

namespace {
std::string writeLesson(const std::string& folder, int row, int sentences) {
  std::string text = "*";
  for (int k = 1; k <= sentences; ++k)
    text += "This is sentence number " + std::to_string(k) + " of the lesson.#这是第" +
            std::to_string(k) + "句。#" + std::to_string(k * 3) + ".0#" +
            std::to_string(k * 3 + 2) + ".5#注释#*";
  std::string p = folder + "/book/Book01/" + std::to_string(row + 1) + ".dat";
  std::ofstream(p, std::ios::binary) << platform::encodeCp936(text);
  return p;
}

void LoadLesson(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  writeLesson(folder, 0, int(state.range(0)));
  Form1 form(folder, silentDevices());
  form.Unload = nullptr;
  form.List1.setListIndex(0);
  for (auto _ : state) form.loadlesson();
  state.counters["rows"] = double(form.Label5.count() - 1);
}

void TabToRepaintedPage(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  writeLesson(folder, 0, 40);
  Form1 form(folder, silentDevices());
  form.Unload = nullptr;
  form.List1.setListIndex(0);
  form.loadlesson();
  waitForFirstPaint(form.widget());
  int k = 2;
  for (auto _ : state) {
    form.Label14(k).releaseMouse();
    form.widget()->update();
    waitForFirstPaint(form.widget());
    k = k == 2 ? 3 : 2;
  }
}
}  // namespace

BENCHMARK(LoadLesson)->Arg(40)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(TabToRepaintedPage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runWindowBenchmarks(argc, argv); }
