#pragma once
// A subscriber that keeps every study event the window tells.
#include <string>
#include <vector>

#include "study/study_events.h"

struct StudyRecorder {
  explicit StudyRecorder(study::StudyEvents& events)
      : events_(events),
        subscription_(events.subscribe([this](const study::Event& e) { told.push_back(e); })) {}

  // The events told so far. What still waits for the event loop is delivered
  // first, here rather than by spinning the loop, so that no timer of the
  // window can tick meanwhile.
  const std::vector<study::Event>& all() {
    events_.deliverPending();
    return told;
  }
  std::vector<std::string> names() {
    std::vector<std::string> n;
    for (const study::Event& e : all()) n.push_back(study::eventName(e));
    return n;
  }
  // The events of one kind, in order.
  template <class T>
  std::vector<T> of() {
    std::vector<T> found;
    for (const study::Event& e : all())
      if (const T* t = std::get_if<T>(&e)) found.push_back(*t);
    return found;
  }
  void clear() {
    events_.deliverPending();
    told.clear();
  }

  std::vector<study::Event> told;

 private:
  study::StudyEvents& events_;
  study::StudyEvents::Subscription subscription_;
};
