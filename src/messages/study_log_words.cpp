#include "messages/messages.h"

namespace messages {

std::string studyLogMovedAside(const std::string& kept) {
  return "学习记录文件已损坏，已改名为“" + kept +
         "”保留在原文件夹中，并新建了学习记录；以前的记录和错句本不在新的记录里。";
}

}  // namespace messages
