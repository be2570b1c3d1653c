#include "map_fixture.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QFile>

#include "map/GdalLockDown.h"

TempWorkspace::TempWorkspace() {
  LockDownGdal();
  EXPECT_TRUE(dir_.isValid());
}

void TempWorkspace::WriteGpkg(const QString& file, const std::vector<LayerDef>& layers) const {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  ASSERT_NE(driver, nullptr);
  GDALDataset* ds = driver->Create(Path(file).toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr);
  ASSERT_NE(ds, nullptr);
  for (const LayerDef& def : layers) {
    OGRSpatialReference srs;
    srs.importFromEPSG(def.epsg);
    srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRLayer* layer = ds->CreateLayer(def.name.toUtf8().constData(), &srs, wkbUnknown, nullptr);
    ASSERT_NE(layer, nullptr);
    OGRFieldDefn nameField("name", OFTString);
    layer->CreateField(&nameField);
    for (const WktFeature& f : def.features) {
      OGRFeature feature(layer->GetLayerDefn());
      feature.SetField("name", f.name.toUtf8().constData());
      OGRGeometry* geometry = nullptr;
      const QByteArray wkt = f.wkt.toUtf8();
      ASSERT_EQ(OGRGeometryFactory::createFromWkt(wkt.constData(), nullptr, &geometry), OGRERR_NONE)
          << wkt.data();
      feature.SetGeometryDirectly(geometry);
      ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
    }
  }
  GDALClose(ds);
}

QString TempWorkspace::WriteGst(const QString& file, const QStringList& metadataLines) const {
  QFile out(Path(file));
  EXPECT_TRUE(out.open(QIODevice::WriteOnly));
  const QString text = QStringLiteral("!GEOSET\nbegin_metadata\n") + metadataLines.join(QLatin1Char('\n')) +
                       QStringLiteral("\nend_metadata\n");
  out.write(text.toUtf8());
  return out.fileName();
}

QString TempWorkspace::WriteGstForLayers(const QString& file, const QString& gpkg,
                                         const QStringList& layerNames, const QString& center,
                                         const QString& zoom) const {
  QStringList lines{QStringLiteral(R"("\GEOSET\NAME" = "测试")"),
                    QStringLiteral(R"("\GEOSET\PROJECTION" = "EPSG:4547")"),
                    QStringLiteral(R"("\GEOSET\CENTER" = "%1")").arg(center),
                    QStringLiteral(R"("\GEOSET\ZOOMLEVEL" = "%1")").arg(zoom)};
  for (int i = 0; i < layerNames.size(); ++i) {
    lines << QStringLiteral(R"("\TABLE\%1\FILE" = "%2")").arg(i + 1).arg(gpkg)
          << QStringLiteral(R"("\TABLE\%1\LAYER" = "%2")").arg(i + 1).arg(layerNames[i]);
  }
  return WriteGst(file, lines);
}

QString PointWkt(double x, double y) {
  return QStringLiteral("POINT (%1 %2)").arg(x, 0, 'f', 3).arg(y, 0, 'f', 3);
}

QString LineWkt(const std::vector<MapPoint>& points) {
  QStringList coords;
  for (const MapPoint& p : points) coords << QStringLiteral("%1 %2").arg(p.x, 0, 'f', 3).arg(p.y, 0, 'f', 3);
  return QStringLiteral("LINESTRING (%1)").arg(coords.join(QStringLiteral(", ")));
}

QString SquareWkt(double cx, double cy, double half) {
  const double x0 = cx - half, x1 = cx + half, y0 = cy - half, y1 = cy + half;
  return QStringLiteral("POLYGON ((%1 %3, %2 %3, %2 %4, %1 %4, %1 %3))")
      .arg(x0, 0, 'f', 3)
      .arg(x1, 0, 'f', 3)
      .arg(y0, 0, 'f', 3)
      .arg(y1, 0, 'f', 3);
}
