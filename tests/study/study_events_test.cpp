// The study events' delivery: in order, after the raising code, past a
// subscriber that throws, with subscriptions that come and go meanwhile.
#include "study/study_events.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using study::Event;
using study::StudyEvents;

Event page(int to) { return study::PageChanged{0, to}; }
int pageOf(const Event& e) { return std::get<study::PageChanged>(e).to; }

struct Queue : ::testing::Test {
  StudyEvents events;
  int wakes = 0;
  std::vector<int> got;
  void SetUp() override {
    events.setWake([this] { ++wakes; });
  }
  StudyEvents::Subscription record() {
    return events.subscribe([this](const Event& e) { got.push_back(pageOf(e)); });
  }
};

TEST_F(Queue, EventsWaitForTheirDeliveryAndKeepTheirOrder) {
  auto s = record();
  events.raise(page(1));
  events.raise(page(2));
  EXPECT_EQ(wakes, 1) << "one wake for a queue that was empty";
  EXPECT_TRUE(got.empty());
  events.deliverPending();
  EXPECT_EQ(got, (std::vector<int>{1, 2}));
  events.raise(page(3));
  EXPECT_EQ(wakes, 2);
}

TEST_F(Queue, AThrowingSubscriberBreaksNeitherTheRaiseNorTheOthers) {
  auto thrower = events.subscribe([](const Event& e) {
    if (pageOf(e) == 1) throw std::runtime_error("broken");
    throw 42;
  });
  auto s = record();
  EXPECT_NO_THROW(events.raise(page(1)));
  EXPECT_NO_THROW(events.raise(page(2)));
  EXPECT_NO_THROW(events.deliverPending());
  EXPECT_EQ(got, (std::vector<int>{1, 2}));
}

// An event raised while one is delivered follows it; a subscription ended
// meanwhile hears nothing more, one begun meanwhile hears the next event.
TEST_F(Queue, SubscriptionsAndEventsDuringADelivery) {
  std::vector<std::string> heard;
  StudyEvents::Subscription late, second;
  auto first = events.subscribe([&](const Event& e) {
    heard.push_back("first " + std::to_string(pageOf(e)));
    if (pageOf(e) == 1) {
      events.raise(page(2));
      second.reset();
      late = events.subscribe(
          [&](const Event& l) { heard.push_back("late " + std::to_string(pageOf(l))); });
    }
  });
  second = events.subscribe(
      [&](const Event& e) { heard.push_back("second " + std::to_string(pageOf(e))); });
  events.raise(page(1));
  events.deliverPending();
  EXPECT_EQ(heard, (std::vector<std::string>{"first 1", "first 2", "late 2"}));
  EXPECT_FALSE(events.pending());
}

TEST(StudyEventsWithoutAWake, DeliverAtOnceAndSubscriptionsMayOutliveThem) {
  StudyEvents::Subscription kept;
  int told = 0;
  {
    StudyEvents events;
    kept = events.subscribe([&](const Event&) { ++told; });
    events.raise(study::ProgramClosing{});
    EXPECT_EQ(told, 1);
    StudyEvents::Subscription gone = events.subscribe([&](const Event&) { told += 10; });
  }
  kept.reset();  // after its StudyEvents: nothing to end
  EXPECT_EQ(told, 1);
  EXPECT_STREQ(study::eventName(study::TakeCompared{}), "TakeCompared");
}

}  // namespace
