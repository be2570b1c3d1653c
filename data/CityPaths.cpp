#include "data/CityPaths.h"

#include <QDir>

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

}  // namespace qiwu
