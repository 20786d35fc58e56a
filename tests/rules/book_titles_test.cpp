// The player judges book titles as the book maker does: both follow
// src/rules/book_rules.json, and both are tried on the same cases.
#include "rules/book_titles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonObject cases() {
  QFile file(PARLENDA_SOURCE_DIR "/src/rules/book_title_cases.json");
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return QJsonDocument::fromJson(file.readAll()).object();
}

TEST(BookTitles, TheSharedCasesAreJudgedAlike) {
  const QJsonObject all = cases();
  ASSERT_FALSE(all["safe"].toArray().isEmpty());
  for (const auto& title : all["safe"].toArray())
    EXPECT_TRUE(rules::isSafeBookTitle(title.toString().toStdString()))
        << title.toString().toStdString();
  for (const auto& title : all["unsafe"].toArray())
    EXPECT_FALSE(rules::isSafeBookTitle(title.toString().toStdString()))
        << title.toString().toStdString();
}

TEST(BookTitles, TheWmaBooksAreTheRulesOnes) {
  EXPECT_EQ(rules::audioExtension("Book04"), ".wma");
  EXPECT_EQ(rules::audioExtension("Book07"), ".wma");
  EXPECT_EQ(rules::audioExtension("Book05"), ".mp3");
  EXPECT_EQ(rules::audioExtension("book04"), ".mp3");
}

}  // namespace
