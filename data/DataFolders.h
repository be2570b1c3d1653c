#pragma once
// Where the program finds city data sets and its help pages. A program that has map/ beside it (a
// build tree, an unpacked copy) reads only that folder. An installed program (/usr/bin) reads the
// shared data folder <prefix>/share/qiwu, then the user's own folder (the user's data directory,
// ~/.local/share/qiwu), where qiwu-import writes by default.
#include <QString>
#include <QStringList>

namespace qiwu {

// The data folders for a program in programDir, in the order they are searched.
QStringList DataFolders(const QString& programDir);
// The folder qiwu-import writes to when no --out is given: the last data folder.
QString DefaultImportFolder(const QString& programDir);

}  // namespace qiwu
