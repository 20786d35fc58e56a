#include "bookmaker/book_maker.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "bookmaker/book_error.h"
#include "bookmaker/book_files.h"
#include "bookmaker/lesson_audio.h"
#include "bookmaker/lesson_script.h"
#include "bookmaker/media.h"
#include "bookmaker/program_files.h"
#include "bookmaker/recorded_lesson.h"
#include "bookmaker/timed_text.h"
#include "rules/book_titles.h"

namespace bookmaker {

namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kTextSuffixes = {".txt", ".lrc", ".srt", ".vtt", ".ass", ".ssa"};
// The language tags of a second text ("ep01.en.srt" + "ep01.zh.srt").
const std::vector<std::string> kEnglishTags = {".en", ".eng", ".english", ".en-us", ".en-gb"};
const std::vector<std::string> kChineseTags = {".zh",      ".chs",   ".cht", ".chi",   ".zho",
                                               ".chinese", ".sc",    ".tc",  ".zh-cn", ".zh-hans",
                                               ".zh-hant", ".zh-tw", ".gb",  ".big5"};
// Files of a lesson folder that are no part of any lesson.
const std::vector<std::string> kOtherSuffixes = {".ini", ".md", ".partial"};
const std::vector<std::string> kMediaSuffixes = {
    ".mp3",  ".m4a",  ".aac", ".mp4", ".ogg", ".oga", ".opus", ".flac", ".wav", ".wma",
    ".aiff", ".webm", ".mka", ".ac3", ".amr", ".mkv", ".mov",  ".avi",  ".m4v", ".wmv"};

bool isOneOf(const std::string& suffix, const std::vector<std::string>& list) {
  return std::find(list.begin(), list.end(), suffix) != list.end();
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return text;
}

struct Options {
  std::string title, voice = "en-us";
  int rate = 150, kilobits = 48;
  std::map<std::string, std::string> titles;
};

int wholeNumber(const std::string& value, const std::string& key) {
  try {
    std::size_t used = 0;
    const int number = std::stoi(value, &used);
    if (used == value.size()) return number;
  } catch (const std::exception&) {
  }
  throw BookError("book.ini: " + key + " must be a whole number, not " + quote(value));
}

// book.ini as an INI reader reads it: [sections], key = value, comments
// after "#" or ";" (at a line's start, or after a space).
std::map<std::string, std::map<std::string, std::string>> readIni(const fs::path& path) {
  std::map<std::string, std::map<std::string, std::string>> sections;
  std::ifstream in(path, std::ios::binary);
  if (!in) return sections;
  const std::string text{std::istreambuf_iterator<char>(in), {}};
  std::string section;
  for (std::string line : splitLines(decodeText(text, path.string(), std::string("utf-8")))) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    for (std::size_t k = 1; k < line.size(); ++k)
      if ((line[k] == '#' || line[k] == ';') && (line[k - 1] == ' ' || line[k - 1] == '\t')) {
        line = trimmed(line.substr(0, k));
        break;
      }
    if (line.front() == '[' && line.back() == ']') {
      section = trimmed(line.substr(1, line.size() - 2));
      sections[section];
      continue;
    }
    const auto equals = line.find_first_of("=:");
    if (equals == std::string::npos || section.empty())
      throw BookError(path.string() + ": cannot read " + quote(line));
    sections[section][trimmed(line.substr(0, equals))] = trimmed(line.substr(equals + 1));
  }
  return sections;
}

Options bookOptions(const BookRequest& request) {
  auto ini = readIni(fs::path(request.lessons) / "book.ini");
  const auto& book = ini["book"];
  const auto get = [&](const char* key, const std::string& fallback) {
    const auto found = book.find(key);
    return found == book.end() || found->second.empty() ? fallback : found->second;
  };
  Options options;
  options.title =
      request.title && !request.title->empty()
          ? *request.title
          : get("title", fs::weakly_canonical(fs::absolute(request.lessons)).filename().string());
  if (const std::string fault = rules::titleFault(options.title); !fault.empty())
    throw BookError("book title " + quote(options.title) + " is not a safe folder name (" + fault +
                    ")");
  options.voice = get("voice", "en-us");
  options.rate = wholeNumber(get("rate", "150"), "rate");
  options.kilobits = wholeNumber(get("kilobits", "48"), "kilobits");
  options.titles = ini["titles"];
  return options;
}

