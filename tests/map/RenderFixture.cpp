#include "tests/map/RenderFixture.h"

#include <QPainter>
#include <cstdlib>

std::unique_ptr<Layer> MakeLayer(const QString& name, int type, const std::vector<FixtureFeature>& features,
                                 const LayerStyle& style, bool temporary) {
  FeatureStore store({QStringLiteral("name")});
  for (const FixtureFeature& f : features) {
    std::vector<std::span<const MapPoint>> parts(f.parts.begin(), f.parts.end());
    const QString values[] = {f.name};
    store.Add(type, parts, values);
  }
  auto layer = std::make_unique<Layer>(name, std::move(store), temporary);
  layer->SetStyle(style);
  return layer;
}

std::vector<MapPoint> Square(double cx, double cy, double half) {
  return {{cx - half, cy - half},
          {cx + half, cy - half},
          {cx + half, cy + half},
          {cx - half, cy + half},
          {cx - half, cy - half}};
}

QImage RenderToImage(const std::vector<const Layer*>& layers, const MapView& view, RenderStats* stats) {
  QImage image(view.Pixels(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  const RenderStats result = MapRenderer().Render(painter, layers, view);
  if (stats) *stats = result;
  return image;
}

int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& match) {
  const QRect r = area.intersected(image.rect());
  int count = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (match(image.pixelColor(x, y))) ++count;
  return count;
}

bool Near(QColor c, QColor target, int tolerance) {
  return std::abs(c.red() - target.red()) <= tolerance && std::abs(c.green() - target.green()) <= tolerance &&
         std::abs(c.blue() - target.blue()) <= tolerance;
}
