#pragma once
// Layers built in code for the rendering tests, and pixel counting on the rendered image.
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

#include "map/Layer.h"
#include "map/MapView.h"
#include "map/Renderer.h"

struct FixtureFeature {
  std::vector<std::vector<MapPoint>> parts;
  QString name;
};

// A layer of features of one type, each with a `name` attribute.
std::unique_ptr<Layer> MakeLayer(const QString& name, int type, const std::vector<FixtureFeature>& features,
                                 const LayerStyle& style = {}, bool temporary = false);

// A closed square ring of side 2 * half around (cx, cy).
std::vector<MapPoint> Square(double cx, double cy, double half);

// The layers rendered onto white at the view.
QImage RenderToImage(const std::vector<const Layer*>& layers, const MapView& view,
                     RenderStats* stats = nullptr);

// Pixels of image inside area (clipped to the image) for which match is true.
int CountPixels(const QImage& image, const QRect& area, const std::function<bool(QColor)>& match);

// True when c is within tolerance of target in each channel.
bool Near(QColor c, QColor target, int tolerance = 12);
