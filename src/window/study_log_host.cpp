// The study log and the review queue in the window: the log hears the study
// events (it is one more subscriber, fed after each handler) and writes on
// its own worker; the sentence page's mark puts the current sentence into the
// review queue or takes it out (a click, or F6).
#include <filesystem>

#include "messages/messages.h"
#include "studymodel/study_log.h"
#include "window/form1.h"
#include "window/layout.h"

void Form1::openStudyLog() {
  layout::button(ReviewMark, 4440, 45, 1300, 375, std::string(messages::kMarkForReview));
  ReviewMark.Click = [this] { ReviewMark_Click(); };

  studymodel::StudyLog::Options options;
  options.sentenceOf = [this](const study::SentenceKey& key) -> const study::Sentence* {
    for (const study::Sentence& s : lessonState_.lesson().sentences)
      if (s.key == key) return &s;
    return nullptr;
  };
  // From the log's worker: told on the window's thread, once per run of failures.
  options.onTrouble = [this](studymodel::Trouble trouble, const std::string&) {
    studyLogNotices_.post([this, trouble] { tellStudyLogTrouble(trouble); });
  };
  studymodel::StudyLog::Opened opened =
      studymodel::StudyLog::open(path("\\SETTING\\study.db"), std::move(options));
  studyLog_ = std::move(opened.log);
  // Told once the window runs, not in the middle of its building.
  if (!opened.movedAside.empty()) {
    const std::string kept = std::filesystem::path(opened.movedAside).filename().string();
    studyLogNotices_.post(
        [kept] { ui::msgBox(messages::studyLogMovedAside(kept), ui::kExclamation, kAppTitle); });
  } else if (!studyLog_) {
    studyLogNotices_.post(
        [] { ui::msgBox(std::string(messages::kStudyLogRefused), ui::kExclamation, kAppTitle); });
  }
  if (studyLog_)
    studyLogFeed_ = studyEvents_.subscribe([this](const study::Event& event) {
      studyLog_->hear(event);
      showReviewMark();
    });
  showReviewMark();
}

void Form1::tellStudyLogTrouble(studymodel::Trouble trouble) {
  ui::msgBox(std::string(trouble == studymodel::Trouble::DiskFull ? messages::kStudyLogDiskFull
                                                                  : messages::kStudyLogWriteFailed),
             ui::kExclamation, kAppTitle);
}

// The mark says what a click does to the current sentence.
void Form1::showReviewMark() {
  const study::Sentence* s = lessonState_.current();
  ReviewMark.setEnabled(studyLog_ && s);
  const bool queued = studyLog_ && s && studyLog_->queued(s->key);
  ReviewMark.setCaption(
      std::string(queued ? messages::kUnmarkForReview : messages::kMarkForReview));
}

void Form1::ReviewMark_Click() {
  if (const study::Sentence* s = lessonState_.current(); s && studyLog_) studyLog_->toggleMark(*s);
  showReviewMark();
}
