#include "map/WorkspaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSaveFile>
#include <cmath>
#include <map>

#include "kit/DataSetFile.h"

namespace {

Outcome Malformed(const QString& path, int lineNumber, const QString& line) {
  return Outcome::Failure(
      kMapErrorMalformedLine,
      QStringLiteral("工作空间文件 %1 第 %2 行格式错误：%3").arg(path).arg(lineNumber).arg(line.trimmed()));
}

// A finite decimal; NaN and infinities are refused.
bool ParseNumber(const QString& text, double& out) {
  bool ok = false;
  out = text.trimmed().toDouble(&ok);
  return ok && std::isfinite(out);
}

// The key in capitals, but for the value of a style case (\TABLE\n\STYLE\CASE\<value>\...), which
// is compared with attribute values as it is written.
QString NormalKey(const QString& key) {
  QStringList parts = key.split(u'\\');  // parts[0] is empty: a key starts with a backslash
  const QString value = parts.size() > 5 ? parts[5] : QString();
  for (QString& part : parts) part = part.toUpper();
  if (parts.size() > 5 && parts[1] == QLatin1String("TABLE") && parts[3] == QLatin1String("STYLE") &&
      parts[4] == QLatin1String("CASE"))
    parts[5] = value;
  return parts.join(u'\\');
}

// Applies one \TABLE\n\<rest> key to its layer entry; false for a value that cannot be read.
bool ApplyTableKey(WorkspaceLayerEntry& entry, const QString& rest, const QString& value) {
  if (rest == QLatin1String("FILE")) {
    entry.file = value;
    return true;
  }
  if (rest == QLatin1String("LAYER")) {
    entry.sourceLayer = value;
    return true;
  }
  if (rest == QLatin1String("NAME")) {
    entry.name = value;
    return true;
  }
  entry.keys.emplace_back(rest, value);
  if (rest == QLatin1String("DISPLAYFIELD")) {
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

Outcome ReadWorkspaceFile(const QString& path, WorkspaceFile& out) {
  const qiwu::DataSetFile checked =
      qiwu::CheckDataSetFile(path, {QFileInfo(path).absolutePath()}, QString(), kMaxWorkspaceBytes);
  if (checked.missing)
    return Outcome::Failure(kMapErrorFileMissing, QStringLiteral("工作空间文件不存在：%1").arg(path));
  QFile file(checked.path);
  if (!checked.ok() || !file.open(QIODevice::ReadOnly))
    return Outcome::Failure(kMapErrorReadFailed,
                            QStringLiteral("无法读取工作空间文件 %1：%2")
                                .arg(path, checked.ok() ? file.errorString() : checked.error));
  const QByteArray bytes = file.read(kMaxWorkspaceBytes + 1);
  if (bytes.size() > kMaxWorkspaceBytes)
    return Outcome::Failure(kMapErrorReadFailed, QStringLiteral("工作空间文件 %1 过大").arg(path));
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
    const QString key = NormalKey(m.captured(1));
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
      return Outcome::Failure(
          kMapErrorFileMissing,
          QStringLiteral("工作空间文件 %1 的第 %2 个图层没有指定数据文件").arg(path).arg(n));
    out.layers.push_back(std::move(entry));
  }
  return {};
}

namespace {

// A number as the reader reads it back: plain decimals, as few digits as give the same value.
QString Number(double value) { return QString::number(value, 'f', QLocale::FloatingPointShortest); }

QString KeyLine(const QString& key, const QString& value) {
  return QStringLiteral("\"\\%1\" = \"%2\"\n").arg(key, value);
}

// The first value a workspace line cannot hold (a quote or a line break would end it), or empty.
QString UnwritableValue(const WorkspaceFile& workspace) {
  QStringList values = {workspace.name, workspace.projection};
  for (const WorkspaceLayerEntry& entry : workspace.layers) {
    values << entry.file << entry.sourceLayer << entry.name;
    for (const auto& [key, value] : entry.keys) values << key << value;
  }
  for (const QString& value : values)
    if (value.contains(u'"') || value.contains(u'\n') || value.contains(u'\r')) return value;
  return {};
}

}  // namespace

QString WorkspaceText(const WorkspaceFile& workspace) {
  QString text = QStringLiteral("!GEOSET\nbegin_metadata\n");
  if (!workspace.name.isEmpty()) text += KeyLine(QStringLiteral("GEOSET\\NAME"), workspace.name);
  if (!workspace.projection.isEmpty())
    text += KeyLine(QStringLiteral("GEOSET\\PROJECTION"), workspace.projection);
  if (workspace.hasCenter)
    text += KeyLine(QStringLiteral("GEOSET\\CENTER"),
                    Number(workspace.center.x) + u',' + Number(workspace.center.y));
  if (workspace.zoomLevel > 0)
    text += KeyLine(QStringLiteral("GEOSET\\ZOOMLEVEL"), Number(workspace.zoomLevel));
  for (std::size_t i = 0; i < workspace.layers.size(); ++i) {
    const WorkspaceLayerEntry& entry = workspace.layers[i];
    const QString prefix = QStringLiteral("TABLE\\%1\\").arg(i + 1);
    text += KeyLine(prefix + QStringLiteral("FILE"), entry.file);
    if (!entry.sourceLayer.isEmpty()) text += KeyLine(prefix + QStringLiteral("LAYER"), entry.sourceLayer);
    if (!entry.name.isEmpty()) text += KeyLine(prefix + QStringLiteral("NAME"), entry.name);
    for (const auto& [key, value] : entry.keys) text += KeyLine(prefix + key, value);
  }
  return text + QStringLiteral("end_metadata\n");
}

Outcome WriteWorkspaceFile(const QString& path, const WorkspaceFile& workspace) {
  if (const QString bad = UnwritableValue(workspace); !bad.isEmpty())
    return Outcome::Failure(kMapErrorWriteFailed,
                            QStringLiteral("工作空间文件 %1 无法保存含有引号或换行的“%2”").arg(path, bad));
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(WorkspaceText(workspace).toUtf8()) < 0 || !file.commit())
    return Outcome::Failure(kMapErrorWriteFailed,
                            QStringLiteral("无法写入工作空间文件 %1：%2").arg(path, file.errorString()));
  return {};
}
