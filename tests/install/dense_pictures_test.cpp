// On a screen at scale 2 (run with QT_SCALE_FACTOR=2) the window shows the
// pictures drawn for that density, each device pixel its own: what an element
// paints is, pixel for pixel, the "@2x" file; a picture without one is the 1x
// file blown up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>

#include "platform/ui/skinned_button.h"
#include "platform/ui/ui.h"
#include "platform/ui/ui_qt.h"

namespace {

const std::string kSkin = std::string(PARLENDA_SOURCE_DIR) + "/data/skin";
const std::string kBitmap = std::string(PARLENDA_SOURCE_DIR) + "/data/bitmap";

// What the element shows, in device pixels.
QImage seen(const ui::Element& element) {
  return element.widget()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QImage file(const std::string& path) {
  return QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_ARGB32);
}

// Largest difference of any channel over the two pictures (same size), where
// b is opaque (elsewhere what shows depends on what lies below).
int difference(const QImage& a, const QImage& b) {
  int worst = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      if (q.alpha() != 255) continue;
      worst = std::max({worst, std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                        std::abs(p.blue() - q.blue())});
    }
  return worst;
}

class DensePictures : public testing::Test {
 protected:
  void SetUp() override {
    if (qApp->devicePixelRatio() != 2) GTEST_SKIP() << "run with QT_SCALE_FACTOR=2 (ctest does)";
    window.move(0, 0, 11700, 8325);
  }
  ui::Window window;
};

TEST_F(DensePictures, PanelsAndTogglesShowThePicturesDrawnForTheDensity) {
  struct Case {
    std::string picture;
    int widthTwips, heightTwips;
  } cases[] = {
      {kSkin + "/skin.jpg", 11700, 8325},  // the window background
      {kBitmap + "/1.jpg", 195, 195},      // a toggle switch, on
      {kSkin + "/tab_marker.png", 1020, 615},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.picture);
    ui::Picture panel(window);
    panel.move(0, 0, c.widthTwips, c.heightTwips);
    panel.setPicture(c.picture);
    window.showCentered();
    const QImage shown = seen(panel);
    const std::string dense =
        c.picture.substr(0, c.picture.rfind('.')) + "@2x" + c.picture.substr(c.picture.rfind('.'));
    const QImage expected = file(dense);
    ASSERT_EQ(shown.size(), expected.size());
    EXPECT_LE(difference(shown, expected), 2);
    // Not the 1x picture blown up: that would differ along every edge.
    const QImage blownUp = file(c.picture).scaled(expected.size());
    EXPECT_GT(difference(blownUp, expected), 40);
  }
}

TEST_F(DensePictures, AButtonAtItsPictureSizeShowsThe2xFaceWhole) {
  CSCommand::Command::setSkinFolder(kSkin);
  CSCommand::Command button(window);
  button.move(0, 0, 360, 360);  // 24 x 24 pixels, the face's own size
  window.showCentered();
  const QImage shown = seen(button);
  const QImage face = file(kSkin + "/button_normal@2x.png");
  ASSERT_EQ(shown.size(), face.size());
  EXPECT_LE(difference(shown, face), 2);
  EXPECT_GT(difference(file(kSkin + "/button_normal.png").scaled(face.size()), face), 40);
}

TEST_F(DensePictures, APictureWithoutA2xFileIsTheDesignPictureAtTwiceTheSize) {
  QTemporaryDir dir;
  QImage only1x(4, 3, QImage::Format_RGB32);
  only1x.fill(Qt::red);
  ASSERT_TRUE(only1x.save(dir.path() + "/only.png"));
  const QPixmap pm = ui::picture((dir.path() + "/only.png").toStdString());
  EXPECT_EQ(pm.size(), QSize(4, 3));
  EXPECT_EQ(pm.devicePixelRatio(), 1.0);
  ui::Picture panel(window);
  panel.move(0, 0, 60, 45);
  panel.setPicture((dir.path() + "/only.png").toStdString());
  window.showCentered();
  const QImage shown = seen(panel);
  EXPECT_EQ(shown.size(), QSize(8, 6));
  EXPECT_EQ(shown.pixelColor(7, 5), QColor(Qt::red));
}

}  // namespace
