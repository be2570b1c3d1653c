#pragma once
// Where the program finds city data sets and its help pages. A program installed in <prefix>/bin
// (with <prefix>/share/qiwu beside it and no map/ of its own) reads the shared data folder
// <prefix>/share/qiwu, then the user's own folder (the user's data directory, ~/.local/share/qiwu),
// where qiwu-import writes by default. Any other program (a build tree, an unpacked copy) reads
// the folder it lies in.
#include <QString>
#include <QStringList>

namespace qiwu {

// The data folders for a program in programDir, in the order they are searched.
QStringList DataFolders(const QString& programDir);
// The folder qiwu-import writes to when no --out is given: the last data folder.
QString DefaultImportFolder(const QString& programDir);

// The complete cities of the folders, each once (ListCities' order).
QStringList ListCities(const QStringList& folders);
// The first folder holding the complete city; the first folder when none does.
QString FolderOfCity(const QStringList& folders, const QString& city);
// The help page of the first folder that has one; the first folder's when none does.
QString HelpFilePath(const QStringList& folders);

}  // namespace qiwu
