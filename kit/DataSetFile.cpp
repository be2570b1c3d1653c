#include "kit/DataSetFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstdio>

namespace qiwu {

namespace {

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

bool Inside(const QString& canonical, const QString& root) {
  return canonical.startsWith(root.endsWith('/') ? root : root + '/');
}

DataSetFile Absent(const QString& path) {
  return DataSetFile{QString(), QStringLiteral("找不到文件“%1”。").arg(Shown(path)), true};
}

// Why a file of this kind and size is refused; empty for a regular file within maxBytes (if > 0).
QString Refusal(const struct stat& info, const QString& path, qint64 maxBytes) {
  if (!S_ISREG(info.st_mode))
    return QStringLiteral("“%1”不是普通文件（文件夹、管道或设备），不予打开。").arg(Shown(path));
  if (maxBytes > 0 && info.st_size > maxBytes)
    return QStringLiteral("文件“%1”过大（%2 字节，上限 %3 字节），不予读取。")
        .arg(Shown(path))
        .arg(qint64(info.st_size))
        .arg(maxBytes);
  return {};
}

// The file at canonical, a path with every link resolved, that the caller names path.
DataSetFile CheckResolved(const QString& path, const QString& canonical, qint64 maxBytes) {
  struct stat info {};
  if (canonical.isEmpty() || ::stat(QFile::encodeName(canonical).constData(), &info) != 0)
    return Absent(path);
  const QString refusal = Refusal(info, path, maxBytes);
  return DataSetFile{refusal.isEmpty() ? canonical : QString(), refusal};
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
  if (path.isEmpty()) return refuse(QStringLiteral("文件名为空%1。"));
  if (path.contains(QChar(0))) return refuse(QStringLiteral("文件名“%1”含有空字符，不予打开。"));
  if (IsVirtualOrRemotePath(path))
    return refuse(QStringLiteral("文件“%1”不是数据集中的本地文件，不予打开。"));

  const QString joined = QDir::isAbsolutePath(path) || baseDir.isEmpty() ? path : baseDir + '/' + path;
  const QString canonical = QFileInfo(joined).canonicalFilePath();
  if (canonical.isEmpty()) return Absent(path);

  bool inside = false;
  for (const QString& root : roots) {
    const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
    if (!canonicalRoot.isEmpty() && Inside(canonical, canonicalRoot)) inside = true;
  }
  if (!inside) return refuse(QStringLiteral("文件“%1”不在城市数据集的文件夹之内，不予打开。"));

  return CheckResolved(path, canonical, maxBytes);
}

DataSetFile CheckUserFile(const QString& path, qint64 maxBytes) {
  return CheckResolved(path, QFileInfo(path).canonicalFilePath(), maxBytes);
}

DataSetFile ReadUserFile(const QString& path, QByteArray& bytes, qint64 maxBytes) {
  bytes.clear();
  DataSetFile file = CheckUserFile(path, maxBytes);
  if (!file.ok()) return file;
  const int fd =
      ::open(QFile::encodeName(file.path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Absent(path);
  struct stat info {};
  const QString refusal = ::fstat(fd, &info) != 0 ? Absent(path).error : Refusal(info, path, maxBytes);
  if (!refusal.isEmpty()) {
    ::close(fd);
    return DataSetFile{QString(), refusal};
  }
  QFile in;
  if (!in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return DataSetFile{QString(), in.errorString()};
  }
  bytes = in.read(maxBytes);
  return file;
}

void ReportRefusedUserFile(const DataSetFile& file) {
  if (!file.ok() && !file.missing) std::fprintf(stderr, "%s（按空文件处理）\n", qUtf8Printable(file.error));
}

}  // namespace qiwu
