// The 属性 window on the demo city: the one selected feature of any layer with its layer, name and
// every attribute, as GDAL reads them from the city's GeoPackage; the card stays as it was.
#include <gdal_priv.h>
#include <gtest/gtest.h>
#include <ogrsf_frmts.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "features/AttributeWindow.h"
#include "features/InfoDrawers.h"
#include "features/LayerDrawer.h"
#include "mapwidgets/MapControl.h"
#include "mapwidgets/modMapFunction.h"
#include "tests/app/WindowFixture.h"
#include "tests/app/WindowParts.h"

namespace {

using Rows = QList<QPair<QString, QString>>;

// The feature's attributes as GDAL reads them from the demo city's GeoPackage: the oracle.
Rows AttributesInTheGeoPackage(const QString& layerName, const QString& name) {
  const QString gpkg = apptest::DemoRoot() + "/map/" + apptest::kCity + "/" + apptest::kCity + ".gpkg";
  std::unique_ptr<GDALDataset> data(
      GDALDataset::Open(gpkg.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  if (!data) throw std::runtime_error("GeoPackage not opened");
  OGRLayer* layer = data->GetLayerByName(layerName.toUtf8().constData());
  if (!layer) throw std::runtime_error("no layer " + layerName.toStdString());
  for (auto& feature : *layer) {
    if (QString::fromUtf8(feature->GetFieldAsString("name")) != name) continue;
    Rows rows;
    for (int f = 0; f < feature->GetFieldCount(); ++f)
      rows.append({QString::fromUtf8(feature->GetFieldDefnRef(f)->GetNameRef()),
                   QString::fromUtf8(feature->GetFieldAsString(f))});
    return rows;
  }
  throw std::runtime_error("no feature " + name.toStdString());
}

Rows TableRows(const QTableWidget& table) {
  Rows rows;
  for (int r = 0; r < table.rowCount(); ++r)
    rows.append({table.item(r, 0)->text(), table.item(r, 1)->text()});
  return rows;
}

TEST(AttributeWindow, ListsTheLayerNameAndEveryAttributeOfTheSelectedFeatureOfAnyLayer) {
  apptest::StartedWindow started;
  frmMain& w = started.window;
  auto* attributes = apptest::Part<AttributeWindow>(w);
  auto* drawers = apptest::Part<InfoDrawers>(w);
  apptest::Part<LayerDrawer>(w)->cmdAttributes->click();
  EXPECT_TRUE(attributes->isVisible());
  const struct {
    const char* layer;
    const char* name;
  } cases[] = {{"旅游景点", "钟楼"}, {"主干道", "环城西路"}, {"行政区域", "古城区"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString layer = QString::fromUtf8(c.layer), name = QString::fromUtf8(c.name);
    ASSERT_TRUE(LocateFeature(*w.Map1, layer, QStringLiteral("name"), name));
    Rows expected = {{"图层", layer}, {"名称", name}};
    expected.append(AttributesInTheGeoPackage(layer, name));
    EXPECT_EQ(TableRows(*attributes->tblAttributes), expected);
    // The Part's own box and card are what they always were.
    EXPECT_EQ(w.txtObjName->text(), name + "(" + layer + ")");
    EXPECT_FALSE(drawers->CardOpen);
    EXPECT_TRUE(drawers->lblName->text().isEmpty());
  }
  // Two features selected: nothing listed, and the window says why.
  w.Map1->FindLayer(QStringLiteral("旅游景点"))
      ->Selection()
      .SelectWithinRadius(w.Map1->CenterX(), w.Map1->CenterY(), 50000, 0);
  EXPECT_EQ(attributes->tblAttributes->rowCount(), 0);
  EXPECT_TRUE(attributes->lblAttributesHint->text().startsWith(QStringLiteral("已选")));
}

}  // namespace
