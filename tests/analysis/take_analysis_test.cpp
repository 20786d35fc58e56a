// The take analysis on glides of known pitch and on espeak-ng speech.
#include "analysis/take_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "messages/messages.h"
#include "speech_fixtures.h"

using analysis::compare;
using analysis::Comparison;
using analysis::Outcome;
using analysis::Sound;
using namespace analysis_test;

namespace {

const Voice kModelVoice{"en", 50, 160};

// The share of the frames in [from, to) seconds of the model axis whose pitch
// is within `tolerance` semitones of `expected(t)`.
template <typename Expected>
double shareWithin(const Comparison& c, const std::vector<float>& pitch, double from, double to,
                   Expected expected, double tolerance) {
  int inside = 0, close = 0;
  for (size_t i = 0; i < pitch.size(); ++i) {
    const double t = c.modelStart + double(i) * c.step;
    if (t < from || t > to) continue;
    ++inside;
    close += !std::isnan(pitch[i]) && std::abs(pitch[i] - expected(t)) < tolerance;
  }
  return inside ? double(close) / inside : 0.0;
}

TEST(TakeAnalysis, GlideContourIsInSemitonesFromItsMedianAndTheSlowerTakeMapsOntoIt) {
  // The model rises an octave in 1.2 s after 0.4 s of silence; the take is the
  // same rise over 1.8 s after 0.7 s, each at its own rate.
  const struct {
    int modelRate, takeRate;
  } rates[] = {{44100, 48000}, {22050, 44100}, {8000, 16000}};
  for (const auto& r : rates) {
    SCOPED_TRACE(std::to_string(r.modelRate) + " Hz model, " + std::to_string(r.takeRate) +
                 " Hz take");
    const Sound model = glide(110, 220, 1.2, 0.4, 0.3, r.modelRate);
    const Sound take = glide(110, 220, 1.8, 0.7, 0.5, r.takeRate);
    const Comparison c = compare(model, take, "ah");
    ASSERT_EQ(c.outcome, Outcome::Ready);
    EXPECT_NEAR(c.modelStart, 0.4, 0.07);
    EXPECT_NEAR(c.modelEnd, 1.6, 0.07);
    // Semitones from the median, which is the pitch halfway: -6 to +6.
    const auto rise = [](double t) { return 12 * (t - 0.4) / 1.2 - 6; };
    EXPECT_GT(shareWithin(c, c.model.pitch, 0.45, 1.55, rise, 0.3), 0.95);
    EXPECT_GT(shareWithin(c, c.take.pitch, 0.5, 1.5, rise, 0.6), 0.9);
    // Halfway through the model is halfway through the take, and back.
    EXPECT_NEAR(c.timeMap.takeTime(1.0), 0.7 + 0.9, 0.1);
    EXPECT_NEAR(c.timeMap.modelTime(0.7 + 0.9), 1.0, 0.07);
    EXPECT_NEAR(c.lengthRatio, 1.5, 0.1);
    // Slower throughout, evenly; a glide's spectrum changes slowly, so its
    // alignment is looser than speech's.
    EXPECT_GT(c.rhythmMatch, 50);
    EXPECT_GT(c.intonationMatch, 85);
  }
}

TEST(TakeAnalysis, SpeechContourSitsOnItsMedianWhateverThePitchOfTheVoice) {
  const std::string sentence = "Where is the railway station?";
  for (int pitch : {20, 80}) {
    SCOPED_TRACE("espeak-ng -p " + std::to_string(pitch));
    const Sound low = speak(sentence, {"en", pitch, 160});
    const Sound slow = speak(sentence, {"en", pitch, 80});
    ASSERT_FALSE(low.samples.empty()) << "espeak-ng failed";
    const Comparison c = compare(low, slow, sentence);
    ASSERT_EQ(c.outcome, Outcome::Ready);
    std::vector<float> voiced;
    for (float p : c.model.pitch)
      if (!std::isnan(p)) voiced.push_back(p);
    ASSERT_GT(voiced.size(), c.model.pitch.size() / 3);
    std::nth_element(voiced.begin(), voiced.begin() + long(voiced.size() / 2), voiced.end());
    EXPECT_NEAR(voiced[voiced.size() / 2], 0.0, 0.01);
    // The speech has gaps (unvoiced sounds and pauses) and moves by semitones.
    EXPECT_LT(voiced.size(), c.model.pitch.size());
    // Half the speed: about twice as long, and the rhythm kept.
    EXPECT_GT(c.lengthRatio, 1.6);
    EXPECT_LT(c.lengthRatio, 2.4);
    EXPECT_GT(c.rhythmMatch, 60);
    // Every word has its place under the model, in order, inside the speech.
    ASSERT_EQ(c.words.size(), 5u);
    for (size_t w = 0; w < c.words.size(); ++w) {
      EXPECT_LT(c.words[w].start, c.words[w].end);
      EXPECT_GE(c.words[w].start, c.modelStart - c.step);
      EXPECT_LE(c.words[w].end, c.modelEnd + c.step);
      if (w > 0) {
        EXPECT_LE(c.words[w - 1].end, c.words[w].start + 1e-9);
      }
    }
    for (float v : c.model.loudness) EXPECT_TRUE(v >= 0 && v <= 1);
  }
}

TEST(TakeAnalysis, ASlowerTakeWithLongerPausesMapsBackOntoTheModelsWords) {
  const std::vector<std::string> words{"please", "open", "the", "window", "for", "me"};
  std::vector<double> modelStarts, takeStarts;
  const Sound model = speakWords(words, {{"en", 50, 170}}, 0.08, 0.3, modelStarts);
  const Sound take = speakWords(words, {{"en", 50, 100}}, 0.25, 0.8, takeStarts);
  const Comparison c = compare(model, take, "Please open the window for me.");
  ASSERT_EQ(c.outcome, Outcome::Ready);
  for (size_t w = 0; w < words.size(); ++w) {
    SCOPED_TRACE(words[w]);
    EXPECT_NEAR(c.timeMap.takeTime(modelStarts[w] + 0.03), takeStarts[w] + 0.03, 0.1);
    EXPECT_NEAR(c.timeMap.modelTime(takeStarts[w] + 0.03), modelStarts[w] + 0.03, 0.08);
  }
  // The mark keeps moving forward on both axes.
  for (double t = 0; t < 3; t += 0.05) {
    EXPECT_LE(c.timeMap.takeTime(t), c.timeMap.takeTime(t + 0.05));
    EXPECT_LE(c.timeMap.modelTime(t), c.timeMap.modelTime(t + 0.05));
  }
}

// A long passage against a much longer take is aligned on every other frame
// (the table would not fit otherwise) and still lands on the words.
TEST(TakeAnalysis, ALongPassageAndALongerTakeStillMapWordByWord) {
  const std::vector<std::string> some{"please", "open",  "the", "window", "for",  "me",
                                      "and",    "close", "the", "door",   "today"};
  std::vector<std::string> words;
  for (int i = 0; i < 5; ++i) words.insert(words.end(), some.begin(), some.end());
  std::vector<double> modelStarts, takeStarts;
  const Sound model = speakWords(words, {{"en", 50, 170}}, 0.1, 0.3, modelStarts);
  const Sound take = speakWords(words, {{"en", 50, 110}}, 0.2, 0.5, takeStarts);
  ASSERT_GT(double(model.samples.size()) / model.rate * double(take.samples.size()) / take.rate,
            400.0);  // seconds squared: beyond what the full table holds
  std::string sentence;
  for (const auto& w : words) sentence += w + " ";
  const Comparison c = compare(model, take, sentence);
  ASSERT_EQ(c.outcome, Outcome::Ready);
  int near = 0;
  for (size_t w = 0; w < words.size(); ++w)
    near += std::abs(c.timeMap.takeTime(modelStarts[w] + 0.03) - (takeStarts[w] + 0.03)) < 0.12;
  EXPECT_GE(near, int(words.size()) - 2);
  EXPECT_GT(c.rhythmMatch, 60);
}

TEST(TakeAnalysis, TheWordSpokenAtAnotherPitchIsTheOneThatDepartsMost) {
  const std::vector<std::string> words{"I", "would", "like", "a", "cup", "of", "tea"};
  std::vector<double> starts;
  const Sound model = speakWords(words, {{"en", 50, 150}}, 0.06, 0.2, starts);
  std::vector<Voice> voices(words.size(), {"en", 50, 130});
  voices[4] = {"en", 99, 130};  // "cup" far higher than its neighbours
  const Sound take = speakWords(words, voices, 0.06, 0.2, starts);
  const Comparison c = compare(model, take, "I would like a cup of tea.");
  ASSERT_EQ(c.outcome, Outcome::Ready);
  ASSERT_EQ(c.departWord, 4);
  EXPECT_EQ(messages::takeDeparture(c), "差别最大：“cup”");
}

// Over several sentences: the same sentence in the same voice (slower) matches
// best, the same sentence in another voice at another pitch less, another
// sentence least; the rhythm of another sentence does not follow the model.
TEST(TakeAnalysis, MatchOrdersSameSentenceSameVoiceThenOtherVoiceThenOtherSentence) {
  const std::vector<std::string> sentences{
      "I would like a cup of tea, please.", "Where is the railway station?",
      "She has lived in this city for ten years.", "Could you open the window for me?"};
  for (size_t s = 0; s < sentences.size(); ++s) {
    SCOPED_TRACE(sentences[s]);
    const Sound model = speak(sentences[s], kModelVoice);
    const Comparison same = compare(model, speak(sentences[s], {"en", 50, 120}), sentences[s]);
    const Comparison otherVoice =
        compare(model, speak(sentences[s], {"en+f3", 60, 150}), sentences[s]);
    const Comparison otherSentence =
        compare(model, speak(sentences[(s + 1) % sentences.size()], kModelVoice), sentences[s]);
    ASSERT_EQ(same.outcome, Outcome::Ready);
    ASSERT_EQ(otherVoice.outcome, Outcome::Ready);
    ASSERT_EQ(otherSentence.outcome, Outcome::Ready);
    std::printf("%-45s intonation %3d > %3d > %3d   rhythm %3d, %3d, %3d\n", sentences[s].c_str(),
                same.intonationMatch, otherVoice.intonationMatch, otherSentence.intonationMatch,
                same.rhythmMatch, otherVoice.rhythmMatch, otherSentence.rhythmMatch);
    EXPECT_GT(same.intonationMatch, otherVoice.intonationMatch);
    EXPECT_GT(otherVoice.intonationMatch, otherSentence.intonationMatch + 15);
    EXPECT_GT(same.rhythmMatch, 60);
    EXPECT_LT(otherSentence.rhythmMatch, 30);
  }
}

TEST(TakeAnalysis, TakesThatCannotBeComparedSaySoInWords) {
  const Sound model = speak("Where is the railway station?", kModelVoice);
  ASSERT_FALSE(model.samples.empty()) << "espeak-ng failed";
  Sound hiss = silence(2.0, 44100);
  for (size_t i = 0; i < hiss.samples.size(); ++i) hiss.samples[i] = int16_t((i * 7919) % 61) - 30;
  Sound click = silence(2.0, 44100);
  for (size_t i = 44100; i < 44100 + 200; ++i) click.samples[i] = 20000;
  Sound fourTimes{{}, model.rate};
  for (int i = 0; i < 4; ++i)
    fourTimes.samples.insert(fourTimes.samples.end(), model.samples.begin(), model.samples.end());

  struct Case {
    const char* name;
    Sound model, take;
    Outcome outcome;
    std::string message;
  };
  const std::vector<Case> cases{
      {"no take", model, Sound{{}, 44100}, Outcome::NoTake, "没有录音：请检查麦克风，再点“录音”"},
      {"digital silence", model, silence(3.0, 44100), Outcome::SilentTake, "没有录到声音"},
      {"steady hiss", model, hiss, Outcome::SilentTake, "没有录到声音"},
      {"a mouse click alone", model, click, Outcome::SilentTake, "没有录到声音"},
      {"the sentence read four times", model, fourTimes, Outcome::TakeTooLong,
       "录音比句子长得多：请只跟读这一句"},
      {"a silent model stretch", silence(2.0, 44100), model, Outcome::SilentModel,
       "标准发音没有声音，无法对比"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Comparison result = compare(c.model, c.take, "Where is the railway station?");
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(messages::takeProblem(result.outcome), c.message);
    EXPECT_EQ(messages::takeFigures(result), c.message);
    EXPECT_TRUE(result.model.pitch.empty() && result.take.pitch.empty() && result.words.empty());
    EXPECT_EQ(messages::takeDeparture(result), "");
  }
  // Twice as long is a slow reading, not a failure.
  Sound twice{{}, model.rate};
  for (int i = 0; i < 2; ++i)
    twice.samples.insert(twice.samples.end(), model.samples.begin(), model.samples.end());
  EXPECT_EQ(compare(model, twice, "").outcome, Outcome::Ready);
}

TEST(TakeAnalysis, SilenceAndAClickBeforeTheTakeAreTrimmedButTheMapKeepsTheTakesOwnClock) {
  const std::string sentence = "Could you open the window for me?";
  const Sound model = speak(sentence, kModelVoice);
  Sound take = delayed(speak(sentence, {"en", 50, 140}), 1.5);
  for (size_t i = 0; i < 100; ++i) take.samples[size_t(0.4 * take.rate) + i] = 25000;  // the click
  const Comparison c = compare(model, take, sentence);
  ASSERT_EQ(c.outcome, Outcome::Ready);
  // espeak-ng starts speaking within a few tens of milliseconds of its sound.
  EXPECT_NEAR(c.timeMap.takeTime(c.modelStart), 1.5, 0.15);
  // Before the speech both clocks run side by side.
  EXPECT_NEAR(c.timeMap.takeTime(0), c.timeMap.takeTime(c.modelStart) - c.modelStart, 1e-9);
  EXPECT_NEAR(c.timeMap.modelTime(0.2), c.modelStart - (c.timeMap.takeTime(c.modelStart) - 0.2),
              1e-9);
  EXPECT_LT(c.lengthRatio, 1.3);
  const std::string figures = messages::takeFigures(c);
  EXPECT_NE(figures.find("语调 " + std::to_string(c.intonationMatch) + "%"), std::string::npos);
  EXPECT_NE(figures.find("节奏 " + std::to_string(c.rhythmMatch) + "%"), std::string::npos);
}

// A microphone adds hiss: down to about 10 dB of speech over the noise the
// take is found where it starts and matched as well as a clean one.
TEST(TakeAnalysis, AHissingTakeIsFoundAndMatchedLikeACleanOne) {
  const std::string sentence = "Could you open the window for me?";
  const Sound model = speak(sentence, kModelVoice);
  const Sound clean = delayed(speak(sentence, {"en", 50, 130}), 0.8);  // speech RMS about 3000
  for (double hiss : {0.0, 300.0, 1000.0}) {
    SCOPED_TRACE("hiss RMS " + std::to_string(int(hiss)));
    Sound take = clean;
    std::mt19937 random(1);
    std::normal_distribution<double> noise(0, std::max(hiss, 1e-9));
    for (auto& v : take.samples) v = int16_t(std::clamp(v + noise(random), -32768.0, 32767.0));
    const Comparison c = compare(model, take, sentence);
    ASSERT_EQ(c.outcome, Outcome::Ready);
    EXPECT_NEAR(c.timeMap.takeTime(c.modelStart), 0.8, 0.15);
    EXPECT_GT(c.intonationMatch, 75);
    EXPECT_GT(c.rhythmMatch, 60);
  }
}

// The lead runs compare() on a worker while another may still be running:
// two at once give what each gives alone.
TEST(TakeAnalysis, ComparisonsOnTwoThreadsAtOnceGiveWhatEachGivesAlone) {
  const std::string first = "I would like a cup of tea, please.",
                    second = "She has lived in this city for ten years.";
  const Sound modelA = speak(first, kModelVoice), takeA = speak(first, {"en", 40, 120});
  const Sound modelB = speak(second, kModelVoice), takeB = speak(second, {"en+f3", 60, 140});
  const Comparison aloneA = compare(modelA, takeA, first), aloneB = compare(modelB, takeB, second);
  for (int round = 0; round < 3; ++round) {
    Comparison a, b;
    std::thread worker([&] { a = compare(modelA, takeA, first); });
    b = compare(modelB, takeB, second);
    worker.join();
    for (const auto& [together, alone] : {std::pair{&a, &aloneA}, std::pair{&b, &aloneB}}) {
      EXPECT_EQ(together->intonationMatch, alone->intonationMatch);
      EXPECT_EQ(together->rhythmMatch, alone->rhythmMatch);
      EXPECT_EQ(together->departWord, alone->departWord);
      ASSERT_EQ(together->take.pitch.size(), alone->take.pitch.size());
      for (size_t i = 0; i < alone->take.pitch.size(); ++i) {
        const float x = together->take.pitch[i], y = alone->take.pitch[i];
        EXPECT_TRUE((std::isnan(x) && std::isnan(y)) || x == y) << i;
      }
    }
  }
}

}  // namespace
