// Pictures by file name: decoded once, shared by every element that shows
// them, and decoded ahead on a worker thread when the folder is known early.
// On a high-density screen a picture drawn for it ("skin@2x.jpg" beside
// "skin.jpg") is used instead, at its own device pixel ratio.
#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmapCache>
#include <algorithm>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "platform/ui/ui_qt.h"

namespace ui {
namespace {

QString pictureKey(const std::string& path) { return QDir::cleanPath(qs(path)); }

// The density of pictures the screens want: 2 above 1x (a 1.5x screen gets
// the 2x picture drawn smaller rather than the 1x one blown up), else 1.
int pictureDensity() { return qGuiApp && qGuiApp->devicePixelRatio() > 1.0 ? 2 : 1; }

bool isDense(const QString& file) { return file.section('/', -1).contains("@2x."); }

// "skin/skin.jpg" -> "skin/skin@2x.jpg".
QString densePath(const QString& file) {
  const int dot = file.lastIndexOf('.');
  if (dot <= file.lastIndexOf('/')) return file + "@2x";
  return file.left(dot) + "@2x" + file.mid(dot);
}

class Prefetch {
 public:
  ~Prefetch() { finish(); }

  void start(const std::vector<std::string>& folders) {
    finish();
    QFileInfoList found;
    for (const std::string& folder : folders)
      found += QDir(qs(folder)).entryInfoList({"*.jpg", "*.png", "*.bmp", "*.gif"}, QDir::Files);
    // Largest first: the window's skin is asked for before the small pieces.
    std::sort(found.begin(), found.end(),
              [](const QFileInfo& a, const QFileInfo& b) { return a.size() > b.size(); });
    // Only the pictures this screen will ask for.
    const bool dense = pictureDensity() == 2;
    QStringList files;
    for (const QFileInfo& f : found) {
      const QString file = QDir::cleanPath(f.filePath());
      if (dense ? !isDense(file) && QFileInfo::exists(densePath(file)) : isDense(file)) continue;
      files << file;
    }
    {
      std::lock_guard lock(mutex_);
      pending_ = {files.begin(), files.end()};
    }
    worker_ = std::thread([this, files] {
      for (const QString& file : files) {
        QImage image = QImageReader(file).read();
        std::lock_guard lock(mutex_);
        if (!image.isNull()) decoded_[file] = std::move(image);
        pending_.erase(file);
        ready_.notify_all();
      }
    });
  }

  // Hands over a decoded picture, waiting while it is still being decoded.
  bool take(const QString& key, QImage* image) {
    std::unique_lock lock(mutex_);
    ready_.wait(lock, [&] { return !pending_.count(key); });
    auto it = decoded_.find(key);
    if (it == decoded_.end()) return false;
    *image = std::move(it->second);
    decoded_.erase(it);
    return true;
  }

 private:
  void finish() {
    if (worker_.joinable()) worker_.join();
    decoded_.clear();
  }

  std::mutex mutex_;
  std::condition_variable ready_;
  std::set<QString> pending_;
  std::map<QString, QImage> decoded_;
  std::thread worker_;
};

Prefetch& prefetch() {
  static Prefetch p;
  return p;
}

}  // namespace

void prefetchPictures(const std::vector<std::string>& folders) { prefetch().start(folders); }

namespace {
QPixmap load(const QString& file) {
  QImage image;
  if (prefetch().take(file, &image)) return QPixmap::fromImage(std::move(image));
  return QPixmap(file);
}
}  // namespace

QPixmap picture(const std::string& path) {
  QPixmap pm;
  if (path.empty()) return pm;
  const QString key = pictureKey(path);
  if (QPixmapCache::find(key, &pm)) return pm;
  if (pictureDensity() == 2) {
    pm = load(densePath(key));
    pm.setDevicePixelRatio(2);
  }
  if (pm.isNull()) pm = load(key);
  if (!pm.isNull()) QPixmapCache::insert(key, pm);
  return pm;
}

}  // namespace ui
