// The window over big books and long lessons, each beside its baseline in the
// same run: start-up to the first paint with books of 20, 200 and 1,000
// lessons (beside a bare window and the 20-lesson book), the lesson loader
// for lessons of 50, 200, 1,000 and 5,000 sentences (audio opening included,
// over silent components here, see audio_bench for the player's own open),
// replacing 5,000 rows by one, closing the window over 50, 2,500 and 5,000
// rows, and a tab click to the repainted page.
//   build/bench/lesson_bench [--benchmark_repetitions=5]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "bench_support.h"
#include "platform/text/rich_text.h"
#include "platform/ui/ui.h"

namespace {
void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << platform::encodeCp936(text);
}

void writeLesson(const std::string& folder, int row, int sentences) {
  std::string text = "*";
  for (int k = 1; k <= sentences; ++k)
    text += "This is sentence number " + std::to_string(k) + " of the lesson.#这是第" +
            std::to_string(k) + "句。#" + std::to_string(k * 3) + ".0#" +
            std::to_string(k * 3 + 2) + ".5#注释#*";
  writeFile(folder + "/book/Book01/" + std::to_string(row + 1) + ".dat", text);
}

// Book01 with `lessons` titles and results; its first lesson is the bundled one.
void writeBook(const std::string& folder, int lessons) {
  std::string titles = "^", results = "^";
  for (int k = 1; k <= lessons; ++k) {
    const std::string title = "第" + std::to_string(k) + "课 Lesson " + std::to_string(k);
    titles += title + "^";
    results += "☆" + title + "^";
  }
  writeFile(folder + "/SETTING/BookList/Book01.dat", titles);
  writeFile(folder + "/SETTING/Results/Book01.dat", results);
}

void StartupWithBook(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  writeBook(folder, int(state.range(0)));
  for (auto _ : state) {
    auto form = std::make_unique<Form1>(folder, silentDevices());
    waitForFirstPaint(form->widget());
    state.PauseTiming();
    form->Unload = nullptr;  // no settings written between runs
    // The root and one node a lesson, or the book was not the one written.
    if (form->TreeView1.nodeCount() != state.range(0) + 1)
      state.SkipWithError("the tree does not hold the book's lessons");
    form.reset();  // the window's close is CloseAfterLesson's
    state.ResumeTiming();
  }
}

// The loader run as the learner's click runs it, up to the repainted window,
// then every event still pending, as between two clicks of the learner.
void loadAndPaint(Form1& form) {
  form.loadlesson();
  form.widget()->update();
  waitForFirstPaint(form.widget());
  QApplication::sendPostedEvents();
  QApplication::processEvents();
}

void LoadLesson(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  writeLesson(folder, 0, int(state.range(0)));
  Form1 form(folder, silentDevices());
  form.Unload = nullptr;
  form.List1.setListIndex(0);
  for (auto _ : state) loadAndPaint(form);
  state.counters["rows"] = double(form.Label5.count() - 1);
}

// A one-sentence lesson loaded over a 5,000-sentence one: the time is mostly
// the removal of the old rows.
void ReplaceRows(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  writeLesson(folder, 0, int(state.range(0)));
  writeLesson(folder, 1, 1);
  Form1 form(folder, silentDevices());
  form.Unload = nullptr;
  for (auto _ : state) {
    state.PauseTiming();
    form.List1.setListIndex(0);
    loadAndPaint(form);
    form.List1.setListIndex(1);
    state.ResumeTiming();
    loadAndPaint(form);
  }
}

// The window closed after a lesson of 50, 2,500 or 5,000 sentences: every
// row element goes.
void CloseAfterLesson(benchmark::State& state) {
  const std::string folder = copyProgramFolder();
  writeLesson(folder, 0, int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<Form1>(folder, silentDevices());
    form->Unload = nullptr;
    form->List1.setListIndex(0);
    loadAndPaint(*form);
    state.ResumeTiming();
    form.reset();
  }
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

// The console report, then each figure as a multiple of its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // One figure per benchmark: the median when repeated, else the run.
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration ? !times_.count(r.run_name.str())
                                          : r.aggregate_name == "median")
        times_[r.run_name.str()] = r.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    ratio("StartupWithBook/1000", "StartupWithBook/20");
    ratio("StartupWithBook/200", "StartupWithBook/20");
    ratio("StartupWithBook/20", "BareWindow");
    ratio("LoadLesson/1000", "LoadLesson/50");
    ratio("LoadLesson/5000", "LoadLesson/1000");
    ratio("CloseAfterLesson/5000", "CloseAfterLesson/2500");  // 2x when linear
    ratio("CloseAfterLesson/5000", "CloseAfterLesson/50");
  }

 private:
  void ratio(const std::string& what, const std::string& base) {
    auto a = find(what), b = find(base);
    if (a > 0 && b > 0) std::printf("%-24s %6.2fx %s\n", what.c_str(), a / b, base.c_str());
  }
  double find(const std::string& prefix) const {
    for (const auto& [name, t] : times_)
      if (name.rfind(prefix, 0) == 0 &&
          (name.size() == prefix.size() || name[prefix.size()] == '/'))
        return t;
    return 0;
  }
  std::map<std::string, double> times_;
};
}  // namespace

BENCHMARK(BareWindow)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(StartupWithBook)->Arg(20)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->MinTime(1);
BENCHMARK(LoadLesson)->Arg(50)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceRows)->Arg(5000)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(CloseAfterLesson)
    ->Arg(50)
    ->Arg(2500)
    ->Arg(5000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(TabToRepaintedPage)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  RatioReporter reporter;
  return runWindowBenchmarks(argc, argv, &reporter);
}
