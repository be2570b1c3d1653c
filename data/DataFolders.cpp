#include "data/DataFolders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "data/CityPaths.h"

namespace qiwu {

QStringList DataFolders(const QString& programDir) {
  const QString shared = QDir::cleanPath(programDir + QStringLiteral("/../share/qiwu"));
  if (QFileInfo(programDir + QStringLiteral("/map")).isDir() || !QFileInfo(shared).isDir())
    return {programDir};
  const QString own =
      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/qiwu");
  return {shared, own};
}

QString DefaultImportFolder(const QString& programDir) { return DataFolders(programDir).last(); }

QStringList ListCities(const QStringList& folders) {
  QStringList all;
  for (const QString& folder : folders)
    for (const QString& city : ListCities(folder))
      if (!all.contains(city)) all << city;
  // Each folder's list is in order; merged, the order is made once more.
  return SortCities(all);
}

QString FolderOfCity(const QStringList& folders, const QString& city) {
  for (const QString& folder : folders)
    if (ListCities(folder).contains(city)) return folder;
  return folders.front();
}

QString HelpFilePath(const QStringList& folders) {
  for (const QString& folder : folders)
    if (QFileInfo(HelpFilePath(folder)).isFile()) return HelpFilePath(folder);
  return HelpFilePath(folders.front());
}

}  // namespace qiwu