struct LessonFiles {
  fs::path text;
  std::optional<fs::path> recording;
  std::optional<fs::path> chinese;  // a second text, its Chinese
  bool tracks = false;              // the recording's own subtitle tracks are the text
};

bool isChineseTag(std::string tag) {
  tag = lower(tag);
  return tag == "chi" || tag == "zho" || tag == "zh" || tag.starts_with("zh-") || tag == "chs" ||
         tag == "cht";
}

// A recording with no text file: its own text subtitle tracks, if it has any.
std::optional<LessonFiles> withTracks(const fs::path& recording) {
  SubtitleTracks tracks;
  try {
    tracks = subtitleTracks(recording.string());
  } catch (const BookError&) {
    return std::nullopt;
  }
  if (!tracks.text.empty()) return LessonFiles{recording, recording, std::nullopt, true};
  if (!tracks.pictures.empty())
    throw BookError(
        recording.string() + ": its subtitles are pictures (" + tracks.pictures.front() +
        "), not text the learner can type; give them as a file (.srt, .ass) of the same name");
  return std::nullopt;
}

// The English track (tagged English, else the first that is not Chinese)
// and the Chinese one of a recording, as cues.
std::pair<std::vector<TextCue>, std::vector<TextCue>> trackTexts(const fs::path& recording) {
  const SubtitleTracks tracks = subtitleTracks(recording.string());
  const SubtitleTrack* english = nullptr;
  const SubtitleTrack* chinese = nullptr;
  for (const SubtitleTrack& t : tracks.text) {
    const std::string tag = lower(t.language);
    if ((tag == "eng" || tag == "en") && !english) english = &t;
    if (isChineseTag(tag) && !chinese) chinese = &t;
  }
  for (const SubtitleTrack& t : tracks.text)
    if (!english && !isChineseTag(t.language)) english = &t;
  if (!english) english = &tracks.text.front();  // bilingual tracks hold both
  std::vector<TextCue> zh;
  if (chinese && chinese != english) zh = trackCues(recording.string(), *chinese);
  return {trackCues(recording.string(), *english), zh};
}

// The lesson a file belongs to: its stem, without a language tag on a text.
std::string lessonStem(const fs::path& p, std::string* tag = nullptr) {
  const fs::path stem = p.stem();
  const std::string suffix = lower(p.extension().string()),
                    language = lower(stem.extension().string());
  if (!isOneOf(suffix, kTextSuffixes) || suffix == ".txt") return stem.string();
  if (!isOneOf(language, kEnglishTags) && !isOneOf(language, kChineseTags)) return stem.string();
  if (tag) *tag = isOneOf(language, kChineseTags) ? "zh" : "en";
  return stem.stem().string();
}

std::vector<LessonFiles> lessonFiles(const std::string& folder) {
  std::map<std::string, std::vector<fs::path>> byStem;
  std::error_code error;
  std::vector<fs::path> names;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.is_regular_file() && !entry.path().filename().string().starts_with("."))
      names.push_back(fs::path(folder) / entry.path().filename());
  if (error) throw BookError(folder + ": cannot be read (" + error.message() + ")");
  std::sort(names.begin(), names.end());
  for (const fs::path& p : names) byStem[lessonStem(p)].push_back(p);
  std::vector<LessonFiles> lessons;
  for (const auto& [stem, files] : byStem) {
    std::vector<fs::path> texts, recordings;
    for (const fs::path& p : files) {
      const std::string suffix = lower(p.extension().string());
      if (isOneOf(suffix, kTextSuffixes))
        texts.push_back(p);
      else if (!isOneOf(suffix, kOtherSuffixes))
        recordings.push_back(p);
    }
    if (texts.empty()) {
      if (recordings.size() == 1)
        if (const auto own = withTracks(recordings[0])) {
          lessons.push_back(*own);
          continue;
        }
      for (const fs::path& p : recordings)
        if (isOneOf(lower(p.extension().string()), kMediaSuffixes))
          throw BookError(p.string() +
                          ": a recording with no script or subtitles of the same name");
      continue;
    }
    std::optional<fs::path> chinese;
    if (texts.size() == 2) {  // English and Chinese in two files of timed text
      std::string first, second;
      lessonStem(texts[0], &first);
      lessonStem(texts[1], &second);
      const bool cues = lower(texts[0].extension().string()) != ".txt" &&
                        lower(texts[0].extension().string()) != ".lrc" &&
                        lower(texts[1].extension().string()) != ".txt" &&
                        lower(texts[1].extension().string()) != ".lrc";
      if (cues && (first == "zh") != (second == "zh")) {
        chinese = first == "zh" ? texts[0] : texts[1];
        texts = {first == "zh" ? texts[1] : texts[0]};
      }
    }
    if (texts.size() > 1)
      throw BookError(texts[0].string() + ", " + texts[1].filename().string() +
                      ": one lesson, two texts; keep one");
    if (recordings.size() > 1)
      throw BookError(recordings[0].string() + ", " + recordings[1].filename().string() +
                      ": one lesson, two recordings; keep one");
    if (lower(texts[0].extension().string()) != ".txt" && recordings.empty())
      throw BookError(texts[0].string() + ": subtitles with no recording of the same name");
    lessons.push_back(
        {texts[0], recordings.empty() ? std::nullopt : std::optional(recordings[0]), chinese});
  }
  if (lessons.empty())
    throw BookError(fs::path(folder).string() +
                    ": no lessons (scripts *.txt, or recordings with *.lrc, *.srt, *.vtt, *.ass)");
  return lessons;
}

