#pragma once
// The city data set beside the program, as the program and qiwu-cli find it. Every path is the
// program directory, fixed segments and the city name, which is used verbatim (市 included).
#include <QString>

namespace qiwu {

QString MainWorkspacePath(const QString& programDir, const QString& city);      // map/<city>/<city>.gst
QString OverviewWorkspacePath(const QString& programDir, const QString& city);  // map/<city>/<city>2.gst
QString DatabasePath(const QString& programDir, const QString& city);           // data/<city>.mdb
QString HelpFilePath(const QString& programDir);                                // help/index.html

}  // namespace qiwu
