#include <string>

#include "messages/messages.h"

namespace messages {
namespace {

std::string joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

}  // namespace

std::string badBookInSettings(std::string_view openedInstead) {
  return joined({"设置文件中的书名无效，已改为打开“", openedInstead, "”。"});
}

std::string lastLessonNotFound(long long lesson) {
  return joined(
      {"上次学习的课程（第", std::to_string(lesson), "课）在本册书中没有找到，已打开第1课。"});
}

std::string notABookTitle(std::string_view book) {
  return joined({"“", book, "”不是有效的书名。"});
}

std::string resultsNotSaved(std::string_view book) {
  return joined({"无法保存成绩文件（SETTING\\Results\\", book,
                 ".dat），新的过关记录只保留到关闭本册书为止。"});
}

std::string lessonTooLarge(int lesson, std::string_view title, int maxSentences, int maxMegabytes) {
  return joined({"第", std::to_string(lesson), "课“", title, "”太大，超过了本程序能显示的",
                 std::to_string(maxSentences), "句或", std::to_string(maxMegabytes),
                 "MB，不能打开。仍保留当前的课程。"});
}

std::string lessonWithoutSentences(int lesson, std::string_view title, bool keepsCurrent) {
  return joined({"第", std::to_string(lesson), "课“", title, "”的课文文件中没有句子，不能打开。",
                 keepsCurrent ? "仍保留当前的课程。" : ""});
}

std::string pastSoundEnd(std::string_view seconds) {
  return joined({"超出了本课录音的长度（录音只有", seconds, "秒）"});
}

std::string unplayableLine(std::string_view numbers, std::string_view reason) {
  return joined({"\n第", numbers, "句：", reason, "。"});
}

}  // namespace messages
