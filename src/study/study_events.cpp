#include "study/study_events.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <iterator>
#include <utility>

namespace study {

struct StudyEvents::Subscription::Subscribers {
  struct Entry {
    std::uint64_t id;
    Subscriber call;
  };
  std::vector<Entry> entries;
  std::uint64_t lastId = 0;
};

StudyEvents::Subscription::Subscription(std::weak_ptr<Subscribers> list, std::uint64_t id)
    : list_(std::move(list)), id_(id) {}

StudyEvents::Subscription& StudyEvents::Subscription::operator=(Subscription&& other) noexcept {
  if (this != &other) {
    reset();
    list_ = std::move(other.list_);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

StudyEvents::Subscription::~Subscription() { reset(); }

void StudyEvents::Subscription::reset() {
  if (auto list = list_.lock())
    std::erase_if(list->entries, [this](const Subscribers::Entry& e) { return e.id == id_; });
  list_.reset();
}

StudyEvents::StudyEvents() : subscribers_(std::make_shared<Subscription::Subscribers>()) {}
StudyEvents::~StudyEvents() = default;

StudyEvents::Subscription StudyEvents::subscribe(Subscriber subscriber) {
  const std::uint64_t id = ++subscribers_->lastId;
  subscribers_->entries.push_back({id, std::move(subscriber)});
  return Subscription(subscribers_, id);
}

void StudyEvents::raise(Event event) {
  const bool wasEmpty = queue_.empty();
  queue_.push_back(std::move(event));
  if (!wasEmpty || delivering_) return;  // the delivery under way takes it
  if (wake_)
    wake_();
  else
    deliverPending();
}

namespace {

void tell(const Event& event, const StudyEvents::Subscriber& call) {
  try {
    call(event);
  } catch (const std::exception& e) {
    std::cerr << "parlenda: a subscriber to " << eventName(event) << " failed: " << e.what()
              << '\n';
  } catch (...) {
    std::cerr << "parlenda: a subscriber to " << eventName(event) << " failed\n";
  }
}

}  // namespace

void StudyEvents::deliverPending() {
  if (delivering_) return;  // a subscriber asked for it: the loop below goes on
  delivering_ = true;
  while (!queue_.empty()) {
    const Event event = std::move(queue_.front());
    queue_.pop_front();
    // A subscriber may subscribe or end a subscription meanwhile: those
    // subscribed now are told, unless their subscription ended before.
    std::vector<std::uint64_t> ids;
    for (const auto& entry : subscribers_->entries) ids.push_back(entry.id);
    for (std::uint64_t id : ids) {
      auto& entries = subscribers_->entries;
      auto it =
          std::find_if(entries.begin(), entries.end(), [id](const auto& e) { return e.id == id; });
      if (it == entries.end()) continue;
      const Subscriber call = it->call;  // the entry may go while it runs
      tell(event, call);
    }
  }
  delivering_ = false;
}

const char* eventName(const Event& event) {
  static constexpr const char* kNames[] = {
      "LessonOpened",  "SentenceMadeCurrent", "StretchPlayed",  "StretchEnded",
      "AnswerChecked", "SentencePassed",      "SentenceFailed", "SentenceRedone",
      "LessonPassed",  "TakeCompared",        "PageChanged",    "ProgramClosing"};
  static_assert(std::size(kNames) == std::variant_size_v<Event>);
  return kNames[event.index()];
}

}  // namespace study
