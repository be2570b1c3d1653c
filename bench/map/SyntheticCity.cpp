#include "SyntheticCity.h"

#include <ogrsf_frmts.h>

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>

namespace {

constexpr double kX0 = 400000, kY0 = 4400000, kSize = 50000;
constexpr double kFullWidthView = 8000;  // the renderer's widths are the style's up to this view width

class Random {
 public:
  explicit Random(unsigned seed) : gen_(seed) {}
  double Unit() { return double(gen_() >> 11) * 0x1.0p-53; }
  double Between(double a, double b) { return a + (b - a) * Unit(); }

 private:
  std::mt19937_64 gen_;
};

std::unique_ptr<Layer> NewLayer(const char* name, FeatureStore store, const LayerStyle& style) {
  auto layer = std::make_unique<Layer>(QString::fromLatin1(name), std::move(store));
  layer->SetStyle(style);
  return layer;
}

// The pen width in the workspace that comes out as `pixels` on screen at the synthetic view.
double StylePenWidth(double pixels) {
  return pixels / std::min(1.0, std::sqrt(kFullWidthView / SyntheticView().Width()));
}

}  // namespace

std::vector<const Layer*> SyntheticCity::BottomToTop() const {
  std::vector<const Layer*> out;
  for (const auto& layer : layers) out.push_back(layer.get());
  return out;
}

int SyntheticCity::FeatureCount() const {
  int n = 0;
  for (const auto& layer : layers) n += layer->Store().Count();
  return n;
}

MapView SyntheticView() { return MapView({425001.950, 4425007.260}, 90417.6, QSize(1920, 1080)); }

SyntheticCity MakeSyntheticCity(int scale, double linePixels, unsigned seed) {
  Random rnd(seed);
  const QString kind[8] = {"0", "1", "2", "3", "4", "5", "6", "7"};
  const QStringList fields{QStringLiteral("kind")};
  const int lines = 100000 * scale, points = 100000 * scale, polygons = 5000 * scale;

  FeatureStore pointStore(fields);
  pointStore.Reserve(size_t(points), size_t(points));
  for (int i = 0; i < points; ++i) {
    const MapPoint p{kX0 + rnd.Unit() * kSize, kY0 + rnd.Unit() * kSize};
    pointStore.Add(kFeaturePoint, std::span<const MapPoint>(&p, 1), std::span(&kind[i % 8], 1));
  }

  FeatureStore lineStore(fields);
  lineStore.Reserve(size_t(lines) * 10, size_t(lines));
  std::vector<MapPoint> walk(10);
  for (int i = 0; i < lines; ++i) {
    double x = kX0 + rnd.Unit() * kSize, y = kY0 + rnd.Unit() * kSize;
    double a = rnd.Unit() * 2 * std::numbers::pi;
    for (MapPoint& p : walk) {
      p = {x, y};
      a += rnd.Between(-0.6, 0.6);
      x += 50 * std::cos(a);
      y += 50 * std::sin(a);
    }
    lineStore.Add(kFeatureLine, walk, std::span(&kind[i % 8], 1));
  }

  FeatureStore polygonStore(fields);
  polygonStore.Reserve(size_t(polygons) * 13, size_t(polygons));
  std::vector<MapPoint> ring(13);
  for (int i = 0; i < polygons; ++i) {
    const double cx = kX0 + rnd.Unit() * kSize, cy = kY0 + rnd.Unit() * kSize, r = rnd.Between(50, 400);
    for (int k = 0; k < 12; ++k) {
      const double a = 2 * std::numbers::pi * k / 12, rr = r * rnd.Between(0.6, 1.0);
      ring[size_t(k)] = {cx + rr * std::cos(a), cy + rr * std::sin(a)};
    }
    ring[12] = ring[0];
    polygonStore.Add(kFeatureRegion, ring, std::span(&kind[i % 8], 1));
  }

  LayerStyle polygonStyle;
  polygonStyle.brushColor = QColor(0xA6, 0xCE, 0xE3);
  polygonStyle.penColor = QColor();
  LayerStyle lineStyle;
  lineStyle.penColor = QColor(0x33, 0xA0, 0x2C);
  lineStyle.penWidth = StylePenWidth(linePixels);
  LayerStyle pointStyle;
  pointStyle.symbolShape = QStringLiteral("circle");
  pointStyle.symbolSize = 4;
  pointStyle.symbolColor = QColor(0xE3, 0x1A, 0x1C);
  pointStyle.symbolOutline = QColor();

  SyntheticCity city;
  city.layers.push_back(NewLayer("polygons", std::move(polygonStore), polygonStyle));
  city.layers.push_back(NewLayer("lines", std::move(lineStore), lineStyle));
  city.layers.push_back(NewLayer("points", std::move(pointStore), pointStyle));
  return city;
}

