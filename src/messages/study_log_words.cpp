#include "messages/messages.h"

namespace messages {

std::string studyLogMovedAside(const std::string& kept) {
  return "学习记录文件已损坏，已改名为“" + kept +
         "”保留在原文件夹中，并新建了学习记录；以前的记录和错句本不在新的记录里。";
}

std::string reviewDue(int count) { return "今天有 " + std::to_string(count) + " 个句子要复习。"; }

std::string reviewPlace(const std::string& book, const std::string& lesson, int position) {
  return "《" + book + "》 " + lesson + "　第 " + std::to_string(position) + " 句";
}

std::string reviewCosts(int errors, int hints, int replays, int score) {
  return "错误 " + std::to_string(errors) + " 次　提示 " + std::to_string(hints) + " 次　复读 " +
         std::to_string(replays) + " 次　得分 " + std::to_string(score);
}

std::string reviewDone(int reviewed, int skipped) {
  std::string done = "本次复习完成：复习了 " + std::to_string(reviewed) + " 个句子。";
  if (skipped > 0) done += std::to_string(skipped) + " 个句子的课文无法打开，留在错句本中。";
  return done;
}

}  // namespace messages
