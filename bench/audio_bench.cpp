// The lesson player over a 10-minute 128 kb/s stereo mp3 and the same as wma
// (made once into /tmp): open, memory, play latency, end guard, start, speed
// and CPU; then long lessons (10 min, 1 h, 3 h of mp3 and wma, and a 22.05 kHz
// VBR mp3): URL to the first sample near the end, seeks anywhere, resident
// memory and its peak, bit-exactness of seeks, beside mpv in the same run.
// Runs the real engine on SDL's disk driver, output in /tmp.
//   build/bench/audio_bench --benchmark_counters_tabular=true
// Memory is best read with each long lesson in a process of its own (freed
// heap of earlier cases is reused and hides growth):
//   for k in 0 1 2; do for l in 0 1 2; do build/bench/audio_bench
//     --benchmark_filter="BM_LongLesson/$l/$k/" --benchmark_counters_tabular=true; done; done
//   (one line)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <thread>
#include <vector>

#include "platform/audio/audio_engine.h"
#include "platform/audio/audio_lesson_source.h"
#include "platform/audio/audio_media_player.h"

namespace {

const std::string kDir = "/tmp/parlenda-audio-bench";
constexpr int kRate = 44100;
using Samples = std::vector<int16_t>;

bool shell(const std::string& c) { return std::system((c + " >/dev/null 2>&1").c_str()) == 0; }

// A 220 Hz tone under a little pink noise: every sample sounds, and the
// fundamental can be counted.
const std::string& lesson(const std::string& ext) {
  static const bool made = [] {
    std::filesystem::create_directories(kDir);
    if (std::filesystem::exists(kDir + "/lesson.wma")) return true;
    return shell("cd " + kDir +
                 " && sox -n -r 44100 -c 2 tone.wav synth 600 sine 220 vol 0.4"
                 " && sox -n -r 44100 -c 2 bed.wav synth 600 pinknoise vol 0.03"
                 " && sox -m tone.wav bed.wav lesson.wav && rm tone.wav bed.wav"
                 " && lame --quiet -b 128 lesson.wav lesson.mp3"
                 " && ffmpeg -y -loglevel error -i lesson.wav -c:a wmav2 -b:a 128k lesson.wma");
  }();
  static std::string paths[2] = {kDir + "/lesson.mp3", kDir + "/lesson.wma"};
  if (!made) std::abort();
  return ext == "mp3" ? paths[0] : paths[1];
}

Samples readRaw(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::string b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  Samples s(b.size() / 2);
  std::copy(b.data(), b.data() + s.size() * 2, reinterpret_cast<char*>(s.data()));
  return s;
}

const Samples& reference(const std::string& ext) {
  static std::map<std::string, Samples> decoded;
  auto& s = decoded[ext];
  if (s.empty()) {
    const std::string raw = kDir + "/ref-" + ext + ".raw";
    shell("ffmpeg -y -loglevel error -i " + lesson(ext) + " -f s16le -ac 1 -ar 44100 " + raw);
    s = readRaw(raw);
    if (ext == "wma") s.insert(s.begin(), 2048, 0);  // the command drops WMA's first frame
  }
  return s;
}

void useDisk(const std::string& out) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
  setenv("SDL_DISKAUDIOFILEIN", (kDir + "/none.raw").c_str(), 1);
}

platform::audio::LessonPlayer& lessonPlayer(platform::MediaPlayer& p) {
  return dynamic_cast<platform::audio::LessonPlayer&>(p);
}

int64_t nowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

