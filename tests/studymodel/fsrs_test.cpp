// The review queue's FSRS against the reference scheduler, ts-fsrs, run under
// node on the same review histories (tools/fsrs_reference, installed by
// tools/setup.sh): each review's stability, difficulty, interval, due day and
// lapses must be the reference's, for FSRS-6's default weights and FSRS-5's.
#include "studymodel/fsrs.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <filesystem>

namespace {

using studymodel::Card;
using studymodel::Grade;

using History = std::vector<std::pair<std::int64_t, Grade>>;

// Day numbers from 1970; grades 1 again .. 4 easy. Long and short gaps,
// lapses in a row, a review on the day it was given, one long overdue.
const std::vector<History> kHistories = {
    {{20000, Grade::Again},
     {20001, Grade::Good},
     {20004, Grade::Good},
     {20020, Grade::Hard},
     {20100, Grade::Again}},
    {{20000, Grade::Good},
     {20003, Grade::Good},
     {20015, Grade::Good},
     {20060, Grade::Easy},
     {20300, Grade::Good}},
    {{20000, Grade::Easy},
     {20000, Grade::Again},
     {20001, Grade::Again},
     {20002, Grade::Hard},
     {20010, Grade::Good}},
    {{20000, Grade::Hard},
     {20001, Grade::Hard},
     {20002, Grade::Again},
     {20005, Grade::Again},
     {20006, Grade::Good},
     {20400, Grade::Good},
     {21500, Grade::Easy}},
    {{20000, Grade::Again}, {20500, Grade::Good}, {20501, Grade::Again}, {20503, Grade::Good}},
};

std::filesystem::path referenceFolder() {
  return std::filesystem::path(PARLENDA_SOURCE_DIR) / "tools" / "fsrs_reference";
}

// The reference's cards after each review, per history.
QJsonArray referenceSchedules(const std::vector<double>* weights) {
  QJsonArray histories;
  for (const History& h : kHistories) {
    QJsonArray reviews;
    for (const auto& [day, grade] : h) reviews.append(QJsonArray{qint64(day), int(grade)});
    histories.append(reviews);
  }
  QJsonObject input{{"histories", histories}};
  if (weights) {
    QJsonArray w;
    for (double x : *weights) w.append(x);
    input["weights"] = w;
  }
  QProcess node;
  node.setWorkingDirectory(QString::fromStdString(referenceFolder().string()));
  node.start("node", {"schedule.js"});
  node.write(QJsonDocument(input).toJson());
  node.closeWriteChannel();
  EXPECT_TRUE(node.waitForFinished(60000));
  EXPECT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(node.readAllStandardOutput()).array();
}

void expectSameSchedules(const studymodel::Fsrs& fsrs, const std::vector<double>* weights) {
  ASSERT_TRUE(std::filesystem::exists(referenceFolder() / "node_modules" / "ts-fsrs"))
      << "the reference scheduler is not installed: run tools/setup.sh";
  const QJsonArray reference = referenceSchedules(weights);
  ASSERT_EQ(reference.size(), qsizetype(kHistories.size()));
  for (std::size_t h = 0; h < kHistories.size(); ++h) {
    Card card;
    const QJsonArray expected = reference[qsizetype(h)].toArray();
    for (std::size_t r = 0; r < kHistories[h].size(); ++r) {
      SCOPED_TRACE("history " + std::to_string(h) + ", review " + std::to_string(r));
      card = fsrs.review(card, kHistories[h][r].first, kHistories[h][r].second);
      const QJsonObject want = expected[qsizetype(r)].toObject();
      EXPECT_DOUBLE_EQ(card.stability, want["stability"].toDouble());
      EXPECT_DOUBLE_EQ(card.difficulty, want["difficulty"].toDouble());
      EXPECT_EQ(card.scheduledDays, want["scheduledDays"].toInt());
      EXPECT_EQ(card.dueDay, want["dueDay"].toInteger());
      EXPECT_EQ(card.lapses, want["lapses"].toInt());
      EXPECT_EQ(card.reps, want["reps"].toInt());
    }
  }
}

TEST(Fsrs, SchedulesAsTheReferenceWithItsDefaultWeights) {
  expectSameSchedules(studymodel::Fsrs(), nullptr);
}

TEST(Fsrs, SchedulesAsTheReferenceWithFsrs5Weights) {
  const std::vector<double> w = studymodel::fsrs5DefaultWeights();
  expectSameSchedules(studymodel::Fsrs(w), &w);
}

// A first sight with an error comes back the next day; each right answer
// after it waits longer than the one before.
TEST(Fsrs, AnErrorBringsASentenceBackTomorrowAndRightAnswersSpaceItOut) {
  const studymodel::Fsrs fsrs;
  Card card = fsrs.review(Card{}, 100, studymodel::gradeFromOutcome(1, 0, 0));
  EXPECT_EQ(card.dueDay, 101);
  int last = card.scheduledDays;
  for (int k = 0; k < 4; ++k) {
    card = fsrs.review(card, card.dueDay, studymodel::gradeFromOutcome(0, 0, 0));
    EXPECT_GT(card.scheduledDays, last);
    last = card.scheduledDays;
  }
}

TEST(Fsrs, TheOutcomeGivesTheGrade) {
  struct Case {
    int errors, hints, replays;
    Grade grade;
  };
  for (const Case& c :
       {Case{0, 0, 0, Grade::Good}, Case{0, 0, 2, Grade::Hard}, Case{1, 0, 0, Grade::Again},
        Case{0, 1, 0, Grade::Again}, Case{2, 1, 3, Grade::Again}})
    EXPECT_EQ(studymodel::gradeFromOutcome(c.errors, c.hints, c.replays), c.grade)
        << c.errors << " errors, " << c.hints << " hints, " << c.replays << " replays";
}

}  // namespace
