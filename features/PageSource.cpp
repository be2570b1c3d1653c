#include "features/PageSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace mappage {

namespace {

bool IsOpenStreetMap(const QString& name) {
  const QString lower = name.toLower();
  return lower.endsWith(QStringLiteral(".osm")) || lower.endsWith(QStringLiteral(".pbf")) ||
         lower.endsWith(QStringLiteral(".osm.xml"));
}

QString Cleaned(const QString& line) {
  QString out;
  for (const QChar c : line) {
    if (c.isPrint()) out += c;
  }
  return out.trimmed().left(kMaxSourceName);
}

}  // namespace

QStringList ImportedSources(const QString& report) {
  QStringList sources;
  const QStringList lines = report.split(QLatin1Char('\n'));
  // The first line says what the report is; each source's section starts at the line's first column.
  for (qsizetype i = 1; i < lines.size() && sources.size() < kMaxSources; ++i) {
    const QString& line = lines[i];
    if (line.isEmpty() || line.front().isSpace()) continue;
    const QString name = Cleaned(line);
    if (!name.isEmpty()) sources << name;
  }
  return sources;
}

QString SourceLine(const QString& city, const QStringList& sources) {
  QString line = QStringLiteral("数据：%1 数据集").arg(city);
  if (sources.isEmpty()) return line;
  line += QStringLiteral("；来源：") + sources.join(QStringLiteral("、"));
  if (std::any_of(sources.begin(), sources.end(), IsOpenStreetMap))
    line += QStringLiteral("；© OpenStreetMap 贡献者");
  return line;
}

QString PageSourceLine(const qiwu::CityPlace& place) {
  const QString path = QDir(place.folder).filePath(QStringLiteral("data/%1.import.txt").arg(place.name));
  QFile file(path);
  // Only a regular file, and only its first kMaxReportBytes: the data folder is not trusted.
  if (!QFileInfo(path).isFile() || QFileInfo(path).isSymLink() || !file.open(QIODevice::ReadOnly))
    return SourceLine(place.name, {});
  return SourceLine(place.name, ImportedSources(QString::fromUtf8(file.read(kMaxReportBytes))));
}

}  // namespace mappage
