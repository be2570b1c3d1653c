#pragma once
// Test cities: tables of rows and layers of features, written through the city generator's
// writers. A failure throws std::runtime_error saying what went wrong.
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

namespace testcity {

// A table of the city database. columns are declarations ("name TEXT", or a bare name for a
// column without type); in rows a null QVariant is NULL, an integer is an integer, the rest text.
struct Table {
  QString name;
  QStringList columns;
  QList<QVariantList> rows;
};

struct Feature {
  QString name;
  QString wkt;
};

// A GeoPackage layer in the CRS of the EPSG code.
struct Layer {
  QString name;
  QList<Feature> features;
  int epsg = 4547;
};

// How a workspace shows its layers.
struct View {
  QString projection = QStringLiteral("EPSG:4547");
  QString center = QStringLiteral("500000,3400000");
  QString zoom = QStringLiteral("12000");
};

// A city laid out like a program directory: data/<name>.mdb, and map/<name>/ holding <name>.gpkg
// and the main workspace <name>.gst listing the layers bottom first.
struct City {
  QString name = QStringLiteral("测试市");
  QList<Table> tables;
  QList<Layer> layers;
  View view;
};

// Writes city under root; returns the main workspace's path.
QString Write(const City& city, const QString& root);
QString WorkspacePath(const QString& root, const QString& city);
QString DatabasePath(const QString& root, const QString& city);

// A new SQLite file (replacing any file at path) holding the tables.
void WriteDatabase(const QString& path, const QList<Table>& tables);
// A new SQLite file made by running the statements in one transaction.
void WriteSql(const QString& path, const QStringList& statements);
void WriteLayers(const QString& gpkgPath, const QList<Layer>& layers);
// A workspace listing layers of gpkg (a path relative to the workspace), bottom first.
QString WriteWorkspace(const QString& path, const QString& gpkg, const QStringList& layers,
                       const View& view = {});

struct XY {
  double x = 0;
  double y = 0;
};
QString PointWkt(double x, double y);
QString LineWkt(const std::vector<XY>& points);
QString SquareWkt(double cx, double cy, double half);

}  // namespace testcity