std::string titleFromName(const std::string& stem) {
  std::string spaced = stem;
  std::replace(spaced.begin(), spaced.end(), '_', ' ');
  std::replace(spaced.begin(), spaced.end(), '-', ' ');
  return oneLine(spaced);
}

struct Lesson {
  std::string title;
  fs::path text;
  std::optional<fs::path> recording;
  std::vector<Sentence> sentences;       // a script or transcript
  std::optional<std::vector<Cue>> cues;  // timed text
};

std::vector<Lesson> readLessons(const std::string& folder, const Options& options,
                                const std::optional<std::string>& encoding, const Tell& tell) {
  std::vector<Lesson> lessons;
  std::vector<std::string> titles;
  for (const LessonFiles& files : lessonFiles(folder)) {
    Lesson lesson{"", files.text, files.recording, {}, std::nullopt};
    const std::string suffix = lower(files.text.extension().string());
    const std::string text = files.tracks ? std::string() : readText(files.text.string(), encoding);
    if (files.tracks) {
      const auto [english, chinese] = trackTexts(files.text);
      TimedText timed = sentencesOf(english, chinese, files.text.string(), tell);
      if (timed.cues.empty())
        throw BookError(files.text.string() + ": no cues in its subtitle tracks");
      lesson.title = titleFromName(files.text.stem().string());
      lesson.cues = std::move(timed.cues);
    } else if (suffix == ".txt") {
      Script script = parseScript(text, files.text.string(), tell);
      lesson.title = script.title;
      lesson.sentences = std::move(script.sentences);
    } else if (const TextCueReader read = textCueReader(suffix)) {
      std::vector<TextCue> chinese;
      if (files.chinese)
        chinese = textCueReader(lower(files.chinese->extension().string()))(
            readText(files.chinese->string(), encoding), files.chinese->string());
      TimedText timed =
          sentencesOf(read(text, files.text.string()), chinese, files.text.string(), tell);
      if (timed.cues.empty()) throw BookError(files.text.string() + ": no cues");
      lesson.title = titleFromName(lessonStem(files.text));
      lesson.cues = std::move(timed.cues);
    } else {
      TimedText timed = timedTextReader(suffix)(text, files.text.string(), tell);
      if (timed.cues.empty()) throw BookError(files.text.string() + ": no cues");
      lesson.title = timed.title.value_or(titleFromName(files.text.stem().string()));
      lesson.cues = std::move(timed.cues);
    }
    if (const auto named = options.titles.find(files.text.stem().string());
        named != options.titles.end())
      lesson.title = named->second;
    lesson.title = cleanField(lesson.title, files.text.string(), "lesson title", tell, true);
    titles.push_back(lesson.title);
    lessons.push_back(std::move(lesson));
  }
  checkTitles(titles);
  return lessons;
}

// The book's files as made aside (under a hidden folder of the program
// folder, so the final moves stay on one file system) and moved into place.
class BookFolders {
 public:
  BookFolders(const std::string& root, const std::string& title)
      : root_(root), aside_(root_ / (".make_book." + title + ".partial")) {
    fs::remove_all(aside_);
    parts_ = {fs::path("book") / title, fs::path("Sound") / title,
              fs::path("SETTING") / "BookList" / (title + ".dat"),
              fs::path("SETTING") / "Results" / (title + ".dat")};
    fs::create_directories(aside_ / parts_[0]);
    fs::create_directories(aside_ / parts_[1]);
    fs::create_directories(aside_ / "SETTING" / "BookList");
    fs::create_directories(aside_ / "SETTING" / "Results");
  }
  fs::path path(const fs::path& part) const { return aside_ / part; }

