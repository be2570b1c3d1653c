#pragma once
// Where a save dialog first proposes to write: the user's folder of that kind (pictures,
// documents), never the program's own folder, which an installed program cannot write.
#include <QDir>
#include <QStandardPaths>
#include <QString>

namespace qiwu {

inline QString SuggestedSavePath(QStandardPaths::StandardLocation folder, const QString& fileName) {
  QString dir = QStandardPaths::writableLocation(folder);
  if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::homePath();
  return QDir(dir).filePath(fileName);
}

}  // namespace qiwu
