#include "tests/support/TestCity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

#include "dataset/GeoPackage.h"
#include "dataset/SqliteFile.h"
#include "map/WorkspaceFile.h"

namespace testcity {
namespace {

void Check(const std::string& error) {
  if (!error.empty()) throw std::runtime_error("test city: " + error);
}

std::string Utf8(const QString& text) { return text.toStdString(); }

citygen::Cell CellOf(const QVariant& value) {
  if (value.isNull()) return {};
  switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
      return std::int64_t(value.toLongLong());
    default:
      return Utf8(value.toString());
  }
}

}  // namespace

QString WorkspacePath(const QString& root, const QString& city) {
  return root + "/map/" + city + "/" + city + ".gst";
}
QString DatabasePath(const QString& root, const QString& city) { return root + "/data/" + city + ".mdb"; }

QString Write(const City& city, const QString& root) {
  const QString workspace = WorkspacePath(root, city.name);
  QDir().mkpath(QFileInfo(workspace).path());
  QDir().mkpath(root + "/data");
  WriteDatabase(DatabasePath(root, city.name), city.tables);
  WriteLayers(QFileInfo(workspace).path() + "/" + city.name + ".gpkg", city.layers);
  QStringList names;
  for (const Layer& layer : city.layers) names << layer.name;
  return WriteWorkspace(workspace, city.name + ".gpkg", names, city.view);
}

void WriteDatabase(const QString& path, const QList<Table>& tables) {
  QFile::remove(path);
  citygen::SqliteFile db(Utf8(path));
  db.Run("BEGIN");
  for (const Table& table : tables) {
    db.Run(Utf8("CREATE TABLE " + QString::fromStdString(citygen::QuotedName(Utf8(table.name))) + " (" +
                table.columns.join(", ") + ")"));
    std::vector<std::string> columns;
    for (const QString& column : table.columns) columns.push_back(Utf8(column.section(' ', 0, 0)));
    std::vector<citygen::CellRow> rows;
    for (const QVariantList& row : table.rows) {
      citygen::CellRow& cells = rows.emplace_back();
      for (const QVariant& value : row) cells.push_back(CellOf(value));
    }
    db.Insert(Utf8(table.name), columns, rows);
  }
  db.Run("COMMIT");
  Check(db.error());
}

void WriteSql(const QString& path, const QStringList& statements) {
  QFile::remove(path);
  citygen::SqliteFile db(Utf8(path));
  db.Run("BEGIN");
  for (const QString& statement : statements) db.Run(Utf8(statement));
  db.Run("COMMIT");
  Check(db.error());
}

void WriteLayers(const QString& gpkgPath, const QList<Layer>& layers) {
  citygen::GeoPackage gpkg(Utf8(gpkgPath));
  for (const Layer& layer : layers) {
    OGRLayer* written = gpkg.Layer(Utf8(layer.name), wkbUnknown, {}, layer.epsg);
    for (const Feature& feature : layer.features) {
      OGRGeometry* shape = nullptr;
      const std::string wkt = Utf8(feature.wkt);
      if (OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &shape) != OGRERR_NONE)
        throw std::runtime_error("test city: bad WKT " + wkt);
      gpkg.Add(written, Utf8(feature.name), std::unique_ptr<OGRGeometry>(shape));
    }
  }
  Check(gpkg.Close());
}

QString WriteWorkspace(const QString& path, const QString& gpkg, const QStringList& layers,
                       const View& view) {
  WorkspaceFile workspace;
  workspace.name = QStringLiteral("测试市");
  workspace.projection = view.projection;
  workspace.hasCenter = true;
  workspace.center = {view.center.section(u',', 0, 0).toDouble(), view.center.section(u',', 1, 1).toDouble()};
  workspace.zoomLevel = view.zoom.toDouble();
  for (const QString& layer : layers) {
    WorkspaceLayerEntry& entry = workspace.layers.emplace_back();
    entry.file = gpkg;
    entry.sourceLayer = entry.name = layer;
  }
  if (const Outcome written = WriteWorkspaceFile(path, workspace); !written.ok())
    throw std::runtime_error("test city: " + written.description.toStdString());
  return path;
}

QString PointWkt(double x, double y) {
  return QStringLiteral("POINT (%1 %2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
}

QString LineWkt(const std::vector<XY>& points) {
  QStringList coords;
  for (const XY& p : points) coords << QStringLiteral("%1 %2").arg(p.x, 0, 'f', 3).arg(p.y, 0, 'f', 3);
  return QStringLiteral("LINESTRING (%1)").arg(coords.join(QStringLiteral(", ")));
}

QString SquareWkt(double cx, double cy, double half) {
  return LineWkt({{cx - half, cy - half},
                  {cx + half, cy - half},
                  {cx + half, cy + half},
                  {cx - half, cy + half},
                  {cx - half, cy - half}})
      .replace(QStringLiteral("LINESTRING ("), QStringLiteral("POLYGON (("))
      .append(')');
}

}  // namespace testcity
