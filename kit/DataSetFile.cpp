#include "kit/DataSetFile.h"

#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace qiwu {

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

bool Inside(const QString& canonical, const QString& root) {
  return canonical.startsWith(root.endsWith('/') ? root : root + '/');
}

}  // namespace

QStringList DataSetRoots(const QString& programDir, const QString& city) {
  return {programDir + QStringLiteral("/map/") + city, programDir + QStringLiteral("/data")};
}

bool IsVirtualOrRemotePath(const QString& path) {
  static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
  const QString trimmed = path.trimmed();
  return trimmed.startsWith(QLatin1String("/vsi"), Qt::CaseInsensitive) || scheme.match(trimmed).hasMatch();
}

DataSetFile CheckDataSetFile(const QString& path, const QStringList& roots, const QString& baseDir,
                             qint64 maxBytes) {
  const auto refuse = [&](const QString& why) { return DataSetFile{QString(), why.arg(Shown(path))}; };
  const auto absent = [&] {
    return DataSetFile{QString(), QStringLiteral("找不到文件“%1”。").arg(Shown(path)), true};
  };
  if (path.isEmpty()) return refuse(QStringLiteral("文件名为空%1。"));
  if (path.contains(QChar(0))) return refuse(QStringLiteral("文件名“%1”含有空字符，不予打开。"));
  if (IsVirtualOrRemotePath(path))
    return refuse(QStringLiteral("文件“%1”不是数据集中的本地文件，不予打开。"));

  const QString joined = QDir::isAbsolutePath(path) || baseDir.isEmpty() ? path : baseDir + '/' + path;
  const QString canonical = QFileInfo(joined).canonicalFilePath();
  if (canonical.isEmpty()) return absent();

  bool inside = false;
  for (const QString& root : roots) {
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (!canonicalRoot.isEmpty() && Inside(canonical, canonicalRoot)) inside = true;
  }
  if (!inside) return refuse(QStringLiteral("文件“%1”不在城市数据集的文件夹之内，不予打开。"));

  struct stat info {};
  if (::stat(QFile::encodeName(canonical).constData(), &info) != 0) return absent();
  if (!S_ISREG(info.st_mode))
    return refuse(QStringLiteral("“%1”不是普通文件（文件夹、管道或设备），不予打开。"));
  if (maxBytes > 0 && info.st_size > maxBytes)
    return DataSetFile{QString(), QStringLiteral("文件“%1”过大（%2 字节，上限 %3 字节），不予读取。")
                                      .arg(Shown(path))
                                      .arg(qint64(info.st_size))
                                      .arg(maxBytes)};
  return DataSetFile{canonical, QString()};
}

}  // namespace qiwu