  void moveIntoPlace() {
    for (const fs::path& part : parts_) {
      const fs::path made = aside_ / part, target = root_ / part;
      fs::create_directories(target.parent_path());
      fs::path old = target;
      old += ".old";
      fs::remove_all(old);
      if (fs::is_directory(target)) fs::rename(target, old);
      fs::rename(made, target);
      fs::remove_all(old);
    }
    fs::remove_all(aside_);
  }
  void discard() {
    std::error_code ignored;
    fs::remove_all(aside_, ignored);
  }

 private:
  fs::path root_, aside_;
  std::vector<fs::path> parts_;
};

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) throw BookError(path.string() + ": cannot be written");
}

std::vector<Record> lessonRecords(const Lesson& lesson, const fs::path& audio,
                                  const Options& options, double& duration, Progress& progress) {
  std::vector<Sentence> sentences = lesson.sentences;
  std::vector<Span> stretches;
  if (!lesson.recording) {
    std::vector<std::string> englishes;
    for (const Sentence& s : sentences) englishes.push_back(s.english);
    const LessonAudio made = makeLessonAudio(englishes, audio.string(), options.voice, options.rate,
                                             options.kilobits, progress);
    stretches = made.stretches;
    duration = made.duration;
  } else {
    std::optional<std::vector<Cue>> cues = lesson.cues;
    const RecordedLesson made =
        makeRecordedLesson(lesson.recording->string(), audio.string(), options.kilobits,
                           cues ? nullptr : &sentences, cues ? &*cues : nullptr, progress);
    if (cues) {
      sentences.clear();
      for (const Cue& cue : *cues) sentences.push_back(cue.sentence);
    }
    stretches = made.stretches;
    duration = made.duration;
  }
  std::vector<Record> records;
  for (std::size_t k = 0; k < sentences.size(); ++k)
    records.push_back({sentences[k].english, sentences[k].chinese, stretches[k].start,
                       stretches[k].end, sentences[k].note});
  return records;
}

}  // namespace

std::vector<std::string> makeBook(const BookRequest& request, const Tell& tell,
                                  Progress& progress) {
  const Options options = bookOptions(request);
  const std::string& title = options.title;
  const std::vector<Lesson> lessons = readLessons(request.lessons, options, request.encoding, tell);
  const std::string extension = rules::audioExtension(title);
  BookFolders book(request.programFolder, title);
  std::vector<std::string> titles;
  try {
    for (std::size_t k = 0; k < lessons.size(); ++k) {
      const Lesson& lesson = lessons[k];
      const std::string number = std::to_string(k + 1);
      progress.startLesson(int(k + 1), int(lessons.size()));
      double duration = 0;
      const std::vector<Record> records =
          lessonRecords(lesson, book.path(fs::path("Sound") / title / (number + extension)),
                        options, duration, progress);
      progress.stage(Stage::Writing);
      writeFile(book.path(fs::path("book") / title / (number + ".dat")),
                toCp936(lessonText(records), lesson.title));
      char seconds[32];
      std::snprintf(seconds, sizeof seconds, "%.1f", duration);
      const std::string kind = lesson.recording ? "from " + lesson.recording->filename().string()
                                                : "spoken by espeak-ng";
      tell(title + " lesson " + number + ": " + std::to_string(records.size()) + " sentences, " +
           seconds + " s, " + kind + "  (" + lesson.title + ")");
      titles.push_back(lesson.title);
      progress.advance(1);
    }
    writeFile(book.path(fs::path("SETTING") / "BookList" / (title + ".dat")),
              toCp936(titleList(titles), "titles"));
    writeFile(book.path(fs::path("SETTING") / "Results" / (title + ".dat")),
              toCp936(resultsText(titles), "results"));
    progress.check();
  } catch (...) {
    book.discard();
    throw;
  }
  book.moveIntoPlace();
  if (request.programFiles) {
    makeSettings(request.programFolder, title);
    makeEffectSounds(request.programFolder);
    makeRecorderFile(request.programFolder);
  }
  return titles;
}

}  // namespace bookmaker