long residentKiB() {
  std::ifstream f("/proc/self/statm");
  long pages = 0, resident = 0;
  f >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

double cpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void playTo(platform::MediaPlayer& p, double start, double end) {
  p.setEndGuard(end);
  p.setCurrentPosition(start);
  lessonPlayer(p).waitReady(5);
  p.play();
  while (p.currentPosition() < end) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  p.pause();
}

std::string extOf(const benchmark::State& s) { return s.range(0) == 0 ? "mp3" : "wma"; }

// URL set to playable: the file opened and the first blocks queued.
void BM_Open(benchmark::State& state) {
  const std::string ext = extOf(state);
  lesson(ext);
  useDisk("/dev/null");
  platform::AudioEngine engine;
  for (auto _ : state) {
    auto player = engine.createMediaPlayer();
    player->setAutoStart(false);
    const auto t0 = std::chrono::steady_clock::now();
    player->setURL(lesson(ext));
    lessonPlayer(*player).waitReady(5);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
}
BENCHMARK(BM_Open)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// Resident memory the loaded lesson adds, once indexed whole.
void BM_Memory(benchmark::State& state) {
  const std::string ext = extOf(state);
  lesson(ext);
  useDisk("/dev/null");
  platform::AudioEngine engine;
  for (auto _ : state) {
    const long before = residentKiB();
    auto player = engine.createMediaPlayer();
    player->setURL(lesson(ext));
    lessonPlayer(*player).waitIndexed(30);
    state.counters["added_MB"] = (residentKiB() - before) / 1024.0;
    state.counters["stored_MB"] = lessonPlayer(*player).storedBytes() / 1048576.0;
    state.counters["duration_s"] = lessonPlayer(*player).durationSeconds();
  }
}
BENCHMARK(BM_Memory)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// controls.play after a seek anywhere to the first sample handed to SDL.
void BM_PlayLatency(benchmark::State& state) {
  const std::string ext = extOf(state);
  useDisk("/dev/null");
  platform::AudioEngine engine;
  auto player = engine.createMediaPlayer();
  player->setAutoStart(false);
  player->setURL(lesson(ext));
  lessonPlayer(*player).waitIndexed(30);
  std::mt19937 random(1);
  double worst = 0;
  for (auto _ : state) {
    player->setCurrentPosition(std::uniform_real_distribution<double>(1, 590)(random));
    lessonPlayer(*player).waitReady(5);
    const int64_t t0 = nowNs();
    player->play();
    while (lessonPlayer(*player).firstSampleNs() < t0) std::this_thread::yield();
    const double latency = (lessonPlayer(*player).firstSampleNs() - t0) * 1e-9;
    worst = std::max(worst, latency);
    state.SetIterationTime(latency);
    player->pause();
  }
  state.counters["worst_ms"] = worst * 1000;
}
BENCHMARK(BM_PlayLatency)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(40);

// Stretches at each rate on the disk output: audio past the end time, the
// first sample against the full decode, duration and fundamental.
// Over the 10-minute files and (range(1) > 0) the long lessons, near their end.
std::string longLesson(int minutes, const std::string& kind);
constexpr int kMinutes[] = {10, 60, 180};
const char* const kKinds[] = {"mp3", "wma", "vbr22"};

void BM_Stretches(benchmark::State& state) {
  const std::string ext = state.range(0) == 1 ? "wma" : "mp3";
  const bool tenMinutes = state.range(1) == 0 && state.range(0) < 2;
  const std::string file =
      tenMinutes ? lesson(ext) : longLesson(kMinutes[state.range(1)], kKinds[state.range(0)]);
  const double at = kMinutes[state.range(1)] * 60.0 - 266.6667;
  const double rates[] = {1.0, 0.5, 2.0};
  for (auto _ : state) {
    const std::string out = kDir + "/out-" + ext + ".raw";
    useDisk(out);
    {
      platform::AudioEngine engine;
      auto player = engine.createMediaPlayer();
      player->setAutoStart(false);
      player->setURL(file);
      player->setVolume(100);
      lessonPlayer(*player).waitIndexed(30);
      for (double rate : rates) {
        player->setRate(rate);
        playTo(*player, at, at + 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
      }
    }
    const Samples s = readRaw(out);
    // Runs of sound between the silences of the pauses.
    std::vector<std::pair<size_t, size_t>> runs;
    for (size_t i = 0; i < s.size();) {
      while (i < s.size() && s[i] == 0) ++i;
      if (i == s.size()) break;
      const size_t begin = i;
      size_t end = i, zeros = 0;
      for (; i < s.size() && zeros < 2000; ++i) {
        zeros = s[i] == 0 ? zeros + 1 : 0;
        if (s[i]) end = i + 1;
      }
      runs.push_back({begin, end});
    }
    if (runs.size() != 3) {
      state.SkipWithError("expected three stretches in the output");
      return;
    }
    auto hz = [&](size_t b, size_t e) {
      size_t first = 0, last = 0, n = 0;
      for (size_t i = b + (e - b) / 10; i < e - (e - b) / 10; ++i)
        if (s[i - 1] < 0 && s[i] >= 0) {
          if (!n) first = i;
          last = i;
          ++n;
        }
      return (n - 1) * double(kRate) / double(last - first);
    };
    if (tenMinutes) {
      // Start: where the first 64 samples heard sit in the ffmpeg command's
      // decode (the long lessons are checked against the whole decode in
      // BM_LongLesson).
      const Samples& ref = reference(ext);
      const int64_t startFrame = std::llround(at * kRate);
      long startOffset = 99999;
      for (long off = -50; off <= 50; ++off) {
        if (std::equal(s.begin() + runs[0].first, s.begin() + runs[0].first + 64,
                       ref.begin() + startFrame + off)) {
          startOffset = off;
          break;
        }
      }
      state.counters["start_offset_samples"] = startOffset;
    }
    const double normalHz = hz(runs[0].first, runs[0].second);
    const char* names[] = {"1.0", "0.5", "2.0"};
    for (int i = 0; i < 3; ++i) {
      const double expected = kRate / rates[i];
      const double length = runs[i].second - runs[i].first;
      state.counters[std::string("past_end_ms_") + names[i]] = (length - expected) * 1000.0 / kRate;
      state.counters[std::string("duration_ratio_") + names[i]] = length / kRate;
      state.counters[std::string("pitch_ratio_") + names[i]] =
          hz(runs[i].first, runs[i].second) / normalHz;
    }
  }
}
BENCHMARK(BM_Stretches)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// CPU of the whole process while the lesson plays at 0.5.
void BM_CpuAtHalfRate(benchmark::State& state) {
  const std::string ext = extOf(state);
  useDisk("/dev/null");
  platform::AudioEngine engine;
  auto player = engine.createMediaPlayer();
  player->setAutoStart(false);
  player->setURL(lesson(ext));
  lessonPlayer(*player).waitIndexed(30);
  player->setRate(0.5);
  player->setCurrentPosition(100);
  lessonPlayer(*player).waitReady(5);
  for (auto _ : state) {
    player->play();
    const double cpu0 = cpuSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(3));
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    state.counters["cpu_percent_of_core"] = (cpuSeconds() - cpu0) / wall * 100;
    player->pause();
  }
}
BENCHMARK(BM_CpuAtHalfRate)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// Long lessons: the 10-minute files joined end to end (stream copy), and a
// 22.05 kHz VBR mp3 of the same sound.
std::string longLesson(int minutes, const std::string& kind) {
  const std::string ext = kind == "vbr22" ? "mp3" : kind;
  const std::string path = kDir + "/long-" + kind + "-" + std::to_string(minutes) + "." + ext;
  if (std::filesystem::exists(path)) return path;
  std::string base = lesson(ext == "wma" ? "wma" : "mp3");
  if (kind == "vbr22") {
    base = kDir + "/vbr22.mp3";
    if (!std::filesystem::exists(base) &&
        !shell("cd " + kDir + " && ffmpeg -y -loglevel error -i lesson.mp3 -ar 22050 v.wav" +
               " && lame --quiet -V 7 v.wav vbr22.mp3 && rm v.wav"))
      std::abort();
  }
  std::ofstream list(kDir + "/list.txt");
  for (int i = 0; i < minutes / 10; ++i) list << "file '" << base << "'\n";
  list.close();
  if (!shell("ffmpeg -y -loglevel error -f concat -safe 0 -i " + kDir + "/list.txt -c copy " +
             path))
    std::abort();
  return path;
}

long statusKiB(const char* field) {
  std::ifstream f("/proc/self/status");
  for (std::string line; std::getline(f, line);)
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return 0;
}

// `count` samples from `start`, as a seek gives them.
Samples seekRead(const std::string& file, int64_t start, size_t count) {
  platform::audio::LessonSource source;
  source.open(file);
  source.startAt(start);
  Samples out;
  while (out.size() < count) {
    const auto r = source.read(out);
    if (r == platform::audio::LessonSource::Read::End) break;
    if (r == platform::audio::LessonSource::Read::NeedIndex) source.indexMore(1 << 20);
  }
  out.resize(std::min(out.size(), count));
  return out;
}

// Seeks that differ from the whole file's decode, read once from its start
// keeping only the windows compared.
int inexactSeeks(const std::string& file, std::vector<int64_t> starts, size_t count) {
  std::sort(starts.begin(), starts.end());
  platform::audio::LessonSource whole;
  whole.open(file);
  whole.startAt(0);
  Samples chunk;
  int64_t at = 0;
  size_t next = 0;
  int inexact = 0;
  Samples window;
  while (next < starts.size()) {
    chunk.clear();
    const auto r = whole.read(chunk);
    if (r == platform::audio::LessonSource::Read::NeedIndex) whole.indexMore(1 << 20);
    if (r == platform::audio::LessonSource::Read::End) break;
    for (size_t i = 0; i < chunk.size() && next < starts.size(); ++i, ++at) {
      if (at >= starts[next]) window.push_back(chunk[i]);
      if (window.size() == count) {
        inexact += seekRead(file, starts[next], count) != window;
        window.clear();
        ++next;
        // The next window may begin before this one ended: read it again.
        if (next < starts.size() && starts[next] <= at) {
          whole.startAt(starts[next]);
          at = starts[next] - 1;
          chunk.clear();
          break;
        }
      }
    }
  }
  return inexact + static_cast<int>(starts.size() - next);
}

// mpv, the general media player, in the same run: open, seek, play 1 s.
void peer(benchmark::State& state, const std::string& file, double at) {
  const std::string times = kDir + "/mpv-time.txt";
  const auto t0 = std::chrono::steady_clock::now();
  shell("/usr/bin/time -f '%M' -o " + times + " mpv --no-config --really-quiet --vo=null" +
        " --ao=null --start=" + std::to_string(at) + " --length=1 " + file);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::ifstream f(times);
  long kib = 0;
  f >> kib;
  state.counters["mpv_open_seek_play1s_s"] = wall;
  state.counters["mpv_peak_MB"] = kib / 1024.0;
}

// URL to the first sample of a stretch near the end handed to the device,
// then seeks anywhere; resident memory and its peak; seeks against the whole
// decode.
void BM_LongLesson(benchmark::State& state) {
  const std::string kind = kKinds[state.range(1)];
  const std::string file = longLesson(kMinutes[state.range(0)], kind);
  const double seconds = kMinutes[state.range(0)] * 60.0;
  useDisk("/dev/null");
  platform::AudioEngine engine;
  {
    // FFmpeg's one-time set-up is paid by the first lesson a process opens,
    // whatever its length: done here on another file.
    auto warm = engine.createMediaPlayer();
    warm->setAutoStart(false);
    warm->setURL(lesson(kind == "wma" ? "wma" : "mp3"));
    lessonPlayer(*warm).waitReady(5);
  }
  for (auto _ : state) {
    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const long before = residentKiB();
    auto player = engine.createMediaPlayer();
    player->setAutoStart(false);
    const double cpu0 = cpuSeconds();
    const int64_t t0 = nowNs();
    player->setURL(file);
    player->setCurrentPosition(seconds - 20.5);
    player->play();
    while (lessonPlayer(*player).firstSampleNs() < t0)
      std::this_thread::sleep_for(std::chrono::microseconds(100));  // the bench's own CPU stays out
    state.counters["url_to_first_sample_ms"] = (lessonPlayer(*player).firstSampleNs() - t0) * 1e-6;
    player->pause();
    // What the open costs the machine: the process's CPU in the second after it.
    std::this_thread::sleep_until(
        std::chrono::steady_clock::time_point(std::chrono::nanoseconds(t0)) +
        std::chrono::seconds(1));
    state.counters["cpu_ms_in_1s_after_url"] = (cpuSeconds() - cpu0) * 1000;
    std::mt19937 random(3);
    double sum = 0, worst = 0;
    const int seeks = 20;
    for (int i = 0; i < seeks; ++i) {
      const int64_t s0 = nowNs();
      player->setCurrentPosition(std::uniform_real_distribution<double>(1, seconds - 5)(random));
      player->play();
      while (lessonPlayer(*player).firstSampleNs() < s0) std::this_thread::yield();
      const double ms = (lessonPlayer(*player).firstSampleNs() - s0) * 1e-6;
      sum += ms;
      worst = std::max(worst, ms);
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      player->pause();
    }
    state.counters["seek_to_first_sample_mean_ms"] = sum / seeks;
    state.counters["seek_to_first_sample_worst_ms"] = worst;
    state.counters["added_MB"] = (residentKiB() - before) / 1024.0;
    state.counters["added_peak_MB"] = (statusKiB("VmHWM:") - before) / 1024.0;
    state.counters["duration_s"] = lessonPlayer(*player).durationSeconds();
  }
  std::vector<int64_t> starts;
  std::mt19937 random(9);
  for (int i = 0; i < 24; ++i)
    starts.push_back(
        std::uniform_int_distribution<int64_t>(0, int64_t(seconds - 1) * kRate)(random));
  state.counters["inexact_seeks_of_24"] = inexactSeeks(file, starts, 4096);
  peer(state, file, seconds - 20.5);
}
BENCHMARK(BM_LongLesson)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The whole frame walk of a 22.05 kHz VBR mp3 (opening included), beside its
// floor: reading the same file through in 1 MB blocks. Both from the page cache.
void BM_Mp3Walk(benchmark::State& state) {
  const std::string file = longLesson(kMinutes[state.range(0)], "vbr22");
  for (auto _ : state) {
    platform::audio::LessonSource source;
    source.open(file);
    while (!source.indexComplete()) source.indexMore(1 << 20);
    benchmark::DoNotOptimize(source.totalFrames());
  }
}
BENCHMARK(BM_Mp3Walk)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

void BM_Mp3WalkFloorReadingTheFile(benchmark::State& state) {
  const std::string file = longLesson(kMinutes[state.range(0)], "vbr22");
  std::vector<char> block(1 << 20);
  for (auto _ : state) {
    std::ifstream in(file, std::ios::binary);
    while (in.read(block.data(), static_cast<std::streamsize>(block.size())) || in.gcount() > 0)
      benchmark::DoNotOptimize(block.data());
  }
}
BENCHMARK(BM_Mp3WalkFloorReadingTheFile)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
