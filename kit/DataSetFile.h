#pragma once
// A city data set is untrusted input: a folder copied from anywhere. Files of it are opened only
// when they are regular files that lie, after every symbolic link is resolved, inside one of the
// data set's folders (map/<city>/ and data/ of the program directory). FIFOs, devices, folders,
// absolute paths or ".." that lead elsewhere, and GDAL's virtual file systems are refused.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qiwu {

// The largest files the program reads whole (workspaces, projection texts): 16 MiB.
inline constexpr qint64 kMaxTextFileBytes = 16 * 1024 * 1024;

struct DataSetFile {
  QString path;          // the resolved (canonical) path to open; empty when refused
  QString error;         // why the file was refused, naming it; empty when accepted
  bool missing = false;  // refused because nothing is there
  bool ok() const { return error.isEmpty(); }
};

// The folders a city's files may lie in: map/<city>/ and data/ below programDir.
QStringList DataSetRoots(const QString& programDir, const QString& city);

// Checks the file at path (absolute, or relative to baseDir) against roots (folders, resolved
// here). maxBytes > 0 also refuses a larger file. Nothing is opened.
DataSetFile CheckDataSetFile(const QString& path, const QStringList& roots,
                             const QString& baseDir = QString(), qint64 maxBytes = 0);

// The user's own files (the list of servers, the recent searches) may lie anywhere and be links, but
// are untrusted all the same: a FIFO there would stop the program for ever, a link to /dev/zero
// feed it without end. They are read only as regular files, links resolved, of at most this size.
inline constexpr qint64 kMaxUserFileBytes = 1024 * 1024;

// Checks the user's file at path. Nothing is opened.
DataSetFile CheckUserFile(const QString& path, qint64 maxBytes = kMaxUserFileBytes);

// Reads the user's file at path whole into bytes (left empty unless accepted). The file is opened
// without waiting and checked again once open, so a FIFO put there after the check is refused too.
DataSetFile ReadUserFile(const QString& path, QByteArray& bytes, qint64 maxBytes = kMaxUserFileBytes);

// Tells on standard error that a user's file was refused and is taken as empty; nothing when it
// was accepted or is missing.
void ReportRefusedUserFile(const DataSetFile& file);

// True when path names one of GDAL's virtual file systems or a URL ("/vsicurl/…", "http://…").
bool IsVirtualOrRemotePath(const QString& path);

}  // namespace qiwu
