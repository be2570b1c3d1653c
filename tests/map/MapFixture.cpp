#include "tests/map/MapFixture.h"

#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QFile>

#include "map/GdalLockDown.h"

TempWorkspace::TempWorkspace() {
  LockDownGdal();
  EXPECT_TRUE(dir_.isValid());
}

QString TempWorkspace::WriteGst(const QString& file, const QStringList& metadataLines) const {
  QFile out(Path(file));
  EXPECT_TRUE(out.open(QIODevice::WriteOnly));
  const QString text = QStringLiteral("!GEOSET\nbegin_metadata\n") + metadataLines.join(QLatin1Char('\n')) +
                       QStringLiteral("\nend_metadata\n");
  out.write(text.toUtf8());
  return out.fileName();
}

void WritePointLayer(const char* driverName, const QString& path, const char* layerName, int epsg,
                     const std::vector<NamedMapPoint>& points, const QStringList& options) {
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(driverName);
  ASSERT_NE(driver, nullptr);
  GDALDatasetUniquePtr ds(driver->Create(path.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr));
  ASSERT_NE(ds, nullptr);
  OGRSpatialReference srs;
  srs.importFromEPSG(epsg);
  srs.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  CPLStringList creation;
  for (const QString& option : options) creation.AddString(option.toUtf8().constData());
  OGRLayer* layer = ds->CreateLayer(layerName, &srs, wkbPoint, creation.List());
  ASSERT_NE(layer, nullptr);
  OGRFieldDefn field("name", OFTString);
  field.SetWidth(40);
  layer->CreateField(&field);
  for (const auto& [name, p] : points) {
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetField("name", name.toUtf8().constData());
    OGRPoint point(p.x, p.y);
    feature.SetGeometry(&point);
    ASSERT_EQ(layer->CreateFeature(&feature), OGRERR_NONE);
  }
}
