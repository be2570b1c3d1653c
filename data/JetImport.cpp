#include "data/JetImport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {
// The helper lies beside the program in a build tree, in <prefix>/lib/qiwu when installed.
QString HelperPath() {
  const QString programDir = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
  const QString beside = programDir + QStringLiteral("/qiwu-jet-reader");
  if (QFileInfo::exists(beside)) return beside;
  return QDir::cleanPath(programDir + QStringLiteral("/../lib/qiwu/qiwu-jet-reader"));
}
}  // namespace

QByteArray ReadJetFile(const QString& path, QString& failure, int timeLimitMs) {
  QProcess reader;
  reader.setProgram(HelperPath());
  reader.setArguments({path});
  reader.setStandardErrorFile(QProcess::nullDevice());
  reader.start(QIODevice::ReadOnly);
  if (!reader.waitForStarted()) {
    failure = QStringLiteral("找不到读取 Access 数据库的程序“%1”").arg(reader.program());
    return {};
  }
  if (!reader.waitForFinished(timeLimitMs)) {
    reader.kill();
    reader.waitForFinished();
    failure = QStringLiteral("读取超时，文件可能已损坏");
    return {};
  }
  QByteArray output = reader.readAllStandardOutput();
  if (reader.exitStatus() != QProcess::NormalExit) {
    failure = QStringLiteral("文件已损坏，读取时出错");
    return {};
  }
  if (reader.exitCode() != 0) {
    failure = output.isEmpty() ? QStringLiteral("文件已损坏，读取时出错") : QString::fromUtf8(output);
    return {};
  }
  return output;
}
