#pragma once
// The program's own texts in Chinese, by name: the notices its handlers
// show, and the wording of what the libraries below the window find (they
// return values; the window words them here). The captions of the window's
// elements stay with the elements they belong to.
#include <string>
#include <string_view>

#include "analysis/take_analysis.h"

namespace messages {

// ---- titles of the notices ----
inline constexpr std::string_view kNoticeTitle = "提示";
inline constexpr std::string_view kScoreTitle = "本句成绩";

// ---- settings and books ----
inline constexpr std::string_view kNoSoundDevice = "没有找到可用的声音设备，程序将以静音方式运行。";
inline constexpr std::string_view kSettingsNotSaved =
    "无法保存设置文件（SETTING\\set.dat），本次的设置没有保存。";
inline constexpr std::string_view kPlacesNotSaved =
    "无法保存学习位置文件（SETTING\\places.dat），本次学到的位置没有保存。";
inline constexpr std::string_view kNoLessonList =
    "找不到本册书的课程列表文件，本册书暂时没有可学的课程。";
inline constexpr std::string_view kNoResultsFile =
    "找不到本册书的成绩文件，本册书的过关记录将无法保存。";
inline constexpr std::string_view kClearAllMarks = "确定要清除本册书的全部过关记录吗？";
// "设置文件中的书名无效，已改为打开“<book>”。"
std::string badBookInSettings(std::string_view openedInstead);
// "上次学习的课程（第<n>课）在本册书中没有找到，已打开第1课。"
std::string lastLessonNotFound(long long lesson);
// "“<book>”不是有效的书名。"
std::string notABookTitle(std::string_view book);
// "无法保存成绩文件（SETTING\Results\<book>.dat），…"
std::string resultsNotSaved(std::string_view book);

// ---- lessons ----
inline constexpr std::string_view kCurrentLesson = "当前课程：";
inline constexpr std::string_view kLessonNotInstalled = "对不起，本课暂未安装，请选择其他课程。";
inline constexpr std::string_view kLessonUnreadable = "无法读取本课的课文文件，仍保留当前的课程。";
inline constexpr std::string_view kNoLessonAudio = "本课没有安装语音文件。";
// "第<n>课“<title>”太大，超过了本程序能显示的<s>句或<m>MB，不能打开。仍保留当前的课程。"
std::string lessonTooLarge(int lesson, std::string_view title, int maxSentences, int maxMegabytes);
// "第<n>课“<title>”的课文文件中没有句子，不能打开。" and, when another lesson
// stays open, "仍保留当前的课程。"
std::string lessonWithoutSentences(int lesson, std::string_view title, bool keepsCurrent);

// ---- sentences that cannot be played ----
inline constexpr std::string_view kSomeUnplayable = "本课有的句子无法朗读：";
inline constexpr std::string_view kNoTimes = "课文中没有起止时间";
inline constexpr std::string_view kTimesNotNumbers = "课文中的起止时间不是数字";
inline constexpr std::string_view kTimesReversed = "课文中的结束时间不晚于开始时间";
// "超出了本课录音的长度（录音只有<seconds>秒）"
std::string pastSoundEnd(std::string_view seconds);
// "\n第<numbers>句：<reason>。"
std::string unplayableLine(std::string_view numbers, std::string_view reason);

// ---- the dictation test ----
inline constexpr std::string_view kPassMarkTooLow = "最低值不能低于60分！";
inline constexpr std::string_view kPassMarkTooHigh = "最高值不能高于100分！";
inline constexpr std::string_view kAllDone = "已完成！";
inline constexpr std::string_view kHintNeedsEnglishHidden =
    "请在“显示英文句子”处于未选中状态时使用此功能（快捷键F8）。";
// "本句得分：<score>" and one of the three, then the scoring rule.
inline constexpr std::string_view kSentenceScore = "本句得分：";
inline constexpr std::string_view kScoreFail = "分，您未能过关，请按回车键重做当前句子。";
inline constexpr std::string_view kScorePass = "分，恭喜您已过关，请按回车键进入下一句。";
inline constexpr std::string_view kScoreLessonPassed =
    "分，恭喜您本课已过关，请按回车键查看本册成绩。";
inline constexpr std::string_view kScoreRule =
    "（评分标准：每提示1次扣20分，错误1次扣10分，复读1次扣5分，得分高于过关分数即可过关）";

// ---- the window's links ----
inline constexpr std::string_view kGuideMissing = "找不到使用说明，请重新安装本程序：";

// ---- the take beside the model (read-along display) ----
inline constexpr std::string_view kNoTake = "没有录音：请检查麦克风，再点“录音”";
inline constexpr std::string_view kSilentTake = "没有录到声音";
inline constexpr std::string_view kTakeTooLong = "录音比句子长得多：请只跟读这一句";
inline constexpr std::string_view kSilentModel = "标准发音没有声音，无法对比";
inline constexpr std::string_view kIntonation = "语调 ";
inline constexpr std::string_view kRhythm = "　节奏 ";
inline constexpr std::string_view kLength = "　时长 ";
inline constexpr std::string_view kDepartsMost = "差别最大：";

// ---- the study log and the review queue ----
inline constexpr std::string_view kMarkForReview = "记入错句本";
inline constexpr std::string_view kUnmarkForReview = "移出错句本";
inline constexpr std::string_view kStudyLogDiskFull =
    "磁盘空间已满，学习记录暂时无法保存。程序可以照常使用；腾出空间后，记录会接着保存。";
inline constexpr std::string_view kStudyLogWriteFailed =
    "学习记录有一部分没能保存（写入学习记录文件出错）。程序可以照常使用。";
inline constexpr std::string_view kStudyLogRefused =
    "无法打开学习记录文件（SETTING\\study.db），本次的学习和错句本不会被记录。";
// The review page (复习).
inline constexpr std::string_view kReviewEmpty =
    "今天没有要复习的句子。听写中出错或用过提示的句子会记入错句本，到期时在这里复习。";
inline constexpr std::string_view kReviewStart = "开始复习";
inline constexpr std::string_view kReviewReplay = "重播 (F7)";
inline constexpr std::string_view kReviewHint = "提示 (F8)";
inline constexpr std::string_view kReviewGuide = "听句子，输入英文，按回车键检查。";
// "今天有 3 个句子要复习。"
std::string reviewDue(int count);
// "《Book01》 第二课 One 一句　第 3 句": the book, the lesson's title, the number.
std::string reviewPlace(const std::string& book, const std::string& lesson, int position);
// "错误 1 次　提示 0 次　复读 0 次　得分 90"
std::string reviewCosts(int errors, int hints, int replays, int score);
// The session's end: reviewed, skipped (their lesson could not be opened).
std::string reviewDone(int reviewed, int skipped);
// The damaged file kept under `kept` (its file name), a fresh log begun.
std::string studyLogMovedAside(const std::string& kept);

// What went wrong with a take; empty when it was compared.
std::string takeProblem(analysis::Outcome outcome);
// "语调 82%　节奏 75%　时长 110%", or what went wrong.
std::string takeFigures(const analysis::Comparison& c);
// "差别最大：“cup”"; empty when no word departs.
std::string takeDeparture(const analysis::Comparison& c);

}  // namespace messages
