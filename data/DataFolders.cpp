#include "data/DataFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qiwu {

QStringList DataFolders(const QString& programDir) {
  if (QFileInfo(programDir + QStringLiteral("/map")).isDir()) return {programDir};
  const QString shared = QDir::cleanPath(programDir + QStringLiteral("/../share/qiwu"));
  const QString own = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/qiwu");
  return {shared, own};
}

QString DefaultImportFolder(const QString& programDir) { return DataFolders(programDir).last(); }

}  // namespace qiwu
