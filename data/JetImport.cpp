#include "data/JetImport.h"

#include <QFileInfo>
#include <QProcess>

namespace {
QString HelperPath() {
  // The helper is built into the same folder as every program of the project.
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath() + QStringLiteral("/qiwu-jet-reader");
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
