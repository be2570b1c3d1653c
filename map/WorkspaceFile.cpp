#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cmath>
#include <map>

#include "kit/DataSetFile.h"
#include "map/Workspace.h"

namespace {

MapResult Malformed(const QString& path, int lineNumber, const QString& line) {
  return MapResult::Failure(
      kMapErrorMalformedLine,
      QStringLiteral("工作空间文件 %1 第 %2 行格式错误：%3").arg(path).arg(lineNumber).arg(line.trimmed()));
}

// A finite decimal; NaN and infinities are refused.
bool ParseNumber(const QString& text, double& out) {
  bool ok = false;
  out = text.trimmed().toDouble(&ok);
  return ok && std::isfinite(out);
}

// Applies one \TABLE\n\<rest> key to its layer entry; false for a value that cannot be read.
bool ApplyTableKey(WorkspaceLayerEntry& entry, const QString& rest, const QString& value) {
  if (rest == QLatin1String("FILE")) {
    entry.file = value;
  } else if (rest == QLatin1String("LAYER")) {
    entry.sourceLayer = value;
  } else if (rest == QLatin1String("NAME")) {
    entry.name = value;
  } else if (rest == QLatin1String("DISPLAYFIELD")) {
    entry.displayField = value;
  } else if (rest == QLatin1String("ISVISIBLE")) {
    if (value.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0) {
      entry.visible = true;
    } else if (value.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0) {
      entry.visible = false;
    } else {
      return false;
    }
  } else if (rest == QLatin1String("ZOOM\\MAX")) {
    return ParseNumber(value, entry.zoomMax);
  } else {
    entry.styleKeys.insert(rest, value);
  }
  return true;
}

}  // namespace

MapResult ReadWorkspaceFile(const QString& path, WorkspaceFile& out) {
  const qiwu::DataSetFile checked =
      qiwu::CheckDataSetFile(path, {QFileInfo(path).absolutePath()}, QString(), kMaxWorkspaceBytes);
  if (checked.missing)
    return MapResult::Failure(kMapErrorFileMissing, QStringLiteral("工作空间文件不存在：%1").arg(path));
  QFile file(checked.path);
  if (!checked.ok() || !file.open(QIODevice::ReadOnly))
    return MapResult::Failure(kMapErrorReadFailed,
                              QStringLiteral("无法读取工作空间文件 %1：%2")
                                  .arg(path, checked.ok() ? file.errorString() : checked.error));
  const QByteArray bytes = file.read(kMaxWorkspaceBytes + 1);
  if (bytes.size() > kMaxWorkspaceBytes)
    return MapResult::Failure(kMapErrorReadFailed, QStringLiteral("工作空间文件 %1 过大").arg(path));
  QString text = QString::fromUtf8(bytes);
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);

  static const QRegularExpression kKeyValue(QStringLiteral(R"re(^\s*"(\\[^"]+)"\s*=\s*"([^"]*)"\s*$)re"));
  static const QRegularExpression kTableKey(QStringLiteral(R"(^\\TABLE\\(\d+)\\(.+)$)"));

  out = WorkspaceFile();
  out.path = path;
  std::map<int, WorkspaceLayerEntry> tables;
  const QStringList lines = text.split(QLatin1Char('\n'));
  bool inMetadata = false;
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    const int number = i + 1;
    if (i == 0) {
      if (line != QLatin1String("!GEOSET")) return Malformed(path, number, line);
      continue;
    }
    if (line.isEmpty() || line.startsWith(QLatin1Char('!'))) continue;
    if (line == QLatin1String("begin_metadata")) {
      inMetadata = true;
      continue;
    }
    if (line == QLatin1String("end_metadata")) {
      inMetadata = false;
      continue;
    }
    if (!inMetadata) continue;

    const QRegularExpressionMatch m = kKeyValue.match(line);
    if (!m.hasMatch()) return Malformed(path, number, line);
    const QString key = m.captured(1).toUpper();
    const QString value = m.captured(2);
    bool ok = true;
    if (key == QLatin1String("\\GEOSET\\NAME")) {
      out.name = value;
    } else if (key == QLatin1String("\\GEOSET\\PROJECTION")) {
      out.projection = value;
    } else if (key == QLatin1String("\\GEOSET\\CENTER")) {
      const QStringList xy = value.split(QLatin1Char(','));
      ok = xy.size() == 2 && ParseNumber(xy[0], out.center.x) && ParseNumber(xy[1], out.center.y);
      out.hasCenter = ok;
    } else if (key == QLatin1String("\\GEOSET\\ZOOMLEVEL")) {
      ok = ParseNumber(value, out.zoomLevel) && out.zoomLevel > 0;
    } else if (const QRegularExpressionMatch t = kTableKey.match(key); t.hasMatch()) {
      const int n = t.captured(1).toInt();
      ok = n >= 1;
      if (ok) {
        WorkspaceLayerEntry& entry = tables[n];
        entry.number = n;
        ok = ApplyTableKey(entry, t.captured(2), value);
      }
    }
    if (!ok) return Malformed(path, number, line);
  }

  for (auto& [n, entry] : tables) {
    if (entry.file.isEmpty())
      return MapResult::Failure(
          kMapErrorFileMissing,
          QStringLiteral("工作空间文件 %1 的第 %2 个图层没有指定数据文件").arg(path).arg(n));
    out.layers.push_back(std::move(entry));
  }
  return {};
}
