#include "tests/support/Fingerprint.h"

#include <sys/stat.h>

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
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) continue;
    if (S_ISLNK(info.st_mode)) {
      entries.insert(relative, "link to " + QFile::encodeName(it.fileInfo().symLinkTarget()));
    } else if (S_ISREG(info.st_mode)) {
      QFile file(path);
      QCryptographicHash hash(QCryptographicHash::Sha256);
      if (file.open(QIODevice::ReadOnly)) hash.addData(&file);
      entries.insert(relative, hash.result());
    } else {
      entries.insert(relative, "kind " + QByteArray::number(info.st_mode & S_IFMT));
    }
  }
  return entries;
}
