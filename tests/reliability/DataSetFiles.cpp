#include "tests/reliability/DataSetFiles.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

namespace reliab {

QMap<QString, QByteArray> Fingerprint(const QString& root) {
  QMap<QString, QByteArray> entries;
  QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                  QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString path = it.next();
    const QString relative = path.mid(root.size() + 1);
    if (it.fileInfo().isDir()) {
      entries.insert(relative + '/', QByteArray());
      continue;
    }
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (file.open(QIODevice::ReadOnly)) hash.addData(&file);
    entries.insert(relative, hash.result());
  }
  return entries;
}

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
