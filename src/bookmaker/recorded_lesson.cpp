#include "bookmaker/recorded_lesson.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>

#include "bookmaker/aligner.h"
#include "bookmaker/book_error.h"
#include "bookmaker/media.h"
#include "bookmaker/progress.h"
#include "bookmaker/speech.h"

namespace bookmaker {

namespace {

std::string fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string fileName(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// A recording in the container and codec of the lesson audio is kept as it is.
bool keptAsIs(const MediaFormat& format, const std::string& outPath) {
  if (outPath.ends_with(".wma"))
    return format.container == "asf" && format.codec.starts_with("wmav");
  return format.container == "mp3" && format.codec == "mp3";
}

std::vector<Span> cueStretches(std::vector<Cue>& cues, const Loudness& loudness,
                               const std::string& name) {
  const double seconds = loudness.seconds();
  checkCueOrder(cues, seconds, name);
  std::vector<Cue*> open;
  std::vector<double> starts, limits;
  for (Cue& cue : cues) {
    if (cue.end) continue;
    open.push_back(&cue);
    starts.push_back(cue.start);
    limits.push_back(std::min(cue.limit.value_or(seconds), seconds));
  }
  const auto ends = endsFromStarts(loudness, starts, limits);
  for (std::size_t k = 0; k < open.size(); ++k) {
    if (!ends[k])
      throw BookError(open[k]->sentence.where + ": no speech in " + name + " between " +
                      fixed(open[k]->start, 2) + " s and the next line");
    open[k]->end = ends[k];
  }
  std::vector<Span> stretches;
  for (const Cue& cue : cues) stretches.push_back({cue.start, std::min(*cue.end, seconds)});
  return stretches;
}

}  // namespace

std::vector<Span> wholeMilliseconds(const std::vector<Span>& stretches, double duration) {
  std::vector<Span> rounded;
  for (const Span& s : stretches)
    rounded.push_back({std::max(0.0, std::floor(s.start * 1000)) / 1000,
                       std::min(std::ceil(s.end * 1000) / 1000, duration)});
  for (std::size_t k = 0; k + 1 < rounded.size(); ++k)
    if (rounded[k].end > rounded[k + 1].start) rounded[k].end = rounded[k + 1].start;
  return rounded;
}

RecordedLesson makeRecordedLesson(const std::string& recording, const std::string& outPath,
                                  int kilobits, const std::vector<Sentence>* transcript,
                                  std::vector<Cue>* cues, Progress& progress) {
  const std::string name = fileName(recording);
  const bool kept = keptAsIs(probeFormat(recording), outPath);
  std::unique_ptr<Aligner> aligner;
  std::vector<std::string> labels;
  if (transcript) {
    std::vector<std::string> englishes;
    for (const Sentence& s : *transcript) {
      englishes.push_back(s.english);
      labels.push_back(s.where);
    }
    aligner = std::make_unique<Aligner>(englishes, labels);
    aligner->start(false);
  }
  // One pass: the analysis (loudness, aligner) at 16 kHz and, unless the
  // recording is kept, the lesson audio encoded at the speech rate.
  Loudness loudness;
  long analysed = 0;  // samples at 16 kHz
  std::unique_ptr<Encoder> encoder;
  OnsetProbe onset;
  std::vector<AudioSink> sinks{{kAnalysisRate, [&](const int16_t* s, std::size_t n) {
                                  loudness.take(s, n);
                                  analysed += long(n);
                                  if (aligner) aligner->take(s, n);
                                }}};
  if (!kept) {
    encoder = makeEncoder(outPath, kSpeechRate, kilobits);
    sinks.push_back({kSpeechRate, [&](const int16_t* s, std::size_t n) {
                       encoder->write(s, n);
                       onset.take(s, n);
                     }});
  }
  progress.stage(transcript ? Stage::Aligning : Stage::Decoding);
  decodeAudio(recording, sinks, &progress);
  loudness.finish();
  if (encoder) encoder->finish();
  encoder.reset();

  std::vector<Span> stretches;
  if (cues) {
    stretches = cueStretches(*cues, loudness, name);
  } else {
    const std::string fault = "the text cannot be aligned to " + name + ": ";
    if (!aligner->finish()) {
      // Find how far the text matches the speech to name the first line that does not.
      aligner->start(true);
      decodeAudio(recording,
                  {{kAnalysisRate, [&](const int16_t* s, std::size_t n) { aligner->take(s, n); }}},
                  &progress);
      aligner->finish();
      throw BookError(fault + aligner->unmatchedLine());
    }
    try {
      stretches = transcriptStretches(loudness, aligner->sentences(), labels);
    } catch (const BookError& error) {
      throw BookError(fault + error.what());
    }
  }

  double shift = 0;
  if (kept) {
    std::filesystem::copy_file(recording, outPath,
                               std::filesystem::copy_options::overwrite_existing);
  } else {  // the lesson audio as the player decodes it: its shift and its length
    progress.stage(Stage::Checking);
    const Window& head = onset.window();
    WindowProbe decodedHead(std::max(0L, head.base - kOffsetReach - 512),
                            head.end() + kOffsetReach + 512);
    analysed = 0;
    decodeAudio(outPath,
                {{kSpeechRate, [&](const int16_t* s, std::size_t n) { decodedHead.take(s, n); }},
                 {kAnalysisRate, [&](const int16_t*, std::size_t n) { analysed += long(n); }}},
                &progress);
    shift = double(measureOffset(head, decodedHead.window(), onset.onset())) / kSpeechRate;
  }
  RecordedLesson made;
  made.duration = double(analysed) / kAnalysisRate;
  for (Span& s : stretches) s = {s.start + shift, s.end + shift};
  made.stretches = wholeMilliseconds(stretches, made.duration);
  const std::vector<Sentence>* sentences = transcript;
  std::vector<Sentence> fromCues;
  if (cues) {
    for (const Cue& cue : *cues) fromCues.push_back(cue.sentence);
    sentences = &fromCues;
  }
  for (std::size_t k = 0; k < made.stretches.size(); ++k)
    if (made.stretches[k].end <= made.stretches[k].start)
      throw BookError((*sentences)[k].where + ": no time left for the sentence in " + name + " (" +
                      fixed(made.stretches[k].start, 3) + "-" + fixed(made.stretches[k].end, 3) +
                      " s)");
  return made;
}

}  // namespace bookmaker
