#pragma once
// What the learner did, told by the window's handlers at the point where it
// happens, for whatever studies it (the study log, the review queue, a second
// window). Events are values of that moment.
//
// Delivery is queued: raise() only appends the event, and the queue is
// delivered, in order, after the handler has returned (the host's wake call
// schedules deliverPending() on its event loop). So no subscriber runs inside
// a handler: one that is slow delays the next event of the loop, never the
// rest of a handler, and one that calls back into the window (the player
// interface) starts a handler of its own instead of re-entering one half done.
// A subscriber that throws is told about on the error stream and the others
// still get the event. Subscribers run on the thread that delivers, the user
// interface's; work that takes long (a database write) goes to their own
// worker.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "study/sentence_key.h"

namespace study {

// Pages by the window's study mode: 1 sentences, 2 full text, 3 recall
// Chinese, 4 recall English, 5 read-along, 8 dictation.
using Page = int;

struct LessonOpened {
  std::string book;
  int lesson = 0;  // from 1
  std::string title;
  int sentences = 0;
};
struct SentenceMadeCurrent {
  SentenceKey key;
  int number = 0;  // from 1
  int count = 0;
  Page page = 0;
};
// The player starts a stretch: the `play`-th of `repeat` plays at `speed`.
struct StretchPlayed {
  SentenceKey key;  // empty when the stretch is no sentence of the lesson
  double start = 0, end = 0;
  double speed = 1.0;
  int repeat = 0;
  int play = 0;
  Page page = 0;
};
// The player reached the stretch's end.
struct StretchEnded {
  SentenceKey key;
  int plays = 0;  // of this sentence since its count was reset
};
// Enter in the answer box: the answer up to the first wrong letter was checked.
struct AnswerChecked {
  SentenceKey key;
  Page page = 0;
  bool right = false;
  // The dictation counts of the sentence so far, and its score.
  int errors = 0, hints = 0, replays = 0, score = 0;
};
// A right dictation answer judged against the pass mark.
struct SentencePassed {
  SentenceKey key;
  int score = 0, passMark = 0;
};
struct SentenceFailed {
  SentenceKey key;
  int score = 0, passMark = 0;
};
// The sentence starts again: its counts back to 0 (after a fail, or asked for).
struct SentenceRedone {
  SentenceKey key;
};
struct LessonPassed {
  std::string book;
  int lesson = 0;
  std::string title;
};
// The learner's take was compared with the sentence.
struct TakeCompared {
  SentenceKey key;
  bool compared = false;           // false: nothing to compare (no take, no speech ...)
  int intonation = 0, rhythm = 0;  // 0 to 100
  double length = 0;               // take speech over model speech
  std::string departWord;          // where the take departs most; empty when none
};
struct PageChanged {
  Page from = 0, to = 0;
};
struct ProgramClosing {};

using Event = std::variant<LessonOpened, SentenceMadeCurrent, StretchPlayed, StretchEnded,
                           AnswerChecked, SentencePassed, SentenceFailed, SentenceRedone,
                           LessonPassed, TakeCompared, PageChanged, ProgramClosing>;

class StudyEvents {
 public:
  using Subscriber = std::function<void(const Event&)>;

  // Ends its subscription when it goes (or on reset()); it may outlive the
  // StudyEvents.
  class Subscription {
   public:
    Subscription() = default;
    Subscription(Subscription&&) noexcept = default;
    Subscription& operator=(Subscription&& other) noexcept;
    ~Subscription();
    void reset();

   private:
    friend class StudyEvents;
    struct Subscribers;
    Subscription(std::weak_ptr<Subscribers> list, std::uint64_t id);
    std::weak_ptr<Subscribers> list_;
    std::uint64_t id_ = 0;
  };

  StudyEvents();
  ~StudyEvents();
  StudyEvents(const StudyEvents&) = delete;
  StudyEvents& operator=(const StudyEvents&) = delete;

  [[nodiscard]] Subscription subscribe(Subscriber subscriber);
  // Queues the event; never throws on a subscriber's account.
  void raise(Event event);
  // Delivers every queued event, in order (events raised meanwhile too).
  void deliverPending();
  // Called when the queue gets its first event: the host schedules
  // deliverPending() on its event loop. Without one, raise() delivers at once.
  void setWake(std::function<void()> wake) { wake_ = std::move(wake); }
  bool pending() const { return !queue_.empty(); }

 private:
  std::shared_ptr<Subscription::Subscribers> subscribers_;
  std::deque<Event> queue_;
  bool delivering_ = false;
  std::function<void()> wake_;
};

// The name of the event's kind ("SentenceMadeCurrent"), for logs and reports.
const char* eventName(const Event& event);

}  // namespace study
