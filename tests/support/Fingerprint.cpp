#include "tests/support/Fingerprint.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFile>

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
