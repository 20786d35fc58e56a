#include "bookmaker/loudness.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace bookmaker {

void Loudness::take(const int16_t* samples, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) {
    power_ += double(samples[k]) * samples[k];
    if (++inFrame_ == kFrame) {
      levels_.push_back(10 * std::log10(power_ / kFrame + 1.0));
      power_ = 0;
      inFrame_ = 0;
    }
  }
}

void Loudness::finish() {
  if (inFrame_ > 0) levels_.push_back(10 * std::log10(power_ / inFrame_ + 1.0));
  power_ = 0;
  inFrame_ = 0;
  std::vector<double> ordered = levels_;
  if (ordered.empty()) ordered.push_back(0);
  std::sort(ordered.begin(), ordered.end());
  floor_ = ordered[ordered.size() / 10];
  const double peak = ordered[std::min(ordered.size() - 1, ordered.size() * 95 / 100)];
  // Far enough above the noise floor to skip hiss, low enough to keep the
  // soft ends of words (a final "s" or "f").
  threshold_ = floor_ + std::max(4.0, 0.2 * (peak - floor_));
}

Loudness Loudness::of(const std::vector<int16_t>& samples) {
  Loudness loudness;
  loudness.take(samples.data(), samples.size());
  loudness.finish();
  return loudness;
}

bool Loudness::loud(long frame) const {
  return frame >= 0 && frame < frames() && levels_[std::size_t(frame)] > threshold_;
}

bool Loudness::aboveFloor(long frame) const {
  return frame >= 0 && frame < frames() && levels_[std::size_t(frame)] > floor_ + 3.0;
}

long Loudness::fadeOut(long frame, long limit) const {
  while (frame < limit && aboveFloor(frame)) ++frame;
  return frame;
}

long Loudness::fadeIn(long frame, long limit) const {
  while (frame > limit && aboveFloor(frame - 1)) --frame;
  return frame;
}

long frameOf(double seconds) { return long(std::nearbyint(seconds * 100)); }

std::optional<double> lastSpeechEnd(const Loudness& loudness, double first, double limit) {
  for (long frame = frameOf(limit) - 1; frame > frameOf(first) - 1; --frame)
    if (loudness.loud(frame)) return double(loudness.fadeOut(frame + 1, frameOf(limit))) / 100;
  return std::nullopt;
}

std::optional<double> firstSpeechStart(const Loudness& loudness, double first, double limit) {
  for (long frame = frameOf(first); frame < frameOf(limit); ++frame)
    if (loudness.loud(frame)) return double(loudness.fadeIn(frame, frameOf(first))) / 100;
  return std::nullopt;
}

std::vector<std::optional<double>> endsFromStarts(const Loudness& loudness,
                                                  const std::vector<double>& starts,
                                                  const std::vector<double>& limits) {
  std::vector<std::optional<double>> ends;
  for (std::size_t k = 0; k < starts.size(); ++k) {
    const auto speechEnd = lastSpeechEnd(loudness, starts[k], limits[k]);
    ends.push_back(speechEnd ? std::optional(std::min(*speechEnd + kMarginS, limits[k]))
                             : std::nullopt);
  }
  return ends;
}

