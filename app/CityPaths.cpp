#include "app/CityPaths.h"

namespace qiwu {

QString MainWorkspacePath(const QString& programDir, const QString& city) {
  return programDir + "/map/" + city + "/" + city + ".gst";
}

QString OverviewWorkspacePath(const QString& programDir, const QString& city) {
  return programDir + "/map/" + city + "/" + city + "2.gst";
}

QString DatabasePath(const QString& programDir, const QString& city) {
  return programDir + "/data/" + city + ".mdb";
}

QString HelpFilePath(const QString& programDir) { return programDir + "/help/index.html"; }

}  // namespace qiwu
