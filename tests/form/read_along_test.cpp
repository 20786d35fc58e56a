// The read-along page with the learner's mouse: the model is the sentence the
// page shows, and a take belongs to the lesson it was recorded in.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "support/form_harness.h"
#include "support/learner.h"

namespace {

// The default course (Book01: "Hello, Tom." at 0.5-1.5 s, "How are you?",
// "I'm fine, thanks." at 3.5-4.5 s; a second lesson of one sentence) and a
// second book, on the window.
struct Course {
  FormHarness h;
  Form1* f = nullptr;
  Course() {
    h.writeDefaultCourse();
    h.folder.writeBook("Book02", {"B1"}, {numberedLesson(2)});
    f = &h.start();
  }
  void tab(int k) { learner::click(f->Label14(k)); }
  // "录音", then "停止" with `samples` as what the microphone gave.
  void record(std::vector<int16_t> samples) {
    learner::click(f->Command8);
    h.wave->recorded = {std::move(samples), 16000};
    learner::click(f->Command10);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (f->analysing() && std::chrono::steady_clock::now() < until) ui::processEvents(5);
    ASSERT_FALSE(f->analysing());
  }
  std::string lastSeek() const {
    for (auto it = h.player->log.rbegin(); it != h.player->log.rend(); ++it)
      if (it->rfind("seek ", 0) == 0) return *it;
    return "";
  }
};

struct ReadAlong : ::testing::Test, Course {};

// A sentence played on a recall page is not the one the read-along page
// shows: the page's model is always its own sentence.
TEST_F(ReadAlong, TheModelIsTheSentenceShown) {
  tab(5);
  record(std::vector<int16_t>(1600, 1000));
  tab(4);
  learner::click(f->Image2(3));  // ▶ of sentence 3
  ASSERT_EQ(lastSeek(), "seek 3.500000");
  tab(5);
  ASSERT_EQ(f->Label10.caption(), "Hello, Tom.");
  learner::click(f->Command11);  // 标准发音
  EXPECT_EQ(lastSeek(), "seek 0.500000");
  EXPECT_EQ(h.player->guard, 1.5);
  learner::click(f->Command9);  // 循环对比: the sentence before the take
  EXPECT_EQ(lastSeek(), "seek 0.500000");
  EXPECT_EQ(h.player->guard, 1.5);
}

// A lesson or a book change ends a recording and the take: nothing of the
// lesson left can be played or scored against the new one.
TEST(ReadAlongTake, EndsWithItsLesson) {
  const struct {
    const char* name;
    bool stillRecording;
    std::function<void(Course&)> change;
  } cases[] = {
      {"another lesson, take ready", false,
       [](Course& t) { ASSERT_TRUE(learner::clickRow(t.f->TreeView1, "第二课 One 一句")); }},
      {"another lesson while recording", true,
       [](Course& t) { ASSERT_TRUE(learner::clickRow(t.f->TreeView1, "第二课 One 一句")); }},
      {"another book, take ready", false,
       [](Course& t) {
         learner::click(t.f->TreeView1, Qt::RightButton);
         ASSERT_TRUE(learner::pickFromMenu("Book02"));
         ASSERT_TRUE(t.f->Timer3.fire());
       }},
      {"another book while recording", true,
       [](Course& t) {
         learner::click(t.f->TreeView1, Qt::RightButton);
         ASSERT_TRUE(learner::pickFromMenu("Book02"));
         ASSERT_TRUE(t.f->Timer3.fire());
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Course t;
    Form1* f = t.f;
    FormHarness& h = t.h;
    t.tab(5);
    if (c.stillRecording) {
      learner::click(f->Command8);
      h.wave->recorded = {std::vector<int16_t>(1600, 1000), 16000};
      ASSERT_TRUE(f->Command10.enabled());
    } else {
      t.record(std::vector<int16_t>(1600, 1000));
      ASSERT_TRUE(f->Command12.enabled());
    }
    h.wave->commands.clear();
    c.change(t);
    ASSERT_EQ(f->Label3.caption(), "1");
    EXPECT_EQ(h.wave->commands, std::vector<std::string>{"stop"});
    EXPECT_FALSE(f->Command9.enabled());
    EXPECT_FALSE(f->Command10.enabled());
    EXPECT_FALSE(f->Command12.enabled());
    learner::click(f->Command10);  // 停止 scores nothing against the new lesson
    EXPECT_FALSE(f->analysing());
  }
}

// A recording that gave no sound leaves nothing to play or loop.
TEST_F(ReadAlong, AFailedRecordingLeavesNoTakeToPlay) {
  tab(5);
  record({});
  EXPECT_FALSE(f->Command12.enabled());
  EXPECT_FALSE(f->Command9.enabled());
  EXPECT_FALSE(f->Command10.enabled());
  EXPECT_TRUE(f->Command8.enabled());
  record(std::vector<int16_t>(1600, 1000));
  EXPECT_TRUE(f->Command12.enabled());
  EXPECT_TRUE(f->Command9.enabled());
}

}  // namespace
