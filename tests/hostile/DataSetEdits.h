#pragma once
// The edits that turn a copy of the demo city into a hostile one: statements run on its
// database or GeoPackage, workspace lines replaced or added, files replaced by FIFOs, rows left
// only in a WAL file.
#include <QByteArray>
#include <QString>

namespace hostile {

QString DatabaseFile(const QString& root);   // data/<city>.mdb
QString CityFolder(const QString& root);     // map/<city>
QString LayerFile(const QString& root);      // map/<city>/<city>.gpkg
QString WorkspaceFile(const QString& root);  // map/<city>/<city>.gst

// Runs sql (any number of statements) on an SQLite file; a GeoPackage point may be inserted
// (GeoPackagePoint below).
void ExecSql(const QString& file, const QString& sql);

// Replaces every occurrence of from (which must occur) in the main workspace.
void ReplaceInWorkspace(const QString& root, const QString& from, const QString& to);

// Appends a layer to the main workspace, drawn on top of the others.
void AddWorkspaceLayer(const QString& root, const QString& file, const QString& layer);

// Puts a FIFO where path was.
void MakeFifo(const QString& path);

void WriteFile(const QString& path, const QByteArray& bytes);

// Switches the SQLite file (database or GeoPackage) to WAL mode and runs sql so that its rows
// stand only in the -wal file beside it (and no -shm file). Inserting into a GeoPackage layer takes one point
// as GeoPackageBinary(x, y).
void LeaveRowsInWal(const QString& file, const QString& sql);
QString GeoPackagePoint(double x, double y, int srsId);

}  // namespace hostile
