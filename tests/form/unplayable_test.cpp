// Sentences that cannot be played: a lesson audio shorter than its text, and
// records whose times are missing, not numbers or reversed. The learner is
// told once which and why, and nothing waits for an end that never comes.
#include <gtest/gtest.h>

#include "support/form_harness.h"
#include "support/learner.h"

namespace {

struct Unplayable : ::testing::Test {
  FormHarness h;
  Form1* f = nullptr;
  // Book01 with one lesson, each sentence played once with no pause.
  void start(const std::string& lesson) {
    h.folder.writeBook("Book01", {"L1"}, {lesson});
    h.folder.write("\\SETTING\\set.dat", "0\\1\\1\\1\\0\\1\\0\\1\\0\\Book01\\60\\");
    f = &h.start();
    h.messages.clear();
    h.player->log.clear();
  }
  // The player plays on to the stretch's end, or to the sound's end when that
  // comes first, and the timers tick, as long as there is a tick to come.
  void playOn(int ticks = 100) {
    for (int i = 0; i < ticks && (f->Timer1.enabled() || f->Timer2.enabled()); ++i) {
      if (f->Timer1.enabled()) {
        if (h.player->playing) h.player->setCurrentPosition(h.player->guard);
        f->Timer1.fire();
      } else {
        f->Timer2.fire();
      }
    }
  }
};

// 全文朗读 over an audio that ends in the middle of sentence 7 (a truncated
// mp3): sentence 7 plays as far as the sound goes, the learner is told of
// sentences 7 to 12, and the reading ends with the buttons at rest.
TEST_F(Unplayable, ReadingAloudGoesOnPastTheEndOfTheSound) {
  start(numberedLesson(12));  // sentence k from 2k to 2k + 1 s
  h.player->soundEnd = 14.5;
  learner::click(f->Label14(2));
  learner::click(f->Command6);
  ASSERT_EQ(f->Command6.caption(), "停止朗读");
  playOn();
  EXPECT_FALSE(f->Timer1.enabled());
  EXPECT_FALSE(f->Timer2.enabled());
  EXPECT_EQ(f->Command6.caption(), "全文朗读");
  EXPECT_EQ(f->Command7.caption(), "暂停朗读");
  EXPECT_FALSE(f->Command7.enabled());
  EXPECT_EQ(h.player->plays(), 7);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].prompt,
            "本课有的句子无法朗读：\n第7-12句：超出了本课录音的长度（录音只有14.5秒）。");
  EXPECT_EQ(h.messages[0].title, Form1::kAppTitle);

  // Told once: reading again says nothing more and plays nothing past it.
  learner::click(f->Command6);
  playOn();
  EXPECT_EQ(f->Command6.caption(), "全文朗读");
  EXPECT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.player->plays(), 14);
}

// On 句子学习, a sentence whose times are missing, not numbers or reversed is
// not silent without a word: the first try tells of every such sentence.
TEST_F(Unplayable, BadTimesAreToldOnceOnTheSentencePage) {
  start(lessonText({{"First.", "一", "1", "2", ""},
                    {"No times.", "二", "", "", ""},
                    {"Words.", "三", "x", "y", ""},
                    {"Reversed.", "四", "9", "8", ""},
                    {"Empty.", "五", "9", "9", ""},
                    {"Last.", "六", "10", "11", ""}}));
  learner::click(f->Command1);  // sentence 2: it would play at once
  EXPECT_EQ(h.player->plays(), 0);
  ASSERT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.messages[0].prompt,
            "本课有的句子无法朗读：\n第2句：课文中没有起止时间。\n第3句：课文中的起止时间不是数字。"
            "\n第4-5句：课文中的结束时间不晚于开始时间。");
  learner::click(f->Command4);  // 朗读 again
  learner::click(f->Command1);
  learner::click(f->Command1);
  EXPECT_EQ(h.messages.size(), 1u);
  EXPECT_EQ(h.player->plays(), 0);
  learner::click(f->Command1);
  learner::click(f->Command1);  // the last sentence plays
  EXPECT_EQ(h.player->plays(), 1);

  // Reading aloud passes them over.
  learner::click(f->Label14(2));
  learner::click(f->Command6);
  playOn();
  EXPECT_EQ(f->Command6.caption(), "全文朗读");
  EXPECT_EQ(h.player->plays(), 3);  // sentences 1 and 6
  EXPECT_EQ(h.messages.size(), 1u);
}

}  // namespace
