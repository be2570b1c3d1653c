#pragma once
// Confines GDAL while it reads a city data set. While a DataSetConfinement lives, GDAL's local file
// system opens only regular files that lie, after symbolic links are resolved, inside the given
// roots or the system's read-only GDAL and PROJ data folders; it lists only folders inside them
// and writes only inside roots added as writable. Every SQLite connection opened meanwhile
// (GeoPackage) gets an authorizer that allows reading only and a bound on time without progress.
// One confinement at a time; the program reads data sets on one thread.
#include <QString>
#include <QStringList>

class DataSetConfinement {
 public:
  // The longest time a SQLite statement may run between two calls of Renew().
  static constexpr int kStallSeconds = 5;

  explicit DataSetConfinement(const QStringList& readOnlyRoots);
  ~DataSetConfinement();
  DataSetConfinement(const DataSetConfinement&) = delete;
  DataSetConfinement& operator=(const DataSetConfinement&) = delete;

  // A private folder (a temporary copy) in which GDAL may also write. In a scratch folder, which
  // holds no data set, GDAL's own SQLite databases (a driver's index) may be written too.
  void AddWritableRoot(const QString& folder, bool scratch = false);
  // Marks progress: the stall bound starts again.
  void Renew();
  // Gives an open SQLite connection (sqlite3*) the authorizer and the bound; for connections GDAL
  // opened in a way that escaped the hook.
  void BindConnection(void* sqliteHandle);

  // The first path refused so far (empty: none).
  QString Refused() const;
  // True once a SQLite statement was stopped for making no progress within the bound.
  bool Stalled() const;
  // The first failure GDAL reported meanwhile (empty: none).
  QString GdalFailure() const;
};

// Replaces GDAL's local file system with the confining one (outside a confinement it passes
// everything through). Called once by LockDownGdal().
void InstallDataSetConfinement();

// Notes a refused access (a network path, an HTTP request) for the confinement, if one is active.
void NoteRefusedAccess(const QString& what);