namespace {

bool WriteLayer(GDALDataset& ds, const Layer& layer, OGRSpatialReference& srs) {
  const FeatureStore& store = layer.Store();
  const int type = store.Count() ? store.TypeOf(1) : kFeaturePoint;
  const OGRwkbGeometryType geometry = type == kFeatureRegion ? wkbPolygon
                                      : type == kFeatureLine ? wkbLineString
                                                             : wkbPoint;
  OGRLayer* out = ds.CreateLayer(layer.Name().toUtf8().constData(), &srs, geometry, nullptr);
  if (!out) return false;
  OGRFieldDefn kindField("kind", OFTInteger);
  if (out->CreateField(&kindField) != OGRERR_NONE || out->StartTransaction() != OGRERR_NONE) return false;
  for (int id = 1; id <= store.IdLimit(); ++id) {
    OGRFeature feature(out->GetLayerDefn());
    feature.SetField(0, store.ValueOf(id, 0).toInt());
    const std::span<const MapPoint> part = store.Part(id, 0);
    if (type == kFeaturePoint) {
      feature.SetGeometryDirectly(new OGRPoint(part[0].x, part[0].y));
    } else {
      auto* line = type == kFeatureLine ? new OGRLineString : new OGRLinearRing;
      for (const MapPoint& p : part) line->addPoint(p.x, p.y);
      if (type == kFeatureLine) {
        feature.SetGeometryDirectly(line);
      } else {
        auto* polygon = new OGRPolygon;
        polygon->addRingDirectly(static_cast<OGRLinearRing*>(line));
        feature.SetGeometryDirectly(polygon);
      }
    }
    if (out->CreateFeature(&feature) != OGRERR_NONE) return false;
  }
  return out->CommitTransaction() == OGRERR_NONE;
}

}  // namespace

bool WriteSyntheticWorkspace(const SyntheticCity& city, const char* dir, double linePixels) {
  GDALAllRegister();
  const QDir out(QString::fromLocal8Bit(dir));
  if (!out.mkpath(QStringLiteral("."))) return false;
  const QString gpkg = out.filePath(QStringLiteral("synth.gpkg"));
  QFile::remove(gpkg);
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
  std::unique_ptr<GDALDataset> ds(
      driver ? driver->Create(gpkg.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr) : nullptr);
  OGRSpatialReference srs;
  srs.importFromEPSG(32650);
  bool ok = ds != nullptr;
  for (const auto& layer : city.layers) ok = ok && WriteLayer(*ds, *layer, srs);
  ds.reset();
  QFile gst(out.filePath(QStringLiteral("synth.gst")));
  if (!ok || !gst.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "could not write the synthetic workspace into %s\n", dir);
    return false;
  }
  const MapView view = SyntheticView();
  QString text = QStringLiteral("!GEOSET\nbegin_metadata\n\"\\GEOSET\\NAME\" = \"synth\"\n");
  text += QStringLiteral("\"\\GEOSET\\PROJECTION\" = \"EPSG:32650\"\n");
  text += QStringLiteral("\"\\GEOSET\\CENTER\" = \"%1,%2\"\n\"\\GEOSET\\ZOOMLEVEL\" = \"%3\"\n")
              .arg(view.Center().x, 0, 'f', 3)
              .arg(view.Center().y, 0, 'f', 3)
              .arg(view.Width(), 0, 'f', 1);
  const char* styles[] = {
      "\"\\TABLE\\%1\\STYLE\\BRUSH\\COLOR\" = \"#A6CEE3\"\n\"\\TABLE\\%1\\STYLE\\PEN\\COLOR\" = \"none\"\n",
      "\"\\TABLE\\%1\\STYLE\\PEN\\COLOR\" = \"#33A02C\"\n\"\\TABLE\\%1\\STYLE\\PEN\\WIDTH\" = \"%2\"\n",
      "\"\\TABLE\\%1\\STYLE\\SYMBOL\\SHAPE\" = \"circle\"\n\"\\TABLE\\%1\\STYLE\\SYMBOL\\SIZE\" = \"4\"\n"
      "\"\\TABLE\\%1\\STYLE\\SYMBOL\\COLOR\" = \"#E31A1C\"\n\"\\TABLE\\%1\\STYLE\\SYMBOL\\OUTLINE\" = "
      "\"none\"\n"};
  for (int i = 0; i < 3; ++i) {
    const int table = i + 1;
    text += QStringLiteral("\"\\TABLE\\%1\\FILE\" = \"synth.gpkg\"\n\"\\TABLE\\%1\\LAYER\" = \"%2\"\n")
                .arg(table)
                .arg(city.layers[size_t(i)]->Name());
    text += QStringLiteral("\"\\TABLE\\%1\\ISVISIBLE\" = \"TRUE\"\n").arg(table);
    QString style = QString::fromLatin1(styles[i]).arg(table);
    if (i == 1) style = style.arg(StylePenWidth(linePixels), 0, 'f', 4);
    text += style;
  }
  text += QStringLiteral("end_metadata\n");
  gst.write(text.toUtf8());
  return true;
}