namespace {

using Run = std::pair<long, long>;  // frames [first, last)

template <typename Holds>
std::vector<Run> runs(Holds holds, long first, long last) {
  std::vector<Run> found;
  long begin = 0;
  bool open = false;
  for (long frame = first; frame < last; ++frame) {
    if (holds(frame) && !open) {
      begin = frame;
      open = true;
    } else if (!holds(frame) && open) {
      found.push_back({begin, frame});
      open = false;
    }
  }
  if (open) found.push_back({begin, last});
  return found;
}

// The whole quiet run that an aligned edge lies in or next to (the aligner's
// edges are good to a few frames); failing that, the longest quiet in reach,
// rather than the hold before a "t" close to the edge. None when all is loud.
std::optional<Run> quietNear(const Loudness& loudness, double at) {
  const std::vector<Run> quiet = runs([&](long f) { return !loudness.loud(f); },
                                      frameOf(at - kSearchS), frameOf(at + kSearchS));
  const long lo = frameOf(at - 0.05), hi = frameOf(at + 0.05);
  std::vector<Run> near;
  for (const Run& r : quiet)
    if (r.second > lo && r.first < hi) near.push_back(r);
  if (near.empty()) near = quiet;
  if (near.empty()) return std::nullopt;
  const auto key = [&](const Run& r) {
    return std::pair(std::min(r.second, hi) - std::max(r.first, lo), r.second - r.first);
  };
  Run best = near.front();
  for (const Run& r : near)
    if (key(r) > key(best)) best = r;
  while (best.first > 0 && !loudness.loud(best.first - 1)) --best.first;
  while (best.second < loudness.frames() && !loudness.loud(best.second)) ++best.second;
  return best;
}

// The aligned end of one sentence and start of the next, moved into the quiet
// around them. Speech the aligner left between them stays outside both.
std::pair<double, double> settleBoundary(const Loudness& loudness, double end, double nextStart) {
  std::optional<Run> after = quietNear(loudness, end), before = quietNear(loudness, nextStart);
  if (!after) after = before;
  if (!before) before = after;
  if (!after) {  // no pause at all: part them where the aligner did
    const double middle = (end + nextStart) / 2;
    return {middle, middle};
  }
  // One pause between them, or two parted by less than a word (the hold and
  // the release of a final "t"): the longer is the pause between sentences.
  if (after->first >= before->first || before->first - after->second < frameOf(kWordS)) {
    const Run longer =
        (before->second - before->first) > (after->second - after->first) ? *before : *after;
    after = before = longer;
  }
  const double endMiddle = double(after->first + after->second) / 200;
  const double startMiddle = double(before->first + before->second) / 200;
  const double speechEnd =
      double(loudness.fadeOut(after->first, (after->first + after->second) / 2)) / 100;
  const double speechStart =
      double(loudness.fadeIn(before->second, (before->first + before->second) / 2)) / 100;
  return {std::min(speechEnd + kMarginS, endMiddle), std::max(speechStart - kMarginS, startMiddle)};
}

}  // namespace

std::vector<Span> settleStretches(const Loudness& loudness, const std::vector<Span>& spans) {
  std::vector<Span> stretches = spans;
  for (std::size_t k = 0; k + 1 < stretches.size(); ++k)
    std::tie(stretches[k].end, stretches[k + 1].start) =
        settleBoundary(loudness, stretches[k].end, stretches[k + 1].start);
  Span& first = stretches.front();
  Span& last = stretches.back();
  const auto onset = firstSpeechStart(loudness, std::max(0.0, first.start - kSearchS), first.end);
  first.start = std::max(0.0, onset.value_or(first.start) - kMarginS);
  const auto offset =
      lastSpeechEnd(loudness, last.start, std::min(loudness.seconds(), last.end + kSearchS));
  last.end = std::min(loudness.seconds(), offset.value_or(last.end) + kMarginS);
  return stretches;
}

std::vector<Span> unclaimedSpeech(const Loudness& loudness, const std::vector<Span>& stretches,
                                  double least) {
  std::vector<bool> inside(std::size_t(loudness.frames()), false);
  for (const Span& s : stretches)
    for (long f = frameOf(s.start); f < std::min(loudness.frames(), frameOf(s.end)); ++f)
      if (f >= 0) inside[std::size_t(f)] = true;
  const auto outside = [&](long f) { return loudness.loud(f) && !inside[std::size_t(f)]; };
  std::vector<double> starts;
  for (const Span& s : stretches) starts.push_back(s.start);
  const auto slot = [&](double at) {
    return std::upper_bound(starts.begin(), starts.end(), at) - starts.begin();
  };
  std::vector<Span> joined;
  for (const Run& r : runs(outside, 0, loudness.frames())) {
    if (double(r.second - r.first) / 100 < least) continue;
    const Span speech{double(r.first) / 100, double(r.second) / 100};
    if (!joined.empty() && slot(speech.start) == slot(joined.back().start))
      joined.back().end = speech.end;
    else
      joined.push_back(speech);
  }
  return joined;
}

}  // namespace bookmaker
