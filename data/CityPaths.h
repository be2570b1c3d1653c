#pragma once
// The city data set beside the program, as the program and qiwu-cli find it. Every path is the
// program directory, fixed segments and the city name, which is used verbatim (市 included).
#include <QString>
#include <QStringList>

namespace qiwu {

QString MainWorkspacePath(const QString& programDir, const QString& city);      // map/<city>/<city>.gst
QString OverviewWorkspacePath(const QString& programDir, const QString& city);  // map/<city>/<city>2.gst
QString DatabasePath(const QString& programDir, const QString& city);           // data/<city>.mdb
QString HelpFilePath(const QString& programDir);                                // help/index.html

// The demo city's name, the city a program opens when told none.
inline const QString kDemoCity = QStringLiteral("栖坞市");

// The complete cities under programDir (map/<city>/<city>.gst with data/<city>.mdb or data/<city>.pg):
// the demo city
// first, then the others in pinyin order.
QStringList ListCities(const QString& programDir);
// Cities in that order: the demo city first, then the others in pinyin order.
QStringList SortCities(QStringList cities);

}  // namespace qiwu
