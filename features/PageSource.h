#pragma once
// The printed page's source line: which city's data set the map shows and, for a city qiwu-import
// made, the files it was imported from (named in data/NAME.import.txt) with the OpenStreetMap
// contributors' credit when one of them is an OpenStreetMap extract.
#include <QString>
#include <QStringList>

#include "data/CityPlace.h"

namespace mappage {

inline constexpr qint64 kMaxReportBytes = 256 * 1024;  // of the import report, read at most
inline constexpr int kMaxSources = 4, kMaxSourceName = 60;

// The source files an import report names (its lines that start a section), cleaned of control
// characters and cut to kMaxSourceName; at most kMaxSources.
QStringList ImportedSources(const QString& report);

// "数据：栖坞市 数据集", then "；来源：map.osm、feed.zip" and "；© OpenStreetMap 贡献者" as they apply.
QString SourceLine(const QString& city, const QStringList& sources);

// The source line of the city at place, reading its import report when there is one.
QString PageSourceLine(const qiwu::CityPlace& place);

}  // namespace mappage
