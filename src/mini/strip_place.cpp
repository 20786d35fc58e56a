#include "mini/strip_place.h"

#include <QFile>
#include <QSaveFile>
#include <QStringList>

namespace mini {

StripPlace readStripPlace(const std::string& file) {
  QFile f(QString::fromStdString(file));
  StripPlace place;
  if (!f.open(QIODevice::ReadOnly)) return place;
  const QStringList fields = QString::fromLatin1(f.read(256)).trimmed().split('\\');
  if (fields.size() < 3) return place;
  bool okOn = false, okLeft = false, okTop = false;
  const int on = fields[0].toInt(&okOn), left = fields[1].toInt(&okLeft),
            top = fields[2].toInt(&okTop);
  place.on = okOn && on == 1;
  if (okLeft && okTop) place.left = left, place.top = top;
  return place;
}

bool writeStripPlace(const std::string& file, const StripPlace& place) {
  QSaveFile f(QString::fromStdString(file));
  if (!f.open(QIODevice::WriteOnly)) return false;
  const QString line = QStringLiteral("%1\\%2\\%3\\")
                           .arg(place.on ? 1 : 0)
                           .arg(place.left ? QString::number(*place.left) : QString())
                           .arg(place.top ? QString::number(*place.top) : QString());
  f.write(line.toLatin1());
  return f.commit();
}

}  // namespace mini
