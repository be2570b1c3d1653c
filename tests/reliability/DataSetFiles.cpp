#include "tests/reliability/DataSetFiles.h"

#include <QDirIterator>
#include <QFile>

namespace reliab {

void SetWritable(const QString& root, bool writable) {
  const QFile::Permissions write =
      QFile::WriteOwner | QFile::WriteUser | QFile::WriteGroup | QFile::WriteOther;
  const auto apply = [&](const QString& path) {
    const QFile::Permissions now = QFile::permissions(path);
    QFile::setPermissions(path, writable ? now | QFile::WriteOwner | QFile::WriteUser : now & ~write);
  };
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
  QStringList paths;
  while (it.hasNext()) paths << it.next();
  // Folders last when taking the right away, first when giving it back.
  if (writable) apply(root);
  for (const QString& path : paths) apply(path);
  if (!writable) apply(root);
}

}  // namespace reliab
