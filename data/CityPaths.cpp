#include "data/CityPaths.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "data/ServerCity.h"
#include "data/TextCollation.h"

namespace qiwu {

QString MainWorkspacePath(const QString& programDir, const QString& city) {
  return QDir(programDir).filePath("map/" + city + "/" + city + ".gst");
}

QString OverviewWorkspacePath(const QString& programDir, const QString& city) {
  return QDir(programDir).filePath("map/" + city + "/" + city + "2.gst");
}

QString DatabasePath(const QString& programDir, const QString& city) {
  return QDir(programDir).filePath("data/" + city + ".mdb");
}

QString HelpFilePath(const QString& programDir) { return QDir(programDir).filePath("help/index.html"); }

QStringList ListCities(const QString& programDir) {
  QStringList cities;
  const QStringList folders =
      QDir(QDir(programDir).filePath("map")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  for (const QString& city : folders) {
    if (city.startsWith('.')) continue;  // an import's temporaries
    // A workspace with its database file, or with the server that serves the city.
    if (QFileInfo(MainWorkspacePath(programDir, city)).isFile() &&
        (QFileInfo(DatabasePath(programDir, city)).isFile() || HasServerCity(programDir, city)))
      cities << city;
  }
  return SortCities(cities);
}

QStringList SortCities(QStringList cities) {
  std::sort(cities.begin(), cities.end(), [](const QString& a, const QString& b) {
    if ((a == kDemoCity) != (b == kDemoCity)) return a == kDemoCity;
    return CompareText(a.toStdString(), b.toStdString()) < 0;
  });
  return cities;
}

}  // namespace qiwu
