#pragma once
// The program's own texts in Chinese, by name, and the wording of what the
// libraries below the window find (they return values; the window words
// them here). The Parts' notices are still written where their handlers
// show them.
#include <string>
#include <string_view>

#include "analysis/take_analysis.h"

namespace messages {

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
