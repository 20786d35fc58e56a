// Pictures decoded ahead on a worker thread are the ones the elements get,
// and a picture that cannot be decoded never makes its caller wait forever.
#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "platform/ui/ui.h"
#include "platform/ui/ui_qt.h"

namespace {

QImage filled(int w, int h, QColor c) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(c);
  return image;
}

TEST(Pictures, PrefetchedPicturesAreTheFilesAndBadOnesAreNull) {
  QTemporaryDir dir;
  const QString d = dir.path();
  ASSERT_TRUE(filled(3, 2, Qt::red).save(d + "/a.png"));
  ASSERT_TRUE(filled(40, 30, Qt::blue).save(d + "/big.jpg", nullptr, 95));
  QFile broken(d + "/broken.png");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("\x89PNG not really");
  broken.close();

  const std::string folder = d.toStdString();
  ui::prefetchPictures({folder, folder + "/absent"});

  struct Case {
    std::string path;
    QSize size;  // empty: no picture
    QColor colour;
  } cases[] = {
      {folder + "/a.png", {3, 2}, Qt::red},
      {folder + "//./big.jpg", {40, 30}, Qt::blue},  // the same file, spelled otherwise
      {folder + "/broken.png", {}, {}},
      {folder + "/missing.png", {}, {}},
      {folder + "/a.png", {3, 2}, Qt::red},  // asked again: the shared copy
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const QPixmap pm = ui::picture(c.path);
    if (c.size.isEmpty()) {
      EXPECT_TRUE(pm.isNull());
      continue;
    }
    ASSERT_EQ(pm.size(), c.size);
    const QColor got = pm.toImage().pixelColor(1, 1);
    EXPECT_NEAR(got.red(), c.colour.red(), 8);
    EXPECT_NEAR(got.blue(), c.colour.blue(), 8);
  }
}

TEST(Pictures, ANewPrefetchReplacesPicturesDecodedBefore) {
  // A window built anew over a changed folder shows the new files, not what
  // an earlier prefetch decoded and nobody took.
  QTemporaryDir dir;
  const QString file = dir.path() + "/p.png";
  ASSERT_TRUE(filled(2, 2, Qt::green).save(file));
  ui::prefetchPictures({dir.path().toStdString()});
  ASSERT_TRUE(filled(5, 5, Qt::green).save(file));
  ui::prefetchPictures({dir.path().toStdString()});
  // The first decoding may have seen either file; the second sees the new one.
  EXPECT_EQ(ui::picture(file.toStdString()).size(), QSize(5, 5));
}

}  // namespace
